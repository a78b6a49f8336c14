// The pictures of the engine module: the ITT, torque, RPM and fuel-flow dials with their
// shared needle, the twin oil gauge and the FT gauge.
#include "paint.h"

#include <cmath>

namespace artwork {

namespace {

constexpr u32 DIAL_NEEDLE = 0x1000;
constexpr u32 ITT_FACE = 0x1100;
constexpr u32 TORQUE_FACE = 0x1200;
constexpr u32 FUEL_FLOW_FACE = 0x1300;
constexpr u32 FUEL_FLOW_ICON = 0x1310;
constexpr u32 RPM_FACE = 0x1400;
constexpr u32 OIL_FACE = 0x1500;
constexpr u32 OIL_ICON = 0x1510;
constexpr u32 OIL_NEEDLE = 0x1520;
constexpr u32 FT_FACE = 0x1600;
constexpr u32 FT_ICON = 0x1610;
constexpr u32 FT_ICON_WARNING = 0x1611;
constexpr u32 FT_NEEDLE = 0x1620;

// The ITT dial is linear up to 925 degrees Celsius (dial 35) and expanded above it.
double itt_dial_value(double celsius) { return celsius <= 925 ? celsius * 0.03783783988312648 : (celsius - 925) / 3.0 + 35; }

// Where the FT dial's 0 to 100 stands for -25 to 55.
double ft_dial_value(double degrees) { return (degrees + 25) * 1.25; }

RgbImage dial_face(const Job& job, const DialDesign& design, const std::vector<FaceText>& texts) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_dial_face(canvas, job, {design}, texts);
    return canvas.image();
}

// Words under the pivot of a 250-pixel engine dial, above its readout.
std::vector<FaceText> dial_words(const char* title, const char* units) {
    return {{{123, 155}, title, 15}, {{123, 106}, units, 11, 0xC8C8C0, Font::CONDENSED}};
}

RgbImage itt_face(const Job& job) {
    DialDesign design;
    for (double c : {0, 200, 400, 600, 800}) design.minor.push_back(itt_dial_value(c));
    for (double c : steps(925, 1150, 25)) design.minor.push_back(itt_dial_value(c));
    for (double c : {0, 400, 800, 1000, 1100}) design.numerals.push_back({itt_dial_value(c), number_text(c / 100)});
    for (double c : {0, 400, 800, 950, 1000, 1050, 1100, 1150}) design.major.push_back(itt_dial_value(c));
    design.arcs = {{itt_dial_value(400), itt_dial_value(1000), ARC_GREEN}, {itt_dial_value(1000), itt_dial_value(1050), ARC_YELLOW}};
    design.red_lines = {itt_dial_value(1050)};
    return dial_face(job, design, dial_words("ITT", "\u00B0C \u00D7 100"));
}

RgbImage torque_face(const Job& job) {
    DialDesign design;
    design.minor = steps(0, 110, 5);
    design.major = steps(0, 100, 10);
    for (double v : steps(0, 100, 20)) design.numerals.push_back({v, number_text(v)});
    design.arcs = {{0, 100, ARC_GREEN}, {100, 105, ARC_YELLOW}};
    design.red_lines = {105};
    return dial_face(job, design, dial_words("TORQUE", "% \u00D7 1"));
}

RgbImage rpm_face(const Job& job) {
    DialDesign design;
    design.minor = steps(0, 120, 5);
    design.major = steps(0, 120, 10);
    for (double v : steps(0, 120, 20)) design.numerals.push_back({v, number_text(v)});
    design.arcs = {{70, 96, ARC_YELLOW}, {96, 101, ARC_GREEN}};
    design.red_lines = {105};
    return dial_face(job, design, dial_words("RPM", "% \u00D7 1"));
}

RgbImage fuel_flow_face(const Job& job) {
    DialDesign design;
    design.minor = steps(0, 10, 0.5);
    design.major = steps(0, 10, 1);
    for (double v : steps(0, 10, 2)) design.numerals.push_back({v, number_text(v)});
    design.arcs = {{1, 6, ARC_GREEN}};
    return dial_face(job, design, dial_words("FUEL FLOW", ""));
}

// Laid over the fuel-flow needle's pivot: the hub cap and the unit of the readout.
RgbImage fuel_flow_icon(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point origin = job.origin();
    const Calibration dial = job.dial();
    const Point hub{dial.needle->position_x - origin.x, dial.needle->position_y - origin.y};
    canvas.disc(hub, 10, BEZEL_LIGHT);
    canvas.disc(hub, 7, 0x222326);
    canvas.text({job.bitmap.width / 2.0, job.bitmap.height - 12.0}, "KG/H", 12, 0xC8C8C0, Font::CONDENSED);
    return canvas.image();
}

RgbImage oil_face(const Job& job) {
    DialDesign temperature; // right-hand needle, degrees Celsius
    temperature.minor = {10, 30, 70};
    temperature.major = {0, 20, 40, 100, 125};
    for (double v : {0, 40, 100, 125}) temperature.numerals.push_back({v, number_text(v)});
    temperature.numeral_inset = 26;
    temperature.arcs = {{40, 100, ARC_GREEN}, {100, 125, ARC_YELLOW}};
    temperature.red_lines = {125};
    DialDesign pressure; // left-hand needle, pounds per square foot, printed as psi
    for (double psi : steps(0, 130, 10)) pressure.minor.push_back(psi * 144);
    for (double psi : {0, 50, 100, 135}) {
        pressure.major.push_back(psi * 144);
        pressure.numerals.push_back({psi * 144, number_text(psi)});
    }
    pressure.numeral_inset = 26;
    pressure.arcs = {{60 * 144, 15000, ARC_GREEN}, {15000, 19400, ARC_YELLOW}};
    pressure.red_lines = {19400};
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_dial_face(canvas, job, {temperature, pressure}, {{{151, 60}, "OIL", 20}});
    return canvas.image();
}

// The middle strip between the oil scales: unit words and the caps over both pivots.
RgbImage oil_icon(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point origin = job.origin();
    for (const Calibration& dial : job.scene.dial_tables(OIL_FACE)) {
        const Point hub{dial.needle->position_x - origin.x, dial.needle->position_y - origin.y};
        canvas.disc(hub, 9, BEZEL_LIGHT);
        canvas.disc(hub, 6, 0x222326);
    }
    canvas.text({job.bitmap.width / 2.0, 175}, "PSI   \u00B0C", 13, 0xC8C8C0, Font::CONDENSED_BOLD);
    canvas.text({job.bitmap.width / 2.0, 195}, "PRESS TEMP", 10, 0xC8C8C0, Font::CONDENSED);
    return canvas.image();
}

RgbImage ft_face(const Job& job) {
    DialDesign design;
    for (double t : steps(-25, 55, 5)) design.minor.push_back(ft_dial_value(t));
    for (double t : {-20, 0, 20, 40}) {
        design.major.push_back(ft_dial_value(t));
        design.numerals.push_back({ft_dial_value(t), number_text(t)});
    }
    design.numeral_size = 15;
    design.numeral_inset = 26;
    design.arcs = {{0, 10, ARC_RED}, {10, 90, ARC_GREEN}, {90, 100, ARC_RED}};
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_dial_face(canvas, job, {design}, {{{94, 165}, "FUEL TEMP", 13}, {{94, 118}, "\u00B0C", 12, 0xC8C8C0}});
    return canvas.image();
}

// The FT annunciator over the top of the dial: dark, or lit amber on a warning.
RgbImage ft_icon(const Job& job, bool warning) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    canvas.rect(0, 0, w, h, BEZEL_LIGHT);
    canvas.rect(2, 2, w - 4, h - 4, warning ? LAMP_AMBER : 0x2A2620);
    canvas.text({w / 2, h / 2}, "FUEL TEMP", 14, warning ? 0x201000 : 0x6A6050, Font::CONDENSED_BOLD);
    return canvas.image();
}

// A slim white needle with a dark counterweight, along +x from the pivot.
RgbImage engine_needle(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const Point pivot{e->offset_x + 0.5, e->offset_y + 0.5};
    const double half = std::min(3.5, job.bitmap.height / 2.0 - 1);
    draw_pointer(canvas, pivot, needle_reach(job), pivot.x, half, MARK_WHITE, 0x3A3A3A);
    return canvas.image();
}

} // namespace

const ModulePainters& engine_painters() {
    static const ModulePainters painters{"engine",
                                         {
                                             {DIAL_NEEDLE, engine_needle},
                                             {ITT_FACE, itt_face},
                                             {TORQUE_FACE, torque_face},
                                             {FUEL_FLOW_FACE, fuel_flow_face},
                                             {FUEL_FLOW_ICON, fuel_flow_icon},
                                             {RPM_FACE, rpm_face},
                                             {OIL_FACE, oil_face},
                                             {OIL_ICON, oil_icon},
                                             {OIL_NEEDLE, engine_needle},
                                             {FT_FACE, ft_face},
                                             {FT_ICON, [](const Job& job) { return ft_icon(job, false); }},
                                             {FT_ICON_WARNING, [](const Job& job) { return ft_icon(job, true); }},
                                             {FT_NEEDLE, engine_needle},
                                         }};
    return painters;
}

} // namespace artwork
