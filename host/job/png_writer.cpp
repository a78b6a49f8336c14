#include "png_writer.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace job {

namespace {

void append_to(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flush_nothing(png_structp) {}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t get_u32(const std::uint8_t* at) {
    return std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8 | at[3];
}

void put_chunk(std::vector<std::uint8_t>& out, const char type[4], const std::vector<std::uint8_t>& data) {
    put_u32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    put_u32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// The concatenated IDAT contents of a PNG file: the frame's compressed rows.
std::vector<std::uint8_t> image_data_of(const std::vector<std::uint8_t>& png) {
    std::vector<std::uint8_t> data;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = get_u32(&png[at]);
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0) data.insert(data.end(), &png[at + 8], &png[at + 8] + length);
        at += 12 + length;
    }
    return data;
}

void write_file(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(path + ": cannot be written");
}

} // namespace

PixelView pixels_of(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    return {cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
            cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface)};
}

std::vector<std::uint8_t> encode_png(const PixelView& pixels, int x, int y, int width, int height) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng cannot start");
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("libpng failed to encode a picture");
    }
    png_set_write_fn(png, &out, append_to, flush_nothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int r = 0; r < height; ++r) {
        const auto* source = reinterpret_cast<const std::uint32_t*>(pixels.data + static_cast<std::ptrdiff_t>(y + r) * pixels.stride) + x;
        for (int c = 0; c < width; ++c) {
            row[c * 3] = static_cast<std::uint8_t>(source[c] >> 16);
            row[c * 3 + 1] = static_cast<std::uint8_t>(source[c] >> 8);
            row[c * 3 + 2] = static_cast<std::uint8_t>(source[c]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void write_png(const std::string& path, const PixelView& pixels) {
    write_file(path, encode_png(pixels, 0, 0, pixels.width, pixels.height));
}

ApngWriter::ApngWriter(int width, int height, double frame_rate)
    : width_(width), height_(height),
      frame_ms_(static_cast<std::uint32_t>(std::clamp(std::lround(1000.0 / frame_rate), 1L, 65535L))) {}

void ApngWriter::add_frame(const PixelView& pixels) {
    if (pixels.width != width_ || pixels.height != height_) throw std::invalid_argument("frame size differs from the animation's");
    const std::size_t row_bytes = static_cast<std::size_t>(width_) * 4;
    std::vector<std::uint8_t> packed(row_bytes * height_);
    for (int r = 0; r < height_; ++r) {
        const auto* source = pixels.data + static_cast<std::ptrdiff_t>(r) * pixels.stride;
        std::memcpy(&packed[r * row_bytes], source, row_bytes);
        // Only colour counts: the unused fourth byte may hold anything.
        for (std::size_t c = 3; c < row_bytes; c += 4) packed[r * row_bytes + c] = 0;
    }
    int left = 0, top = 0, right = width_, bottom = height_;
    if (!last_.empty()) {
        auto pixel = [&](const std::vector<std::uint8_t>& frame, int x, int y) {
            std::uint32_t value;
            std::memcpy(&value, &frame[y * row_bytes + x * 4], 4);
            return value;
        };
        left = width_, top = height_, right = 0, bottom = 0;
        for (int y = 0; y < height_; ++y) {
            if (std::memcmp(&packed[y * row_bytes], &last_[y * row_bytes], row_bytes) == 0) continue;
            top = std::min(top, y);
            bottom = y + 1;
            for (int x = 0; x < width_; ++x) {
                if (pixel(packed, x, y) != pixel(last_, x, y)) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                }
            }
        }
        if (right <= left) { // nothing changed: the frame before shows longer
            frames_.back().shown_for += frame_ms_;
            return;
        }
    }
    const PixelView view{packed.data(), width_, height_, static_cast<int>(row_bytes)};
    frames_.push_back({left, top, right - left, bottom - top, frame_ms_,
                       image_data_of(encode_png(view, left, top, right - left, bottom - top))});
    last_ = std::move(packed);
}

void ApngWriter::write(const std::string& path) const {
    if (frames_.empty()) throw std::runtime_error(path + ": an animation needs at least one frame");
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    put_u32(header, static_cast<std::uint32_t>(width_));
    put_u32(header, static_cast<std::uint32_t>(height_));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no interlace
    put_chunk(out, "IHDR", header);
    std::vector<std::uint8_t> control;
    put_u32(control, static_cast<std::uint32_t>(frames_.size()));
    put_u32(control, 0); // plays for ever
    put_chunk(out, "acTL", control);

    std::uint32_t sequence = 0;
    for (std::size_t i = 0; i < frames_.size(); ++i) {
        const Frame& frame = frames_[i];
        std::vector<std::uint8_t> fc;
        put_u32(fc, sequence++);
        put_u32(fc, static_cast<std::uint32_t>(frame.width));
        put_u32(fc, static_cast<std::uint32_t>(frame.height));
        put_u32(fc, static_cast<std::uint32_t>(frame.x));
        put_u32(fc, static_cast<std::uint32_t>(frame.y));
        const std::uint32_t shown = std::min<std::uint32_t>(frame.shown_for, 65535);
        fc.insert(fc.end(), {static_cast<std::uint8_t>(shown >> 8), static_cast<std::uint8_t>(shown), 0x03, 0xE8}); // ms / 1000
        fc.insert(fc.end(), {0, 0});                                                                             // keep, replace
        put_chunk(out, "fcTL", fc);
        if (i == 0) {
            put_chunk(out, "IDAT", frame.image_data);
        } else {
            std::vector<std::uint8_t> fd;
            put_u32(fd, sequence++);
            fd.insert(fd.end(), frame.image_data.begin(), frame.image_data.end());
            put_chunk(out, "fdAT", fd);
        }
    }
    put_chunk(out, "IEND", {});
    write_file(path, out);
}

} // namespace job
