#include "picture_cache.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// Night: unlit artwork keeps a little of its colour so the shapes stay readable, lit
// artwork takes the warm tint of the panel's flood lamps.
constexpr Rgb DARK_FACTOR = {0.20, 0.20, 0.24};
constexpr Rgb GLOW_FACTOR = {1.00, 0.82, 0.58};

Rgb factor_of(Lighting lighting) {
    switch (lighting) {
    case Lighting::DAY: return {1.0, 1.0, 1.0};
    case Lighting::DARK: return DARK_FACTOR;
    case Lighting::GLOW: return GLOW_FACTOR;
    }
    return {1.0, 1.0, 1.0};
}

std::uint32_t scaled_channel(std::uint32_t value, double factor) {
    return static_cast<std::uint32_t>(std::lround(std::clamp(value * factor, 0.0, 255.0)));
}

} // namespace

Rgb lit_colour(std::uint32_t rgb, Lighting lighting) {
    const Rgb factor = factor_of(lighting);
    return {((rgb >> 16) & 0xFF) / 255.0 * factor.red, ((rgb >> 8) & 0xFF) / 255.0 * factor.green,
            (rgb & 0xFF) / 255.0 * factor.blue};
}

PictureCache::~PictureCache() {
    for (auto& [key, surface] : surfaces_) cairo_surface_destroy(surface);
}

std::pair<int, int> PictureCache::size(host::PanelHost& panel, host::LoadedModule& module, u32 id) {
    const host::Picture* picture = panel.picture(module, id);
    return picture ? std::pair{picture->width, picture->height} : std::pair{0, 0};
}

cairo_surface_t* PictureCache::surface(host::PanelHost& panel, host::LoadedModule& module, u32 id, Layer layer,
                                       Lighting lighting) {
    const Key key{&module, id, layer, lighting};
    if (auto found = surfaces_.find(key); found != surfaces_.end()) return found->second;
    const host::Picture* picture = panel.picture(module, id);
    if (picture == nullptr || picture->width <= 0 || picture->height <= 0) return nullptr;

    const cairo_format_t format = layer == Layer::FACE ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
    cairo_surface_t* surface = cairo_image_surface_create(format, picture->width, picture->height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    const Rgb factor = factor_of(lighting);
    auto* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < picture->height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < picture->width; ++x) {
            const std::uint32_t rgb = picture->pixels[static_cast<std::size_t>(y) * picture->width + x] & 0xFFFFFF;
            if (layer == Layer::OVERLAY && rgb == 0) {
                row[x] = 0; // transparent
                continue;
            }
            row[x] = 0xFF000000u | scaled_channel((rgb >> 16) & 0xFF, factor.red) << 16 |
                     scaled_channel((rgb >> 8) & 0xFF, factor.green) << 8 | scaled_channel(rgb & 0xFF, factor.blue);
        }
    }
    cairo_surface_mark_dirty(surface);
    surfaces_.emplace(key, surface);
    return surface;
}

} // namespace render
