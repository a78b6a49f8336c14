// The pictures of the attitude director indicator: the case with its tape slot, lamp and
// inclinometer, the sphere, bank pointer and command bars, the bezel with the bank
// scale and aircraft symbol, the radio-altitude tape, the deviation scales and flags.
#include "paint.h"

#include <cmath>

namespace artwork {

namespace {

constexpr u32 FACE = 0x1000;
constexpr u32 BANK_POINTER = 0x1003;
constexpr u32 BEZEL_OVERLAY = 0x2000;
constexpr u32 SPHERE = 0x2003;
constexpr u32 GLIDESLOPE_POINTER = 0x2009;
constexpr u32 GLIDESLOPE_FLAG = 0x200c;
constexpr u32 GYRO_FLAG = 0x2012;
constexpr u32 DH_LAMP = 0x3000;
constexpr u32 COURSE_POINTER = 0x3006;
constexpr u32 BALL = 0x3009;
constexpr u32 RADIO_FLAG = 0x300f;
constexpr u32 TAPE_MARKER = 0x3012;
constexpr u32 RADIO_TAPE = 0x3015;
constexpr u32 GLIDESLOPE_SCALE = 0x3021;
constexpr u32 COMMAND_BARS = 0x3024;
constexpr u32 LOWER_SCALE = 0x3030;
constexpr u32 SHUTTER = 0x3033;
constexpr u32 LIT_TUBE = 0x3035;

constexpr std::uint32_t CASE = 0x26282B;
constexpr std::uint32_t COMMAND_MAGENTA = 0xE040D0;
constexpr std::uint32_t SYMBOL_YELLOW = 0xF2C81E;
constexpr double BANK_SCALE_INNER = 92, BANK_SCALE_OUTER = 104;

// The sphere's window on the face: an ellipse of the window's size about its centre.
struct Window {
    Point centre;
    double rx, ry;
};

Window sphere_window(const Job& job) {
    const BitmapDeclaration* w = job.declaration(SPHERE + 1);
    return {sprite_centre_on_face(job, SPHERE), w == nullptr ? 99.5 : w->width / 2.0, w == nullptr ? 104.5 : w->height / 2.0};
}

void ellipse_path(cairo_t* cr, const Window& w) {
    cairo_save(cr);
    cairo_translate(cr, w.centre.x, w.centre.y);
    cairo_scale(cr, w.rx, w.ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * 3.14159265358979);
    cairo_restore(cr);
}

// The inclinometer's glass tube with its two reference wires, about the ball's rest.
void draw_tube(Canvas& canvas, const Job& job, Point origin, std::uint32_t glass) {
    const ElementHeader* ball = element_showing(job.scene, BALL);
    const BitmapDeclaration* size = job.declaration(BALL);
    if (ball == nullptr || size == nullptr) return;
    const Point c{ball->position_x + size->width / 2.0 - origin.x, ball->position_y + size->height / 2.0 - origin.y};
    const double half_height = size->height / 2.0 + 1.5, half_length = 66;
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, c.x - half_length + half_height, c.y - half_height);
    cairo_line_to(cr, c.x + half_length - half_height, c.y - half_height);
    cairo_arc(cr, c.x + half_length - half_height, c.y, half_height, -1.5707963, 1.5707963);
    cairo_line_to(cr, c.x - half_length + half_height, c.y + half_height);
    cairo_arc(cr, c.x - half_length + half_height, c.y, half_height, 1.5707963, 4.712389);
    cairo_close_path(cr);
    canvas.colour(glass);
    cairo_fill_preserve(cr);
    canvas.colour(0x505450);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    for (double side : {-1.0, 1.0}) canvas.line({c.x + side * (size->width / 2.0 + 1.5), c.y - half_height}, {c.x + side * (size->width / 2.0 + 1.5), c.y + half_height}, 1.5, PAINT_BLACK);
}

RgbImage face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    const Window window = sphere_window(job);
    canvas.rect(0, 0, w, h, CASE);
    ellipse_path(canvas.cr(), {window.centre, window.rx + 2, window.ry + 2});
    canvas.colour(DIAL_BLACK);
    cairo_fill_preserve(canvas.cr());
    canvas.colour(BEZEL_LIGHT);
    cairo_set_line_width(canvas.cr(), 3);
    cairo_stroke(canvas.cr());
    // The tape's slot, the lamp's socket and the scales' recesses.
    if (const ElementHeader* tape = element_showing(job.scene, RADIO_TAPE)) {
        const BitmapDeclaration* slot = job.declaration(RADIO_TAPE + 1);
        canvas.rect(tape->position_x - 3, tape->position_y - 3, slot->width + 6, slot->height + 6, BEZEL_LIGHT);
        canvas.rect(tape->position_x - 1, tape->position_y - 1, slot->width + 2, slot->height + 2, PAINT_BLACK);
        canvas.text({tape->position_x + slot->width / 2.0, tape->position_y + slot->height + 12.0}, "RA", 11, MARK_WHITE);
    }
    if (const ElementHeader* lamp = element_showing(job.scene, DH_LAMP)) {
        const BitmapDeclaration* size = job.declaration(DH_LAMP);
        const Point c{lamp->position_x + size->width / 2.0, lamp->position_y + size->height / 2.0};
        canvas.disc(c, size->width / 2.0 + 3, BEZEL_LIGHT);
        canvas.disc(c, size->width / 2.0, 0x3A2A10);
        canvas.text({c.x, c.y + size->height / 2.0 + 10}, "DH", 10, MARK_WHITE);
    }
    if (const ElementHeader* scale = element_showing(job.scene, GLIDESLOPE_SCALE)) {
        canvas.text({scale->position_x + 9.0, scale->position_y - 10.0}, "GS", 11, MARK_WHITE);
    }
    draw_tube(canvas, job, {}, 0x9AA29A);
    return canvas.image();
}

// Over everything: the case round the sphere's window, the bank scale and the fixed
// aircraft symbol.
RgbImage bezel(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point o = job.origin();
    Window window = sphere_window(job);
    window.centre = {window.centre.x - o.x, window.centre.y - o.y};
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_rectangle(cr, 0, 0, job.bitmap.width, job.bitmap.height);
    ellipse_path(cr, window);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    canvas.colour(CASE);
    cairo_fill(cr);
    draw_bank_scale(canvas, window.centre, BANK_SCALE_INNER, BANK_SCALE_OUTER, MARK_WHITE);
    const Point c = window.centre;
    canvas.rect(c.x - 62, c.y - 2.5, 40, 5, SYMBOL_YELLOW);
    canvas.rect(c.x + 22, c.y - 2.5, 40, 5, SYMBOL_YELLOW);
    canvas.rect(c.x - 25, c.y - 2.5, 5, 12, SYMBOL_YELLOW);
    canvas.rect(c.x + 20, c.y - 2.5, 5, 12, SYMBOL_YELLOW);
    canvas.disc(c, 3.5, SYMBOL_YELLOW);
    return canvas.image();
}

// Flight-director bars: a magenta V about the texture centre.
RgbImage command_bars(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const SpriteGeometry g = sprite_geometry(job);
    for (double side : {-1.0, 1.0}) {
        canvas.line({g.centre.x + side * 6 / g.scale, g.centre.y + 4 / g.scale}, {g.centre.x + side * 58 / g.scale, g.centre.y + 26 / g.scale},
                    6 / g.scale, COMMAND_MAGENTA);
    }
    return canvas.image();
}

// Feet from 0 to 200, placed where the window's index reads them.
RgbImage radio_tape(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width;
    const ElementHeader* tape = job.first_use()->element;
    const ElementHeader* marker = element_showing(job.scene, TAPE_MARKER);
    const BitmapDeclaration* marker_size = job.declaration(TAPE_MARKER);
    const double index = marker == nullptr ? 0 : marker->position_y + marker_size->height / 2.0 - tape->position_y;
    canvas.rect(0, 0, w, job.bitmap.height, 0x2A2A2E);
    const double zero = strip_pixel(job, true, 0, index);
    canvas.stripes(0, 0, w, zero, 6, 0x6A4420, 0x2A2A2E);
    for (double feet = 0; feet <= 200; feet += 5) {
        const double y = strip_pixel(job, true, feet, index);
        const bool ten = std::fmod(feet, 10) == 0;
        canvas.line({0, y}, {ten ? 6.0 : 3.5, y}, 1.5, MARK_WHITE);
        if (ten) canvas.text({w / 2 + 3, y}, number_text(feet), feet >= 100 ? 8.5 : 10, MARK_WHITE, Font::CONDENSED_BOLD);
    }
    return canvas.image();
}

RgbImage tape_marker(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    cairo_new_path(canvas.cr());
    cairo_move_to(canvas.cr(), 7, h / 2);
    cairo_line_to(canvas.cr(), 0, h / 2 - 5);
    cairo_line_to(canvas.cr(), 0, h / 2 + 5);
    cairo_close_path(canvas.cr());
    canvas.colour(SYMBOL_YELLOW);
    cairo_fill(canvas.cr());
    canvas.line({7, h / 2}, {w, h / 2}, 1, SYMBOL_YELLOW);
    return canvas.image();
}

RgbImage glideslope_scale(const Job& job) {
    return paint_dot_scale(job, true, slider_rest(job, GLIDESLOPE_POINTER, true), dot_spacing(job, GLIDESLOPE_POINTER, true), TRANSPARENT);
}

RgbImage lower_scale(const Job& job) {
    return paint_dot_scale(job, false, slider_rest(job, COURSE_POINTER, false), dot_spacing(job, COURSE_POINTER, false), CASE);
}

RgbImage shutter(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    canvas.stripes(0, 0, job.bitmap.width, job.bitmap.height, 5, 0x6E7074, 0x5A5C60);
    return canvas.image();
}

RgbImage lit_tube(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_tube(canvas, job, job.origin(), 0xC8C0A0);
    return canvas.image();
}

} // namespace

const ModulePainters& attitude_director_painters() {
    static const ModulePainters painters{"Tavonne",
                                         {
                                             {FACE, face},
                                             {BANK_POINTER, [](const Job& job) { return paint_bank_pointer(job, BANK_SCALE_INNER, MARK_WHITE); }},
                                             {BEZEL_OVERLAY, bezel},
                                             {SPHERE, paint_attitude_sphere},
                                             {GLIDESLOPE_POINTER, [](const Job& job) { return paint_pointer_triangle(job, false, COMMAND_MAGENTA); }},
                                             {GLIDESLOPE_FLAG, [](const Job& job) { return paint_flag(job, "GS"); }},
                                             {GYRO_FLAG, [](const Job& job) { return paint_flag(job, "GYRO  COMPUTER"); }},
                                             {DH_LAMP, [](const Job& job) { return paint_lamp(job, {LAMP_AMBER}); }},
                                             {COURSE_POINTER, [](const Job& job) { return paint_pointer_triangle(job, true, COMMAND_MAGENTA); }},
                                             {BALL, paint_ball},
                                             {RADIO_FLAG, [](const Job& job) { return paint_flag(job, "RA"); }},
                                             {TAPE_MARKER, tape_marker},
                                             {RADIO_TAPE, radio_tape},
                                             {GLIDESLOPE_SCALE, glideslope_scale},
                                             {COMMAND_BARS, command_bars},
                                             {LOWER_SCALE, lower_scale},
                                             {SHUTTER, shutter},
                                             {LIT_TUBE, lit_tube},
                                         }};
    return painters;
}

} // namespace artwork
