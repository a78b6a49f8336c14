#include "gauge_renderer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace render {

bool panel_lights_on(host::PanelHost& panel) {
    const double lights = panel.sim().value(VAR_PANEL_LIGHTS);
    return lights != 0.0 && !std::isnan(lights);
}

void draw_gauge(cairo_t* cr, host::PanelHost& panel, host::PlacedGauge& gauge, PictureCache& pictures, bool lights_on) {
    const PaintContext context{cr, panel, *gauge.module, pictures, lights_on};
    for (const host::ElementState& state : gauge.elements) {
        if (!state.visible) continue;
        if (const ElementPainter* painter = painter_for(state.element->kind)) painter->paint(context, state);
    }
}

double scale_for_width(const host::PlacedGauge& gauge, int width) {
    return width > 0 && gauge.face_width > 0 ? double(width) / gauge.face_width : 1.0;
}

double scale_for_default_size(const host::PlacedGauge& gauge, double pixels_per_mm) {
    const double wanted = gauge.gauge->header->default_size_mm * pixels_per_mm;
    return wanted > 0 && gauge.face_width > 0 && std::isfinite(wanted) ? wanted / gauge.face_width : 1.0;
}

cairo_surface_t* render_gauge(host::PanelHost& panel, host::PlacedGauge& gauge, PictureCache& pictures, double scale) {
    const int width = std::max(1, static_cast<int>(std::lround(gauge.face_width * scale)));
    const int height = std::max(1, static_cast<int>(std::lround(gauge.face_height * scale)));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    draw_gauge(cr, panel, gauge, pictures, panel_lights_on(panel));
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

bool GaugeLook::changed(const host::PlacedGauge& gauge, bool lights_on) {
    words_.clear();
    auto add = [&](double value) { words_.push_back(std::bit_cast<std::uint64_t>(value)); };
    words_.push_back(lights_on);
    for (const host::ElementState& state : gauge.elements) {
        words_.push_back(state.visible | std::uint64_t(state.element->image_flags) << 1);
        if (!state.visible) continue;
        switch (state.element->kind) {
        case ELEMENT_NEEDLE: add(state.needle_shown_angle); break;
        case ELEMENT_ICON: words_.push_back(state.picture_bitmap); break;
        case ELEMENT_STRING: {
            static_assert(READOUT_TEXT_CAPACITY % 8 == 0);
            std::uint64_t packed[READOUT_TEXT_CAPACITY / 8] = {};
            std::memcpy(packed, state.text.data(), sizeof packed);
            words_.insert(words_.end(), std::begin(packed), std::end(packed));
            break;
        }
        case ELEMENT_SLIDER:
        case ELEMENT_MOVING:
        case ELEMENT_SPRITE:
            for (double output : state.axis_output) add(output);
            break;
        case ELEMENT_STATIC: break;
        }
    }
    const bool different = words_ != last_;
    std::swap(words_, last_);
    return different;
}

} // namespace render
