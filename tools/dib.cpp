#include "dib.h"

#include <algorithm>
#include <map>

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::uint8_t channel(std::uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

struct ColourCount {
    std::uint32_t rgb;
    std::uint64_t count;
};

// A box of colours for the median cut: [begin, end) of the colour list.
struct ColourBox {
    std::size_t begin, end;
    std::uint64_t pixels;
    int widest_channel; // shift of the channel with the largest range
    int range;
};

ColourBox measure(const std::vector<ColourCount>& colours, std::size_t begin, std::size_t end) {
    ColourBox box{begin, end, 0, 16, 0};
    for (int shift : {16, 8, 0}) {
        int low = 255, high = 0;
        for (std::size_t i = begin; i < end; ++i) {
            low = std::min<int>(low, channel(colours[i].rgb, shift));
            high = std::max<int>(high, channel(colours[i].rgb, shift));
        }
        if (high - low > box.range) box = {begin, end, 0, shift, high - low};
    }
    for (std::size_t i = begin; i < end; ++i) box.pixels += colours[i].count;
    return box;
}

// The picture's own colours when there are at most 256; else a median cut that keeps
// the picture's large flat areas exact. Pure black, the transparent colour, keeps an
// entry of its own and no other colour maps to it.
std::vector<std::uint32_t> choose_palette(const RgbImage& image) {
    std::map<std::uint32_t, std::uint64_t> histogram;
    for (std::uint32_t p : image.pixels) ++histogram[p & 0xFFFFFF];
    std::vector<std::uint32_t> palette;
    if (histogram.size() <= 256) {
        for (auto& [colour, unused] : histogram) palette.push_back(colour);
        return palette;
    }
    if (histogram.erase(0) != 0) palette.push_back(0);
    std::vector<ColourCount> colours;
    for (auto& [colour, count] : histogram) colours.push_back({colour, count});
    std::vector<ColourBox> boxes{measure(colours, 0, colours.size())};
    while (boxes.size() + palette.size() < 256) {
        auto widest = std::max_element(boxes.begin(), boxes.end(), [](const ColourBox& a, const ColourBox& b) {
            return a.pixels * (a.range + 1) * (a.end - a.begin > 1) < b.pixels * (b.range + 1) * (b.end - b.begin > 1);
        });
        if (widest->end - widest->begin < 2) break;
        ColourBox box = *widest;
        std::sort(colours.begin() + box.begin, colours.begin() + box.end, [&](const ColourCount& a, const ColourCount& b) {
            return channel(a.rgb, box.widest_channel) < channel(b.rgb, box.widest_channel);
        });
        std::uint64_t half = 0;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            half += colours[i].count;
            cut = i + 1;
            if (half * 2 >= box.pixels) break;
        }
        *widest = measure(colours, box.begin, cut);
        boxes.push_back(measure(colours, cut, box.end));
    }
    for (const ColourBox& box : boxes) {
        double sum[3] = {0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c) sum[c] += static_cast<double>(channel(colours[i].rgb, 16 - 8 * c)) * colours[i].count;
        }
        std::uint32_t rgb = 0;
        for (int c = 0; c < 3; ++c) rgb |= static_cast<std::uint32_t>(sum[c] / box.pixels + 0.5) << (16 - 8 * c);
        palette.push_back(rgb == 0 ? 0x010101 : rgb);
    }
    return palette;
}

std::uint8_t nearest(const std::vector<std::uint32_t>& palette, std::uint32_t rgb) {
    int best = 0;
    long best_distance = -1;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        if ((palette[i] == 0) != (rgb == 0)) continue;
        long dr = channel(palette[i], 16) - channel(rgb, 16);
        long dg = channel(palette[i], 8) - channel(rgb, 8);
        long db = channel(palette[i], 0) - channel(rgb, 0);
        long distance = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || distance < best_distance) {
            best_distance = distance;
            best = static_cast<int>(i);
        }
    }
    return static_cast<std::uint8_t>(best);
}

} // namespace

std::vector<std::uint8_t> encode_dib(const RgbImage& image, int bits_per_pixel) {
    const int row_bytes = ((image.width * bits_per_pixel + 31) / 32) * 4;
    std::vector<std::uint32_t> palette;
    if (bits_per_pixel == 8) palette = choose_palette(image);
    std::vector<std::uint8_t> out;
    out.reserve(40 + palette.size() * 4 + static_cast<std::size_t>(row_bytes) * image.height);
    put32(out, 40);
    put32(out, image.width);
    put32(out, image.height); // positive: rows bottom-up
    put16(out, 1);
    put16(out, bits_per_pixel);
    put32(out, 0); // uncompressed
    put32(out, static_cast<std::uint32_t>(row_bytes) * image.height);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, static_cast<std::uint32_t>(palette.size()));
    put32(out, 0);
    for (std::uint32_t colour : palette) {
        out.push_back(channel(colour, 0));
        out.push_back(channel(colour, 8));
        out.push_back(channel(colour, 16));
        out.push_back(0);
    }
    std::map<std::uint32_t, std::uint8_t> index_of;
    for (int y = image.height - 1; y >= 0; --y) {
        std::size_t row_start = out.size();
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t rgb = image.pixels[static_cast<std::size_t>(y) * image.width + x] & 0xFFFFFF;
            if (bits_per_pixel == 8) {
                auto found = index_of.find(rgb);
                if (found == index_of.end()) found = index_of.emplace(rgb, nearest(palette, rgb)).first;
                out.push_back(found->second);
            } else {
                out.push_back(channel(rgb, 0));
                out.push_back(channel(rgb, 8));
                out.push_back(channel(rgb, 16));
            }
        }
        out.resize(row_start + row_bytes, 0);
    }
    return out;
}

std::vector<std::uint8_t> bmp_file_from_dib(const std::vector<std::uint8_t>& dib) {
    std::uint32_t palette_bytes = dib.size() >= 36 ? (dib[32] | dib[33] << 8 | dib[34] << 16 | dib[35] << 24) * 4u : 0u;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<std::uint32_t>(14 + dib.size()));
    put32(out, 0);
    put32(out, 14 + 40 + palette_bytes);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

namespace {
std::uint32_t read32(const std::vector<std::uint8_t>& in, std::size_t at) {
    return in[at] | in[at + 1] << 8 | in[at + 2] << 16 | static_cast<std::uint32_t>(in[at + 3]) << 24;
}
} // namespace

bool decode_dib(const std::vector<std::uint8_t>& dib, DecodedDib& out) {
    if (dib.size() < 40 || read32(dib, 0) != 40) return false;
    const auto width = static_cast<std::int32_t>(read32(dib, 4));
    const auto signed_height = static_cast<std::int32_t>(read32(dib, 8));
    const int bpp = dib[14] | dib[15] << 8;
    if (width < 1 || width > 8192 || signed_height == 0 || signed_height < -8192 || signed_height > 8192) return false;
    if ((bpp != 8 && bpp != 24) || read32(dib, 16) != 0) return false;
    const int height = signed_height < 0 ? -signed_height : signed_height;
    std::uint32_t colours = read32(dib, 32);
    if (bpp == 8 && colours == 0) colours = 256;
    if (bpp == 24) colours = 0;
    if (colours > 256) return false;
    const std::size_t palette_at = 40;
    const std::size_t bits_at = palette_at + colours * 4;
    const std::size_t row_bytes = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
    if (dib.size() < bits_at + row_bytes * height) return false;
    out.bits_per_pixel = bpp;
    out.image = {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    for (int row = 0; row < height; ++row) {
        const int y = signed_height < 0 ? row : height - 1 - row;
        const std::uint8_t* src = dib.data() + bits_at + row_bytes * row;
        for (int x = 0; x < width; ++x) {
            std::uint32_t rgb;
            if (bpp == 8) {
                std::uint32_t index = src[x];
                if (index >= colours) return false;
                const std::uint8_t* entry = dib.data() + palette_at + index * 4;
                rgb = entry[2] << 16 | entry[1] << 8 | entry[0];
            } else {
                rgb = src[3 * x + 2] << 16 | src[3 * x + 1] << 8 | src[3 * x];
            }
            out.image.pixels[static_cast<std::size_t>(y) * width + x] = rgb;
        }
    }
    return true;
}
