// "vsi": vertical speed indicator, -4000 to +4000 feet per minute. Ten clicks on the dial
// within 48 host ticks of the first crack its glass for as long as the module is loaded.
#include "primary_flight.h"

namespace {

constexpr u32 VSI_FACE_BITMAP = 0x1000;
constexpr u32 VSI_LIT_OVERLAY_BITMAP = 0x1010;
constexpr u32 VSI_NEEDLE_BITMAP = 0x1020;
constexpr u32 VSI_CRACKED_DIAL_BITMAP = 0x1030;

// Chain steps.
constexpr u32 VSI_LIT_OVERLAY = 1;
constexpr u32 VSI_NEEDLE_LIT = 2;
constexpr u32 VSI_NEEDLE_UNLIT = 3;
constexpr u32 VSI_CRACKED_DIAL = 4;

f64 GAUGE_CALL vsi_needle_value(ElementHeader* element);
u32 GAUGE_CALL vsi_face_click(u32, u32);
void GAUGE_CALL vsi_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

// ---- element chain ---------------------------------------------------------------

FailureRecord vsi_failures[] = {{20, 2, 0}, {0, 0, 0}};

constexpr CalibrationPoint VERTICAL_SPEED_POINTS[] = {
    {-4000, 289, 178}, {-3500, 282, 208}, {-3000, 265, 236}, {-2500, 231, 269}, {-2000, 187, 287},
    {-1500, 124, 268}, {-1000, 69, 255},  {-700, 47, 230},   {-500, 39, 210},   {-300, 30, 190},
    {-100, 28, 167},   {0, 29, 158},      {100, 28, 147},    {300, 32, 124},    {500, 41, 104},
    {700, 51, 84},     {1000, 72, 61},    {1500, 130, 31},   {2000, 193, 32},   {2500, 235, 52},
    {3000, 268, 85},   {3500, 283, 112},  {4000, 285, 145},
};
CalibrationTable<23> vsi_table_lit = calibration_table(VERTICAL_SPEED_POINTS);
CalibrationTable<23> vsi_table_unlit = calibration_table(VERTICAL_SPEED_POINTS);

IconElement vsi_cracked_dial = plain_icon(
    element_header(ELEMENT_ICON, VSI_CRACKED_DIAL_BITMAP, 26, 28, &vsi_header, nullptr, nullptr, 0x40000003));
ElementHeader* after_needle_unlit[] = {&vsi_cracked_dial.header, nullptr};

NeedleElement vsi_needle_unlit = needle_element(
    element_header(ELEMENT_NEEDLE, VSI_NEEDLE_BITMAP, 161, 161, &vsi_header, after_needle_unlit, vsi_failures, 0x83,
                   26, 16),
    VAR_VERTICAL_SPEED, vsi_table_unlit, vsi_needle_value);
ElementHeader* after_needle_lit[] = {&vsi_needle_unlit.header, nullptr};

NeedleElement vsi_needle_lit = needle_element(
    element_header(ELEMENT_NEEDLE, VSI_NEEDLE_BITMAP, 161, 161, &vsi_header, after_needle_lit, vsi_failures, 0x4083,
                   26, 16),
    VAR_VERTICAL_SPEED, vsi_table_lit, vsi_needle_value);
ElementHeader* after_lit_overlay[] = {&vsi_needle_lit.header, nullptr};

IconElement vsi_lit_overlay = plain_icon(
    element_header(ELEMENT_ICON, VSI_LIT_OVERLAY_BITMAP, 26, 28, &vsi_header, after_lit_overlay, vsi_failures, 0x4003));
ElementHeader* after_face[] = {&vsi_lit_overlay.header, nullptr};

StaticElement vsi_face =
    static_element(element_header(ELEMENT_STATIC, VSI_FACE_BITMAP, 0, 0, &vsi_header, after_face, vsi_failures, 0x3));

// ---- mouse areas -----------------------------------------------------------------

MouseRect vsi_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_child(61, 61, 200, 200, CURSOR_NORMAL, MOUSE_FLAG_CLICK, vsi_face_click),
    mouse_parent_end(),
    mouse_end(),
};

} // namespace

RootSlotAndNextName vsi_root_slot = {&vsi_face.header, "asi"};

GaugeHeader vsi_header = {
    GAUGE_VERSION_700, "vsi", &vsi_root_slot.root, MODULE_LIFECYCLE, 0, 38, {}, vsi_mouse, vsi_gauge_callback, {},
};

namespace {

// ---- state -----------------------------------------------------------------------

constexpr u32 NO_CLICK_WINDOW = 0xFFFFFFFF;
constexpr u32 CLICKS_TO_CRACK = 10;
constexpr f64 CLICK_WINDOW_TICKS = 48.0;

u32 vsi_click_count = 0;
u32 vsi_target_tick = NO_CLICK_WINDOW;
ModuleVar vsi_tick_count = module_var(VAR_TICK_COUNT);
ModuleVar vsi_panel_lights = module_var(VAR_PANEL_LIGHTS);

// ---- callbacks -------------------------------------------------------------------

// Metres per second x 256 to feet per minute: 60 / (0.3048 x 256).
constexpr f64 FEET_PER_MINUTE_PER_UNIT = 0.7689468503937007;
constexpr f64 VSI_FULL_SCALE = 4000.0;

f64 GAUGE_CALL vsi_needle_value(ElementHeader* element) {
    ModuleVar& vertical_speed = reinterpret_cast<NeedleElement*>(element)->variable;
    const f64 feet_per_minute = vertical_speed.value * FEET_PER_MINUTE_PER_UNIT;
    vertical_speed.value = feet_per_minute; // the host refreshes it again next update
    if (cb_exists2_block.vsi_failure_mode == 3) return 0.0;
    if (feet_per_minute > VSI_FULL_SCALE) return VSI_FULL_SCALE;
    if (feet_per_minute < -VSI_FULL_SCALE) return -VSI_FULL_SCALE;
    return feet_per_minute;
}

// The first click of a window arms it to close 48 ticks later.
u32 GAUGE_CALL vsi_face_click(u32, u32) {
    if (vsi_click_count == 0) {
        panel()->lookup_module_var(&vsi_tick_count);
        vsi_target_tick = truncate_to_u32(vsi_tick_count.value + CLICK_WINDOW_TICKS);
    }
    ++vsi_click_count;
    return 0;
}

constexpr u32 VSI_LIT_STEPS[] = {VSI_LIT_OVERLAY, VSI_NEEDLE_LIT};
constexpr u32 VSI_UNLIT_STEPS[] = {VSI_NEEDLE_UNLIT};
constexpr u32 VSI_NEEDLE_STEPS[] = {VSI_LIT_OVERLAY, VSI_NEEDLE_LIT, VSI_NEEDLE_UNLIT};

void GAUGE_CALL vsi_gauge_callback(GaugeHeader* header, u32 service, u32) {
    if (service != SERVICE_UPDATE) return;
    ElementHeader* root = root_of(header);

    // The window closes only on an update that sees its exact closing tick.
    panel()->lookup_module_var(&vsi_tick_count);
    if (vsi_tick_count.value == static_cast<f64>(vsi_target_tick)) {
        vsi_target_tick = NO_CLICK_WINDOW;
        if (vsi_click_count < CLICKS_TO_CRACK) vsi_click_count = 0;
        else clear_chain_flags(root, VSI_CRACKED_DIAL, IMAGE_FLAG_HIDDEN);
    }

    const bool lit = panel_lights_on(vsi_panel_lights);
    if (vsi_click_count >= CLICKS_TO_CRACK) {
        hide_steps(root, VSI_NEEDLE_STEPS);
    } else if (lit) {
        show_steps(root, VSI_LIT_STEPS);
        hide_steps(root, VSI_UNLIT_STEPS);
    } else {
        hide_steps(root, VSI_LIT_STEPS);
        show_steps(root, VSI_UNLIT_STEPS);
    }
}

} // namespace
