// The pictures of the primary flight instruments: vertical speed, airspeed, the drum
// altimeter, the clock and the attitude indicator.
#include "paint.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace artwork {

namespace {

constexpr u32 VSI_FACE = 0x1000, VSI_OVERLAY = 0x1010, VSI_NEEDLE = 0x1020, VSI_CRACKED = 0x1030;
constexpr u32 ASI_FACE = 0x1040, ASI_OVERLAY = 0x1050, ASI_NEEDLE = 0x1060, ASI_WHITE_BUG = 0x1070,
              ASI_YELLOW_BUG = 0x1080, ASI_MAX_POINTER = 0x1090;
constexpr u32 ALT_FACE = 0x1100, ALT_POINTER = 0x1110, ALT_OVERLAY = 0x1120, ALT_THOUSANDS = 0x1130,
              ALT_TEN_THOUSANDS = 0x1140, ALT_HUNDREDS = 0x1150;
constexpr u32 CLOCK_FACE = 0x1160, CLOCK_HOUR = 0x1170, CLOCK_MINUTE = 0x1180, CLOCK_SECOND = 0x1190,
              CLOCK_OVERLAY = 0x1200;
constexpr u32 ATT_FACE = 0x1210, ATT_KNOB = 0x1220, ATT_SYMBOL = 0x1230, ATT_BALL = 0x1240, ATT_BANK_POINTER = 0x1250;

constexpr double DEGREES = std::numbers::pi / 180.0;
constexpr std::uint32_t SYMBOL_ORANGE = 0xF09A1E;
constexpr int DRUM_CELLS = 11;

// ---- vertical speed ------------------------------------------------------------------

DialDesign vsi_design() {
    DialDesign d;
    for (double v : steps(-4000, 4000, 500)) d.major.push_back(v);
    for (double v : steps(-1000, 1000, 100)) d.minor.push_back(v);
    for (double v : {-4000, -3000, -2000, -1500, -1000, -500, 0, 500, 1000, 1500, 2000, 3000, 4000}) {
        d.numerals.push_back({v, number_text(std::abs(v) / 1000)});
    }
    d.numerals.front().text = d.numerals.back().text = "4";
    d.numeral_size = 20;
    return d;
}

std::vector<FaceText> vsi_words() {
    return {{{110, 140}, "UP", 13}, {{110, 182}, "DN", 13}, {{178, 118}, "VERTICAL SPEED", 11},
            {{178, 204}, "1000 FT/MIN", 10, 0xC8C8C0, Font::CONDENSED}};
}

RgbImage dial_with_markings(const Job& job, const std::vector<DialDesign>& dials, const std::vector<FaceText>& words) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_dial_face(canvas, job, dials, words);
    return canvas.image();
}

// A picture over the face carrying the face's markings in `ink`.
RgbImage markings_overlay(const Job& job, u32 face, const std::vector<DialDesign>& dials, const std::vector<FaceText>& words,
                          std::uint32_t ink) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_face_markings(canvas, job, face, dials, words, ink, job.origin());
    return canvas.image();
}

// The glass broken: cracks running out from a point of impact.
RgbImage vsi_cracked(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point hit{job.bitmap.width * 0.62, job.bitmap.height * 0.38};
    std::uint32_t seed = 12345;
    auto random = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return ((seed >> 8) & 0xFFFF) / 65535.0;
    };
    cairo_t* cr = canvas.cr();
    for (int crack = 0; crack < 11; ++crack) {
        double a = crack * 2 * std::numbers::pi / 11 + random() * 0.4;
        Point p = hit;
        cairo_new_path(cr);
        cairo_move_to(cr, p.x, p.y);
        for (int step = 0; step < 9; ++step) {
            a += (random() - 0.5) * 0.7;
            const double length = 8 + random() * 18;
            p = {p.x + length * std::cos(a), p.y + length * std::sin(a)};
            cairo_line_to(cr, p.x, p.y);
        }
        canvas.colour(0xD8E0E8);
        cairo_set_line_width(cr, 1.3);
        cairo_stroke(cr);
    }
    for (double r : {10.0, 22.0, 38.0}) canvas.ring(hit, r, 1, 0xB8C0C8);
    return canvas.image();
}

// A broad white pointer along +x from the pivot with a short tail.
RgbImage broad_needle(const Job& job, std::uint32_t colour) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const Point pivot{e->offset_x + 0.5, e->offset_y + 0.5};
    const double half = std::min(5.0, job.bitmap.height / 2.0 - 1);
    draw_pointer(canvas, pivot, needle_reach(job), std::min(pivot.x, 30.0), half, colour, 0x2A2A2C);
    return canvas.image();
}

// ---- airspeed --------------------------------------------------------------------------

DialDesign asi_design() {
    DialDesign d;
    d.minor = steps(40, 300, 5);
    d.major = steps(40, 300, 10);
    for (double v : steps(40, 300, 20)) d.numerals.push_back({v, number_text(v)});
    d.numeral_size = 18;
    d.numeral_inset = 34;
    d.arcs = {{95, 230, ARC_GREEN, 6}, {230, 260, ARC_YELLOW, 6}, {80, 150, ARC_WHITE, 5, 7}};
    d.red_lines = {260};
    return d;
}

std::vector<FaceText> asi_words() { return {{{161, 125}, "AIRSPEED", 13}, {{161, 205}, "KNOTS", 12, 0xC8C8C0}}; }

// The striped maximum-allowable-speed pointer.
RgbImage asi_max_pointer(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const Point pivot{e->offset_x + 0.5, e->offset_y + 0.5};
    const double reach = needle_reach(job), half = 2.5;
    canvas.rect(pivot.x, pivot.y - half, reach, 2 * half, 0xF4F4F0);
    for (double x = pivot.x + 20; x < pivot.x + reach - 4; x += 12) canvas.rect(x, pivot.y - half, 6, 2 * half, ARC_RED);
    canvas.disc(pivot, 4, 0x2A2A2C);
    return canvas.image();
}

// A speed bug: a notched marker on the rim at the end of a transparent arm.
RgbImage asi_bug(const Job& job, std::uint32_t colour) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    canvas.rect(w - 14, 0, 5, h, colour);
    canvas.rect(w - 7, 0, 5, h, colour);
    return canvas.image();
}

// ---- altimeter -----------------------------------------------------------------------

// The pointer turns once per thousand feet, clockwise from its zero point.
EvenDial alt_dial(const Job& job) {
    const ElementHeader* pointer = element_showing(job.scene, ALT_POINTER);
    const Calibration table = Scene::calibration_of({job.scene.uses(ALT_POINTER).front().gauge, pointer, 0});
    const double zero = table.angle_degrees(table.first_value());
    double last = table.angle_degrees(table.last_value());
    while (last <= zero) last += 360;
    const double per_foot = (last - zero) / (table.last_value() - table.first_value());
    return even_dial(pointer, 0, 1000, 51, zero, per_foot * 1000, table.radius(0));
}

DialDesign alt_design() {
    DialDesign d;
    d.minor = steps(0, 980, 20);
    d.major = steps(0, 900, 100);
    for (int k = 0; k < 10; ++k) d.numerals.push_back({k * 100.0, std::to_string(k)});
    d.numeral_size = 17;
    d.numeral_inset = 20;
    return d;
}

std::vector<FaceText> alt_words() {
    return {{{104, 162}, "MB", 9, 0xC8C8C0}, {{183, 162}, "IN HG", 9, 0xC8C8C0}};
}

void draw_alt_markings(Canvas& canvas, const Job& job, std::uint32_t ink, Point origin) {
    const EvenDial dial = alt_dial(job);
    cairo_save(canvas.cr());
    cairo_translate(canvas.cr(), -origin.x, -origin.y);
    draw_dial(canvas, dial.calibration(element_showing(job.scene, ALT_POINTER)), alt_design(), ink);
    for (const FaceText& t : alt_words()) canvas.text(t.at, t.text, t.size, ink, t.font);
    cairo_restore(canvas.cr());
}

RgbImage alt_face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width;
    draw_instrument_body(canvas, {w / 2, job.bitmap.height / 2.0}, w / 2);
    draw_readout_windows(canvas, job);
    // The drums' window, from the drum elements' places and window sizes.
    double left = w, top = w, right = 0, bottom = 0;
    for (u32 strip : {ALT_TEN_THOUSANDS, ALT_THOUSANDS, ALT_HUNDREDS}) {
        const ElementHeader* e = element_showing(job.scene, strip);
        const BitmapDeclaration* window = job.declaration(strip + 1);
        if (e == nullptr || window == nullptr) continue;
        left = std::min(left, e->position_x - 2.0);
        top = std::min(top, e->position_y - 2.0);
        right = std::max(right, e->position_x + window->width + 2.0);
        bottom = std::max(bottom, e->position_y + window->height + 2.0);
    }
    if (right > left) {
        canvas.rect(left - 2, top - 2, right - left + 4, bottom - top + 4, BEZEL_LIGHT);
        canvas.rect(left, top, right - left, bottom - top, PAINT_BLACK);
    }
    draw_knob(canvas, {234, 235}, 22, "");
    return canvas.image();
}

RgbImage alt_overlay(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_alt_markings(canvas, job, MARK_WHITE, job.origin());
    return canvas.image();
}

// Eleven cells of a drum, each a digit (or words) centred in its cell.
RgbImage drum(const Job& job, const std::vector<std::string>& cells) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, cell = job.bitmap.height / static_cast<double>(DRUM_CELLS);
    canvas.rect(0, 0, w, job.bitmap.height, PAINT_BLACK);
    for (int k = 0; k < DRUM_CELLS; ++k) {
        if (cells[k].empty()) {
            canvas.stripes(1, k * cell + 2, w - 2, cell - 4, 4, 0xF4F4F0, 0x2C8C3C);
        } else {
            canvas.text({w / 2, k * cell + cell / 2}, cells[k], cells[k].size() > 1 ? 15 : 20, MARK_WHITE, Font::CONDENSED_BOLD);
        }
    }
    return canvas.image();
}

std::vector<std::string> drum_cells(int first, int multiplier, const char* format) {
    std::vector<std::string> cells;
    for (int k = 0; k < DRUM_CELLS; ++k) {
        char text[16];
        std::snprintf(text, sizeof text, format, ((first + k) % 10) * multiplier);
        cells.push_back(text);
    }
    return cells;
}

// ---- clock -----------------------------------------------------------------------------

// Hours round the dial from the hour hand's zero point, minutes every six degrees.
void draw_clock_markings(Canvas& canvas, const Job& job, std::uint32_t ink, Point origin) {
    const ElementHeader* hand = element_showing(job.scene, CLOCK_HOUR);
    const Calibration hours = Scene::calibration_of({job.scene.uses(CLOCK_HOUR).front().gauge, hand, 0});
    const EvenDial dial = even_dial(hand, 0, 60, 61, hours.angle_degrees(0), 360, hours.radius(0));
    DialDesign d;
    d.minor = steps(0, 59, 1);
    d.major = steps(0, 55, 5);
    d.minor_length = 6;
    d.major_length = 14;
    d.numeral_size = 26;
    d.numeral_inset = 36;
    for (int hour = 0; hour < 12; ++hour) d.numerals.push_back({hour * 5.0, std::to_string(hour == 0 ? 12 : hour)});
    cairo_save(canvas.cr());
    cairo_translate(canvas.cr(), -origin.x, -origin.y);
    draw_dial(canvas, dial.calibration(hand), d, ink);
    canvas.text({hand->position_x + 0.0, hand->position_y + 48.0}, "CLOCK", 11, ink);
    cairo_restore(canvas.cr());
}

RgbImage clock_face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* hand = element_showing(job.scene, CLOCK_HOUR);
    draw_instrument_body(canvas, position_of(hand), std::min(job.bitmap.width, job.bitmap.height) / 2.0 - 2);
    draw_knob(canvas, {35, 275}, 22, "SET");
    return canvas.image();
}

RgbImage clock_overlay(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_clock_markings(canvas, job, MARK_WHITE, job.origin());
    return canvas.image();
}

// A hand along +x from its pivot; `reach_fraction` of the way to the hour ring.
RgbImage clock_hand(const Job& job, double half_width, std::uint32_t colour) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const Point pivot{e->offset_x + 0.5, e->offset_y + 0.5};
    const double reach = std::min(needle_reach(job), job.bitmap.width - 1.0 - e->offset_x);
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, pivot.x, pivot.y - half_width);
    cairo_line_to(cr, pivot.x + reach * 0.85, pivot.y - half_width);
    cairo_line_to(cr, pivot.x + reach, pivot.y);
    cairo_line_to(cr, pivot.x + reach * 0.85, pivot.y + half_width);
    cairo_line_to(cr, pivot.x, pivot.y + half_width);
    cairo_close_path(cr);
    canvas.colour(colour);
    cairo_fill(cr);
    return canvas.image();
}

// ---- attitude --------------------------------------------------------------------------

struct AttitudeWindow {
    Point centre;
    double radius;
};

AttitudeWindow attitude_window(const Job& job) {
    const BitmapDeclaration* window = job.declaration(ATT_BALL + 1);
    return {sprite_centre_on_face(job, ATT_BALL), window == nullptr ? 78.5 : window->width / 2.0};
}

RgbImage attitude_face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const AttitudeWindow window = attitude_window(job);
    draw_instrument_body(canvas, {job.bitmap.width / 2.0, job.bitmap.height / 2.0}, job.bitmap.width / 2.0);
    canvas.disc(window.centre, window.radius + 1, PAINT_BLACK);
    canvas.ring(window.centre, window.radius + 2.5, 3, BEZEL_LIGHT);
    draw_bank_scale(canvas, window.centre, window.radius + 4, window.radius + 16, MARK_WHITE);
    const ElementHeader* knob = element_showing(job.scene, ATT_KNOB);
    if (knob != nullptr) canvas.disc(position_of(knob), 30, 0x1A1A1C);
    canvas.text({window.centre.x, window.centre.y + window.radius + 30}, "ATTITUDE", 11, 0xC8C8C0);
    return canvas.image();
}

RgbImage attitude_symbol(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const AttitudeWindow window = attitude_window(job);
    const Point o = job.origin();
    const Point c{window.centre.x - o.x, window.centre.y - o.y};
    canvas.rect(c.x - 48, c.y - 2, 32, 4, SYMBOL_ORANGE);
    canvas.rect(c.x + 16, c.y - 2, 32, 4, SYMBOL_ORANGE);
    canvas.line({c.x - 16, c.y}, {c.x, c.y + 9}, 4, SYMBOL_ORANGE);
    canvas.line({c.x + 16, c.y}, {c.x, c.y + 9}, 4, SYMBOL_ORANGE);
    canvas.disc(c, 3, SYMBOL_ORANGE);
    return canvas.image();
}

// The adjust knob turns with the setting: a ridged knob with a pointer along +x that
// reaches past its rim.
RgbImage attitude_knob(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const Point pivot{e->offset_x + 0.5, e->offset_y + 0.5};
    const double r = std::min({pivot.x, pivot.y, job.bitmap.height - pivot.y}) - 5;
    draw_knob(canvas, pivot, r, "");
    draw_pointer(canvas, {pivot.x + r * 0.4, pivot.y}, std::min(needle_reach(job), r + 9) - r * 0.4, 0, 3, MARK_WHITE, 0x2A2A2C);
    return canvas.image();
}

} // namespace

const ModulePainters& primary_flight_painters() {
    static const ModulePainters painters{
        "Brevolin",
        {
            {VSI_FACE, [](const Job& job) { return dial_with_markings(job, {vsi_design()}, vsi_words()); }},
            {VSI_OVERLAY, [](const Job& job) { return markings_overlay(job, VSI_FACE, {vsi_design()}, vsi_words(), LIT_INK); }},
            {VSI_NEEDLE, [](const Job& job) { return broad_needle(job, MARK_WHITE); }},
            {VSI_CRACKED, vsi_cracked},
            {ASI_FACE, [](const Job& job) { return dial_with_markings(job, {asi_design()}, asi_words()); }},
            {ASI_OVERLAY, [](const Job& job) { return markings_overlay(job, ASI_FACE, {asi_design()}, asi_words(), LIT_INK); }},
            {ASI_NEEDLE, [](const Job& job) { return broad_needle(job, MARK_WHITE); }},
            {ASI_WHITE_BUG, [](const Job& job) { return asi_bug(job, 0xF4F4F0); }},
            {ASI_YELLOW_BUG, [](const Job& job) { return asi_bug(job, ARC_YELLOW); }},
            {ASI_MAX_POINTER, asi_max_pointer},
            {ALT_FACE, alt_face},
            {ALT_POINTER, [](const Job& job) { return broad_needle(job, MARK_WHITE); }},
            {ALT_OVERLAY, alt_overlay},
            {ALT_THOUSANDS, [](const Job& job) { return drum(job, drum_cells(0, 1, "%d")); }},
            {ALT_TEN_THOUSANDS,
             [](const Job& job) {
                 std::vector<std::string> cells = drum_cells(0, 1, "%d");
                 cells[0].clear(); // hatched: below ten thousand feet
                 return drum(job, cells);
             }},
            {ALT_HUNDREDS, [](const Job& job) { return drum(job, drum_cells(0, 100, "%03d")); }},
            {CLOCK_FACE, clock_face},
            {CLOCK_HOUR, [](const Job& job) { return clock_hand(job, 5, MARK_WHITE); }},
            {CLOCK_MINUTE, [](const Job& job) { return clock_hand(job, 3.5, MARK_WHITE); }},
            {CLOCK_SECOND, [](const Job& job) { return clock_hand(job, 1.2, 0xF05020); }},
            {CLOCK_OVERLAY, clock_overlay},
            {ATT_FACE, attitude_face},
            {ATT_KNOB, attitude_knob},
            {ATT_SYMBOL, attitude_symbol},
            {ATT_BALL, paint_attitude_sphere},
            {ATT_BANK_POINTER, [](const Job& job) { return paint_bank_pointer(job, 72, MARK_WHITE); }},
        }};
    return painters;
}

} // namespace artwork
