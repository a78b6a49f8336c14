// PNG pictures and animated PNG (APNG) animations of panel frames, written with libpng.
// An animation keeps, per frame, only the rectangle that changed since the frame before,
// and lets an unchanged frame lengthen the one before it.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

namespace job {

// A picture of 0x00RRGGBB pixels (cairo's RGB24 and ARGB32 layout), rows `stride` bytes
// apart.
struct PixelView {
    const std::uint8_t* data;
    int width, height, stride;
};
PixelView pixels_of(cairo_surface_t* surface);

// The PNG file of a rectangle of the picture (RGB, 8 bits per channel).
std::vector<std::uint8_t> encode_png(const PixelView& pixels, int x, int y, int width, int height);
// Writes the whole picture as a PNG file; throws std::runtime_error when it cannot.
void write_png(const std::string& path, const PixelView& pixels);

class ApngWriter {
public:
    // Every frame shows for 1/frame_rate seconds.
    ApngWriter(int width, int height, double frame_rate);
    void add_frame(const PixelView& pixels);
    std::size_t frame_count() const { return frames_.size(); }
    // Writes the animation; throws std::runtime_error when it cannot.
    void write(const std::string& path) const;

private:
    struct Frame {
        int x, y, width, height;
        std::uint32_t shown_for; // in 1/1000 s
        std::vector<std::uint8_t> image_data; // the zlib stream of the rectangle
    };
    int width_, height_;
    std::uint32_t frame_ms_;
    std::vector<std::uint8_t> last_;  // the previous frame, packed rows
    std::vector<Frame> frames_;
};

} // namespace job
