// The pictures of the horizontal situation indicator: the case with its knobs, the
// compass card, course pointer and deviation bar, TO/FROM and the NAV warning, flags.
#include "paint.h"

#include <cmath>
#include <numbers>

namespace artwork {

namespace {

constexpr u32 FACE = 0x1000;
constexpr u32 CARD = 0x1003;
constexpr u32 LUBBER_LINE = 0x1009;
constexpr u32 GLIDESLOPE_SCALE = 0x100c;
constexpr u32 COURSE_POINTER = 0x100f;
constexpr u32 WARNING_STRIPES = 0x1012;
constexpr u32 TO_INDICATOR = 0x1018;
constexpr u32 FROM_INDICATOR = 0x101e;
constexpr u32 HEADING_BUG = 0x2003;
constexpr u32 GLIDESLOPE_POINTER = 0x2006;
constexpr u32 DEVIATION_BAR = 0x2009;
constexpr u32 AIRCRAFT_SYMBOL = 0x200f;
constexpr u32 GLIDESLOPE_FLAG = 0x2012;
constexpr u32 HEADING_FLAG = 0x2015;
constexpr u32 LIT_INDEX_MARKS = 0x2016;

constexpr double DEGREES = std::numbers::pi / 180.0;
constexpr std::uint32_t COURSE_YELLOW = 0xF2C81E;
constexpr std::uint32_t BUG_ORANGE = 0xF08A1E;
constexpr double CARD_MARGIN = 2;    // between the card's edge and the index marks
constexpr double CARD_INSET = 14;    // room inside the card's window for the index marks

// The instrument's centre: the course pointer's pivot.
Point centre_of(const Scene& scene) { return position_of(element_showing(scene, COURSE_POINTER)); }

// Face pixels the card covers: its window's radius less room for the index marks, which
// the lit overlay of the window's size must hold too.
double card_radius(const Job& job) {
    const BitmapDeclaration* window = job.declaration(CARD + 1);
    return (window == nullptr ? 106 : std::min(window->width, window->height) / 2.0) - CARD_INSET;
}

Point polar(Point c, double r, double degrees_from_up) {
    const double a = (degrees_from_up - 90) * DEGREES;
    return {c.x + r * std::cos(a), c.y + r * std::sin(a)};
}

// Triangles every 45 degrees round the card; the lubber line marks the top.
void draw_index_marks(Canvas& canvas, Point c, double r, std::uint32_t ink) {
    for (int i = 1; i < 8; ++i) {
        const double a = i * 45;
        cairo_new_path(canvas.cr());
        Point tip = polar(c, r + CARD_MARGIN, a), left = polar(c, r + CARD_MARGIN + 11, a - 3), right = polar(c, r + CARD_MARGIN + 11, a + 3);
        cairo_move_to(canvas.cr(), tip.x, tip.y);
        cairo_line_to(canvas.cr(), left.x, left.y);
        cairo_line_to(canvas.cr(), right.x, right.y);
        cairo_close_path(canvas.cr());
        canvas.colour(ink);
        cairo_fill(canvas.cr());
    }
}

RgbImage face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    const Point c = centre_of(job.scene);
    const double r = card_radius(job);
    cairo_new_path(canvas.cr());
    cairo_rectangle(canvas.cr(), 1, 1, w - 2, h - 2);
    canvas.colour(0x26282B);
    cairo_fill(canvas.cr());
    canvas.bezel(c, r + 26, r + 18);
    canvas.disc(c, r + 18, DIAL_BLACK);
    cairo_new_path(canvas.cr());
    draw_index_marks(canvas, c, r, 0xB8B8B0);
    draw_readout_windows(canvas, job);
    canvas.text({75, 55}, "HDG", 10, 0xC8C8C0);
    canvas.text({225, 55}, "CRS", 10, 0xC8C8C0);
    draw_knob(canvas, {37, 254}, 18, "HDG");
    draw_knob(canvas, {262, 254}, 18, "CRS");
    canvas.rect(128, 269, 41, 20, 0x3A3C40);
    canvas.text({148.5, 279}, "SEL", 10, MARK_WHITE);
    return canvas.image();
}

RgbImage lit_index_marks(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point o = job.origin(), c = centre_of(job.scene);
    draw_index_marks(canvas, {c.x - o.x, c.y - o.y}, card_radius(job), LIT_INK);
    return canvas.image();
}

RgbImage card(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const SpriteGeometry g = sprite_geometry(job);
    const double r = g.radius - CARD_INSET / g.scale;
    canvas.disc(g.centre, r, 0x1C1C1F);
    static const char* const NAMES[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
    for (int heading = 0; heading < 360; heading += 5) {
        const double length = heading % 10 == 0 ? 9 : 5;
        canvas.line(polar(g.centre, r - 1, heading), polar(g.centre, r - 1 - length, heading), heading % 10 == 0 ? 1.8 : 1.2, MARK_WHITE);
        if (heading % 30 == 0) {
            const bool cardinal = heading % 90 == 0;
            canvas.text(polar(g.centre, r - 14, heading), NAMES[heading / 30], cardinal ? 13 : 11,
                        heading == 0 ? 0xF4F4F4 : MARK_WHITE, Font::CONDENSED_BOLD, heading);
        }
    }
    return canvas.image();
}

RgbImage lubber_line(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    cairo_new_path(canvas.cr());
    cairo_move_to(canvas.cr(), 1, 0);
    cairo_line_to(canvas.cr(), w - 1, 0);
    cairo_line_to(canvas.cr(), w / 2 + 1.5, h - 1);
    cairo_line_to(canvas.cr(), w / 2 - 1.5, h - 1);
    cairo_close_path(canvas.cr());
    canvas.colour(BUG_ORANGE);
    cairo_fill(canvas.cr());
    return canvas.image();
}

RgbImage glideslope_scale(const Job& job) {
    return paint_dot_scale(job, true, slider_rest(job, GLIDESLOPE_POINTER, true), dot_spacing(job, GLIDESLOPE_POINTER, true), TRANSPARENT);
}

// Upright through the pivot: arrow head at the top, tail at the bottom, a gap in the
// middle where the deviation bar moves.
RgbImage course_pointer(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const Point pivot{e->offset_x + 0.0, e->offset_y + 0.0};
    const double top = 1, gap = 46, half = 3;
    const double bottom = std::min(job.bitmap.height - 1.0, 2 * pivot.y - top - 12); // the tail is shorter than the head
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, pivot.x, top);
    cairo_line_to(cr, pivot.x + 11, top + 22);
    cairo_line_to(cr, pivot.x + half, top + 22);
    cairo_line_to(cr, pivot.x + half, pivot.y - gap);
    cairo_line_to(cr, pivot.x - half, pivot.y - gap);
    cairo_line_to(cr, pivot.x - half, top + 22);
    cairo_line_to(cr, pivot.x - 11, top + 22);
    cairo_close_path(cr);
    cairo_rectangle(cr, pivot.x - half, pivot.y + gap, 2 * half, bottom - pivot.y - gap);
    canvas.colour(COURSE_YELLOW);
    cairo_fill(cr);
    return canvas.image();
}

RgbImage deviation_bar(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const SpriteGeometry g = sprite_geometry(job);
    const double half_length = 44 / g.scale, half_width = 3 / g.scale;
    canvas.rect(g.centre.x - half_width, g.centre.y - half_length, 2 * half_width, 2 * half_length, COURSE_YELLOW);
    return canvas.image();
}

// The deviation dots turn with the course, so they live on the TO/FROM textures, spaced
// as the deviation bar's own shift scale moves it.
void draw_deviation_dots(Canvas& canvas, const Job& job, const SpriteGeometry& g) {
    auto* bar = reinterpret_cast<const SpriteElement*>(element_showing(job.scene, DEVIATION_BAR));
    const double spacing = bar == nullptr ? 32 : std::abs(bar->scale_x) * DOT_UNITS;
    for (double d : {-2.0, -1.0, 1.0, 2.0}) {
        canvas.ring({g.centre.x + d * spacing / g.scale, g.centre.y}, 4.5 / g.scale, 1.8 / g.scale, MARK_WHITE);
    }
}

RgbImage to_from(const Job& job, bool to) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const SpriteGeometry g = sprite_geometry(job);
    draw_deviation_dots(canvas, job, g);
    const double x = g.centre.x + 22, y = g.centre.y + (to ? -38 : 38), direction = to ? -1 : 1;
    cairo_new_path(canvas.cr());
    cairo_move_to(canvas.cr(), x, y + direction * 12);
    cairo_line_to(canvas.cr(), x - 10, y - direction * 6);
    cairo_line_to(canvas.cr(), x + 10, y - direction * 6);
    cairo_close_path(canvas.cr());
    canvas.colour(MARK_WHITE);
    cairo_fill(canvas.cr());
    return canvas.image();
}

RgbImage warning_stripes(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const SpriteGeometry g = sprite_geometry(job);
    draw_deviation_dots(canvas, job, g);
    canvas.stripes(g.centre.x - 50, g.centre.y - 62, 20, 40, 5, FLAG_RED, 0xF4F4F0);
    canvas.rect(g.centre.x - 50, g.centre.y - 48, 20, 12, FLAG_RED);
    canvas.text({g.centre.x - 40, g.centre.y - 42}, "NAV", 8, 0xF4F4F0);
    return canvas.image();
}

// Upright from the pivot: a notched bug at the card's rim.
RgbImage heading_bug(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width;
    cairo_new_path(canvas.cr());
    cairo_rectangle(canvas.cr(), 0.5, 0.5, w / 2 - 2.5, 9);
    cairo_rectangle(canvas.cr(), w / 2 + 2, 0.5, w / 2 - 2.5, 9);
    canvas.colour(BUG_ORANGE);
    cairo_fill(canvas.cr());
    return canvas.image();
}

RgbImage aircraft_symbol(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point o = job.origin(), c0 = centre_of(job.scene);
    const Point c{c0.x - o.x, c0.y - o.y};
    const std::uint32_t ink = 0xF4F4F0;
    canvas.rect(c.x - 2.5, c.y - 22, 5, 46, ink);      // fuselage
    canvas.rect(c.x - 24, c.y - 6, 48, 5, ink);        // wings
    canvas.rect(c.x - 10, c.y + 18, 20, 4, ink);       // tail plane
    return canvas.image();
}

} // namespace

const ModulePainters& situation_indicator_painters() {
    static const ModulePainters painters{"Ilvarra",
                                         {
                                             {FACE, face},
                                             {CARD, card},
                                             {LUBBER_LINE, lubber_line},
                                             {GLIDESLOPE_SCALE, glideslope_scale},
                                             {COURSE_POINTER, course_pointer},
                                             {WARNING_STRIPES, warning_stripes},
                                             {TO_INDICATOR, [](const Job& job) { return to_from(job, true); }},
                                             {FROM_INDICATOR, [](const Job& job) { return to_from(job, false); }},
                                             {HEADING_BUG, heading_bug},
                                             {GLIDESLOPE_POINTER, [](const Job& job) { return paint_pointer_triangle(job, false, 0xE040E0); }},
                                             {DEVIATION_BAR, deviation_bar},
                                             {AIRCRAFT_SYMBOL, aircraft_symbol},
                                             {GLIDESLOPE_FLAG, [](const Job& job) { return paint_flag(job, "GS"); }},
                                             {HEADING_FLAG, [](const Job& job) { return paint_flag(job, "HDG"); }},
                                             {LIT_INDEX_MARKS, lit_index_marks},
                                         }};
    return painters;
}

} // namespace artwork
