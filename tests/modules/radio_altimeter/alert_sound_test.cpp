// The alert tone: the WAVE chunk walk and its checks, the message shown for each
// failure, what is released and in which order, and play and restart by the clock.
#include "alert_sound.h"
#include "radio_altimeter_support.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <cstring>

using ::testing::ElementsAre;

namespace {

const char* const TONE_PATH = ".\\Sound\\RA_BEEP.WAV";
const std::string SOUNDLIB = "Soundlib-Fehler";
const std::string INVALID_FILE = "Sound-File ungueltig\n";
const std::string NO_MEMORY = "Kann keinen Speicher allokieren";
const std::string BAD_FORMAT = "Ungueltiges Format oder nicht genuegend Speicher";
const std::string ACM_FAILED = "ACM Metrics failed, aborting";

HWND owner() { return platform::panel_window(); }

long count_calls(const std::string& name) {
    const std::vector<std::string> calls = platform::calls();
    return std::count(calls.begin(), calls.end(), name);
}

class AlertSoundTest : public ::testing::Test {
protected:
    FreshDirectory directory;
    AlertSound* sound = nullptr;

    void TearDown() override {
        release_alert_sound(sound);
        EXPECT_EQ(platform::open_objects().total(), 0u);
    }
    AlertSound* load(const Bytes& file) {
        write_file("sound/ra_beep.wav", file);
        sound = load_alert_sound(owner(), TONE_PATH);
        return sound;
    }
    void expect_one_message(const std::string& text, UINT type) {
        const auto shown = platform::messages();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, text);
        EXPECT_EQ(shown[0].caption, type == MB_OK ? "Direct Sound Error" : SOUNDLIB);
        EXPECT_EQ(shown[0].type, type);
        EXPECT_EQ(shown[0].owner, owner());
    }
};

TEST_F(AlertSoundTest, LoadsTheWholeToneIntoAStaticBuffer) {
    ASSERT_NE(load(alert_tone_file()), nullptr);
    EXPECT_TRUE(platform::messages().empty());
    EXPECT_EQ(sound->data_length, TONE_SAMPLES);
    EXPECT_EQ(Bytes(sound->sample_data, sound->sample_data + sound->data_length), tone_samples(TONE_SAMPLES));
    EXPECT_EQ(sound->wave_format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(sound->wave_format->nSamplesPerSec, 8000u);
    EXPECT_EQ(sound->wave_format->cbSize, 0u);
    const auto calls = platform::calls();
    std::vector<std::string> device_calls;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(device_calls),
                 [](const std::string& call) { return call.rfind("IDirectSound", 0) == 0 || call == "DirectSoundCreate"; });
    EXPECT_THAT(device_calls, ElementsAre("DirectSoundCreate", "IDirectSound::SetCooperativeLevel",
                                          "IDirectSound::CreateSoundBuffer", "IDirectSoundBuffer::Lock",
                                          "IDirectSoundBuffer::Unlock", "IDirectSoundBuffer::SetVolume",
                                          "IDirectSoundBuffer::SetPan", "IDirectSoundBuffer::GetCaps"));
    DSBCAPS caps{sizeof(DSBCAPS), 0, 0, 0, 0};
    ASSERT_EQ(sound->sound_buffer->GetCaps(&caps), DS_OK);
    EXPECT_EQ(caps.dwBufferBytes, TONE_SAMPLES);
    EXPECT_EQ(caps.dwFlags & 0xE2u, 0xE2u);
    LONG volume = -1, pan = -1;
    EXPECT_EQ(sound->sound_buffer->GetVolume(&volume), DS_OK);
    EXPECT_EQ(sound->sound_buffer->GetPan(&pan), DS_OK);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(pan, 0);
}

TEST_F(AlertSoundTest, FindsDataBeforeFormat) {
    ASSERT_NE(load(riff_file("WAVE", {{"data", tone_samples(11)}, {"fmt ", pcm_format()}})), nullptr);
    EXPECT_EQ(sound->data_length, 11u);
    EXPECT_EQ(Bytes(sound->sample_data, sound->sample_data + 11), tone_samples(11));
}

TEST_F(AlertSoundTest, SkipsFormatBytesAfterTheSixteenthAndOtherChunks) {
    ASSERT_NE(load(riff_file("WAVE", {{"LIST", Bytes(5, 0x33)}, {"fmt ", pcm_format(1, 1, 8000, 8, 2)},
                                      {"fact", Bytes(4, 0x44)}, {"data", tone_samples(300)}})),
              nullptr);
    EXPECT_EQ(sound->wave_format->cbSize, 0u);
    EXPECT_EQ(sound->wave_format->wBitsPerSample, 8u);
    EXPECT_EQ(Bytes(sound->sample_data, sound->sample_data + sound->data_length), tone_samples(300));
}

TEST_F(AlertSoundTest, ReadsDataLongerThanTheFileBuffer) {
    const Bytes samples = tone_samples(3 * MMIO_DEFAULTBUFFER + 17);
    ASSERT_NE(load(riff_file("WAVE", {{"fmt ", pcm_format()}, {"data", samples}})), nullptr);
    EXPECT_EQ(Bytes(sound->sample_data, sound->sample_data + sound->data_length), samples);
}

struct BadFile {
    const char* name;
    Bytes file;
    std::string message;
};

class BadFileTest : public AlertSoundTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFileTest, ShowsItsMessageAndKeepsNothing) {
    if (GetParam().file.empty()) {
        sound = load_alert_sound(owner(), TONE_PATH);
    } else {
        load(GetParam().file);
    }
    EXPECT_EQ(sound, nullptr);
    expect_one_message(GetParam().message, MB_OK | MB_ICONERROR);
}

Bytes first_bytes(Bytes bytes, std::size_t count) {
    bytes.resize(count);
    return bytes;
}

Bytes truncated_tone() {
    Bytes file = riff_file("WAVE", {{"fmt ", pcm_format()}, {"data", tone_samples(100)}});
    file.resize(file.size() - 10);
    return file;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(
        BadFile{"Missing", {}, INVALID_FILE},
        BadFile{"NotRiff", riff_file("WAVE", {{"fmt ", pcm_format()}, {"data", tone_samples(8)}}, "RIFX"), INVALID_FILE},
        BadFile{"NotWave", riff_file("AVI ", {{"fmt ", pcm_format()}, {"data", tone_samples(8)}}), INVALID_FILE},
        BadFile{"Empty", Bytes{0x52}, INVALID_FILE},
        BadFile{"NoFormat", riff_file("WAVE", {{"data", tone_samples(8)}}), INVALID_FILE},
        BadFile{"Format14Bytes", riff_file("WAVE", {{"fmt ", first_bytes(pcm_format(), 14)},
                                                    {"data", tone_samples(8)}}),
                INVALID_FILE},
        BadFile{"FormatCutShort", riff_file("WAVE", {{"fmt ", first_bytes(pcm_format(), 10), 16}}),
                INVALID_FILE},
        BadFile{"NotPcm", riff_file("WAVE", {{"fmt ", pcm_format(2)}, {"data", tone_samples(8)}}), INVALID_FILE},
        BadFile{"NoData", riff_file("WAVE", {{"fmt ", pcm_format()}}), BAD_FORMAT},
        BadFile{"TruncatedData", truncated_tone(), BAD_FORMAT},
        BadFile{"DataClaimsFourGigabytes", riff_file("WAVE", {{"fmt ", pcm_format()}, {"data", tone_samples(8), 0xFFFFFFF0}}),
                BAD_FORMAT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AlertSoundTest, AnOversizedDataChunkIsRefusedBeforeItsBlockIsAllocated) {
    load(riff_file("WAVE", {{"fmt ", pcm_format()}, {"data", tone_samples(8), 0x7FFFFFF0}}));
    EXPECT_EQ(sound, nullptr);
    // The check's format block, the record and the load's format block; no sample block.
    EXPECT_EQ(count_calls("GlobalAlloc"), 3);
}

TEST_F(AlertSoundTest, APathLongerThanTheLimitIsRefusedAsAnInvalidFile) {
    const std::string long_path = ".\\" + std::string(300, 'a') + ".wav";
    sound = load_alert_sound(owner(), long_path.c_str());
    EXPECT_EQ(sound, nullptr);
    expect_one_message(INVALID_FILE, MB_OK | MB_ICONERROR);
    EXPECT_EQ(count_calls("mmioOpenA"), 0);
}

struct FailingStep {
    const char* call;
    unsigned occurrence;
    std::string message; // empty: no message
    bool loads = false;
};

class FailingStepTest : public AlertSoundTest, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(FailingStepTest, ShowsTheRightMessageAndReleasesEverything) {
    platform::fail_call(GetParam().call, GetParam().occurrence);
    // Longer than the file buffer, so the reading loop refills it.
    load(riff_file("WAVE", {{"fmt ", pcm_format()}, {"data", tone_samples(2 * MMIO_DEFAULTBUFFER)}}));
    EXPECT_EQ(sound != nullptr, GetParam().loads);
    if (GetParam().message.empty()) {
        EXPECT_TRUE(platform::messages().empty());
    } else {
        expect_one_message(GetParam().message, MB_OK | MB_ICONERROR);
    }
    if (sound == nullptr) {
        EXPECT_EQ(platform::open_objects().total(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingStepTest,
    ::testing::Values(FailingStep{"mmioOpenA", 1, INVALID_FILE}, FailingStep{"mmioDescend", 1, INVALID_FILE},
                      FailingStep{"mmioRead", 1, INVALID_FILE}, FailingStep{"mmioAscend", 1, INVALID_FILE},
                      FailingStep{"GlobalAlloc", 1, INVALID_FILE}, FailingStep{"GlobalAlloc", 2, NO_MEMORY},
                      FailingStep{"mmioOpenA", 2, BAD_FORMAT}, FailingStep{"GlobalAlloc", 3, BAD_FORMAT},
                      FailingStep{"GlobalAlloc", 4, BAD_FORMAT}, FailingStep{"mmioSeek", 1, BAD_FORMAT},
                      FailingStep{"mmioDescend", 5, BAD_FORMAT}, FailingStep{"mmioGetInfo", 1, BAD_FORMAT},
                      FailingStep{"mmioAdvance", 1, BAD_FORMAT}, FailingStep{"mmioSetInfo", 1, BAD_FORMAT},
                      FailingStep{"acmMetrics", 1, ACM_FAILED}, FailingStep{"DirectSoundCreate", 1, ""},
                      FailingStep{"IDirectSound::CreateSoundBuffer", 1, ""}, FailingStep{"IDirectSoundBuffer::Lock", 1, ""},
                      FailingStep{"IDirectSoundBuffer::Unlock", 1, ""}, FailingStep{"IDirectSoundBuffer::SetVolume", 1, ""},
                      FailingStep{"IDirectSoundBuffer::SetPan", 1, ""}, FailingStep{"IDirectSoundBuffer::GetCaps", 1, ""},
                      FailingStep{"IDirectSound::SetCooperativeLevel", 1, "", true}),
    [](const auto& info) {
        std::string name = info.param.call;
        name.erase(std::remove(name.begin(), name.end(), ':'), name.end());
        return name + std::to_string(info.param.occurrence);
    });

TEST_F(AlertSoundTest, ReleasesBufferThenDeviceThenFormatSamplesAndRecord) {
    ASSERT_NE(load(alert_tone_file()), nullptr);
    platform::clear_calls();
    release_alert_sound(sound);
    sound = nullptr;
    EXPECT_THAT(platform::calls(), ElementsAre("IDirectSoundBuffer::Stop", "IDirectSoundBuffer::Release",
                                               "IDirectSound::Release", "GlobalFree", "GlobalFree", "GlobalFree"));
}

TEST_F(AlertSoundTest, ReleaseAndPlayWithoutAToneDoNothing) {
    release_alert_sound(nullptr);
    EXPECT_EQ(play_alert_sound(owner(), nullptr), -1);
    EXPECT_TRUE(platform::calls().empty());
    EXPECT_TRUE(platform::messages().empty());
}

TEST_F(AlertSoundTest, PlaysOnceAndRewindsWhileSounding) {
    ASSERT_NE(load(alert_tone_file()), nullptr);
    platform::set_clock(10.0);
    platform::clear_calls();
    EXPECT_EQ(play_alert_sound(owner(), sound), 0);
    EXPECT_THAT(platform::calls(), ElementsAre("IDirectSoundBuffer::GetStatus", "IDirectSoundBuffer::Play"));
    EXPECT_TRUE(platform::sound_playing());

    platform::set_clock(10.0 + TONE_SECONDS * 0.8);
    platform::clear_calls();
    EXPECT_EQ(play_alert_sound(owner(), sound), 0);
    EXPECT_THAT(platform::calls(), ElementsAre("IDirectSoundBuffer::GetStatus", "IDirectSoundBuffer::SetCurrentPosition"));

    // Rewound at 10.4 s, the whole tone sounds again until 10.9 s.
    platform::set_clock(10.0 + TONE_SECONDS * 1.7);
    EXPECT_TRUE(platform::sound_playing());
    platform::set_clock(10.0 + TONE_SECONDS * 1.8);
    EXPECT_FALSE(platform::sound_playing());
    platform::clear_calls();
    EXPECT_EQ(play_alert_sound(owner(), sound), 0);
    EXPECT_THAT(platform::calls(), ElementsAre("IDirectSoundBuffer::GetStatus", "IDirectSoundBuffer::Play"));
    EXPECT_TRUE(platform::messages().empty());
}

TEST_F(AlertSoundTest, AFailedStatusRequestStillAsksToPlay) {
    ASSERT_NE(load(alert_tone_file()), nullptr);
    platform::fail_call("IDirectSoundBuffer::GetStatus");
    platform::clear_calls();
    EXPECT_EQ(play_alert_sound(owner(), sound), 0);
    EXPECT_THAT(platform::calls(), ElementsAre("IDirectSoundBuffer::GetStatus", "IDirectSoundBuffer::Play"));
}

TEST_F(AlertSoundTest, AFailedPlayShowsItsBoxAndReturnsTheResult) {
    ASSERT_NE(load(alert_tone_file()), nullptr);
    platform::fail_call("IDirectSoundBuffer::Play");
    EXPECT_EQ(play_alert_sound(owner(), sound), DSERR_GENERIC);
    expect_one_message("Cannot start playing", MB_OK);
}

TEST_F(AlertSoundTest, AFailedRewindShowsItsBoxAndReturnsTheResult) {
    ASSERT_NE(load(alert_tone_file()), nullptr);
    EXPECT_EQ(play_alert_sound(owner(), sound), 0);
    platform::fail_call("IDirectSoundBuffer::SetCurrentPosition");
    EXPECT_EQ(play_alert_sound(owner(), sound), DSERR_GENERIC);
    expect_one_message("Cannot set current position", MB_OK);
}

} // namespace
