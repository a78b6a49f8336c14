// One painter per element kind. Each turns what the host computed for an element
// (`ElementState`) into a placement of one of the module's bitmaps on the face: which
// picture, the transformation from picture pixels to face pixels, and the window it is
// clipped to. Readouts draw text instead.
#pragma once

#include "picture_cache.h"

#include <cairo.h>

#include <optional>

namespace render {

struct PaintContext {
    cairo_t* cr;
    host::PanelHost& panel;
    host::LoadedModule& module;
    PictureCache& pictures;
    bool lights_on;
};

// A rectangle in face pixels.
struct Window {
    double x, y, width, height;
};

// Where a picture lands: picture pixel (u, v) goes to face pixel matrix x (u, v). A
// windowed picture shows only inside its window, and only where the window's own
// bitmap (its shape, laid on the window) is not pure black.
struct Placement {
    u32 bitmap;
    cairo_matrix_t picture_to_face;
    std::optional<Window> clip;
    std::optional<u32> window_shape;
};

// The lighting an element gets: by day as painted; with the panel lights on the panel is
// dark and elements carrying IMAGE_FLAG_LIT glow.
Lighting lighting_of(const ElementHeader& element, bool lights_on);

class ElementPainter {
public:
    virtual ~ElementPainter() = default;
    virtual void paint(const PaintContext& context, const host::ElementState& state) const;
    // Where the element's picture goes, or nothing when it draws no picture.
    virtual std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const = 0;
};

class StaticPainter final : public ElementPainter {
public:
    std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const override;
};

// Turned about its pivot (the element's offset inside the bitmap) by the shown angle.
class NeedlePainter final : public ElementPainter {
public:
    std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const override;
};

// Text in the record's box, font, colours and alignment.
class ReadoutPainter final : public ElementPainter {
public:
    ReadoutPainter();
    ~ReadoutPainter() override;
    void paint(const PaintContext& context, const host::ElementState& state) const override;
    std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const override;

private:
    cairo_font_face_t* serif_;
    cairo_font_face_t* mono_;
};

// The picture the icon's value selected.
class IconPainter final : public ElementPainter {
public:
    std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const override;
};

// Shifted from its position by the axis outputs.
class SliderPainter final : public ElementPainter {
public:
    std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const override;
};

// A window of the companion bitmap's size (and shape) at the element's position,
// showing the part of the strip the axis positions select: start of the strip at 0, its
// end at 1.
class MovingPainter final : public ElementPainter {
public:
    std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const override;
};

// Shown through a window of the companion bitmap's size and shape with its top left
// corner at the element's position. The texture centre rests at the window's centre; the texture is
// turned, then shifted along its own turned axes (a horizon moves across its own bank, a
// deviation bar across its own course), then scaled about that centre.
class SpritePainter final : public ElementPainter {
public:
    std::optional<Placement> place(const PaintContext& context, const host::ElementState& state) const override;
};

// The painter for an element kind; nullptr for a kind no painter knows.
const ElementPainter* painter_for(ElementKind kind);

// The font family that stands in for a Windows face name.
const char* font_family_for(const char* windows_face);

} // namespace render
