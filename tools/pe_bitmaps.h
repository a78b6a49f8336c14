// The BITMAP resources of a 32-bit Windows module file (.gau), read from the file alone,
// so that the Windows build's bitmaps can be checked on any machine.
#pragma once

#include "bitmap_blob.h"

#include <string>
#include <vector>

// Every RT_BITMAP resource by numeric id, as its DIB. Throws std::runtime_error naming
// the problem when the file is not a PE image or its resource tree is damaged.
std::vector<EmbeddedBitmap> read_pe_bitmaps(const std::string& path);
