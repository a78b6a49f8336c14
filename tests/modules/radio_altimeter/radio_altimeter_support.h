// What the radio altimeter's tests share: a fresh current directory per test, a freshly
// reset platform library, and builders for settings files and WAVE files.
#pragma once

#include "platform_control.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// Each test runs in its own empty temporary directory as its current directory, with the
// platform library reset; afterwards nothing the platform opened may stay open.
class FreshDirectory {
public:
    FreshDirectory() {
        platform::reset();
        previous_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "radio-altimeter-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary directory");
        directory_ = pattern;
        std::filesystem::current_path(directory_);
    }
    ~FreshDirectory() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
        platform::reset();
    }
    FreshDirectory(const FreshDirectory&) = delete;
    FreshDirectory& operator=(const FreshDirectory&) = delete;

private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
};

inline void write_file(const std::filesystem::path& path, const Bytes& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void put_u16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}
inline void put_u32(Bytes& out, std::uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}
inline void put_id(Bytes& out, const char* id) { out.insert(out.end(), id, id + 4); }

// One chunk of a RIFF file; `declared_size` overrides the size written in its header.
struct Chunk {
    std::string id;
    Bytes body;
    std::int64_t declared_size = -1;
};

inline Bytes riff_file(const std::string& form, const std::vector<Chunk>& chunks, const char* riff_id = "RIFF") {
    Bytes body;
    put_id(body, form.c_str());
    for (const Chunk& chunk : chunks) {
        put_id(body, chunk.id.c_str());
        put_u32(body, chunk.declared_size >= 0 ? static_cast<std::uint32_t>(chunk.declared_size)
                                               : static_cast<std::uint32_t>(chunk.body.size()));
        body.insert(body.end(), chunk.body.begin(), chunk.body.end());
        if (chunk.body.size() % 2 != 0) body.push_back(0);
    }
    Bytes file;
    put_id(file, riff_id);
    put_u32(file, static_cast<std::uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

// A PCM "fmt " chunk body: 16 bytes, then `extra` further bytes.
inline Bytes pcm_format(std::uint16_t tag = 1, std::uint16_t channels = 1, std::uint32_t rate = 8000,
                        std::uint16_t bits = 8, std::size_t extra = 0) {
    Bytes out;
    const std::uint16_t block = static_cast<std::uint16_t>(channels * bits / 8);
    put_u16(out, tag);
    put_u16(out, channels);
    put_u32(out, rate);
    put_u32(out, rate * block);
    put_u16(out, block);
    put_u16(out, bits);
    for (std::size_t i = 0; i < extra; ++i) out.push_back(0xEE);
    return out;
}

// A tone of `count` 8-bit samples whose values count upward, so position shows.
inline Bytes tone_samples(std::size_t count) {
    Bytes out(count);
    for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + 1);
    return out;
}

// The alert tone the gauge loads: 8000 samples per second, 8-bit mono, 0.5 s long.
inline constexpr std::size_t TONE_SAMPLES = 4000;
inline constexpr double TONE_SECONDS = 0.5;
inline Bytes alert_tone_file() {
    return riff_file("WAVE", {{"fmt ", pcm_format()}, {"data", tone_samples(TONE_SAMPLES)}});
}
