// "alt": drum-and-pointer altimeter. Ten-thousands and thousands drums step 50 feet
// before each mark, the hundreds drum and the pointer turn once per 1000 feet; two
// readouts show the barometric setting in millibars and inches of mercury, and the knob
// sends the host's setting events.
#include "primary_flight.h"

#include "windows_services.h"

#include <cstdio>

namespace {

constexpr u32 ALT_FACE_BITMAP = 0x1100;
constexpr u32 ALT_POINTER_BITMAP = 0x1110;
constexpr u32 ALT_OVERLAY_BITMAP = 0x1120;
constexpr u32 ALT_THOUSANDS_STRIP_BITMAP = 0x1130;
constexpr u32 ALT_TEN_THOUSANDS_STRIP_BITMAP = 0x1140;
constexpr u32 ALT_HUNDREDS_STRIP_BITMAP = 0x1150;

f64 GAUGE_CALL alt_drum_x_value(ElementHeader*);
f64 GAUGE_CALL alt_ten_thousands_drum_value(ElementHeader*);
f64 GAUGE_CALL alt_thousands_drum_value(ElementHeader*);
f64 GAUGE_CALL alt_hundreds_drum_value(ElementHeader*);
f64 GAUGE_CALL alt_needle_value(ElementHeader*);
f64 GAUGE_CALL alt_millibar_text(ElementHeader* element);
f64 GAUGE_CALL alt_inhg_text(ElementHeader* element);
u32 GAUGE_CALL alt_baro_increase(u32, u32);
u32 GAUGE_CALL alt_baro_decrease(u32, u32);
void GAUGE_CALL alt_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

// ---- element chain ---------------------------------------------------------------

FailureRecord alt_failures[] = {{20, 2, 0}, {3, 1, 0}, {0, 0, 0}};

constexpr CalibrationPoint POINTER_POINTS[] = {{0, 162, 41}, {995, 152, 40}};
CalibrationTable<2> alt_pointer_table_lit = calibration_table(POINTER_POINTS);
CalibrationTable<2> alt_pointer_table_unlit = calibration_table(POINTER_POINTS);

constexpr f64 DIGIT_DRUM_RANGE = 10.0;
constexpr f64 HUNDREDS_DRUM_RANGE = 999.0;

// Drums slide vertically only: the x axis has the range 0 to 0 and a constant input.
constexpr MovingElement alt_drum(u32 bitmap, i32 x, i32 y, u32 flags, ElementHeader** next, f64 maximum_y,
                                 ValueCallback callback_y) {
    return {element_header(ELEMENT_MOVING, bitmap, x, y, &alt_header, next, alt_failures, flags),
            module_var(0), 0, 0.0, 0.0, 0,
            module_var(0), 0, 0.0, maximum_y,
            {}, alt_drum_x_value, callback_y, {}};
}

constexpr u32 READOUT_WHITE = 0xFFFFFF;
constexpr u32 READOUT_BLACK = 0x000000;

constexpr StringElement alt_readout(i32 x, u32 flags, ElementHeader** next, u32 width, u32 max_characters,
                                    ValueCallback callback) {
    return {element_header(ELEMENT_STRING, BITMAP_NONE, x, 169, &alt_header, next, nullptr, flags),
            {module_var(VAR_BARO_SETTING_MB), module_var(0), module_var(0)}, {}, nullptr, 0, width, 30, {},
            READOUT_WHITE, READOUT_BLACK, READOUT_WHITE, {},
            "Courier New", 400, 1, DT_CENTER | DT_VCENTER | DT_SINGLELINE, max_characters, {}, callback};
}

NeedleElement alt_pointer_unlit = needle_element(
    element_header(ELEMENT_NEEDLE, ALT_POINTER_BITMAP, 139, 138, &alt_header, nullptr, alt_failures, 0x83, 10, 10), 0,
    alt_pointer_table_unlit, alt_needle_value);
ElementHeader* after_pointer_lit[] = {&alt_pointer_unlit.header, nullptr};
NeedleElement alt_pointer_lit = needle_element(
    element_header(ELEMENT_NEEDLE, ALT_POINTER_BITMAP, 139, 138, &alt_header, after_pointer_lit, alt_failures, 0x4083,
                   10, 10),
    0, alt_pointer_table_lit, alt_needle_value);
ElementHeader* after_inhg_unlit[] = {&alt_pointer_lit.header, nullptr};
StringElement alt_inhg_unlit = alt_readout(158, 0x2, after_inhg_unlit, 50, 5, alt_inhg_text);
ElementHeader* after_inhg_lit[] = {&alt_inhg_unlit.header, nullptr};
StringElement alt_inhg_lit = alt_readout(158, 0x4002, after_inhg_lit, 50, 5, alt_inhg_text);
ElementHeader* after_millibar_unlit[] = {&alt_inhg_lit.header, nullptr};
StringElement alt_millibar_unlit = alt_readout(84, 0x2, after_millibar_unlit, 40, 4, alt_millibar_text);
ElementHeader* after_millibar_lit[] = {&alt_millibar_unlit.header, nullptr};
StringElement alt_millibar_lit = alt_readout(84, 0x4002, after_millibar_lit, 40, 4, alt_millibar_text);
ElementHeader* after_hundreds_unlit[] = {&alt_millibar_lit.header, nullptr};
MovingElement alt_hundreds_unlit = alt_drum(ALT_HUNDREDS_STRIP_BITMAP, 144, 70, 0x3, after_hundreds_unlit,
                                            HUNDREDS_DRUM_RANGE, alt_hundreds_drum_value);
ElementHeader* after_hundreds_lit[] = {&alt_hundreds_unlit.header, nullptr};
MovingElement alt_hundreds_lit = alt_drum(ALT_HUNDREDS_STRIP_BITMAP, 144, 70, 0x4003, after_hundreds_lit,
                                          HUNDREDS_DRUM_RANGE, alt_hundreds_drum_value);
ElementHeader* after_thousands_unlit[] = {&alt_hundreds_lit.header, nullptr};
MovingElement alt_thousands_unlit = alt_drum(ALT_THOUSANDS_STRIP_BITMAP, 119, 76, 0x3, after_thousands_unlit,
                                             DIGIT_DRUM_RANGE, alt_thousands_drum_value);
ElementHeader* after_thousands_lit[] = {&alt_thousands_unlit.header, nullptr};
MovingElement alt_thousands_lit = alt_drum(ALT_THOUSANDS_STRIP_BITMAP, 119, 76, 0x4003, after_thousands_lit,
                                           DIGIT_DRUM_RANGE, alt_thousands_drum_value);
ElementHeader* after_ten_thousands_unlit[] = {&alt_thousands_lit.header, nullptr};
MovingElement alt_ten_thousands_unlit = alt_drum(ALT_TEN_THOUSANDS_STRIP_BITMAP, 102, 76, 0x3,
                                                 after_ten_thousands_unlit, DIGIT_DRUM_RANGE,
                                                 alt_ten_thousands_drum_value);
ElementHeader* after_ten_thousands_lit[] = {&alt_ten_thousands_unlit.header, nullptr};
MovingElement alt_ten_thousands_lit = alt_drum(ALT_TEN_THOUSANDS_STRIP_BITMAP, 102, 76, 0x4003,
                                               after_ten_thousands_lit, DIGIT_DRUM_RANGE,
                                               alt_ten_thousands_drum_value);
ElementHeader* after_overlay_unlit[] = {&alt_ten_thousands_lit.header, nullptr};
IconElement alt_overlay_unlit = plain_icon(
    element_header(ELEMENT_ICON, ALT_OVERLAY_BITMAP, 32, 30, &alt_header, after_overlay_unlit, nullptr, 0x3));
ElementHeader* after_overlay_lit[] = {&alt_overlay_unlit.header, nullptr};
IconElement alt_overlay_lit = plain_icon(
    element_header(ELEMENT_ICON, ALT_OVERLAY_BITMAP, 32, 30, &alt_header, after_overlay_lit, nullptr, 0x4003));
ElementHeader* after_face[] = {&alt_overlay_lit.header, nullptr};
StaticElement alt_face =
    static_element(element_header(ELEMENT_STATIC, ALT_FACE_BITMAP, 0, 0, &alt_header, after_face, nullptr, 0x3));
ElementHeader* alt_root_slot = &alt_face.header;

// ---- mouse areas -----------------------------------------------------------------

constexpr u32 ALT_KNOB_FLAGS = MOUSE_FLAG_CLICK | MOUSE_FLAG_REPEAT;

MouseRect alt_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_child(204, 207, 30, 56, CURSOR_DECREASE, ALT_KNOB_FLAGS, alt_baro_decrease),
    mouse_child(234, 207, 30, 56, CURSOR_INCREASE, ALT_KNOB_FLAGS, alt_baro_increase),
    mouse_parent_end(),
    mouse_end(),
};

} // namespace

GaugeHeader alt_header = {
    GAUGE_VERSION_700, "alt", &alt_root_slot, MODULE_LIFECYCLE, 0, 38, {}, alt_mouse, alt_gauge_callback, {},
};

namespace {

// ---- state -----------------------------------------------------------------------

i32 alt_feet_in_thousand = 0; // the pointer's value as of the last update
f64 alt_last_ten_thousands = 0;
f64 alt_last_thousands = 0;
f64 alt_last_hundreds = 0;
ModuleVar alt_panel_lights = module_var(VAR_PANEL_LIGHTS);
ModuleVar alt_indicated_altitude = module_var(VAR_INDICATED_ALTITUDE);

// ---- callbacks -------------------------------------------------------------------

constexpr u32 ALT_FROZEN = 3;

i32 alt_altitude_feet() {
    panel()->lookup_module_var(&alt_indicated_altitude);
    return truncate_to_i32(alt_indicated_altitude.value);
}

// A drum reads the altitude itself and keeps its last position, where it stands still
// while the altimeter is frozen.
f64 alt_drum_position(f64& last, i32 (*position)(i32 feet)) {
    if (cb_exists2_block.alt_failure_mode != ALT_FROZEN) last = position(alt_altitude_feet());
    return last;
}

// A digit drum of `digit_feet` per digit (1000 or 10000). Above a full turn it wraps to
// 1 .. turn; it steps to the next digit 50 feet before each mark but reaches 1 only at
// the mark itself.
i32 digit_drum(i32 feet, i32 digit_feet) {
    const i32 turn = 10 * digit_feet;
    if (feet > turn) feet = (feet - 1) % turn + 1;
    if (feet < digit_feet) return 0;
    i32 digit = 9;
    while (feet <= digit * digit_feet - 50) --digit; // stops at 1: feet >= digit_feet
    return digit;
}

i32 ten_thousands_digit(i32 feet) { return digit_drum(feet, 10000); }
i32 thousands_digit(i32 feet) { return digit_drum(feet, 1000); }

// Turns once per 1000 feet; whole thousands above 1000 give 1000.
i32 hundreds_position(i32 feet) { return feet > 1000 ? (feet - 1) % 1000 + 1 : feet; }

f64 GAUGE_CALL alt_drum_x_value(ElementHeader*) { return 1.0; }
f64 GAUGE_CALL alt_ten_thousands_drum_value(ElementHeader*) {
    return alt_drum_position(alt_last_ten_thousands, ten_thousands_digit);
}
f64 GAUGE_CALL alt_thousands_drum_value(ElementHeader*) {
    return alt_drum_position(alt_last_thousands, thousands_digit);
}
f64 GAUGE_CALL alt_hundreds_drum_value(ElementHeader*) { return alt_drum_position(alt_last_hundreds, hundreds_position); }

f64 GAUGE_CALL alt_needle_value(ElementHeader*) { return alt_feet_in_thousand; }

// Returns the setting unchanged, whatever the text shows.
f64 GAUGE_CALL alt_millibar_text(ElementHeader* element) {
    auto* readout = reinterpret_cast<StringElement*>(element);
    const f64 millibars = readout->variables[0].value;
    wsprintfA(readout->text, "%4d", truncate_to_i32(millibars));
    return millibars;
}

// 1/1013.25 inches of mercury per millibar, times 29.92, in that order. The buffer's
// capacity bounds the text of a wild setting.
constexpr f64 ALT_PER_STANDARD_MILLIBARS = 0.0009869232667160128;
constexpr f64 ALT_STANDARD_INCHES = 29.92;

f64 GAUGE_CALL alt_inhg_text(ElementHeader* element) {
    auto* readout = reinterpret_cast<StringElement*>(element);
    const f64 millibars = readout->variables[0].value;
    const f64 inches = millibars * ALT_PER_STANDARD_MILLIBARS * ALT_STANDARD_INCHES;
    std::snprintf(readout->text, READOUT_TEXT_CAPACITY, "%2.2f", inches);
    return millibars;
}

// The host moves the setting; the readouts follow at its next refresh.
u32 GAUGE_CALL alt_baro_increase(u32, u32) {
    panel()->send_key_event(EVENT_BARO_SETTING_INC, 1);
    return 0;
}
u32 GAUGE_CALL alt_baro_decrease(u32, u32) {
    panel()->send_key_event(EVENT_BARO_SETTING_DEC, 1);
    return 0;
}

constexpr u32 ALT_LIT_STEPS[] = {13, 11, 9, 7, 5, 3, 1};
constexpr u32 ALT_UNLIT_STEPS[] = {14, 12, 10, 8, 6, 4, 2};

void GAUGE_CALL alt_gauge_callback(GaugeHeader* header, u32 service, u32) {
    if (service != SERVICE_UPDATE) return;
    show_lit_or_unlit(root_of(header), panel_lights_on(alt_panel_lights), ALT_LIT_STEPS, ALT_UNLIT_STEPS);

    // Feet within the current thousand; a negative altitude is kept as it is.
    i32 feet = alt_altitude_feet();
    if (feet >= 10000) feet %= 10000;
    if (feet >= 1000) feet %= 1000;
    if (cb_exists2_block.alt_failure_mode != ALT_FROZEN) alt_feet_in_thousand = feet;
}

} // namespace
