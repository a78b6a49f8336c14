// The bitmap collection a module file carries on targets without Windows resources:
// "GBMP", a count, then per bitmap its id, its byte size and its DIB, padded to 4 bytes.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct EmbeddedBitmap {
    std::uint32_t id;
    std::vector<std::uint8_t> dib;
};

std::vector<std::uint8_t> pack_bitmap_blob(const std::vector<EmbeddedBitmap>& bitmaps);

// Returns false when the blob is damaged; `out` then holds what was read before.
bool unpack_bitmap_blob(std::span<const std::uint8_t> blob, std::vector<EmbeddedBitmap>& out);
