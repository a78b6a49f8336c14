// How the host and the tests configure and watch the platform library on targets without
// the Windows services: the sound device's clock, failures on demand, the message boxes
// shown, the calls made, what is still open, and a WAV recording of what the device plays.
#pragma once

#include "windows_services.h"

#include <functional>
#include <string>
#include <vector>

#if defined(GAUGE_PLATFORM_BUILD)
#define PLATFORM_CONTROL_API __attribute__((visibility("default")))
#else
#define PLATFORM_CONTROL_API
#endif

namespace platform {

// Forgets the call journal, pending failures and recorded messages, returns the clock to
// a manual clock at 0 s, the active window to the panel window and message boxes to
// "answered OK at once". Objects still open stay open and counted.
PLATFORM_CONTROL_API void reset();

// ---- the sound device's clock ---------------------------------------------------------
// A buffer started with Play reports DSBSTATUS_PLAYING until its remaining samples would
// have finished by this clock. Setting it selects the manual clock; the system clock
// (monotonic, seconds since the library loaded) is used only when asked for.
PLATFORM_CONTROL_API void set_clock(double seconds);
PLATFORM_CONTROL_API void use_system_clock();
PLATFORM_CONTROL_API double clock_seconds();

// ---- failures on demand ---------------------------------------------------------------
// The occurrence-th call (1 = the next) to the named service fails the way that service
// reports failure. Names are the service names ("mmioDescend", "_write", "GlobalAlloc")
// and interface methods as "IDirectSound::CreateSoundBuffer",
// "IDirectSoundBuffer::Lock". Release-type calls (mmioClose, _close, GlobalFree,
// Release) report the failure but still release.
PLATFORM_CONTROL_API void fail_call(const std::string& name, unsigned occurrence = 1);

// Every service call since the last reset or clear, in order, by the names above.
PLATFORM_CONTROL_API std::vector<std::string> calls();
PLATFORM_CONTROL_API void clear_calls();

// ---- windows and message boxes --------------------------------------------------------
struct MessageRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// The window GetActiveWindow answers; panel_window() unless set otherwise.
PLATFORM_CONTROL_API HWND panel_window();
PLATFORM_CONTROL_API void set_active_window(HWND window);

// Every message box shown since the last reset or clear, in order.
PLATFORM_CONTROL_API std::vector<MessageRecord> messages();
PLATFORM_CONTROL_API void clear_messages();
// Who answers a message box (the host shows it); the answer is MessageBoxA's result.
// Without a handler boxes are answered IDOK at once.
PLATFORM_CONTROL_API void set_message_handler(std::function<int(const MessageRecord&)> handler);

// ---- what is open --------------------------------------------------------------------
struct OpenObjects {
    unsigned global_blocks = 0;
    unsigned multimedia_files = 0;
    unsigned file_descriptors = 0;
    unsigned sound_devices = 0;
    unsigned sound_buffers = 0;

    unsigned total() const {
        return global_blocks + multimedia_files + file_descriptors + sound_devices + sound_buffers;
    }
    bool operator==(const OpenObjects&) const = default;
};
PLATFORM_CONTROL_API OpenObjects open_objects();

// ---- the sound device's output --------------------------------------------------------
// Whether any sound buffer is playing by the clock now.
PLATFORM_CONTROL_API bool sound_playing();

// Starts recording what the device plays, from the clock's present moment, into a PCM
// WAV file at `path` (a host path, not a Windows one). The recording takes the format of
// the first buffer that plays (silence until then; buffers of another format are left
// out) and mixes overlapping buffers. False when a recording is already running.
PLATFORM_CONTROL_API bool start_recording(const std::string& path);
// Ends the recording at the clock's present moment and writes the file; false when no
// recording runs or the file cannot be written.
PLATFORM_CONTROL_API bool stop_recording();

} // namespace platform
