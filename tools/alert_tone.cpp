#include "alert_tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void put_tag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// One struck note: a fundamental with two fading overtones, a 4 ms attack so that it
// starts without a click, and a bell's exponential decay.
void add_note(std::vector<double>& samples, double start_s, double length_s, double frequency) {
    const int first = static_cast<int>(start_s * ALERT_TONE_RATE);
    const int count = static_cast<int>(length_s * ALERT_TONE_RATE);
    for (int i = 0; i < count && first + i < static_cast<int>(samples.size()); ++i) {
        const double t = static_cast<double>(i) / ALERT_TONE_RATE;
        const double attack = std::min(1.0, t / 0.004);
        const double release = std::min(1.0, (length_s - t) / 0.02);
        const double envelope = attack * release * std::exp(-t * 5.0);
        const double w = 2 * std::numbers::pi * frequency * t;
        samples[first + i] += envelope * (std::sin(w) + 0.35 * std::sin(2 * w) * std::exp(-t * 8) + 0.12 * std::sin(3 * w));
    }
}

} // namespace

std::vector<std::uint8_t> alert_tone_wave() {
    // High then low, a major third apart: the familiar altitude-alert "ding-dong".
    std::vector<double> samples(static_cast<std::size_t>(0.8 * ALERT_TONE_RATE), 0.0);
    add_note(samples, 0.0, 0.38, 1318.5);
    add_note(samples, 0.32, 0.48, 1046.5);
    const double peak = std::max(1e-9, std::abs(*std::max_element(samples.begin(), samples.end(), [](double a, double b) {
                                     return std::abs(a) < std::abs(b);
                                 })));
    const std::uint32_t data_bytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    put_tag(out, "RIFF");
    put32(out, 4 + (8 + 16) + (8 + data_bytes));
    put_tag(out, "WAVE");
    put_tag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, ALERT_TONE_RATE);
    put32(out, ALERT_TONE_RATE * 2);
    put16(out, 2);
    put16(out, 16);
    put_tag(out, "data");
    put32(out, data_bytes);
    for (double s : samples) {
        const long value = std::lround(s / peak * 0.7 * 32767);
        put16(out, static_cast<std::uint32_t>(static_cast<std::int16_t>(std::clamp(value, -32767L, 32767L))) & 0xFFFF);
    }
    return out;
}
