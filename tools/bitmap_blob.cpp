#include "bitmap_blob.h"

namespace {
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF);
}
std::uint32_t get32(std::span<const std::uint8_t> in, std::size_t at) {
    return in[at] | in[at + 1] << 8 | in[at + 2] << 16 | static_cast<std::uint32_t>(in[at + 3]) << 24;
}
} // namespace

std::vector<std::uint8_t> pack_bitmap_blob(const std::vector<EmbeddedBitmap>& bitmaps) {
    std::vector<std::uint8_t> out = {'G', 'B', 'M', 'P'};
    put32(out, static_cast<std::uint32_t>(bitmaps.size()));
    for (const EmbeddedBitmap& bitmap : bitmaps) {
        put32(out, bitmap.id);
        put32(out, static_cast<std::uint32_t>(bitmap.dib.size()));
        out.insert(out.end(), bitmap.dib.begin(), bitmap.dib.end());
        out.resize((out.size() + 3) & ~std::size_t{3}, 0);
    }
    return out;
}

bool unpack_bitmap_blob(std::span<const std::uint8_t> blob, std::vector<EmbeddedBitmap>& out) {
    if (blob.size() < 8 || blob[0] != 'G' || blob[1] != 'B' || blob[2] != 'M' || blob[3] != 'P') return false;
    std::uint32_t count = get32(blob, 4);
    std::size_t at = 8;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (blob.size() - at < 8) return false;
        std::uint32_t id = get32(blob, at);
        std::uint32_t size = get32(blob, at + 4);
        at += 8;
        if (blob.size() - at < size) return false;
        out.push_back({id, std::vector<std::uint8_t>(blob.begin() + at, blob.begin() + at + size)});
        at = (at + size + 3) & ~std::size_t{3};
        if (at > blob.size()) at = blob.size();
    }
    return true;
}
