// Device-independent bitmaps as Windows stores them in resources: a 40-byte info header,
// a palette for 8-bit pictures, then rows bottom-up, each padded to four bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// An RGB picture ready to be written at a declared depth.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top-down
};

// Encodes `image` as a DIB of 8 or 24 bits per pixel. An 8-bit DIB gets a palette of
// the image's own colours when there are at most 256, else a median-cut palette; pure
// black (transparent) stays exact and no other colour becomes black.
std::vector<std::uint8_t> encode_dib(const RgbImage& image, int bits_per_pixel);

// The same DIB with the 14-byte file header that makes it a .bmp file.
std::vector<std::uint8_t> bmp_file_from_dib(const std::vector<std::uint8_t>& dib);

struct DecodedDib {
    RgbImage image;
    int bits_per_pixel = 0;
};

// Reads an uncompressed 8- or 24-bit DIB; returns false on anything else or on damage.
bool decode_dib(const std::vector<std::uint8_t>& dib, DecodedDib& out);
