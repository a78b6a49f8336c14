#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace artwork {

namespace {
double red(std::uint32_t rgb) { return ((rgb >> 16) & 0xFF) / 255.0; }
double green(std::uint32_t rgb) { return ((rgb >> 8) & 0xFF) / 255.0; }
double blue(std::uint32_t rgb) { return (rgb & 0xFF) / 255.0; }
} // namespace

Canvas::Canvas(int width, int height)
    : width_(width), height_(height), surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::colour(std::uint32_t rgb, double alpha) { cairo_set_source_rgba(cr_, red(rgb), green(rgb), blue(rgb), alpha); }

void Canvas::fill_all(std::uint32_t rgb) {
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    colour(rgb);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

void Canvas::disc(Point c, double radius, std::uint32_t rgb) {
    cairo_new_path(cr_);
    cairo_arc(cr_, c.x, c.y, radius, 0, 2 * std::numbers::pi);
    colour(rgb);
    cairo_fill(cr_);
}

void Canvas::ring(Point c, double radius, double width, std::uint32_t rgb) {
    cairo_new_path(cr_);
    cairo_arc(cr_, c.x, c.y, radius, 0, 2 * std::numbers::pi);
    colour(rgb);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void Canvas::line(Point a, Point b, double width, std::uint32_t rgb) {
    cairo_new_path(cr_);
    cairo_move_to(cr_, a.x, a.y);
    cairo_line_to(cr_, b.x, b.y);
    colour(rgb);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void Canvas::rect(double x, double y, double w, double h, std::uint32_t rgb) {
    cairo_new_path(cr_);
    cairo_rectangle(cr_, x, y, w, h);
    colour(rgb);
    cairo_fill(cr_);
}

void Canvas::bezel(Point c, double outer, double inner) {
    cairo_pattern_t* metal = cairo_pattern_create_linear(c.x - outer, c.y - outer, c.x + outer, c.y + outer);
    cairo_pattern_add_color_stop_rgb(metal, 0, red(0x5E6066), green(0x5E6066), blue(0x5E6066));
    cairo_pattern_add_color_stop_rgb(metal, 0.5, red(BEZEL), green(BEZEL), blue(BEZEL));
    cairo_pattern_add_color_stop_rgb(metal, 1, red(0x1C1D20), green(0x1C1D20), blue(0x1C1D20));
    cairo_new_path(cr_);
    cairo_arc(cr_, c.x, c.y, outer, 0, 2 * std::numbers::pi);
    cairo_set_source(cr_, metal);
    cairo_fill(cr_);
    cairo_pattern_destroy(metal);
    ring(c, inner + 1.5, 3, 0x141416);
}

void Canvas::text(Point at, const std::string& text, double size, std::uint32_t rgb, Font font, double turn_degrees) {
    const bool condensed = font == Font::CONDENSED || font == Font::CONDENSED_BOLD;
    const bool bold = font == Font::BOLD || font == Font::CONDENSED_BOLD;
    cairo_save(cr_);
    cairo_select_font_face(cr_, condensed ? "DejaVu Sans Condensed" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, text.c_str(), &extents);
    cairo_translate(cr_, at.x, at.y);
    cairo_rotate(cr_, turn_degrees * std::numbers::pi / 180.0);
    cairo_move_to(cr_, -extents.x_bearing - extents.width / 2, -extents.y_bearing - extents.height / 2);
    colour(rgb);
    cairo_show_text(cr_, text.c_str());
    cairo_restore(cr_);
}

void Canvas::stripes(double x, double y, double w, double h, double pitch, std::uint32_t a, std::uint32_t b) {
    cairo_save(cr_);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_clip(cr_);
    rect(x, y, w, h, a);
    colour(b);
    for (double s = -h; s < w + h; s += 2 * pitch) {
        cairo_move_to(cr_, x + s, y);
        cairo_line_to(cr_, x + s + pitch, y);
        cairo_line_to(cr_, x + s + pitch + h, y + h);
        cairo_line_to(cr_, x + s + h, y + h);
        cairo_close_path(cr_);
    }
    cairo_fill(cr_);
    cairo_restore(cr_);
}

RgbImage Canvas::image(std::uint32_t background) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    RgbImage out{width_, height_, std::vector<std::uint32_t>(static_cast<std::size_t>(width_) * height_)};
    for (int y = 0; y < height_; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t argb = row[x]; // premultiplied
            const std::uint32_t alpha = argb >> 24;
            std::uint32_t rgb = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                const std::uint32_t paint = (argb >> shift) & 0xFF;
                const std::uint32_t under = (background >> shift) & 0xFF;
                const std::uint32_t mixed = paint + (under * (255 - alpha) + 127) / 255;
                rgb |= std::min<std::uint32_t>(mixed, 255) << shift;
            }
            if (rgb == TRANSPARENT && alpha >= 128) rgb = 0x010101;
            out.pixels[static_cast<std::size_t>(y) * width_ + x] = rgb;
        }
    }
    return out;
}

} // namespace artwork
