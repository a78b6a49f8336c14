// Draws a whole panel: its background and its gauges, each at its place and size.
// Each gauge keeps its own picture; a frame draws again only the gauges whose look
// changed and recomposes the panel under them.
#pragma once

#include "gauge_renderer.h"

#include <memory>
#include <vector>

namespace render {

class PanelRenderer {
public:
    // A panel of the given size in pixels over a background colour (0x00RRGGBB).
    PanelRenderer(host::PanelHost& panel, PictureCache& pictures, int width, int height, std::uint32_t background);
    ~PanelRenderer();
    PanelRenderer(const PanelRenderer&) = delete;
    PanelRenderer& operator=(const PanelRenderer&) = delete;

    // Places a drawn gauge with its top left corner at (x, y), `width` pixels wide with
    // its face's proportions (native size when 0).
    void add(host::PlacedGauge& gauge, int x, int y, int width);

    // Draws what changed since the last frame (everything when `everything`); returns
    // the number of gauges drawn.
    int render(bool everything = false);

    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    struct Slot {
        host::PlacedGauge* gauge;
        int x, y, width, height;
        double scale;
        cairo_surface_t* picture;
        GaugeLook look;
    };
    void compose(int x, int y, int width, int height, bool lights_on);

    host::PanelHost& panel_;
    PictureCache& pictures_;
    int width_, height_;
    std::uint32_t background_;
    cairo_surface_t* surface_;
    std::vector<std::unique_ptr<Slot>> slots_;
    bool drawn_once_ = false;
    bool last_lights_ = false;
};

} // namespace render
