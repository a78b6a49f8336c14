// The radio altimeter's alert tone: a two-note chime, as a PCM RIFF WAVE file.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int ALERT_TONE_RATE = 22050;   // samples per second, 16-bit mono

// The whole file: RIFF header, "fmt " chunk (PCM), "data" chunk.
std::vector<std::uint8_t> alert_tone_wave();
