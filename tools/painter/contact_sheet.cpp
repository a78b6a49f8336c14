#include "contact_sheet.h"

#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace artwork {

namespace {
constexpr int CELL = 330;     // largest picture edge shown at full size
constexpr int CAPTION = 34;
constexpr int COLUMNS = 4;

cairo_surface_t* surface_of(const RgbImage& image) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, image.width, image.height);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < image.height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t rgb = image.pixels[static_cast<std::size_t>(y) * image.width + x];
            if (rgb == TRANSPARENT) rgb = ((x / 6 + y / 6) % 2) ? 0x303848 : 0x202830;
            row[x] = rgb;
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}
} // namespace

void write_contact_sheet(const std::string& path, const std::string& title, const std::vector<SheetEntry>& entries) {
    const int rows = std::max<int>(1, (static_cast<int>(entries.size()) + COLUMNS - 1) / COLUMNS);
    Canvas sheet(COLUMNS * CELL, 40 + rows * (CELL + CAPTION));
    sheet.fill_all(0x8A8E94);
    sheet.text({COLUMNS * CELL / 2.0, 20}, title, 22, 0x101010, Font::BOLD);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SheetEntry& entry = entries[i];
        const double x0 = static_cast<double>(i % COLUMNS) * CELL, y0 = 40 + static_cast<double>(i / COLUMNS) * (CELL + CAPTION);
        // Small pictures are enlarged (by whole steps, pixels kept sharp), large ones shrunk.
        double fit = (CELL - 10.0) / std::max(entry.image.width, entry.image.height);
        fit = fit >= 1 ? std::min(3.0, std::floor(fit)) : fit;
        cairo_surface_t* picture = surface_of(entry.image);
        cairo_t* cr = sheet.cr();
        cairo_save(cr);
        cairo_translate(cr, x0 + (CELL - entry.image.width * fit) / 2, y0 + (CELL - entry.image.height * fit) / 2);
        cairo_scale(cr, fit, fit);
        cairo_set_source_surface(cr, picture, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), fit < 1 ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(picture);
        char caption[96];
        std::snprintf(caption, sizeof caption, "0x%04X  %dx%d %d-bit", entry.bitmap.id, entry.bitmap.width,
                      entry.bitmap.height, entry.bitmap.bits_per_pixel);
        sheet.text({x0 + CELL / 2.0, y0 + CELL + 8}, caption, 13, 0x101010, Font::CONDENSED_BOLD);
        sheet.text({x0 + CELL / 2.0, y0 + CELL + 24}, entry.bitmap.what.substr(0, 48), 11, 0x202020, Font::CONDENSED);
    }
    cairo_surface_flush(cairo_get_target(sheet.cr()));
    if (cairo_surface_write_to_png(cairo_get_target(sheet.cr()), path.c_str()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error(path + ": cannot write");
    }
}

} // namespace artwork
