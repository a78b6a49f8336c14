// "pln6": the horizontal situation indicator. A compass card turns with the heading
// indicator; over it the heading bug, the course pointer and the TO/FROM indicator turn
// with the autopilot heading bug and the NAV1 course relative to the card, and the course
// deviation bar shifts across the course pointer. Heading and glideslope flags drop into
// view on failures or loss of power. Two knobs set the heading bug and the course, and a
// switch between them turns on two readouts of both settings.
//
// Every drawn part but the face, the readouts and the lit index marks has a lit and an
// unlit copy; the gauge callback shows the copy that matches the panel lights. The host
// turns the needles and sprites by angles the gauge callback computes; the value
// callbacks hand those over.
#include "numbers.h"
#include "panel_services.h"
#include "simvars.h"
#include "windows_services.h"

#include <cstdint>
#include <initializer_list>

// ---- bitmaps ----------------------------------------------------------------------

constexpr u32 BITMAP_FACE = 0x1000;
constexpr u32 BITMAP_CARD = 0x1003;            // followed by its window, 0x1004
constexpr u32 BITMAP_LUBBER_LINE = 0x1009;
constexpr u32 BITMAP_GLIDESLOPE_SCALE = 0x100c;
constexpr u32 BITMAP_COURSE_POINTER = 0x100f;
constexpr u32 BITMAP_NO_TO_FROM = 0x1012;      // warning stripes; window 0x1013
constexpr u32 BITMAP_TO = 0x1018;              // window 0x1019
constexpr u32 BITMAP_FROM = 0x101e;            // window 0x101f
constexpr u32 BITMAP_HEADING_BUG = 0x2003;
constexpr u32 BITMAP_GLIDESLOPE_POINTER = 0x2006;
constexpr u32 BITMAP_DEVIATION_BAR = 0x2009;   // window 0x200a
constexpr u32 BITMAP_AIRCRAFT = 0x200f;
constexpr u32 BITMAP_GLIDESLOPE_FLAG = 0x2012;
constexpr u32 BITMAP_HEADING_FLAG = 0x2015;
constexpr u32 BITMAP_INDEX_MARKS_LIT = 0x2016;

// ---- element chain, leaf first ------------------------------------------------------

extern GaugeHeader hsi_header;
f64 GAUGE_CALL hsi_card_value(ElementHeader* element);
f64 GAUGE_CALL hsi_bug_value(ElementHeader* element);
f64 GAUGE_CALL hsi_course_value(ElementHeader* element);
f64 GAUGE_CALL hsi_deviation_value(ElementHeader* element);
f64 GAUGE_CALL hsi_bug_readout(ElementHeader* element);
f64 GAUGE_CALL hsi_course_readout(ElementHeader* element);

// Chain steps, root first, as the gauge callback shows and hides them.
enum HsiStep : u32 {
    STEP_FACE,
    STEP_INDEX_MARKS_LIT,
    STEP_GLIDESLOPE_SCALE_LIT,
    STEP_GLIDESLOPE_SCALE,
    STEP_GLIDESLOPE_POINTER_LIT,
    STEP_GLIDESLOPE_POINTER,
    STEP_CARD_LIT,
    STEP_CARD,
    STEP_HEADING_BUG_LIT,
    STEP_HEADING_BUG,
    STEP_COURSE_POINTER_LIT,
    STEP_COURSE_POINTER,
    STEP_FROM_LIT,
    STEP_TO_LIT,
    STEP_NO_TO_FROM_LIT,
    STEP_FROM,
    STEP_TO,
    STEP_NO_TO_FROM,
    STEP_DEVIATION_BAR_LIT,
    STEP_DEVIATION_BAR,
    STEP_AIRCRAFT_LIT,
    STEP_AIRCRAFT,
    STEP_HEADING_FLAG_LIT,
    STEP_HEADING_FLAG,
    STEP_GLIDESLOPE_FLAG_LIT,
    STEP_GLIDESLOPE_FLAG,
    STEP_LUBBER_LINE_LIT,
    STEP_LUBBER_LINE,
    STEP_COURSE_READOUT,
    STEP_BUG_READOUT,
};

FailureRecord hsi_electrics_failures[] = {{20, 1, 0}, {0, 0, 0}};
FailureRecord hsi_card_failures[] = {{11, 1, 0}, {20, 1, 0}, {0, 0, 0}};
FailureRecord hsi_nav_receiver_failures[] = {{14, 2, 0}, {0, 0, 0}};

constexpr ModuleVar NO_VARIABLE = {0, nullptr, 0, 0, 0};

// The deviation bar shifts across the course pointer by the deviation times this scale.
constexpr f64 DEVIATION_SCALE = -0.632813;
// The TO/FROM indicator and the deviation bar turn against the course angle.
constexpr f64 COURSE_SPRITE_TURN = -1.0;

// Readouts: "H" or "V" and three digits, or four spaces while switched off.
constexpr u32 READOUT_TEXT_COLOUR = 0x0080FF;
constexpr u32 READOUT_HIGHLIGHT_COLOUR = 0x00FFFF;
constexpr u32 READOUT_LEFT = DT_SINGLELINE | DT_VCENTER;
constexpr u32 READOUT_CENTRED = DT_SINGLELINE | DT_VCENTER | DT_CENTER;

// Record builders for elements that differ only in place, picture or flags. Image-flag
// bits other than lit and hidden (0x1, 0x2, 0x4, 0x80) are the host's, passed as data.

constexpr StringElement readout(i32 x, u32 text_format, ValueCallback callback, ElementHeader** next) {
    return {
        {ELEMENT_STRING, BITMAP_NONE, x, 20, 0, 0, 0, 0, &hsi_header, nullptr, next, hsi_electrics_failures,
         0x7, 0, 0},
        {{VAR_AIRSPEED, nullptr, 0, 0, 0}, NO_VARIABLE, NO_VARIABLE}, {}, nullptr, 0, 60, 25, {},
        READOUT_TEXT_COLOUR, 0x000000, READOUT_HIGHLIGHT_COLOUR, {},
        "COURIER_NEW", 400, 1, text_format, 4, {}, callback,
    };
}

// Fixed pictures: one picture, no callback; only shown and hidden.
constexpr IconElement picture(u32 bitmap, i32 x, i32 y, u32 image_flags, ElementHeader** next) {
    return {
        {ELEMENT_ICON, bitmap, x, y, 0, 0, 0, 0, &hsi_header, nullptr, next, nullptr, image_flags, 0, 0},
        NO_VARIABLE, {}, 1, {}, nullptr,
    };
}

// A needle without calibration: its callback's value is the angle in degrees.
constexpr NeedleElement needle(u32 bitmap, i32 x, i32 y, i32 pivot_x, i32 pivot_y, u32 image_flags,
                               FailureRecord* failures, ValueCallback callback, ElementHeader** next) {
    return {
        {ELEMENT_NEEDLE, bitmap, x, y, 0, 0, pivot_x, pivot_y, &hsi_header, nullptr, next, failures, image_flags, 0, 0},
        NO_VARIABLE, {}, nullptr, 0, 0, {}, callback, {},
    };
}

// The TO, FROM and warning-stripe sprites turn with the course about the card's centre.
constexpr SpriteElement course_sprite(u32 bitmap, u32 image_flags, ElementHeader** next) {
    return {
        {ELEMENT_SPRITE, bitmap, 72, 73, 0, 0, 148, 150, &hsi_header, nullptr, next, hsi_electrics_failures,
         image_flags, 0, 0},
        NO_VARIABLE, 0, 0.0,
        NO_VARIABLE, 0, 0.0,
        {VAR_NAV1_COURSE, nullptr, 0, 0, 0}, 0, COURSE_SPRITE_TURN,
        1.0f, 1.0f, {}, nullptr, nullptr, hsi_course_value, {},
    };
}

// The deviation bar turns like the course sprites and also shifts sideways.
constexpr SpriteElement deviation_bar(u32 image_flags, ElementHeader** next) {
    SpriteElement bar = course_sprite(BITMAP_DEVIATION_BAR, image_flags, next);
    bar.variable_x = {VAR_NAV1_COURSE_DEVIATION, nullptr, 0, 0, 0};
    bar.scale_x = DEVIATION_SCALE;
    bar.callback_x = hsi_deviation_value;
    bar.texture_scale_x = bar.texture_scale_y = 1.5f;
    return bar;
}

constexpr SpriteElement compass_card(u32 image_flags, ElementHeader** next) {
    return {
        {ELEMENT_SPRITE, BITMAP_CARD, 44, 45, 0, 0, 148, 153, &hsi_header, nullptr, next, hsi_card_failures,
         image_flags, 0, 0},
        NO_VARIABLE, 0, 0.0,
        NO_VARIABLE, 0, 0.0,
        NO_VARIABLE, 0, 1.0,
        1.2f, 1.2f, {}, nullptr, nullptr, hsi_card_value, {},
    };
}

constexpr SliderElement glideslope_pointer(u32 image_flags, ElementHeader** next) {
    return {
        {ELEMENT_SLIDER, BITMAP_GLIDESLOPE_POINTER, 22, 144, 0, 0, 0, 0, &hsi_header, nullptr, next,
         hsi_electrics_failures, image_flags, 0, 0},
        NO_VARIABLE, 0, 0.0, 0,
        {VAR_NAV1_GLIDESLOPE_DEVIATION, nullptr, 0, 0, 0}, 0, 0.4, {},
    };
}

constinit StringElement hsi_bug_readout_element = readout(45, READOUT_CENTRED, hsi_bug_readout, nullptr);
ElementHeader* hsi_bug_readout_next[] = {&hsi_bug_readout_element.header, nullptr};

constinit StringElement hsi_course_readout_element =
    readout(195, READOUT_LEFT, hsi_course_readout, hsi_bug_readout_next);
ElementHeader* hsi_course_readout_next[] = {&hsi_course_readout_element.header, nullptr};

constinit IconElement hsi_lubber_line = picture(BITMAP_LUBBER_LINE, 146, 25, 0x1, hsi_course_readout_next);
ElementHeader* hsi_lubber_line_next[] = {&hsi_lubber_line.header, nullptr};

constinit IconElement hsi_lubber_line_lit =
    picture(BITMAP_LUBBER_LINE, 146, 25, IMAGE_FLAG_LIT | 0x1, hsi_lubber_line_next);
ElementHeader* hsi_lubber_line_lit_next[] = {&hsi_lubber_line_lit.header, nullptr};

// The glideslope flag drops over the glideslope scale.
constinit IconElement hsi_glideslope_flag =
    picture(BITMAP_GLIDESLOPE_FLAG, 22, 92, 0x3, hsi_lubber_line_lit_next);
ElementHeader* hsi_glideslope_flag_next[] = {&hsi_glideslope_flag.header, nullptr};

constinit IconElement hsi_glideslope_flag_lit =
    picture(BITMAP_GLIDESLOPE_FLAG, 22, 92, IMAGE_FLAG_LIT | 0x3, hsi_glideslope_flag_next);
ElementHeader* hsi_glideslope_flag_lit_next[] = {&hsi_glideslope_flag_lit.header, nullptr};

constinit IconElement hsi_heading_flag =
    picture(BITMAP_HEADING_FLAG, 256, 92, 0x3, hsi_glideslope_flag_lit_next);
ElementHeader* hsi_heading_flag_next[] = {&hsi_heading_flag.header, nullptr};

constinit IconElement hsi_heading_flag_lit =
    picture(BITMAP_HEADING_FLAG, 256, 92, IMAGE_FLAG_LIT | 0x3, hsi_heading_flag_next);
ElementHeader* hsi_heading_flag_lit_next[] = {&hsi_heading_flag_lit.header, nullptr};

constinit IconElement hsi_aircraft = picture(BITMAP_AIRCRAFT, 43, 41, 0x3, hsi_heading_flag_lit_next);
ElementHeader* hsi_aircraft_next[] = {&hsi_aircraft.header, nullptr};

constinit IconElement hsi_aircraft_lit =
    picture(BITMAP_AIRCRAFT, 43, 41, IMAGE_FLAG_LIT | 0x3, hsi_aircraft_next);
ElementHeader* hsi_aircraft_lit_next[] = {&hsi_aircraft_lit.header, nullptr};

constinit SpriteElement hsi_deviation_bar = deviation_bar(0x83, hsi_aircraft_lit_next);
ElementHeader* hsi_deviation_bar_next[] = {&hsi_deviation_bar.header, nullptr};

constinit SpriteElement hsi_deviation_bar_lit = deviation_bar(IMAGE_FLAG_LIT | 0x83, hsi_deviation_bar_next);
ElementHeader* hsi_deviation_bar_lit_next[] = {&hsi_deviation_bar_lit.header, nullptr};

// The TO/FROM sprites: the unlit stripes start in view, every other one hidden.
constinit SpriteElement hsi_no_to_from = course_sprite(BITMAP_NO_TO_FROM, 0x83, hsi_deviation_bar_lit_next);
ElementHeader* hsi_no_to_from_next[] = {&hsi_no_to_from.header, nullptr};

constinit SpriteElement hsi_to = course_sprite(BITMAP_TO, IMAGE_FLAG_HIDDEN | 0x83, hsi_no_to_from_next);
ElementHeader* hsi_to_next[] = {&hsi_to.header, nullptr};

constinit SpriteElement hsi_from = course_sprite(BITMAP_FROM, IMAGE_FLAG_HIDDEN | 0x83, hsi_to_next);
ElementHeader* hsi_from_next[] = {&hsi_from.header, nullptr};

constinit SpriteElement hsi_no_to_from_lit =
    course_sprite(BITMAP_NO_TO_FROM, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x83, hsi_from_next);
ElementHeader* hsi_no_to_from_lit_next[] = {&hsi_no_to_from_lit.header, nullptr};

constinit SpriteElement hsi_to_lit =
    course_sprite(BITMAP_TO, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x83, hsi_no_to_from_lit_next);
ElementHeader* hsi_to_lit_next[] = {&hsi_to_lit.header, nullptr};

constinit SpriteElement hsi_from_lit =
    course_sprite(BITMAP_FROM, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x83, hsi_to_lit_next);
ElementHeader* hsi_from_lit_next[] = {&hsi_from_lit.header, nullptr};

constinit NeedleElement hsi_course_pointer = needle(BITMAP_COURSE_POINTER, 148, 148, 60, 83, 0x83,
                                                    hsi_nav_receiver_failures, hsi_course_value, hsi_from_lit_next);
ElementHeader* hsi_course_pointer_next[] = {&hsi_course_pointer.header, nullptr};

constinit NeedleElement hsi_course_pointer_lit =
    needle(BITMAP_COURSE_POINTER, 148, 148, 60, 83, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x83,
           hsi_nav_receiver_failures, hsi_course_value, hsi_course_pointer_next);
ElementHeader* hsi_course_pointer_lit_next[] = {&hsi_course_pointer_lit.header, nullptr};

// The unlit bug sits one pixel left of the lit one, as the artwork was drawn.
constinit NeedleElement hsi_heading_bug_needle = needle(BITMAP_HEADING_BUG, 148, 151, 7, 104, 0x83, nullptr,
                                                        hsi_bug_value, hsi_course_pointer_lit_next);
ElementHeader* hsi_heading_bug_needle_next[] = {&hsi_heading_bug_needle.header, nullptr};

constinit NeedleElement hsi_heading_bug_needle_lit =
    needle(BITMAP_HEADING_BUG, 149, 151, 7, 104, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x83, nullptr,
           hsi_bug_value, hsi_heading_bug_needle_next);
ElementHeader* hsi_heading_bug_needle_lit_next[] = {&hsi_heading_bug_needle_lit.header, nullptr};

constinit SpriteElement hsi_card = compass_card(0x83, hsi_heading_bug_needle_lit_next);
ElementHeader* hsi_card_next[] = {&hsi_card.header, nullptr};

constinit SpriteElement hsi_card_lit = compass_card(IMAGE_FLAG_LIT | 0x83, hsi_card_next);
ElementHeader* hsi_card_lit_next[] = {&hsi_card_lit.header, nullptr};

constinit SliderElement hsi_glideslope_pointer = glideslope_pointer(0x83, hsi_card_lit_next);
ElementHeader* hsi_glideslope_pointer_next[] = {&hsi_glideslope_pointer.header, nullptr};

constinit SliderElement hsi_glideslope_pointer_lit =
    glideslope_pointer(IMAGE_FLAG_LIT | 0x83, hsi_glideslope_pointer_next);
ElementHeader* hsi_glideslope_pointer_lit_next[] = {&hsi_glideslope_pointer_lit.header, nullptr};

constinit IconElement hsi_glideslope_scale =
    picture(BITMAP_GLIDESLOPE_SCALE, 22, 92, 0x1, hsi_glideslope_pointer_lit_next);
ElementHeader* hsi_glideslope_scale_next[] = {&hsi_glideslope_scale.header, nullptr};

constinit IconElement hsi_glideslope_scale_lit =
    picture(BITMAP_GLIDESLOPE_SCALE, 22, 92, IMAGE_FLAG_LIT | 0x1, hsi_glideslope_scale_next);
ElementHeader* hsi_glideslope_scale_lit_next[] = {&hsi_glideslope_scale_lit.header, nullptr};

// The face carries the unlit index marks; their lit copy has no unlit twin.
constinit IconElement hsi_index_marks_lit = picture(
    BITMAP_INDEX_MARKS_LIT, 42, 39, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x3, hsi_glideslope_scale_lit_next);
ElementHeader* hsi_index_marks_lit_next[] = {&hsi_index_marks_lit.header, nullptr};

StaticElement hsi_face = {
    {ELEMENT_STATIC, BITMAP_FACE, 0, 0, 0, 0, 0, 0, &hsi_header, nullptr, hsi_index_marks_lit_next, nullptr,
     0x3, 0, 0},
    {},
};
ElementHeader* hsi_root_slot[] = {&hsi_face.header, nullptr};

// ---- mouse areas: the two knobs' halves and the readout switch ------------------------

u32 GAUGE_CALL hsi_course_increase(u32, u32);
u32 GAUGE_CALL hsi_course_decrease(u32, u32);
u32 GAUGE_CALL hsi_bug_increase(u32, u32);
u32 GAUGE_CALL hsi_bug_decrease(u32, u32);
u32 GAUGE_CALL hsi_readout_toggle(u32, u32);

constexpr u32 KNOB_FLAGS = MOUSE_FLAG_CLICK | MOUSE_FLAG_REPEAT;

MouseRect hsi_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_child(262, 232, 22, 44, CURSOR_INCREASE, KNOB_FLAGS, hsi_course_increase),
    mouse_child(240, 232, 22, 44, CURSOR_DECREASE, KNOB_FLAGS, hsi_course_decrease),
    mouse_child(37, 232, 22, 44, CURSOR_INCREASE, KNOB_FLAGS, hsi_bug_increase),
    mouse_child(15, 232, 22, 44, CURSOR_DECREASE, KNOB_FLAGS, hsi_bug_decrease),
    mouse_child(126, 267, 45, 24, CURSOR_SELECT, MOUSE_FLAG_CLICK, hsi_readout_toggle),
    mouse_parent_end(),
    mouse_end(),
};

// ---- gauge and module ---------------------------------------------------------------

void GAUGE_CALL hsi_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

GaugeHeader hsi_header = {
    GAUGE_VERSION_700, "pln6", hsi_root_slot, MODULE_LIFECYCLE, 0, 38, {}, hsi_mouse, hsi_gauge_callback, {},
};

LinkageRecord Linkage = {MODULE_ID, module_nothing, module_nothing, {0, 0, 0}, {&hsi_header, nullptr}};

// ---- state --------------------------------------------------------------------------

u32 hsi_readouts_on = 0;     // 1: the readouts show their numbers
u32 hsi_started = 0;         // set by the first update
i32 hsi_bug_setting = 0;     // the heading knob's own value
i32 hsi_heading_bug = 0;     // the host's heading bug as the last update read it
i32 hsi_heading_offset = 0;  // 359 - heading, from the last live update
i32 hsi_card_angle = 0;
i32 hsi_card_kept = 0;       // last live heading
i32 hsi_course_angle = 0;
i32 hsi_course_kept = 0;     // last live course relative to the card
i32 hsi_bug_angle = 0;
i32 hsi_failure_285 = 0;
i32 hsi_failure_279 = 0;

ModuleVar hsi_panel_lights = {VAR_PANEL_LIGHTS, nullptr, 0, 0, 0};
ModuleVar hsi_instrument_power = {VAR_INSTRUMENT_POWER, nullptr, 0, 0, 0};
ModuleVar hsi_failure_285_var = {VAR_FAILURE_285, nullptr, 0, 0, 0};
ModuleVar hsi_failure_279_var = {VAR_FAILURE_279, nullptr, 0, 0, 0};
ModuleVar hsi_gyro_heading = {VAR_GYRO_HEADING, nullptr, 0, 0, 0};
ModuleVar hsi_nav1_course = {VAR_NAV1_COURSE, nullptr, 0, 0, 0};
ModuleVar hsi_heading_bug_var = {VAR_HEADING_BUG, nullptr, 0, 0, 0};
ModuleVar hsi_glideslope_status = {VAR_NAV1_GLIDESLOPE_STATUS, nullptr, 0, 0, 0};
ModuleVar hsi_to_from = {VAR_NAV1_TO_FROM, nullptr, 0, 0, 0};
ModuleVar hsi_course_deviation = {VAR_NAV1_COURSE_DEVIATION, nullptr, 0, 0, 0};

// ---- callbacks ----------------------------------------------------------------------

namespace {

constexpr i32 FULL_TURN = 360;
constexpr i32 NORTH_OFFSET = 359; // the card's reference: the offset is 359 - heading

f64 read_value(ModuleVar& var) {
    panel()->lookup_module_var(&var);
    return var.value;
}

i32 read_whole(ModuleVar& var) { return truncate_to_i32(read_value(var)); }

// Failure and TO/FROM variables carry an integer in the value field's first four bytes.
i32 read_integer(ModuleVar& var) {
    panel()->lookup_module_var(&var);
    return module_var_i32(var);
}

// Angle sums wrap at 32 bits as the instrument's integer arithmetic does, so wild
// headings or courses give wild angles, never an overflow.
constexpr i32 wrapping_sum(i32 a, i32 b) { return static_cast<i32>(static_cast<u32>(a) + static_cast<u32>(b)); }
constexpr i32 wrapping_difference(i32 a, i32 b) {
    return static_cast<i32>(static_cast<u32>(a) - static_cast<u32>(b));
}

f64 as_unsigned(i32 angle) { return static_cast<f64>(static_cast<u32>(angle)); }

void show(ElementHeader* root, std::initializer_list<HsiStep> steps) {
    for (HsiStep step : steps) clear_chain_flags(root, step, IMAGE_FLAG_HIDDEN);
}

void hide(ElementHeader* root, std::initializer_list<HsiStep> steps) {
    for (HsiStep step : steps) set_chain_flags(root, step, IMAGE_FLAG_HIDDEN);
}

// Lit and unlit copies of the card, pointers, bar, aircraft, scale and lubber line. Only
// a lights value of exactly 1.0 selects the lit copies here.
void show_copies(ElementHeader* root, f64 lights) {
    if (lights == 1.0) {
        hide(root, {STEP_CARD, STEP_GLIDESLOPE_SCALE, STEP_COURSE_POINTER, STEP_DEVIATION_BAR, STEP_AIRCRAFT,
                    STEP_HEADING_BUG, STEP_LUBBER_LINE});
        show(root, {STEP_CARD_LIT, STEP_LUBBER_LINE_LIT, STEP_GLIDESLOPE_SCALE_LIT, STEP_COURSE_POINTER_LIT,
                    STEP_DEVIATION_BAR_LIT, STEP_AIRCRAFT_LIT, STEP_HEADING_BUG_LIT, STEP_INDEX_MARKS_LIT});
    } else {
        show(root, {STEP_HEADING_BUG, STEP_CARD, STEP_GLIDESLOPE_SCALE, STEP_COURSE_POINTER, STEP_DEVIATION_BAR,
                    STEP_AIRCRAFT, STEP_LUBBER_LINE});
        hide(root, {STEP_CARD_LIT, STEP_LUBBER_LINE_LIT, STEP_GLIDESLOPE_SCALE_LIT, STEP_COURSE_POINTER_LIT,
                    STEP_DEVIATION_BAR_LIT, STEP_AIRCRAFT_LIT, STEP_HEADING_BUG_LIT, STEP_INDEX_MARKS_LIT});
    }
}

// The flags drop on either failure or with no power at all; any lights value but 0.0
// shows their lit copies.
void show_flags(ElementHeader* root, f64 lights, f64 power) {
    if (hsi_failure_285 == 0 && hsi_failure_279 == 0 && power != 0.0) {
        hide(root, {STEP_HEADING_FLAG_LIT, STEP_HEADING_FLAG, STEP_GLIDESLOPE_FLAG_LIT, STEP_GLIDESLOPE_FLAG});
    } else if (lights == 0.0) {
        show(root, {STEP_GLIDESLOPE_FLAG, STEP_HEADING_FLAG});
        hide(root, {STEP_HEADING_FLAG_LIT, STEP_GLIDESLOPE_FLAG_LIT});
    } else {
        show(root, {STEP_GLIDESLOPE_FLAG_LIT, STEP_HEADING_FLAG_LIT});
        hide(root, {STEP_GLIDESLOPE_FLAG, STEP_HEADING_FLAG});
    }
}

// The card follows the heading, the course pointer the course relative to the card. On
// a heading failure or without full power both freeze: the card at the last live heading,
// the course at the last live relative course, which is one whole turn below the angle
// handed over while live and points the same way.
void turn_card_and_course(f64 power) {
    if (hsi_failure_279 == 0 && power == 1.0) {
        const i32 heading = read_whole(hsi_gyro_heading);
        hsi_card_angle = hsi_card_kept = heading;
        hsi_heading_offset = wrapping_difference(NORTH_OFFSET, heading);
        const i32 course = read_whole(hsi_nav1_course);
        hsi_course_kept = wrapping_sum(course, hsi_heading_offset);
        hsi_course_angle = wrapping_sum(hsi_course_kept, FULL_TURN);
    } else {
        hsi_course_angle = hsi_course_kept;
        hsi_card_angle = hsi_card_kept;
    }
}

// The bug follows the host's heading bug in every update, even over a frozen card.
void turn_heading_bug() {
    hsi_heading_bug = read_whole(hsi_heading_bug_var);
    hsi_bug_angle = wrapping_sum(wrapping_sum(hsi_heading_bug, hsi_heading_offset), FULL_TURN);
}

void show_glideslope_pointer(ElementHeader* root, f64 lights, f64 power) {
    const i32 status = read_whole(hsi_glideslope_status);
    if (status == 1 && power == 1.0) {
        if (lights == 0.0) {
            show(root, {STEP_GLIDESLOPE_POINTER});
            hide(root, {STEP_GLIDESLOPE_POINTER_LIT});
        } else {
            show(root, {STEP_GLIDESLOPE_POINTER_LIT});
            hide(root, {STEP_GLIDESLOPE_POINTER});
        }
    } else {
        hide(root, {STEP_GLIDESLOPE_POINTER, STEP_GLIDESLOPE_POINTER_LIT});
    }
}

// One sprite per indication: 0 none (warning stripes), 1 TO, 2 FROM. The other copy's
// sprites always go; an unknown indication leaves this copy's sprites as they were.
struct ToFromSteps {
    HsiStep none, to, from;
};
constexpr ToFromSteps TO_FROM_UNLIT = {STEP_NO_TO_FROM, STEP_TO, STEP_FROM};
constexpr ToFromSteps TO_FROM_LIT = {STEP_NO_TO_FROM_LIT, STEP_TO_LIT, STEP_FROM_LIT};

void show_to_from(ElementHeader* root, f64 lights) {
    const i32 indication = read_integer(hsi_to_from);
    const ToFromSteps& shown = lights == 0.0 ? TO_FROM_UNLIT : TO_FROM_LIT;
    const ToFromSteps& other = lights == 0.0 ? TO_FROM_LIT : TO_FROM_UNLIT;
    hide(root, {other.none, other.from, other.to});
    switch (indication) {
    case 0: show(root, {shown.none}); hide(root, {shown.to, shown.from}); break;
    case 1: show(root, {shown.to}); hide(root, {shown.none, shown.from}); break;
    case 2: show(root, {shown.from}); hide(root, {shown.none, shown.to}); break;
    default: break;
    }
}

} // namespace

void GAUGE_CALL hsi_gauge_callback(GaugeHeader* header, u32 service, u32) {
    if (service != SERVICE_UPDATE) return;
    ElementHeader* root = *header->root_slot;
    if (hsi_started == 0) {
        hsi_started = 1;
        hsi_bug_setting = read_whole(hsi_heading_bug_var);
    }
    const f64 lights = read_value(hsi_panel_lights);
    const f64 power = read_value(hsi_instrument_power);
    show_copies(root, lights);
    hsi_failure_285 = read_integer(hsi_failure_285_var);
    hsi_failure_279 = read_integer(hsi_failure_279_var);
    show_flags(root, lights, power);
    turn_card_and_course(power);
    turn_heading_bug();
    show_glideslope_pointer(root, lights, power);
    show_to_from(root, lights);
}

f64 GAUGE_CALL hsi_card_value(ElementHeader*) { return as_unsigned(hsi_card_angle); }
f64 GAUGE_CALL hsi_bug_value(ElementHeader*) { return as_unsigned(hsi_bug_angle); }
f64 GAUGE_CALL hsi_course_value(ElementHeader*) { return as_unsigned(hsi_course_angle); }

// Without any power the bar centres; otherwise it follows the receiver. Power is as the
// last update read it.
f64 GAUGE_CALL hsi_deviation_value(ElementHeader*) {
    const i32 deviation = read_whole(hsi_course_deviation);
    return hsi_instrument_power.value == 0.0 ? 0.0 : static_cast<f64>(deviation);
}

namespace {

// Writes "H" or "V" and the number in three columns, or four spaces while the readouts
// are off; returns 1.0 when the readout's airspeed input reads exactly 0.0.
f64 write_readout(ElementHeader* element, const char* letter, i32 number) {
    auto* readout = reinterpret_cast<StringElement*>(element);
    const f64 flag = readout->variables[0].value == 0.0 ? 1.0 : 0.0;
    if (hsi_readouts_on == 1) {
        wsprintfA(readout->text, "%1s%3d", letter, static_cast<int>(number));
    } else {
        wsprintfA(readout->text, "%4s", "");
    }
    return flag;
}

} // namespace

// The heading bug as the last update kept it.
f64 GAUGE_CALL hsi_bug_readout(ElementHeader* element) { return write_readout(element, "H", hsi_heading_bug); }

f64 GAUGE_CALL hsi_course_readout(ElementHeader* element) {
    return write_readout(element, "V", read_whole(hsi_nav1_course));
}

u32 GAUGE_CALL hsi_course_increase(u32, u32) {
    panel()->send_key_event(EVENT_NAV1_COURSE_INC, 0);
    return 0;
}

u32 GAUGE_CALL hsi_course_decrease(u32, u32) {
    panel()->send_key_event(EVENT_NAV1_COURSE_DEC, 0);
    return 0;
}

namespace {

// Heading knob. It steps from the heading bug the last update kept when the bug was
// moved by other means since the knob last set it, else from its own setting, and never
// reads the host directly.
//
// It wraps at north so that clicks keep circling either way: after 359 comes 0 going up,
// after 0 comes 359 going down, and it never sends 360. Whatever the base (the host's
// bug may read 360, or anything after a wild value), the new setting is brought into
// 0..359 by whole turns: from 360 the knob steps to 1 or 359.
void step_heading_knob(i32 degrees) {
    const i32 base = hsi_heading_bug != hsi_bug_setting ? hsi_heading_bug : hsi_bug_setting;
    const std::int64_t stepped = static_cast<std::int64_t>(base) + degrees;
    const std::int64_t wrapped = ((stepped % FULL_TURN) + FULL_TURN) % FULL_TURN;
    hsi_bug_setting = static_cast<i32>(wrapped);
    panel()->send_key_event(EVENT_HEADING_BUG_SET, static_cast<u32>(hsi_bug_setting));
}

} // namespace

u32 GAUGE_CALL hsi_bug_increase(u32, u32) {
    step_heading_knob(+1);
    return 0;
}

u32 GAUGE_CALL hsi_bug_decrease(u32, u32) {
    step_heading_knob(-1);
    return 0;
}

u32 GAUGE_CALL hsi_readout_toggle(u32, u32) {
    hsi_readouts_on = hsi_readouts_on == 0 ? 1 : 0;
    return 0;
}
