// "asi": airspeed indicator, 40 to 300 knots, with three speed bugs the pilot sets, a
// maximum-allowable-speed pointer (0.48 of the local speed of sound) and the switch block
// other gauges use to hold its lighting or fail its needle.
#include "primary_flight.h"

#include <cmath>
#include <iterator>

namespace {

constexpr u32 ASI_FACE_BITMAP = 0x1040;
constexpr u32 ASI_LIT_OVERLAY_BITMAP = 0x1050;
constexpr u32 ASI_NEEDLE_BITMAP = 0x1060;
constexpr u32 ASI_WHITE_BUG_BITMAP = 0x1070;
constexpr u32 ASI_YELLOW_BUG_BITMAP = 0x1080;
constexpr u32 ASI_MAX_SPEED_BITMAP = 0x1090;

f64 GAUGE_CALL asi_airspeed_value(ElementHeader*);
f64 GAUGE_CALL asi_max_speed_value(ElementHeader*);
f64 GAUGE_CALL asi_bug1_value(ElementHeader*);
f64 GAUGE_CALL asi_bug2_value(ElementHeader*);
f64 GAUGE_CALL asi_bug3_value(ElementHeader*);
u32 GAUGE_CALL asi_bug_increase(u32, u32);
u32 GAUGE_CALL asi_bug_decrease(u32, u32);
u32 GAUGE_CALL asi_bug_select(u32, u32);
void GAUGE_CALL asi_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

// ---- element chain ---------------------------------------------------------------

FailureRecord asi_needle_failures[] = {{20, 2, 0}, {0, 0, 0}};

constexpr CalibrationPoint AIRSPEED_POINTS[] = {
    {40, 184, 31},   {50, 210, 38},   {60, 234, 50},   {70, 256, 69},   {80, 277, 94},   {90, 290, 125},
    {100, 295, 160}, {110, 290, 192}, {120, 280, 220}, {130, 263, 244}, {140, 244, 266}, {150, 211, 284},
    {160, 181, 293}, {170, 151, 294}, {180, 122, 288}, {190, 93, 276},  {200, 69, 257},  {210, 50, 232},
    {220, 36, 207},  {230, 29, 181},  {240, 27, 157},  {250, 30, 134},  {260, 38, 112},  {270, 46, 93},
    {280, 61, 73},   {290, 78, 58},   {300, 97, 45},
};
// A bug's white and yellow needle of the same lighting share a table.
CalibrationTable<27> asi_airspeed_table_lit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_airspeed_table_unlit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_bug3_table_lit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_bug3_table_unlit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_bug2_table_lit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_bug2_table_unlit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_bug1_table_lit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_bug1_table_unlit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_max_speed_table_lit = calibration_table(AIRSPEED_POINTS);
CalibrationTable<27> asi_max_speed_table_unlit = calibration_table(AIRSPEED_POINTS);

constexpr u32 ASI_LIT_FLAGS = 0x40004003; // lit copies start hidden
constexpr u32 ASI_UNLIT_FLAGS = 0x3;

// Every needle turns about the dial centre; pointers pivot at (57, 19) in their bitmap,
// bugs at (0, 5).
constexpr NeedleElement asi_pointer(u32 bitmap, u32 flags, ElementHeader** next, FailureRecord* failures,
                                    CalibrationTable<27>& table, ValueCallback callback) {
    return needle_element(element_header(ELEMENT_NEEDLE, bitmap, 161, 162, &asi_header, next, failures, flags, 57, 19),
                          0, table, callback);
}
constexpr NeedleElement asi_bug(u32 bitmap, u32 flags, ElementHeader** next, CalibrationTable<27>& table,
                                ValueCallback callback) {
    return needle_element(element_header(ELEMENT_NEEDLE, bitmap, 161, 162, &asi_header, next, nullptr, flags, 0, 5), 0,
                          table, callback);
}

NeedleElement asi_max_speed_unlit =
    asi_pointer(ASI_MAX_SPEED_BITMAP, 0x83, nullptr, nullptr, asi_max_speed_table_unlit, asi_max_speed_value);
ElementHeader* after_max_speed_lit[] = {&asi_max_speed_unlit.header, nullptr};
NeedleElement asi_max_speed_lit = asi_pointer(ASI_MAX_SPEED_BITMAP, 0x40004083, after_max_speed_lit, nullptr,
                                              asi_max_speed_table_lit, asi_max_speed_value);
ElementHeader* after_yellow_bug1_unlit[] = {&asi_max_speed_lit.header, nullptr};
NeedleElement asi_yellow_bug1_unlit =
    asi_bug(ASI_YELLOW_BUG_BITMAP, ASI_UNLIT_FLAGS, after_yellow_bug1_unlit, asi_bug1_table_unlit, asi_bug1_value);
ElementHeader* after_yellow_bug1_lit[] = {&asi_yellow_bug1_unlit.header, nullptr};
NeedleElement asi_yellow_bug1_lit =
    asi_bug(ASI_YELLOW_BUG_BITMAP, ASI_LIT_FLAGS, after_yellow_bug1_lit, asi_bug1_table_lit, asi_bug1_value);
ElementHeader* after_yellow_bug2_unlit[] = {&asi_yellow_bug1_lit.header, nullptr};
NeedleElement asi_yellow_bug2_unlit =
    asi_bug(ASI_YELLOW_BUG_BITMAP, ASI_UNLIT_FLAGS, after_yellow_bug2_unlit, asi_bug2_table_unlit, asi_bug2_value);
ElementHeader* after_yellow_bug2_lit[] = {&asi_yellow_bug2_unlit.header, nullptr};
NeedleElement asi_yellow_bug2_lit =
    asi_bug(ASI_YELLOW_BUG_BITMAP, ASI_LIT_FLAGS, after_yellow_bug2_lit, asi_bug2_table_lit, asi_bug2_value);
ElementHeader* after_yellow_bug3_unlit[] = {&asi_yellow_bug2_lit.header, nullptr};
NeedleElement asi_yellow_bug3_unlit =
    asi_bug(ASI_YELLOW_BUG_BITMAP, ASI_UNLIT_FLAGS, after_yellow_bug3_unlit, asi_bug3_table_unlit, asi_bug3_value);
ElementHeader* after_yellow_bug3_lit[] = {&asi_yellow_bug3_unlit.header, nullptr};
NeedleElement asi_yellow_bug3_lit =
    asi_bug(ASI_YELLOW_BUG_BITMAP, ASI_LIT_FLAGS, after_yellow_bug3_lit, asi_bug3_table_lit, asi_bug3_value);
ElementHeader* after_white_bug1_unlit[] = {&asi_yellow_bug3_lit.header, nullptr};
NeedleElement asi_white_bug1_unlit =
    asi_bug(ASI_WHITE_BUG_BITMAP, ASI_UNLIT_FLAGS, after_white_bug1_unlit, asi_bug1_table_unlit, asi_bug1_value);
ElementHeader* after_white_bug1_lit[] = {&asi_white_bug1_unlit.header, nullptr};
NeedleElement asi_white_bug1_lit =
    asi_bug(ASI_WHITE_BUG_BITMAP, ASI_LIT_FLAGS, after_white_bug1_lit, asi_bug1_table_lit, asi_bug1_value);
ElementHeader* after_white_bug2_unlit[] = {&asi_white_bug1_lit.header, nullptr};
NeedleElement asi_white_bug2_unlit =
    asi_bug(ASI_WHITE_BUG_BITMAP, ASI_UNLIT_FLAGS, after_white_bug2_unlit, asi_bug2_table_unlit, asi_bug2_value);
ElementHeader* after_white_bug2_lit[] = {&asi_white_bug2_unlit.header, nullptr};
NeedleElement asi_white_bug2_lit =
    asi_bug(ASI_WHITE_BUG_BITMAP, ASI_LIT_FLAGS, after_white_bug2_lit, asi_bug2_table_lit, asi_bug2_value);
ElementHeader* after_white_bug3_unlit[] = {&asi_white_bug2_lit.header, nullptr};
NeedleElement asi_white_bug3_unlit =
    asi_bug(ASI_WHITE_BUG_BITMAP, ASI_UNLIT_FLAGS, after_white_bug3_unlit, asi_bug3_table_unlit, asi_bug3_value);
ElementHeader* after_white_bug3_lit[] = {&asi_white_bug3_unlit.header, nullptr};
NeedleElement asi_white_bug3_lit =
    asi_bug(ASI_WHITE_BUG_BITMAP, ASI_LIT_FLAGS, after_white_bug3_lit, asi_bug3_table_lit, asi_bug3_value);
ElementHeader* after_needle_unlit[] = {&asi_white_bug3_lit.header, nullptr};
NeedleElement asi_needle_unlit = asi_pointer(ASI_NEEDLE_BITMAP, ASI_UNLIT_FLAGS, after_needle_unlit, asi_needle_failures,
                                             asi_airspeed_table_unlit, asi_airspeed_value);
ElementHeader* after_needle_lit[] = {&asi_needle_unlit.header, nullptr};
NeedleElement asi_needle_lit = asi_pointer(ASI_NEEDLE_BITMAP, ASI_LIT_FLAGS, after_needle_lit, asi_needle_failures,
                                           asi_airspeed_table_lit, asi_airspeed_value);
ElementHeader* after_lit_overlay[] = {&asi_needle_lit.header, nullptr};
IconElement asi_lit_overlay = plain_icon(
    element_header(ELEMENT_ICON, ASI_LIT_OVERLAY_BITMAP, 25, 27, &asi_header, after_lit_overlay, nullptr, 0x4003));
ElementHeader* after_face[] = {&asi_lit_overlay.header, nullptr};
StaticElement asi_face =
    static_element(element_header(ELEMENT_STATIC, ASI_FACE_BITMAP, 0, 0, &asi_header, after_face, nullptr, 0x3));
ElementHeader* asi_root_slot = &asi_face.header;

// ---- mouse areas -----------------------------------------------------------------

constexpr u32 ASI_KNOB_FLAGS = MOUSE_FLAG_CLICK | MOUSE_FLAG_REPEAT;

MouseRect asi_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_child(260, 260, 30, 30, CURSOR_INCREASE, ASI_KNOB_FLAGS, asi_bug_increase),
    mouse_child(230, 260, 30, 30, CURSOR_DECREASE, ASI_KNOB_FLAGS, asi_bug_decrease),
    mouse_child(30, 260, 30, 30, CURSOR_SELECT, MOUSE_FLAG_CLICK, asi_bug_select),
    mouse_parent_end(),
    mouse_end(),
};

} // namespace

// Its name text is stored right after the vertical speed indicator's root slot.
GaugeHeader asi_header = {
    GAUGE_VERSION_700, vsi_root_slot.next_gauge_name, &asi_root_slot, MODULE_LIFECYCLE, 0, 38, {}, asi_mouse,
    asi_gauge_callback, {},
};

namespace {

// ---- state -----------------------------------------------------------------------

u32 asi_bug1 = 40;
u32 asi_bug2 = 45;
u32 asi_bug3 = 50;
u32 asi_selected_bug = 0; // 0: none, else the bug's number
u32 asi_lit = 0;
u32 asi_shown_airspeed = 0;
i32 asi_reference_altitude = 0;
u32 asi_reference_taken = 0;
ModuleVar asi_airspeed = module_var(VAR_AIRSPEED);
ModuleVar asi_ambient_temperature = module_var(VAR_AMBIENT_TEMPERATURE);
ModuleVar asi_panel_lights = module_var(VAR_PANEL_LIGHTS);
ModuleVar asi_indicated_altitude = module_var(VAR_INDICATED_ALTITUDE);

// Bugs by number; index 0 stands for no selection.
u32* const asi_bugs[] = {nullptr, &asi_bug1, &asi_bug2, &asi_bug3};
constexpr u32 ASI_BUG_LOWEST[] = {0, 40, 45, 50};
constexpr u32 ASI_BUG_HIGHEST[] = {0, 290, 295, 300};
constexpr u32 ASI_BUG_STEP = 5;
constexpr u32 ASI_LAST_BUG = 3;

// ---- callbacks -------------------------------------------------------------------

constexpr u32 ASI_DIAL_LOWEST = 40;
constexpr u32 ASI_DIAL_HIGHEST = 300;

// Whole knots held to the dial. Negative airspeeds read unsigned are huge: full scale.
u32 asi_dial_airspeed() {
    panel()->lookup_module_var(&asi_airspeed);
    const u32 knots = truncate_to_u32(asi_airspeed.value);
    if (knots > ASI_DIAL_HIGHEST) return ASI_DIAL_HIGHEST;
    if (knots < ASI_DIAL_LOWEST) return ASI_DIAL_LOWEST;
    return knots;
}

// How far the indicated altitude lies above or below the one taken at the first failed
// evaluation, in hundreds of feet, compared and divided without sign.
struct AltitudeDrift {
    u32 climb;
    u32 descent;
};

AltitudeDrift asi_altitude_drift() {
    panel()->lookup_module_var(&asi_indicated_altitude);
    const i32 feet = truncate_to_i32(asi_indicated_altitude.value);
    if (asi_reference_taken == 0) {
        asi_reference_altitude = feet;
        asi_reference_taken = 1;
    }
    const u32 altitude = static_cast<u32>(feet);
    const u32 reference = static_cast<u32>(asi_reference_altitude);
    return {altitude > reference ? (altitude - reference) / 100 : 0,
            altitude < reference ? (reference - altitude) / 100 : 0};
}

// Failure modes set through the switch block: 1 needle at 0; 2 the needle creeps with
// the altitude change, airspeed ignored; 3 the airspeed falls as the altitude rises (a
// blocked pitot line). Any other mode holds the last value.
f64 GAUGE_CALL asi_airspeed_value(ElementHeader*) {
    switch (cb_exists2_block.asi_failure_mode) {
    case 0: asi_shown_airspeed = asi_dial_airspeed(); break;
    case 1: asi_shown_airspeed = 0; break;
    case 2: {
        const AltitudeDrift drift = asi_altitude_drift();
        asi_shown_airspeed = asi_shown_airspeed + drift.climb - drift.descent;
        break;
    }
    case 3: {
        const AltitudeDrift drift = asi_altitude_drift();
        asi_shown_airspeed = asi_dial_airspeed() - drift.climb + drift.descent;
        break;
    }
    default: break;
    }
    return static_cast<f64>(asi_shown_airspeed);
}

// The instrument takes 273.25 (not 273.15) for 0 degrees Celsius and 1/288.25 as its
// factor, so the speed of sound is 661.7 knots at 15 degrees.
constexpr f64 ASI_KELVIN_OFFSET = 273.25;
constexpr f64 ASI_PER_STANDARD_KELVIN = 0.003469210754553339;
constexpr f64 ASI_STANDARD_SPEED_OF_SOUND = 661.7;
constexpr f64 ASI_TEMPERATURE_SCALE = 256.0;

f64 GAUGE_CALL asi_max_speed_value(ElementHeader*) {
    panel()->lookup_module_var(&asi_ambient_temperature);
    const f64 celsius = asi_ambient_temperature.value * ASI_TEMPERATURE_SCALE;
    const f64 speed_of_sound =
        std::sqrt((celsius + ASI_KELVIN_OFFSET) * ASI_PER_STANDARD_KELVIN) * ASI_STANDARD_SPEED_OF_SOUND;
    const f64 max_speed = (speed_of_sound * 0.01) * 48.0;
    if (max_speed > ASI_DIAL_HIGHEST) return ASI_DIAL_HIGHEST;
    return max_speed;
}

f64 GAUGE_CALL asi_bug1_value(ElementHeader*) { return asi_bug1; }
f64 GAUGE_CALL asi_bug2_value(ElementHeader*) { return asi_bug2; }
f64 GAUGE_CALL asi_bug3_value(ElementHeader*) { return asi_bug3; }

// Selection cycles 1, 2, 3, 1, ...; it never returns to none.
u32 GAUGE_CALL asi_bug_select(u32, u32) {
    asi_selected_bug = asi_selected_bug % ASI_LAST_BUG + 1;
    return 0;
}

// A bug stops at the end of its range and never moves onto its neighbour.
u32 GAUGE_CALL asi_bug_increase(u32, u32) {
    const u32 selected = asi_selected_bug;
    if (selected == 0) return 0;
    u32& bug = *asi_bugs[selected];
    const u32 next = bug + ASI_BUG_STEP;
    if (next > ASI_BUG_HIGHEST[selected]) bug = ASI_BUG_HIGHEST[selected];
    else if (selected == ASI_LAST_BUG || next != *asi_bugs[selected + 1]) bug = next;
    return 0;
}

u32 GAUGE_CALL asi_bug_decrease(u32, u32) {
    const u32 selected = asi_selected_bug;
    if (selected == 0) return 0;
    u32& bug = *asi_bugs[selected];
    const u32 next = bug - ASI_BUG_STEP;
    if (next < ASI_BUG_LOWEST[selected]) bug = ASI_BUG_LOWEST[selected];
    else if (selected == 1 || next != *asi_bugs[selected - 1]) bug = next;
    return 0;
}

// Chain steps shown and hidden per lighting; the bug needles follow by selection, one
// needle per bug: yellow for the selected bug, white for the others.
constexpr u32 ASI_LIT_SHOWN[] = {1, 2, 16};
constexpr u32 ASI_LIT_HIDDEN_STEPS[] = {3, 5, 7, 9, 11, 13, 15, 17};
constexpr u32 ASI_UNLIT_HIDDEN_STEPS[] = {1, 2, 4, 6, 8, 10, 12, 14, 16};
constexpr u32 ASI_UNLIT_SHOWN[] = {3, 17};

struct BugNeedles {
    u32 shown[3];
    u32 hidden[3];
};
constexpr BugNeedles ASI_LIT_BUGS[] = {
    {{4, 6, 8}, {10, 12, 14}},
    {{14, 6, 4}, {12, 10, 8}},
    {{12, 8, 4}, {6, 10, 14}},
    {{10, 6, 8}, {4, 12, 14}},
};
constexpr BugNeedles ASI_UNLIT_BUGS[] = {
    {{5, 7, 9}, {11, 13, 15}},
    {{5, 7, 15}, {9, 13, 11}},
    {{5, 9, 13}, {7, 15, 11}},
    {{11, 7, 9}, {5, 13, 15}},
};
static_assert(std::size(ASI_LIT_BUGS) == ASI_LAST_BUG + 1 && std::size(ASI_UNLIT_BUGS) == ASI_LAST_BUG + 1);

void asi_show_lighting(ElementHeader* root) {
    const BugNeedles& bugs = asi_lit == 1 ? ASI_LIT_BUGS[asi_selected_bug] : ASI_UNLIT_BUGS[asi_selected_bug];
    if (asi_lit == 1) {
        show_steps(root, ASI_LIT_SHOWN);
        hide_steps(root, ASI_LIT_HIDDEN_STEPS);
    } else {
        hide_steps(root, ASI_UNLIT_HIDDEN_STEPS);
        show_steps(root, ASI_UNLIT_SHOWN);
    }
    show_steps(root, bugs.shown);
    hide_steps(root, bugs.hidden);
}

constexpr const char* CB_EXISTS2_NAME = "cb_exists2";

void GAUGE_CALL asi_gauge_callback(GaugeHeader* header, u32 service, u32) {
    switch (service) {
    case SERVICE_INSTALL:
        panel()->register_named_var(&cb_exists2_block.cb_exists2, NAMED_VAR_TYPE_CELL, CB_EXISTS2_NAME);
        break;
    case SERVICE_UPDATE:
        // Only exactly 1.0 counts as lit; a non-zero switch holds the last decision.
        if (cb_exists2_block.cb_exists2 == 0) {
            panel()->lookup_module_var(&asi_panel_lights);
            asi_lit = asi_panel_lights.value == 1.0 ? 1 : 0;
        }
        asi_show_lighting(root_of(header));
        break;
    case SERVICE_KILL: panel()->unregister_named_var(CB_EXISTS2_NAME); break;
    default: break;
    }
}

} // namespace
