#include "panel_renderer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace render {

PanelRenderer::PanelRenderer(host::PanelHost& panel, PictureCache& pictures, int width, int height, std::uint32_t background)
    : panel_(panel), pictures_(pictures), width_(width), height_(height), background_(background) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        throw std::invalid_argument("panel size " + std::to_string(width) + "x" + std::to_string(height) + " is out of range");
    }
    surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
}

PanelRenderer::~PanelRenderer() {
    for (auto& slot : slots_) cairo_surface_destroy(slot->picture);
    cairo_surface_destroy(surface_);
}

void PanelRenderer::add(host::PlacedGauge& gauge, int x, int y, int width) {
    const double scale = scale_for_width(gauge, width);
    const int drawn_width = std::max(1, static_cast<int>(std::lround(gauge.face_width * scale)));
    const int drawn_height = std::max(1, static_cast<int>(std::lround(gauge.face_height * scale)));
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, drawn_width, drawn_height);
    slots_.push_back(std::make_unique<Slot>(Slot{&gauge, x, y, drawn_width, drawn_height, scale, picture, {}}));
    drawn_once_ = false;
}

int PanelRenderer::render(bool everything) {
    const bool lights_on = panel_lights_on(panel_);
    // The background changes with the lights: then everything is drawn again.
    everything = everything || !drawn_once_ || lights_on != last_lights_;
    last_lights_ = lights_on;
    drawn_once_ = true;

    std::vector<const Slot*> redrawn;
    for (auto& slot : slots_) {
        const bool changed = slot->look.changed(*slot->gauge, lights_on);
        if (!changed && !everything) continue;
        cairo_t* cr = cairo_create(slot->picture);
        cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        cairo_scale(cr, slot->scale, slot->scale);
        draw_gauge(cr, panel_, *slot->gauge, pictures_, lights_on);
        cairo_destroy(cr);
        cairo_surface_flush(slot->picture);
        redrawn.push_back(slot.get());
    }
    if (everything) compose(0, 0, width_, height_, lights_on);
    else {
        for (const Slot* slot : redrawn) compose(slot->x, slot->y, slot->width, slot->height, lights_on);
    }
    return static_cast<int>(redrawn.size());
}

// Paints the background and every gauge that overlaps the rectangle, in panel order.
void PanelRenderer::compose(int x, int y, int width, int height, bool lights_on) {
    cairo_t* cr = cairo_create(surface_);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    const Rgb background = lit_colour(background_, lights_on ? Lighting::DARK : Lighting::DAY);
    cairo_set_source_rgb(cr, background.red, background.green, background.blue);
    cairo_paint(cr);
    for (const auto& slot : slots_) {
        const bool overlaps = slot->x < x + width && x < slot->x + slot->width && slot->y < y + height && y < slot->y + slot->height;
        if (!overlaps) continue;
        cairo_set_source_surface(cr, slot->picture, slot->x, slot->y);
        cairo_paint(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
}

} // namespace render
