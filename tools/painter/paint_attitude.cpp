#include "paint.h"

#include <cmath>
#include <numbers>

namespace artwork {

namespace {
constexpr double DEGREES = std::numbers::pi / 180.0;
constexpr std::uint32_t LADDER = 0xF6F6F0;
} // namespace

RgbImage paint_attitude_sphere(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const SpriteGeometry g = sprite_geometry(job);
    auto* sprite = reinterpret_cast<const SpriteElement*>(job.first_use()->element);
    const double per_degree = std::abs(sprite->scale_y) / g.scale; // texture pixels
    const double w = job.bitmap.width, h = job.bitmap.height;
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, g.centre.y);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.10, 0.30, 0.62);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.30, 0.60, 0.88);
    cairo_rectangle(canvas.cr(), 0, 0, w, g.centre.y);
    cairo_set_source(canvas.cr(), sky);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(sky);
    cairo_pattern_t* ground = cairo_pattern_create_linear(0, g.centre.y, 0, h);
    cairo_pattern_add_color_stop_rgb(ground, 0, 0.55, 0.36, 0.16);
    cairo_pattern_add_color_stop_rgb(ground, 1, 0.30, 0.19, 0.08);
    cairo_rectangle(canvas.cr(), 0, g.centre.y, w, h - g.centre.y);
    cairo_set_source(canvas.cr(), ground);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(ground);
    canvas.line({0, g.centre.y}, {w, g.centre.y}, 2 / g.scale, LADDER);
    for (int pitch = -60; pitch <= 60; pitch += 5) {
        if (pitch == 0) continue;
        const double y = g.centre.y - pitch * per_degree;
        if (y < 4 || y > h - 4) continue;
        const bool ten = pitch % 10 == 0;
        const double half = (ten ? 22 : 10) / g.scale;
        canvas.line({g.centre.x - half, y}, {g.centre.x + half, y}, 1.6 / g.scale, LADDER);
        if (ten) {
            const std::string label = number_text(std::abs(pitch));
            canvas.text({g.centre.x - half - 10 / g.scale, y}, label, 9 / g.scale, LADDER);
            canvas.text({g.centre.x + half + 10 / g.scale, y}, label, 9 / g.scale, LADDER);
        }
    }
    return canvas.image();
}

RgbImage paint_bank_pointer(const Job& job, double face_radius, std::uint32_t colour) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const SpriteGeometry g = sprite_geometry(job);
    const double tip = g.centre.y - face_radius / g.scale, size = 9 / g.scale;
    cairo_new_path(canvas.cr());
    cairo_move_to(canvas.cr(), g.centre.x, tip);
    cairo_line_to(canvas.cr(), g.centre.x - size, tip + 1.6 * size);
    cairo_line_to(canvas.cr(), g.centre.x + size, tip + 1.6 * size);
    cairo_close_path(canvas.cr());
    canvas.colour(colour);
    cairo_fill(canvas.cr());
    return canvas.image();
}

void draw_bank_scale(Canvas& canvas, Point c, double inner, double outer, std::uint32_t ink) {
    for (int bank : {-60, -45, -30, -20, -10, 10, 20, 30, 45, 60}) {
        const double a = (bank - 90) * DEGREES;
        const bool long_mark = bank % 30 == 0;
        const double from = long_mark ? inner : inner + (outer - inner) * 0.45;
        canvas.line({c.x + from * std::cos(a), c.y + from * std::sin(a)}, {c.x + outer * std::cos(a), c.y + outer * std::sin(a)},
                    long_mark ? 3 : 2, ink);
    }
    // The zero mark: a triangle pointing down at the pointer.
    cairo_new_path(canvas.cr());
    cairo_move_to(canvas.cr(), c.x, c.y - inner);
    cairo_line_to(canvas.cr(), c.x - 7, c.y - outer);
    cairo_line_to(canvas.cr(), c.x + 7, c.y - outer);
    cairo_close_path(canvas.cr());
    canvas.colour(ink);
    cairo_fill(canvas.cr());
}

RgbImage paint_ball(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point c{job.bitmap.width / 2.0, job.bitmap.height / 2.0};
    const double r = std::min(c.x, c.y) - 0.5;
    cairo_pattern_t* shine = cairo_pattern_create_radial(c.x - r * 0.35, c.y - r * 0.35, 0.5, c.x, c.y, r);
    cairo_pattern_add_color_stop_rgb(shine, 0, 0.55, 0.55, 0.58);
    cairo_pattern_add_color_stop_rgb(shine, 0.5, 0.12, 0.12, 0.13);
    cairo_pattern_add_color_stop_rgb(shine, 1, 0.05, 0.05, 0.05);
    cairo_arc(canvas.cr(), c.x, c.y, r, 0, 2 * std::numbers::pi);
    cairo_set_source(canvas.cr(), shine);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(shine);
    return canvas.image();
}

RgbImage paint_pointer_triangle(const Job& job, bool up, std::uint32_t colour) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    cairo_new_path(canvas.cr());
    if (up) {
        cairo_move_to(canvas.cr(), w / 2, 1);
        cairo_line_to(canvas.cr(), w - 1, h - 1);
        cairo_line_to(canvas.cr(), 1, h - 1);
    } else {
        cairo_move_to(canvas.cr(), w - 1, h / 2);
        cairo_line_to(canvas.cr(), 1, 1);
        cairo_line_to(canvas.cr(), 1, h - 1);
    }
    cairo_close_path(canvas.cr());
    canvas.colour(colour);
    cairo_fill_preserve(canvas.cr());
    canvas.colour(0x202020);
    cairo_set_line_width(canvas.cr(), 1);
    cairo_stroke(canvas.cr());
    return canvas.image();
}

RgbImage paint_dot_scale(const Job& job, bool vertical, double centre, double spacing, std::uint32_t background) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    if (background != TRANSPARENT) canvas.rect(0, 0, w, h, background);
    const double across = vertical ? w / 2 : std::min(h / 2, 9.0);
    if (vertical) canvas.line({2, centre}, {w - 2, centre}, 2, MARK_WHITE);
    else canvas.line({centre, across - 7}, {centre, across + 7}, 2, MARK_WHITE);
    for (double d : {-2.0, -1.0, 1.0, 2.0}) {
        const Point dot = vertical ? Point{across, centre + d * spacing} : Point{centre + d * spacing, across};
        canvas.ring(dot, 3.5, 1.6, MARK_WHITE);
    }
    return canvas.image();
}

double slider_rest(const Job& job, u32 pointer_id, bool vertical) {
    const ElementHeader* pointer = element_showing(job.scene, pointer_id);
    const BitmapDeclaration* size = job.declaration(pointer_id);
    const Point o = job.origin();
    if (pointer == nullptr || size == nullptr) return (vertical ? job.bitmap.height : job.bitmap.width) / 2.0;
    return vertical ? pointer->position_y + size->height / 2.0 - o.y : pointer->position_x + size->width / 2.0 - o.x;
}

double dot_spacing(const Job& job, u32 pointer_id, bool vertical) {
    auto* slider = reinterpret_cast<const SliderElement*>(element_showing(job.scene, pointer_id));
    return slider == nullptr ? 40 : std::abs(vertical ? slider->scale_y : slider->scale_x) * DOT_UNITS;
}

} // namespace artwork
