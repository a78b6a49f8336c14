// Any file where the alert tone belongs: loading never crashes and never overruns, a
// loaded tone holds no more samples than the file, play and release work on it, and
// afterwards nothing stays allocated or open.
#include "alert_sound.h"
#include "fuzz_directory.h"
#include "platform_control.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_fuzz_directory("Sound");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    platform::reset();
    write_fuzz_file("Sound/RA_BEEP.WAV", data, size);
    AlertSound* sound = load_alert_sound(platform::panel_window(), ".\\Sound\\RA_BEEP.WAV");
    if (sound != nullptr) {
        if (sound->data_length > size || sound->wave_format->cbSize != 0) std::abort();
        play_alert_sound(platform::panel_window(), sound);
        platform::set_clock(0.01);
        play_alert_sound(platform::panel_window(), sound);
        platform::set_clock(1e9);
        play_alert_sound(platform::panel_window(), sound);
        release_alert_sound(sound);
    }
    if (platform::open_objects().total() != 0) std::abort();
    if (platform::messages().size() > 1) std::abort(); // at most the one load failure
    return 0;
}
