#include "element_painters.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <strings.h>

namespace render {

namespace {

constexpr double DEGREES_TO_RADIANS = std::numbers::pi / 180.0;

// A finite number or 0: wild values from a gauge leave the picture where it rests.
double finite_or_zero(double value) { return std::isfinite(value) ? value : 0.0; }

cairo_matrix_t translation(double x, double y) {
    cairo_matrix_t matrix;
    cairo_matrix_init_translate(&matrix, x, y);
    return matrix;
}

Placement at_position(const ElementHeader& element, u32 bitmap) {
    return {bitmap, translation(element.position_x, element.position_y), std::nullopt};
}

// Windows colour values are 0x00BBGGRR; the pictures are 0x00RRGGBB.
std::uint32_t rgb_from_colorref(u32 colour) {
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

bool whole_pixel_shift(const cairo_matrix_t& m) {
    return m.xx == 1.0 && m.yy == 1.0 && m.xy == 0.0 && m.yx == 0.0 && m.x0 == std::floor(m.x0) &&
           m.y0 == std::floor(m.y0);
}

} // namespace

Lighting lighting_of(const ElementHeader& element, bool lights_on) {
    if (!lights_on) return Lighting::DAY;
    return (element.image_flags & IMAGE_FLAG_LIT) != 0 ? Lighting::GLOW : Lighting::DARK;
}

void ElementPainter::paint(const PaintContext& context, const host::ElementState& state) const {
    const std::optional<Placement> placement = place(context, state);
    if (!placement) return;
    const Layer layer = state.depth == 0 ? Layer::FACE : Layer::OVERLAY;
    cairo_surface_t* picture = context.pictures.surface(context.panel, context.module, placement->bitmap, layer,
                                                        lighting_of(*state.element, context.lights_on));
    if (picture == nullptr) return;
    cairo_t* cr = context.cr;
    cairo_save(cr);
    if (placement->clip) {
        const Window& w = *placement->clip;
        cairo_rectangle(cr, w.x, w.y, w.width, w.height);
        cairo_clip(cr);
    }
    cairo_pattern_t* source = cairo_pattern_create_for_surface(picture);
    cairo_matrix_t face_to_picture = placement->picture_to_face;
    if (cairo_matrix_invert(&face_to_picture) != CAIRO_STATUS_SUCCESS) { // a texture scaled to nothing
        cairo_pattern_destroy(source);
        cairo_restore(cr);
        return;
    }
    cairo_pattern_set_matrix(source, &face_to_picture);
    cairo_matrix_t device;
    cairo_get_matrix(cr, &device);
    cairo_matrix_t picture_to_device;
    cairo_matrix_multiply(&picture_to_device, &placement->picture_to_face, &device);
    // Unturned, unscaled pictures on whole pixels copy exactly; the rest are filtered.
    cairo_pattern_set_filter(source, whole_pixel_shift(picture_to_device) ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
    cairo_set_source(cr, source);
    cairo_surface_t* shape = nullptr;
    if (placement->window_shape && placement->clip) {
        shape = context.pictures.surface(context.panel, context.module, *placement->window_shape, Layer::OVERLAY, Lighting::DAY);
    }
    if (shape != nullptr) cairo_mask_surface(cr, shape, placement->clip->x, placement->clip->y);
    else cairo_paint(cr);
    cairo_pattern_destroy(source);
    cairo_restore(cr);
}

std::optional<Placement> StaticPainter::place(const PaintContext&, const host::ElementState& state) const {
    return at_position(*state.element, state.element->bitmap_id);
}

std::optional<Placement> NeedlePainter::place(const PaintContext&, const host::ElementState& state) const {
    const ElementHeader& e = *state.element;
    cairo_matrix_t matrix = translation(e.position_x, e.position_y);
    cairo_matrix_rotate(&matrix, finite_or_zero(state.needle_shown_angle) * DEGREES_TO_RADIANS);
    cairo_matrix_translate(&matrix, -e.offset_x, -e.offset_y);
    return Placement{e.bitmap_id, matrix, std::nullopt, std::nullopt};
}

std::optional<Placement> IconPainter::place(const PaintContext&, const host::ElementState& state) const {
    return at_position(*state.element, state.picture_bitmap);
}

std::optional<Placement> SliderPainter::place(const PaintContext&, const host::ElementState& state) const {
    const ElementHeader& e = *state.element;
    // Shifts far beyond any face are held so the transformation stays sane.
    auto shift = [&](int axis) { return std::clamp(finite_or_zero(state.axis_output[axis]), -1e6, 1e6); };
    return Placement{e.bitmap_id, translation(e.position_x + shift(host::AXIS_X), e.position_y + shift(host::AXIS_Y)),
                     std::nullopt, std::nullopt};
}

std::optional<Placement> MovingPainter::place(const PaintContext& context, const host::ElementState& state) const {
    const ElementHeader& e = *state.element;
    auto [strip_width, strip_height] = context.pictures.size(context.panel, context.module, e.bitmap_id);
    auto [window_width, window_height] = context.pictures.size(context.panel, context.module, e.bitmap_id + 1);
    if (window_width == 0 || window_height == 0) {
        window_width = strip_width;
        window_height = strip_height;
    }
    auto travel = [](int strip, int window, double position) {
        return std::max(0, strip - window) * std::clamp(finite_or_zero(position), 0.0, 1.0);
    };
    const double from_x = travel(strip_width, window_width, state.axis_output[host::AXIS_X]);
    const double from_y = travel(strip_height, window_height, state.axis_output[host::AXIS_Y]);
    return Placement{e.bitmap_id, translation(e.position_x - from_x, e.position_y - from_y),
                     Window{double(e.position_x), double(e.position_y), double(window_width), double(window_height)},
                     e.bitmap_id + 1};
}

std::optional<Placement> SpritePainter::place(const PaintContext& context, const host::ElementState& state) const {
    const ElementHeader& e = *state.element;
    const auto* sprite = reinterpret_cast<const SpriteElement*>(&e);
    auto texture_scale = [](f32 scale) { return std::isfinite(scale) && scale > 0.0f ? double(scale) : 1.0; };
    auto shift = [&](int axis) { return std::clamp(finite_or_zero(state.axis_output[axis]), -1e6, 1e6); };
    // The window has its top left corner at the element's position; the texture centre
    // rests at the window's centre.
    auto [window_width, window_height] = context.pictures.size(context.panel, context.module, e.bitmap_id + 1);
    std::optional<Window> clip;
    if (window_width > 0 && window_height > 0) {
        clip = Window{double(e.position_x), double(e.position_y), double(window_width), double(window_height)};
    }
    cairo_matrix_t matrix = translation(e.position_x + window_width / 2.0, e.position_y + window_height / 2.0);
    cairo_matrix_rotate(&matrix, std::fmod(finite_or_zero(state.axis_output[host::AXIS_ROTATION]), 360.0) * DEGREES_TO_RADIANS);
    cairo_matrix_translate(&matrix, shift(host::AXIS_X), shift(host::AXIS_Y));
    cairo_matrix_scale(&matrix, texture_scale(sprite->texture_scale_x), texture_scale(sprite->texture_scale_y));
    cairo_matrix_translate(&matrix, -e.offset_x, -e.offset_y);
    return Placement{e.bitmap_id, matrix, clip, e.bitmap_id + 1};
}

ReadoutPainter::ReadoutPainter()
    : serif_(cairo_toy_font_face_create("DejaVu Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL)),
      mono_(cairo_toy_font_face_create("DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL)) {}

ReadoutPainter::~ReadoutPainter() {
    cairo_font_face_destroy(serif_);
    cairo_font_face_destroy(mono_);
}

std::optional<Placement> ReadoutPainter::place(const PaintContext&, const host::ElementState&) const { return std::nullopt; }

const char* font_family_for(const char* windows_face) {
    static constexpr std::array<std::pair<const char*, const char*>, 3> FACES = {{
        {"MS Serif", "DejaVu Serif"},
        {"Courier New", "DejaVu Sans Mono"},
        {"COURIER_NEW", "DejaVu Sans Mono"},
    }};
    for (const auto& [windows, installed] : FACES) {
        if (strcasecmp(windows, windows_face) == 0) return installed;
    }
    return "DejaVu Sans Mono"; // fixed-width digits suit any readout
}

void ReadoutPainter::paint(const PaintContext& context, const host::ElementState& state) const {
    const auto& readout = *reinterpret_cast<const StringElement*>(state.element);
    const double box_x = readout.header.position_x, box_y = readout.header.position_y;
    const double box_width = std::min<u32>(readout.width, 4096), box_height = std::min<u32>(readout.height, 4096);
    if (box_width <= 0 || box_height <= 0) return;
    const Lighting lighting = lighting_of(readout.header, context.lights_on);
    cairo_t* cr = context.cr;
    cairo_save(cr);
    cairo_rectangle(cr, box_x, box_y, box_width, box_height);
    cairo_clip(cr);
    if ((readout.background_colour & 0xFFFFFF) != 0) { // black lets the face show through
        const Rgb background = lit_colour(rgb_from_colorref(readout.background_colour), lighting);
        cairo_set_source_rgb(cr, background.red, background.green, background.blue);
        cairo_paint(cr);
    }

    char face_name[sizeof readout.font_name + 1] = {};
    std::memcpy(face_name, readout.font_name, sizeof readout.font_name);
    cairo_set_font_face(cr, std::strcmp(font_family_for(face_name), "DejaVu Serif") == 0 ? serif_ : mono_);
    // The size that fits the readout's width in characters into its box, so the digits
    // keep one size whatever they show.
    const double characters = std::clamp<u32>(readout.max_characters, 1, 32);
    cairo_set_font_size(cr, 1.0);
    cairo_text_extents_t digit;
    cairo_text_extents(cr, "0", &digit);
    const double fit_width = digit.x_advance > 0 ? box_width / (characters * digit.x_advance) : box_height;
    cairo_set_font_size(cr, std::min(box_height * 0.9, fit_width));

    // Readouts are ASCII; any other byte shows as '?' (cairo takes only valid UTF-8).
    std::array<char, READOUT_TEXT_CAPACITY + 1> ascii{};
    for (std::size_t i = 0; i + 1 < ascii.size() && state.text[i] != '\0'; ++i) {
        const auto byte = static_cast<unsigned char>(state.text[i]);
        ascii[i] = byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?';
    }
    const char* text = ascii.data();
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const u32 format = readout.text_format;
    double x = box_x - extents.x_bearing;
    if (format & DT_CENTER) x = box_x + (box_width - extents.x_advance) / 2.0;
    else if (format & DT_RIGHT) x = box_x + box_width - extents.x_advance;
    double baseline = box_y + font.ascent;
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) baseline = box_y + (box_height + font.ascent - font.descent) / 2.0;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) baseline = box_y + box_height - font.descent;

    const Rgb colour = lit_colour(rgb_from_colorref(readout.text_colour), lighting);
    cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text);
    cairo_restore(cr);
}

const ElementPainter* painter_for(ElementKind kind) {
    static const StaticPainter static_painter;
    static const NeedlePainter needle_painter;
    static const ReadoutPainter readout_painter;
    static const SliderPainter slider_painter;
    static const IconPainter icon_painter;
    static const MovingPainter moving_painter;
    static const SpritePainter sprite_painter;
    // Indexed by the element kind number.
    static const std::array<const ElementPainter*, 7> PAINTERS = {
        &static_painter, &needle_painter, &readout_painter, &slider_painter, &icon_painter, &moving_painter, &sprite_painter,
    };
    return kind < PAINTERS.size() ? PAINTERS[kind] : nullptr;
}

} // namespace render
