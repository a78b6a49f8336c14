// Painters: one picture per declared bitmap, from the declaration and the records that
// show it.
#pragma once

#include "canvas.h"
#include "scene.h"

#include <functional>
#include <string>
#include <vector>

namespace artwork {

struct Job {
    const BitmapDeclaration& bitmap;
    const Scene& scene;
    const std::vector<BitmapDeclaration>& declarations;

    const std::vector<BitmapUse>& uses() const { return scene.uses(bitmap.id); }
    const BitmapUse* first_use() const { return uses().empty() ? nullptr : &uses().front(); }
    // Where the bitmap's top-left corner sits on its face (0, 0 for faces).
    Point origin() const;
    // The first calibration table of the face this bitmap belongs to, or of itself.
    Calibration dial() const;
    const BitmapDeclaration* declaration(u32 id) const;
};

using Painter = std::function<RgbImage(const Job&)>;

// The picture for one bitmap of `module`.
RgbImage paint(const std::string& module, const Job& job);

// ---- dial drawing, in face pixels ------------------------------------------------

struct Numeral {
    double value;
    std::string text;
};

struct Arc {
    double from, to;
    std::uint32_t colour;
    double width = 7;
    double inset = 0;              // from the table's radius to the arc's outer edge
};

struct DialDesign {
    std::vector<double> major;     // long ticks
    std::vector<double> minor;     // short ticks
    std::vector<Numeral> numerals; // placed inside the ticks
    std::vector<Arc> arcs;         // coloured ranges along the rim
    std::vector<double> red_lines; // limits across the rim
    double numeral_size = 17;
    double numeral_inset = 30;     // from the table's radius to the numeral's centre
    double major_length = 13, minor_length = 7;
};

// A calibration table made up for a dial whose needle turns evenly: `count` points from
// `first` to `last` (values), a full or part turn of `turn_degrees` clockwise from
// `start_degrees` (clockwise from +x) at `radius` about the needle's position.
struct EvenDial {
    std::vector<NonlinearityEntry> entries;
    Calibration calibration(const ElementHeader* needle) const { return {needle, entries.data(), static_cast<u32>(entries.size())}; }
};
EvenDial even_dial(const ElementHeader* needle, double first, double last, int count, double start_degrees,
                   double turn_degrees, double radius);

// Every table value a major tick and a numeral.
DialDesign design_from_table(const Calibration& dial);
// Values from `first` to `last` in steps of `step` (inclusive, within rounding).
std::vector<double> steps(double first, double last, double step);
std::string number_text(double value);
void draw_dial(Canvas& canvas, const Calibration& dial, const DialDesign& design, std::uint32_t ink);

// A round instrument's body: dark corners, metal bezel, black dial; returns the dial
// radius. Centre and size in bitmap pixels.
double draw_instrument_body(Canvas& canvas, Point centre, double outer_radius);
// A tapered pointer lying along +x from `pivot` to `tip_length`, with a tail and a hub.
void draw_pointer(Canvas& canvas, Point pivot, double tip_length, double tail_length, double half_width,
                  std::uint32_t fill, std::uint32_t hub);
// A needle bitmap's length from its pivot to the face's calibration radius, held inside
// the bitmap.
double needle_reach(const Job& job);

// Words and small marks printed on a face, in face pixels.
struct FaceText {
    Point at;
    std::string text;
    double size = 14;
    std::uint32_t colour = MARK_WHITE;
    Font font = Font::CONDENSED_BOLD;
};

// A round instrument's face: body, the recessed windows of its readouts, then one dial
// design per calibration table over the face (in tree order) and its words. The canvas
// is left for further drawing; `ink` replaces every marking's colour when not 0.
void draw_dial_face(Canvas& canvas, const Job& job, const std::vector<DialDesign>& dials,
                    const std::vector<FaceText>& texts);
// Only the markings (dials and words), in `ink`, shifted by `origin` (a lit overlay or
// a picture laid over part of the face).
void draw_face_markings(Canvas& canvas, const Job& job, u32 face_id, const std::vector<DialDesign>& dials,
                        const std::vector<FaceText>& texts, std::uint32_t ink, Point origin);

// The first element showing bitmap `id`, or nullptr.
const ElementHeader* element_showing(const Scene& scene, u32 id);
Point position_of(const ElementHeader* element);

// A sprite texture's turning point and the radius of it that its window shows.
struct SpriteGeometry {
    Point centre;
    double radius;       // texture pixels
    double scale;        // texture pixels to face pixels
};
SpriteGeometry sprite_geometry(const Job& job);

// The recessed windows of the readouts of the gauge showing this face.
void draw_readout_windows(Canvas& canvas, const Job& job);

// Where a sprite's texture centre sits on the face: the middle of its window, whose
// top-left corner is the element's position.
Point sprite_centre_on_face(const Job& job, u32 sprite_id);
// The strip pixel (along the moving axis) under the window's `index` pixel when the
// element's axis value is `value`: the window slides from the strip's start at the
// minimum to its end at the maximum.
double strip_pixel(const Job& job, bool vertical, double value, double index);

// A ridged setting knob with a word under it.
void draw_knob(Canvas& canvas, Point centre, double radius, const std::string& label);

// ---- generic painters by element kind ---------------------------------------------
RgbImage paint_generic(const Job& job);
RgbImage paint_generic_face(const Job& job);
RgbImage paint_generic_needle(const Job& job);
RgbImage paint_companion(const Job& job);
// A round lamp whose glass takes the colour of the picture the bitmap is (dark first).
RgbImage paint_lamp(const Job& job, const std::vector<std::uint32_t>& picture_colours, const std::string& label = "");
RgbImage paint_flag(const Job& job, const std::string& label);
RgbImage paint_label_plate(const Job& job, const std::string& label);

// ---- attitude instruments (shared by the attitude indicator and the director) -------
// Sky over ground with a pitch ladder spaced by the sprite's own y scale, so that a
// rung sits on the aircraft symbol at its pitch.
RgbImage paint_attitude_sphere(const Job& job);
// The bank pointer: a triangle at `face_radius` above the texture centre.
RgbImage paint_bank_pointer(const Job& job, double face_radius, std::uint32_t colour);
// Bank scale marks at 10, 20, 30, 45 and 60 degrees either side, in face pixels.
void draw_bank_scale(Canvas& canvas, Point centre, double inner, double outer, std::uint32_t ink);
// A dark ball with a highlight.
RgbImage paint_ball(const Job& job);
// A pointer triangle filling the bitmap, pointing right or up.
RgbImage paint_pointer_triangle(const Job& job, bool up, std::uint32_t colour);
inline constexpr double DOT_UNITS = 50; // deviation units between neighbouring dots
// Where a deviation pointer (a slider) rests, along its axis in this bitmap's pixels,
// and the spacing of the dots of its scale in face pixels.
double slider_rest(const Job& job, u32 pointer_id, bool vertical);
double dot_spacing(const Job& job, u32 pointer_id, bool vertical);
// Deviation dots across (or down) a scale picture, at `spacing` face pixels.
RgbImage paint_dot_scale(const Job& job, bool vertical, double centre, double spacing, std::uint32_t background);

// ---- each module's own pictures ---------------------------------------------------
struct ModulePainters {
    const char* module;
    std::vector<std::pair<u32, Painter>> painters;
};
const ModulePainters& engine_painters();
const ModulePainters& primary_flight_painters();
const ModulePainters& radio_altimeter_painters();
const ModulePainters& compass_painters();
const ModulePainters& attitude_director_painters();
const ModulePainters& situation_indicator_painters();

} // namespace artwork
