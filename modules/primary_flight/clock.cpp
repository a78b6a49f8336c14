// "clock": analogue clock with hour, minute and second hands on the host's local time.
// The knob moves the time a minute back or forward through the host's clock events and
// carries into the hour when the minutes come round to 0.
#include "primary_flight.h"

namespace {

constexpr u32 CLOCK_FACE_BITMAP = 0x1160;
constexpr u32 CLOCK_HOUR_HAND_BITMAP = 0x1170;
constexpr u32 CLOCK_MINUTE_HAND_BITMAP = 0x1180;
constexpr u32 CLOCK_SECOND_HAND_BITMAP = 0x1190;
constexpr u32 CLOCK_OVERLAY_BITMAP = 0x1200;

f64 GAUGE_CALL clock_hour_value(ElementHeader*);
f64 GAUGE_CALL clock_minute_value(ElementHeader*);
f64 GAUGE_CALL clock_second_value(ElementHeader*);
u32 GAUGE_CALL clock_set_back(u32, u32);
u32 GAUGE_CALL clock_set_forward(u32, u32);
void GAUGE_CALL clock_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

// ---- element chain ---------------------------------------------------------------

FailureRecord clock_hand_failures[] = {{20, 2, 0}, {0, 0, 0}};

constexpr CalibrationPoint HOUR_POINTS[] = {{0, 157, 40}, {11, 100, 57}};
constexpr CalibrationPoint SIXTY_POINTS[] = {{0, 157, 40}, {59, 144, 41}};
CalibrationTable<2> clock_hour_table_lit = calibration_table(HOUR_POINTS);
CalibrationTable<2> clock_hour_table_unlit = calibration_table(HOUR_POINTS);
CalibrationTable<2> clock_minute_table_lit = calibration_table(SIXTY_POINTS);
CalibrationTable<2> clock_minute_table_unlit = calibration_table(SIXTY_POINTS);
CalibrationTable<2> clock_second_table_lit = calibration_table(SIXTY_POINTS);
CalibrationTable<2> clock_second_table_unlit = calibration_table(SIXTY_POINTS);

// All hands turn about the dial centre and pivot on their bitmap's left edge.
constexpr NeedleElement clock_hand(u32 bitmap, i32 pivot_y, u32 flags, ElementHeader** next,
                                   CalibrationTable<2>& table, ValueCallback callback) {
    return needle_element(element_header(ELEMENT_NEEDLE, bitmap, 154, 153, &clock_header, next, clock_hand_failures,
                                         flags, 0, pivot_y),
                          0, table, callback);
}

NeedleElement clock_second_unlit =
    clock_hand(CLOCK_SECOND_HAND_BITMAP, 2, 0x83, nullptr, clock_second_table_unlit, clock_second_value);
ElementHeader* after_second_lit[] = {&clock_second_unlit.header, nullptr};
NeedleElement clock_second_lit =
    clock_hand(CLOCK_SECOND_HAND_BITMAP, 2, 0x40004083, after_second_lit, clock_second_table_lit, clock_second_value);
ElementHeader* after_minute_unlit[] = {&clock_second_lit.header, nullptr};
NeedleElement clock_minute_unlit =
    clock_hand(CLOCK_MINUTE_HAND_BITMAP, 5, 0x83, after_minute_unlit, clock_minute_table_unlit, clock_minute_value);
ElementHeader* after_minute_lit[] = {&clock_minute_unlit.header, nullptr};
NeedleElement clock_minute_lit =
    clock_hand(CLOCK_MINUTE_HAND_BITMAP, 5, 0x40004083, after_minute_lit, clock_minute_table_lit, clock_minute_value);
ElementHeader* after_hour_unlit[] = {&clock_minute_lit.header, nullptr};
NeedleElement clock_hour_unlit =
    clock_hand(CLOCK_HOUR_HAND_BITMAP, 8, 0x83, after_hour_unlit, clock_hour_table_unlit, clock_hour_value);
ElementHeader* after_hour_lit[] = {&clock_hour_unlit.header, nullptr};
NeedleElement clock_hour_lit =
    clock_hand(CLOCK_HOUR_HAND_BITMAP, 8, 0x40004083, after_hour_lit, clock_hour_table_lit, clock_hour_value);
ElementHeader* after_overlay_unlit[] = {&clock_hour_lit.header, nullptr};
IconElement clock_overlay_unlit = plain_icon(
    element_header(ELEMENT_ICON, CLOCK_OVERLAY_BITMAP, 0, 0, &clock_header, after_overlay_unlit, nullptr, 0x3));
ElementHeader* after_overlay_lit[] = {&clock_overlay_unlit.header, nullptr};
IconElement clock_overlay_lit = plain_icon(
    element_header(ELEMENT_ICON, CLOCK_OVERLAY_BITMAP, 0, 0, &clock_header, after_overlay_lit, nullptr, 0x40004003));
ElementHeader* after_face[] = {&clock_overlay_lit.header, nullptr};
StaticElement clock_face =
    static_element(element_header(ELEMENT_STATIC, CLOCK_FACE_BITMAP, 0, 0, &clock_header, after_face, nullptr, 0x1));
ElementHeader* clock_root_slot = &clock_face.header;

// ---- mouse areas -----------------------------------------------------------------

constexpr u32 CLOCK_KNOB_FLAGS = MOUSE_FLAG_CLICK | MOUSE_FLAG_REPEAT;

MouseRect clock_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_child(0, 245, 35, 60, CURSOR_DECREASE, CLOCK_KNOB_FLAGS, clock_set_back),
    mouse_child(36, 245, 35, 60, CURSOR_INCREASE, CLOCK_KNOB_FLAGS, clock_set_forward),
    mouse_parent_end(),
    mouse_end(),
};

} // namespace

GaugeHeader clock_header = {
    GAUGE_VERSION_700, "clock", &clock_root_slot, MODULE_LIFECYCLE, 0, 38, {}, clock_mouse, clock_gauge_callback, {},
};

namespace {

// ---- state -----------------------------------------------------------------------

ModuleVar clock_hour = module_var(VAR_CLOCK_HOUR);
ModuleVar clock_minute = module_var(VAR_CLOCK_MINUTE);
ModuleVar clock_second = module_var(VAR_CLOCK_SECOND);
ModuleVar clock_panel_lights = module_var(VAR_PANEL_LIGHTS);

// ---- callbacks -------------------------------------------------------------------

// While frozen a hand keeps the value its record already holds.
f64 clock_hand_reading(ModuleVar& time) {
    if (cb_exists2_block.clock_freeze == 0) panel()->lookup_module_var(&time);
    return time.value;
}

// Afternoon hours fold onto the dial: 13 to 23 give 1 to 11; 12 stays 12.
f64 GAUGE_CALL clock_hour_value(ElementHeader*) {
    const f64 hour = clock_hand_reading(clock_hour);
    return hour > 12.0 ? hour - 12.0 : hour;
}
f64 GAUGE_CALL clock_minute_value(ElementHeader*) { return clock_hand_reading(clock_minute); }
f64 GAUGE_CALL clock_second_value(ElementHeader*) { return clock_hand_reading(clock_second); }

// Moves the minutes one way and, when they then read 0, the hour the same way.
void clock_set(u32 minute_event, u32 hour_event) {
    panel()->send_key_event(minute_event, 0);
    panel()->lookup_module_var(&clock_minute);
    if (clock_minute.value == 0.0) panel()->send_key_event(hour_event, 0);
}

u32 GAUGE_CALL clock_set_back(u32, u32) {
    clock_set(EVENT_CLOCK_MINUTES_DEC, EVENT_CLOCK_HOURS_DEC);
    return 0;
}
u32 GAUGE_CALL clock_set_forward(u32, u32) {
    clock_set(EVENT_CLOCK_MINUTES_INC, EVENT_CLOCK_HOURS_INC);
    return 0;
}

constexpr u32 CLOCK_LIT_STEPS[] = {1, 3, 5, 7};
constexpr u32 CLOCK_UNLIT_STEPS[] = {2, 4, 6, 8};

void GAUGE_CALL clock_gauge_callback(GaugeHeader* header, u32 service, u32) {
    if (service != SERVICE_UPDATE) return;
    show_lit_or_unlit(root_of(header), panel_lights_on(clock_panel_lights), CLOCK_LIT_STEPS, CLOCK_UNLIT_STEPS);
}

} // namespace
