// A review sheet of a module's bitmaps: each picture with its id, size and depth.
#pragma once

#include "bitmap_list.h"
#include "dib.h"

#include <string>
#include <vector>

namespace artwork {

struct SheetEntry {
    BitmapDeclaration bitmap;
    RgbImage image; // as written, after the depth's palette
};

// Writes a PNG; pure black (transparent over a face) shows as a dark checkerboard.
void write_contact_sheet(const std::string& path, const std::string& title, const std::vector<SheetEntry>& entries);

} // namespace artwork
