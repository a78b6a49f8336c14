// Draws one placed gauge from what the host computed for its elements.
#pragma once

#include "element_painters.h"

#include <cstdint>
#include <vector>

namespace render {

// Whether the panel lights are on, as the host's variable says.
bool panel_lights_on(host::PanelHost& panel);

// Draws every shown element of the gauge in tree order, in face pixels of the current
// user space of `cr`.
void draw_gauge(cairo_t* cr, host::PanelHost& panel, host::PlacedGauge& gauge, PictureCache& pictures, bool lights_on);

// The scale that draws the gauge `width` pixels wide (its native size when 0).
double scale_for_width(const host::PlacedGauge& gauge, int width);
// The scale that draws the gauge at its default size (millimetres) at a resolution.
double scale_for_default_size(const host::PlacedGauge& gauge, double pixels_per_mm);

// A new ARGB image of the gauge at a scale; the caller destroys it.
cairo_surface_t* render_gauge(host::PanelHost& panel, host::PlacedGauge& gauge, PictureCache& pictures, double scale = 1.0);

// Everything that decides how a gauge looks, to tell whether it needs drawing again.
class GaugeLook {
public:
    // True when the gauge looks different from the last time this was asked.
    bool changed(const host::PlacedGauge& gauge, bool lights_on);

private:
    std::vector<std::uint64_t> words_;
    std::vector<std::uint64_t> last_;
};

} // namespace render
