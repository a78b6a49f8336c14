// The fixture module on a host, with test pictures of our own in place of its artwork,
// so that every colour a test looks for is known.
#pragma once

#include "host_fixture.h"
#include "gauge_renderer.h"

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <memory>

// Colours of the test pictures (0x00RRGGBB).
inline constexpr std::uint32_t FACE_GREY = 0x404850;
inline constexpr std::uint32_t NEEDLE_BODY = 0x909090;
inline constexpr std::uint32_t NEEDLE_TIP = 0xFF0000;
inline constexpr std::uint32_t ICON_GREEN = 0x00FF00;
inline constexpr std::uint32_t SLIDER_BLUE = 0x0000FF;
inline constexpr std::uint32_t SPRITE_YELLOW = 0xFFFF00;
inline constexpr std::uint32_t LEGACY_WHITE = 0xFFFFFF;

// Picture geometry the fixture's records name.
inline constexpr int NEEDLE_LENGTH = 40, NEEDLE_PIVOT = 4; // tip column 39, pivot (4, 4)
inline constexpr int STRIP_WIDTH = 200, WINDOW_WIDTH = 50;

using SurfacePtr = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
inline SurfacePtr own(cairo_surface_t* surface) { return {surface, cairo_surface_destroy}; }

// A pixel of an RGB24 or ARGB32 image as 0xAARRGGBB (premultiplied, as cairo keeps it).
inline std::uint32_t pixel_at(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const auto* row = cairo_image_surface_get_data(surface) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface);
    std::uint32_t value = reinterpret_cast<const std::uint32_t*>(row)[x];
    if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_RGB24) value |= 0xFF000000u;
    return value;
}

inline int channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// True when the two colours differ by at most `tolerance` in every colour channel.
inline bool near_colour(std::uint32_t pixel, std::uint32_t rgb, int tolerance = 24) {
    for (int shift : {16, 8, 0}) {
        if (std::abs(channel(pixel, shift) - channel(rgb, shift)) > tolerance) return false;
    }
    return true;
}

class RenderTest : public HostTest {
protected:
    host::LoadedModule* module = nullptr;
    render::PictureCache pictures;

    void SetUp() override {
        module = &panel.load_module(module_path("Fixture"));
        module->bitmaps_read = true; // the test pictures below stand for the artwork
        module->pictures.clear();
        picture(0x1000, 100, 80, [](int x, int y) { return x < 6 && y < 6 ? 0x000000 : FACE_GREY; });
        picture(0x1100, NEEDLE_LENGTH, 8, [](int x, int y) {
            if (y < 2 || y > 5) return 0u; // black: transparent around the blade
            return x >= NEEDLE_LENGTH - 2 ? NEEDLE_TIP : NEEDLE_BODY;
        });
        picture(0x1200, 16, 16, [](int, int) { return 0x808080u; });
        picture(0x1201, 16, 16, [](int, int) { return ICON_GREEN; });
        picture(0x1300, 10, 10, [](int x, int) { return x < 5 ? 0u : SLIDER_BLUE; });
        // The strip's red channel counts its columns.
        picture(0x1400, STRIP_WIDTH, 20, [](int x, int) { return static_cast<std::uint32_t>(x) << 16 | 0x6432; });
        picture(0x1401, WINDOW_WIDTH, 20, [](int, int) { return 0x010101u; });
        picture(0x1500, 64, 64, [](int, int) { return SPRITE_YELLOW; });
        picture(0x1501, 48, 48, [](int, int) { return 0x010101u; });
        picture(0x2000, 60, 60, [](int x, int) { return x < 30 ? 0x203040u : 0x304020u; });
        picture(0x3000, 120, 120, [](int, int) { return 0x606060u; });
        picture(0x3100, 50, 10, [](int, int) { return LEGACY_WHITE; });
        picture(0x3200, 12, 12, [](int, int) { return 0x800000u; });
        picture(0x3203, 12, 12, [](int, int) { return 0xFF8000u; });
    }

    template <typename Paint>
    void picture(u32 id, int width, int height, Paint paint) {
        host::Picture& p = module->pictures[id];
        p = {id, width, height, 24, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) p.pixels[static_cast<std::size_t>(y) * width + x] = paint(x, y);
        }
    }

    // Leaves only the face and the elements of one kind shown, to look at that kind alone.
    static void show_only(host::PlacedGauge& gauge, ElementKind kind) {
        for (host::ElementState& state : gauge.elements) {
            if (state.depth > 0 && state.element->kind != kind) state.visible = false;
        }
    }

    void set(const char* name, double value) { panel.sim().set(find_simvar(name)->id, value); }

    SurfacePtr draw(host::PlacedGauge& gauge, double scale = 1.0) {
        return own(render::render_gauge(panel, gauge, pictures, scale));
    }
};
