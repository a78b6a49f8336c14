// The pictures of the radio altimeter: the 0 to 2500 ft dial with its DH knob, the
// pointer, the decision-height marker and the three-state DH lamp.
#include "paint.h"

namespace artwork {

namespace {

constexpr u32 FACE = 0x1000;
constexpr u32 POINTER = 0x2000;
constexpr u32 DH_MARKER = 0x2100;
constexpr u32 DH_LAMP = 0x3000; // pictures 0x3000 dark, 0x3003 in range, 0x3006 at decision height

constexpr std::uint32_t DH_YELLOW = 0xF2C81E;

RgbImage face(const Job& job) {
    DialDesign d;
    for (double v : steps(0, 100, 10)) d.minor.push_back(v);
    for (double v : steps(100, 500, 25)) d.minor.push_back(v);
    for (double v : steps(500, 2500, 100)) d.minor.push_back(v);
    for (double v : {0, 50, 100, 200, 300, 400, 500, 1000, 1500, 2000, 2500}) {
        d.major.push_back(v);
        d.numerals.push_back({v, v >= 1000 ? number_text(v / 1000) + "K" : number_text(v)});
    }
    d.numeral_size = 16;
    d.numeral_inset = 30;
    d.arcs = {{0, 200, ARC_YELLOW, 5}};
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_dial_face(canvas, job, {d}, {{{96, 128}, "RADIO ALT", 13}, {{96, 145}, "FEET", 11, 0xC8C8C0}});
    draw_knob(canvas, {47, 262}, 20, "DH");
    canvas.text({14, 240}, "\u2212", 14, MARK_WHITE);
    canvas.text({80, 240}, "+", 14, MARK_WHITE);
    return canvas.image();
}

RgbImage pointer(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    draw_pointer(canvas, {e->offset_x + 0.5, e->offset_y + 0.5}, needle_reach(job), e->offset_x, 5, MARK_WHITE, 0x2A2A2C);
    return canvas.image();
}

// A yellow bug astride the rim at the end of a transparent arm.
RgbImage dh_marker(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const double tip = e->offset_x + needle_reach(job), y = e->offset_y + 0.5;
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, tip - 14, y);
    cairo_line_to(cr, std::min(tip + 4, job.bitmap.width - 1.0), y - 8);
    cairo_line_to(cr, std::min(tip + 4, job.bitmap.width - 1.0), y + 8);
    cairo_close_path(cr);
    canvas.colour(DH_YELLOW);
    cairo_fill(cr);
    return canvas.image();
}

RgbImage dh_lamp(const Job& job) { return paint_lamp(job, {0x3A2A10, 0x2E9A3A, LAMP_AMBER}, "DH"); }

} // namespace

const ModulePainters& radio_altimeter_painters() {
    static const ModulePainters painters{"Zorvane",
                                         {
                                             {FACE, face},
                                             {POINTER, pointer},
                                             {DH_MARKER, dh_marker},
                                             {DH_LAMP, dh_lamp},
                                             {DH_LAMP + 3, dh_lamp},
                                             {DH_LAMP + 6, dh_lamp},
                                         }};
    return painters;
}

} // namespace artwork
