// The alert tone the build writes: a PCM RIFF WAVE file that the radio altimeter's own
// loader accepts, short, and two notes a pilot hears as a chime.
#include "alert_sound.h"
#include "platform_control.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::uint8_t> tone_file() {
    std::ifstream in(std::string(GAUGE_BUILD_DIR) + "/Sound/RA_BEEP.WAV", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t read16(const std::vector<std::uint8_t>& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8); }

TEST(AlertTone, IsAShortMonoPcmWave) {
    const std::vector<std::uint8_t> wave = tone_file();
    ASSERT_GE(wave.size(), 44u);
    EXPECT_EQ(std::memcmp(wave.data(), "RIFF", 4), 0);
    EXPECT_EQ(read32(wave, 4), wave.size() - 8);
    EXPECT_EQ(std::memcmp(wave.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(read32(wave, 16), 16u);
    EXPECT_EQ(read16(wave, 20), 1u); // PCM
    EXPECT_EQ(read16(wave, 22), 1u); // mono
    const std::uint32_t rate = read32(wave, 24);
    EXPECT_EQ(rate, 22050u);
    EXPECT_EQ(read32(wave, 28), rate * 2);
    EXPECT_EQ(read16(wave, 32), 2u);
    EXPECT_EQ(read16(wave, 34), 16u);
    EXPECT_EQ(std::memcmp(wave.data() + 36, "data", 4), 0);
    const std::uint32_t bytes = read32(wave, 40);
    EXPECT_EQ(bytes, wave.size() - 44);
    const double seconds = bytes / 2.0 / rate;
    EXPECT_GT(seconds, 0.3);
    EXPECT_LT(seconds, 1.0);
}

// Two notes, high then low: the pitch (zero crossings per second) of the opening and of
// the end differ, and the tone starts and ends quietly, without a click.
TEST(AlertTone, IsTwoNotesHighThenLow) {
    const std::vector<std::uint8_t> wave = tone_file();
    ASSERT_GE(wave.size(), 44u);
    std::vector<int> samples;
    for (std::size_t at = 44; at + 1 < wave.size(); at += 2) samples.push_back(static_cast<std::int16_t>(read16(wave, at)));
    auto pitch = [&](std::size_t from, std::size_t to) {
        int crossings = 0;
        for (std::size_t i = from + 1; i < to; ++i) crossings += (samples[i - 1] < 0) != (samples[i] < 0);
        return crossings / 2.0 / ((to - from) / 22050.0);
    };
    const std::size_t n = samples.size();
    const double first = pitch(0, n / 4), last = pitch(n * 3 / 4, n);
    EXPECT_GT(first, last * 1.1);
    EXPECT_GT(last, 400.0);
    EXPECT_LT(first, 3000.0);
    EXPECT_LT(std::abs(samples.front()), 500);
    EXPECT_LT(std::abs(samples.back()), 500);
    int peak = 0;
    for (int s : samples) peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 10000);
}

TEST(AlertTone, LoadsThroughTheRadioAltimetersLoader) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(GAUGE_BUILD_DIR);
    AlertSound* sound = load_alert_sound(platform::panel_window(), ".\\Sound\\RA_BEEP.WAV");
    std::filesystem::current_path(before);
    ASSERT_NE(sound, nullptr);
    EXPECT_TRUE(platform::messages().empty());
    EXPECT_EQ(sound->wave_format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(sound->wave_format->nSamplesPerSec, 22050u);
    EXPECT_EQ(sound->data_length, tone_file().size() - 44);
    release_alert_sound(sound);
}

} // namespace
