// Module bitmaps as cairo surfaces, ready to paint: converted once per lighting and
// per layer, then reused every frame.
#pragma once

#include "panel_host.h"

#include <cairo.h>

#include <cstdint>
#include <map>
#include <tuple>

namespace render {

// How the panel lights change a picture: by day it is drawn as painted; at night the
// panel is dark and only the lit artwork glows.
enum class Lighting : std::uint8_t { DAY, DARK, GLOW };

// The face is opaque; everything drawn over it treats pure black as transparent.
enum class Layer : std::uint8_t { FACE, OVERLAY };

// One colour as the lighting shows it, each channel 0..1.
struct Rgb {
    double red, green, blue;
};
Rgb lit_colour(std::uint32_t rgb, Lighting lighting);

// Keyed by the loaded module: a cache lives no longer than the modules it draws.
class PictureCache {
public:
    PictureCache() = default;
    ~PictureCache();
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // The bitmap as a surface, or nullptr when the module has no bitmap of that id.
    cairo_surface_t* surface(host::PanelHost& panel, host::LoadedModule& module, u32 id, Layer layer, Lighting lighting);
    // The bitmap's size without converting it; {0, 0} when it does not exist.
    std::pair<int, int> size(host::PanelHost& panel, host::LoadedModule& module, u32 id);

private:
    using Key = std::tuple<const host::LoadedModule*, u32, Layer, Lighting>;
    std::map<Key, cairo_surface_t*> surfaces_;
};

} // namespace render
