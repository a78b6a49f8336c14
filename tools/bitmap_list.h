// A module's bitmap declarations: one line per bitmap, "id width height bpp what", read
// by the resource build and the artwork generator alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BitmapDeclaration {
    std::uint32_t id;
    int width;
    int height;
    int bits_per_pixel; // 8 (with a palette) or 24
    std::string what;
};

// Reads a declaration file; throws std::runtime_error naming file and line on bad input.
std::vector<BitmapDeclaration> read_bitmap_list(const std::string& path);
