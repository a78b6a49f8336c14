// "attitude": attitude indicator. The ball moves with pitch (limited to 40 either way)
// and turns with bank, the bank pointer turns with bank, and an adjust knob shifts the
// ball by up to five pitch units up or down.
#include "primary_flight.h"

namespace {

constexpr u32 ATT_FACE_BITMAP = 0x1210;
constexpr u32 ATT_KNOB_BITMAP = 0x1220;
constexpr u32 ATT_SYMBOL_BITMAP = 0x1230;
constexpr u32 ATT_BALL_BITMAP = 0x1240;
constexpr u32 ATT_BANK_POINTER_BITMAP = 0x1250;

f64 GAUGE_CALL att_pitch_value(ElementHeader* element);
f64 GAUGE_CALL att_knob_value(ElementHeader*);
u32 GAUGE_CALL att_offset_decrease(u32, u32);
u32 GAUGE_CALL att_offset_increase(u32, u32);
void GAUGE_CALL att_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

// ---- element chain ---------------------------------------------------------------

FailureRecord att_sprite_failures[] = {{4, 1, 0}, {8, 1, 0}, {0, 0, 0}};

constexpr CalibrationPoint KNOB_POINTS[] = {
    {-5, 187, 223}, {-4, 189, 218}, {-3, 191, 215}, {-2, 193, 211}, {-1, 195, 207}, {0, 196, 202},
    {1, 202, 201},  {2, 205, 199},  {3, 209, 197},  {4, 213, 196},  {5, 217, 193},
};
CalibrationTable<11> att_knob_table = calibration_table(KNOB_POINTS);

constexpr f64 ATT_PITCH_SCALE = 2.0;
constexpr f64 ATT_BANK_SCALE = -1.0;

// Ball and bank pointer sit in the face's window and turn about their texture centre.
constexpr SpriteElement att_sprite(u32 bitmap, u32 flags, ElementHeader** next, u32 pitch_variable, f64 pitch_scale,
                                   ValueCallback pitch_callback) {
    return {element_header(ELEMENT_SPRITE, bitmap, 49, 49, &attitude_header, next, att_sprite_failures, flags, 128,
                           128),
            module_var(0), 0, 0.0,
            module_var(pitch_variable), 0, pitch_scale,
            module_var(VAR_ATTITUDE_BANK), 0, ATT_BANK_SCALE,
            1.0f, 1.0f, {}, nullptr, pitch_callback, nullptr, {}};
}
constexpr SpriteElement att_ball(u32 flags, ElementHeader** next) {
    return att_sprite(ATT_BALL_BITMAP, flags, next, VAR_ATTITUDE_PITCH, ATT_PITCH_SCALE, att_pitch_value);
}
constexpr SpriteElement att_bank_pointer(u32 flags, ElementHeader** next) {
    return att_sprite(ATT_BANK_POINTER_BITMAP, flags, next, 0, 0.0, nullptr);
}

NeedleElement att_knob = needle_element(
    element_header(ELEMENT_NEEDLE, ATT_KNOB_BITMAP, 236, 239, &attitude_header, nullptr, nullptr, 0x83, 30, 29), 0,
    att_knob_table, att_knob_value);
ElementHeader* after_symbol_unlit[] = {&att_knob.header, nullptr};
IconElement att_symbol_unlit = plain_icon(
    element_header(ELEMENT_ICON, ATT_SYMBOL_BITMAP, 49, 49, &attitude_header, after_symbol_unlit, nullptr, 0x3));
ElementHeader* after_bank_pointer_unlit[] = {&att_symbol_unlit.header, nullptr};
SpriteElement att_bank_pointer_unlit = att_bank_pointer(0x3, after_bank_pointer_unlit);
ElementHeader* after_ball_unlit[] = {&att_bank_pointer_unlit.header, nullptr};
SpriteElement att_ball_unlit = att_ball(0x3, after_ball_unlit);
ElementHeader* after_symbol_lit[] = {&att_ball_unlit.header, nullptr};
IconElement att_symbol_lit = plain_icon(
    element_header(ELEMENT_ICON, ATT_SYMBOL_BITMAP, 49, 49, &attitude_header, after_symbol_lit, nullptr, 0x4003));
ElementHeader* after_bank_pointer_lit[] = {&att_symbol_lit.header, nullptr};
SpriteElement att_bank_pointer_lit = att_bank_pointer(0x4003, after_bank_pointer_lit);
ElementHeader* after_ball_lit[] = {&att_bank_pointer_lit.header, nullptr};
SpriteElement att_ball_lit = att_ball(0x4003, after_ball_lit);
ElementHeader* after_face[] = {&att_ball_lit.header, nullptr};
StaticElement att_face = static_element(
    element_header(ELEMENT_STATIC, ATT_FACE_BITMAP, 0, 0, &attitude_header, after_face, nullptr, 0x3));
ElementHeader* att_root_slot = &att_face.header;

// ---- mouse areas -----------------------------------------------------------------

MouseRect att_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_child(181, 189, 48, 88, CURSOR_DECREASE, MOUSE_FLAG_CLICK, att_offset_decrease),
    mouse_child(229, 189, 48, 88, CURSOR_INCREASE, MOUSE_FLAG_CLICK, att_offset_increase),
    mouse_parent_end(),
    mouse_end(),
};

} // namespace

GaugeHeader attitude_header = {
    GAUGE_VERSION_700, "attitude", &att_root_slot, MODULE_LIFECYCLE, 0, 38, {}, att_mouse, att_gauge_callback, {},
};

namespace {

// ---- state -----------------------------------------------------------------------

constexpr i32 ATT_OFFSET_LIMIT = 5;
constexpr f64 ATT_PITCH_LIMIT = 40.0;

i32 att_pitch_offset = 0;
ModuleVar att_panel_lights = module_var(VAR_PANEL_LIGHTS);

// ---- callbacks -------------------------------------------------------------------

// The pitch is limited before the knob's offset is added: the ball spans -45 to 45.
f64 GAUGE_CALL att_pitch_value(ElementHeader* element) {
    const f64 pitch = reinterpret_cast<SpriteElement*>(element)->variable_y.value;
    if (pitch > ATT_PITCH_LIMIT) return ATT_PITCH_LIMIT + att_pitch_offset;
    if (pitch < -ATT_PITCH_LIMIT) return -ATT_PITCH_LIMIT + att_pitch_offset;
    return pitch + att_pitch_offset;
}

f64 GAUGE_CALL att_knob_value(ElementHeader*) { return att_pitch_offset; }

u32 GAUGE_CALL att_offset_increase(u32, u32) {
    if (att_pitch_offset != ATT_OFFSET_LIMIT) ++att_pitch_offset;
    return 0;
}
u32 GAUGE_CALL att_offset_decrease(u32, u32) {
    if (att_pitch_offset != -ATT_OFFSET_LIMIT) --att_pitch_offset;
    return 0;
}

constexpr u32 ATT_LIT_STEPS[] = {1, 2, 3};
constexpr u32 ATT_UNLIT_STEPS[] = {4, 5, 6};

void GAUGE_CALL att_gauge_callback(GaugeHeader* header, u32 service, u32) {
    if (service != SERVICE_UPDATE) return;
    show_lit_or_unlit(root_of(header), panel_lights_on(att_panel_lights), ATT_LIT_STEPS, ATT_UNLIT_STEPS);
}

} // namespace
