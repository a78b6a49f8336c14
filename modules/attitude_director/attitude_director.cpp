// "mvx3": the attitude director indicator. An attitude sphere that moves with pitch and
// turns with bank, a bank pointer, flight-director command bars, glideslope and lateral
// deviation pointers, an inclinometer ball, a radio-altitude tape, a decision-height lamp
// and four warning elements: the radio-altitude, glideslope and gyro/computer flags and
// a shutter over the lateral deviation pointer.
//
// Every part but the lamp is in the chain twice, an unlit set (steps 2 to 16) and a lit
// set (steps 17 to 32); the gauge callback shows one set, chosen by the panel lights, and
// raises the warning elements of that set from instrument power and four failure
// variables. The gauge publishes "radalt_adi", a decision height in whole feet that
// another gauge on the panel may write; the lamp lights while the radio height is below it.
#include "numbers.h"
#include "panel_services.h"
#include "simvars.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// ---- bitmaps ----------------------------------------------------------------------

constexpr u32 BITMAP_FACE = 0x1000;
constexpr u32 BITMAP_BANK_POINTER = 0x1003;     // followed by its window, 0x1004
constexpr u32 BITMAP_BEZEL = 0x2000;
constexpr u32 BITMAP_SPHERE = 0x2003;           // followed by its window, 0x2004
constexpr u32 BITMAP_GLIDESLOPE_POINTER = 0x2009;
constexpr u32 BITMAP_GLIDESLOPE_FLAG = 0x200c;
constexpr u32 BITMAP_GYRO_FLAG = 0x2012;
constexpr u32 BITMAP_DH_LAMP = 0x3000;
constexpr u32 BITMAP_COURSE_POINTER = 0x3006;
constexpr u32 BITMAP_BALL = 0x3009;
constexpr u32 BITMAP_RADIO_FLAG = 0x300f;
constexpr u32 BITMAP_TAPE_MARKER = 0x3012;
constexpr u32 BITMAP_RADIO_TAPE = 0x3015;       // followed by its window, 0x3016
constexpr u32 BITMAP_GLIDESLOPE_SCALE = 0x3021;
constexpr u32 BITMAP_COMMAND_BARS = 0x3024;     // followed by its window, 0x3025
constexpr u32 BITMAP_LOWER_SCALE = 0x3030;
constexpr u32 BITMAP_SHUTTER = 0x3033;
constexpr u32 BITMAP_LIT_TUBE = 0x3035;

// ---- element chain, leaf first ------------------------------------------------------

extern GaugeHeader adi_header;
f64 GAUGE_CALL adi_tape_x_value(ElementHeader* element);
f64 GAUGE_CALL adi_radio_height_value(ElementHeader* element);
f64 GAUGE_CALL adi_pitch_value(ElementHeader* element);

// The tape is marked 0 to 200 feet every 10, 49 pixels per 10: its 1100 pixels span 0 to 225.
constexpr f64 TAPE_TOP_FEET = 225.0;

FailureRecord adi_lamp_failures[] = {{20, 2, 0}, {0, 0, 0}};
FailureRecord adi_tape_failures[] = {{20, 1, 0}, {0, 0, 0}};
FailureRecord adi_nav_failures[] = {{20, 1, 0}, {14, 1, 0}, {0, 0, 0}};
FailureRecord adi_attitude_failures[] = {{20, 0, 0}, {0, 0, 0}};

constexpr ModuleVar bound(u32 id) { return {id, nullptr, 0, 0, 0}; }
constexpr ModuleVar UNBOUND = {0, nullptr, 0, 0, 0};

constexpr ElementHeader element_header(ElementKind kind, u32 bitmap, i32 x, i32 y, u32 image_flags,
                                       ElementHeader** next, FailureRecord* failures) {
    return {kind, bitmap, x, y, 0, 0, 0, 0, &adi_header, nullptr, next, failures, image_flags, 0, 0};
}

constexpr IconElement icon(u32 bitmap, i32 x, i32 y, u32 image_flags, ElementHeader** next,
                           FailureRecord* failures = nullptr) {
    return {element_header(ELEMENT_ICON, bitmap, x, y, image_flags, next, failures), UNBOUND, {}, 1, {}, nullptr};
}

// The twins of each moving part differ only in their flags and their place in the chain.
constexpr SliderElement course_pointer(u32 image_flags, ElementHeader** next) {
    return {element_header(ELEMENT_SLIDER, BITMAP_COURSE_POINTER, 135, 192, image_flags, next, adi_nav_failures),
            bound(VAR_NAV1_COURSE_DEVIATION), 0, 0.38, 0, UNBOUND, 0, 0.0, {}};
}

constexpr SliderElement glideslope_pointer(u32 image_flags, ElementHeader** next) {
    return {element_header(ELEMENT_SLIDER, BITMAP_GLIDESLOPE_POINTER, 22, 137, image_flags, next, adi_nav_failures),
            UNBOUND, 0, 0.0, 0, bound(VAR_NAV1_GLIDESLOPE_DEVIATION), 0, 0.4, {}};
}

constexpr SliderElement inclinometer_ball(u32 image_flags, ElementHeader** next) {
    return {element_header(ELEMENT_SLIDER, BITMAP_BALL, 140, 253, image_flags, next, nullptr),
            bound(VAR_SLIP_BALL), 0, 0.47, 0, UNBOUND, 0, 0.0, {}};
}

// The tape stands still across and moves up and down with the radio height.
constexpr MovingElement radio_tape(u32 image_flags, ElementHeader** next) {
    return {element_header(ELEMENT_MOVING, BITMAP_RADIO_TAPE, 248, 84, image_flags, next, adi_tape_failures),
            UNBOUND, 0, 0.0, 0.0, 0,
            UNBOUND, 0, 0.0, TAPE_TOP_FEET, {},
            adi_tape_x_value, adi_radio_height_value, {}};
}

// The sphere and the command bars move with the clamped pitch and turn with the bank.
constexpr SpriteElement pitch_sprite(u32 bitmap, u32 image_flags, ElementHeader** next, FailureRecord* failures) {
    ElementHeader header = element_header(ELEMENT_SPRITE, bitmap, 49, 36, image_flags, next, failures);
    header.offset_x = 145;
    header.offset_y = 128;
    return {header, UNBOUND, 0, 0.0, bound(VAR_ATTITUDE_PITCH), 0, 2.0, bound(VAR_ATTITUDE_BANK), 0, -1.0,
            0.8f, 0.8f, {}, nullptr, adi_pitch_value, nullptr, {}};
}

constexpr SpriteElement bank_pointer(u32 image_flags, ElementHeader** next) {
    ElementHeader header = element_header(ELEMENT_SPRITE, BITMAP_BANK_POINTER, 49, 36, image_flags, next,
                                          adi_attitude_failures);
    header.offset_x = 146;
    header.offset_y = 154;
    return {header, UNBOUND, 0, 0.0, UNBOUND, 0, 0.0, bound(VAR_ATTITUDE_BANK), 0, -1.0,
            1.0f, 1.0f, {}, nullptr, nullptr, nullptr, {}};
}

// Lit set, steps 17 to 32. The ball (23) and the lower scale (31) of this set carry no
// lit flag of their own; the tube (22) has no unlit twin.
constinit IconElement adi_bezel_lit = icon(BITMAP_BEZEL, 42, 0, IMAGE_FLAG_LIT | 0x1, nullptr);
ElementHeader* adi_bezel_lit_next[] = {&adi_bezel_lit.header, nullptr};
constinit IconElement adi_lower_scale_lit = icon(BITMAP_LOWER_SCALE, 75, 212, 0x2, adi_bezel_lit_next);
ElementHeader* adi_lower_scale_lit_next[] = {&adi_lower_scale_lit.header, nullptr};
constinit IconElement adi_shutter_lit =
    icon(BITMAP_SHUTTER, 86, 191, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x3, adi_lower_scale_lit_next);
ElementHeader* adi_shutter_lit_next[] = {&adi_shutter_lit.header, nullptr};
constinit IconElement adi_gyro_flag_lit =
    icon(BITMAP_GYRO_FLAG, 68, 170, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x3, adi_shutter_lit_next);
ElementHeader* adi_gyro_flag_lit_next[] = {&adi_gyro_flag_lit.header, nullptr};
constinit IconElement adi_glideslope_flag_lit =
    icon(BITMAP_GLIDESLOPE_FLAG, 21, 83, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x3, adi_gyro_flag_lit_next);
ElementHeader* adi_glideslope_flag_lit_next[] = {&adi_glideslope_flag_lit.header, nullptr};
constinit IconElement adi_radio_flag_lit =
    icon(BITMAP_RADIO_FLAG, 247, 83, IMAGE_FLAG_HIDDEN | IMAGE_FLAG_LIT | 0x3, adi_glideslope_flag_lit_next);
ElementHeader* adi_radio_flag_lit_next[] = {&adi_radio_flag_lit.header, nullptr};
constinit SpriteElement adi_command_bars_lit =
    pitch_sprite(BITMAP_COMMAND_BARS, IMAGE_FLAG_LIT | 0x83, adi_radio_flag_lit_next, adi_nav_failures);
ElementHeader* adi_command_bars_lit_next[] = {&adi_command_bars_lit.header, nullptr};
constinit SpriteElement adi_bank_pointer_lit = bank_pointer(IMAGE_FLAG_LIT | 0x81, adi_command_bars_lit_next);
ElementHeader* adi_bank_pointer_lit_next[] = {&adi_bank_pointer_lit.header, nullptr};
constinit SpriteElement adi_sphere_lit =
    pitch_sprite(BITMAP_SPHERE, IMAGE_FLAG_LIT | 0x1, adi_bank_pointer_lit_next, adi_attitude_failures);
ElementHeader* adi_sphere_lit_next[] = {&adi_sphere_lit.header, nullptr};
constinit SliderElement adi_ball_lit = inclinometer_ball(0x3, adi_sphere_lit_next);
ElementHeader* adi_ball_lit_next[] = {&adi_ball_lit.header, nullptr};
constinit IconElement adi_tube_lit = icon(BITMAP_LIT_TUBE, 78, 247, IMAGE_FLAG_LIT | 0x1, adi_ball_lit_next);
ElementHeader* adi_tube_lit_next[] = {&adi_tube_lit.header, nullptr};
constinit IconElement adi_tape_marker_lit =
    icon(BITMAP_TAPE_MARKER, 248, 94, IMAGE_FLAG_LIT | 0x1, adi_tube_lit_next);
ElementHeader* adi_tape_marker_lit_next[] = {&adi_tape_marker_lit.header, nullptr};
constinit MovingElement adi_radio_tape_lit = radio_tape(IMAGE_FLAG_LIT | 0x82, adi_tape_marker_lit_next);
ElementHeader* adi_radio_tape_lit_next[] = {&adi_radio_tape_lit.header, nullptr};
constinit SliderElement adi_glideslope_pointer_lit =
    glideslope_pointer(IMAGE_FLAG_LIT | 0x83, adi_radio_tape_lit_next);
ElementHeader* adi_glideslope_pointer_lit_next[] = {&adi_glideslope_pointer_lit.header, nullptr};
constinit IconElement adi_glideslope_scale_lit =
    icon(BITMAP_GLIDESLOPE_SCALE, 22, 92, IMAGE_FLAG_LIT | 0x2, adi_glideslope_pointer_lit_next);
ElementHeader* adi_glideslope_scale_lit_next[] = {&adi_glideslope_scale_lit.header, nullptr};
constinit SliderElement adi_course_pointer_lit = course_pointer(IMAGE_FLAG_LIT | 0x83, adi_glideslope_scale_lit_next);
ElementHeader* adi_course_pointer_lit_next[] = {&adi_course_pointer_lit.header, nullptr};

// Unlit set, steps 2 to 16.
constinit IconElement adi_bezel = icon(BITMAP_BEZEL, 42, 0, 0x1, adi_course_pointer_lit_next);
ElementHeader* adi_bezel_next[] = {&adi_bezel.header, nullptr};
constinit IconElement adi_lower_scale = icon(BITMAP_LOWER_SCALE, 75, 212, 0x2, adi_bezel_next);
ElementHeader* adi_lower_scale_next[] = {&adi_lower_scale.header, nullptr};
constinit IconElement adi_shutter = icon(BITMAP_SHUTTER, 86, 191, IMAGE_FLAG_HIDDEN | 0x3, adi_lower_scale_next);
ElementHeader* adi_shutter_next[] = {&adi_shutter.header, nullptr};
constinit IconElement adi_gyro_flag = icon(BITMAP_GYRO_FLAG, 68, 170, IMAGE_FLAG_HIDDEN | 0x3, adi_shutter_next);
ElementHeader* adi_gyro_flag_next[] = {&adi_gyro_flag.header, nullptr};
constinit IconElement adi_glideslope_flag =
    icon(BITMAP_GLIDESLOPE_FLAG, 21, 83, IMAGE_FLAG_HIDDEN | 0x3, adi_gyro_flag_next);
ElementHeader* adi_glideslope_flag_next[] = {&adi_glideslope_flag.header, nullptr};
constinit IconElement adi_radio_flag =
    icon(BITMAP_RADIO_FLAG, 247, 83, IMAGE_FLAG_HIDDEN | 0x3, adi_glideslope_flag_next);
ElementHeader* adi_radio_flag_next[] = {&adi_radio_flag.header, nullptr};
constinit SpriteElement adi_command_bars =
    pitch_sprite(BITMAP_COMMAND_BARS, 0x83, adi_radio_flag_next, adi_nav_failures);
ElementHeader* adi_command_bars_next[] = {&adi_command_bars.header, nullptr};
constinit SpriteElement adi_bank_pointer = bank_pointer(0x81, adi_command_bars_next);
ElementHeader* adi_bank_pointer_next[] = {&adi_bank_pointer.header, nullptr};
constinit SpriteElement adi_sphere = pitch_sprite(BITMAP_SPHERE, 0x1, adi_bank_pointer_next, adi_attitude_failures);
ElementHeader* adi_sphere_next[] = {&adi_sphere.header, nullptr};
constinit SliderElement adi_ball = inclinometer_ball(0x3, adi_sphere_next);
ElementHeader* adi_ball_next[] = {&adi_ball.header, nullptr};
constinit IconElement adi_tape_marker = icon(BITMAP_TAPE_MARKER, 248, 94, 0x1, adi_ball_next);
ElementHeader* adi_tape_marker_next[] = {&adi_tape_marker.header, nullptr};
constinit MovingElement adi_radio_tape = radio_tape(0x82, adi_tape_marker_next);
ElementHeader* adi_radio_tape_next[] = {&adi_radio_tape.header, nullptr};
constinit SliderElement adi_glideslope_pointer = glideslope_pointer(0x83, adi_radio_tape_next);
ElementHeader* adi_glideslope_pointer_next[] = {&adi_glideslope_pointer.header, nullptr};
constinit IconElement adi_glideslope_scale = icon(BITMAP_GLIDESLOPE_SCALE, 22, 92, 0x2, adi_glideslope_pointer_next);
ElementHeader* adi_glideslope_scale_next[] = {&adi_glideslope_scale.header, nullptr};
constinit SliderElement adi_course_pointer = course_pointer(0x83, adi_glideslope_scale_next);
ElementHeader* adi_course_pointer_next[] = {&adi_course_pointer.header, nullptr};

// The lamp belongs to neither set.
constinit IconElement adi_dh_lamp = icon(BITMAP_DH_LAMP, 256, 24, 0x6, adi_course_pointer_next, adi_lamp_failures);
ElementHeader* adi_dh_lamp_next[] = {&adi_dh_lamp.header, nullptr};

constinit StaticElement adi_face = {
    element_header(ELEMENT_STATIC, BITMAP_FACE, 0, 0, 0x1, adi_dh_lamp_next, nullptr), {},
};
ElementHeader* adi_root_slot[] = {&adi_face.header, nullptr};

// ---- mouse areas: none of its own, one whole-face parent ------------------------------

MouseRect adi_mouse[] = {mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0), mouse_parent_end(), mouse_end()};

// ---- gauge and module ---------------------------------------------------------------

void GAUGE_CALL adi_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

GaugeHeader adi_header = {
    GAUGE_VERSION_700, "mvx3", adi_root_slot, MODULE_LIFECYCLE, 0, 38, {}, adi_mouse, adi_gauge_callback, {},
};

LinkageRecord Linkage = {MODULE_ID, module_nothing, module_nothing, {0, 0, 0}, {&adi_header, nullptr}};

// ---- state --------------------------------------------------------------------------

constexpr char RADALT_NAME[] = "radalt_adi";

// Published as "radalt_adi": a decision height in whole feet, 0 for none. Other gauges
// write it through the host; this gauge only reads it, as an unsigned number.
u32 adi_decision_height = 0;
// Height above ground in whole metres, from the last tape callback.
i32 adi_radio_height = 0;
// Kept from the last powered update with the lights exactly off or on.
i32 adi_glideslope_status = 0;
i32 adi_failure_279 = 0;
i32 adi_failure_285 = 0;
i32 adi_failure_288 = 0;
i32 adi_failure_278 = 0;

ModuleVar adi_power_var = bound(VAR_INSTRUMENT_POWER);
ModuleVar adi_lights_var = bound(VAR_PANEL_LIGHTS);
ModuleVar adi_altitude_var = bound(VAR_ALTITUDE);
ModuleVar adi_ground_elevation_var = bound(VAR_GROUND_ELEVATION);
ModuleVar adi_glideslope_var = bound(VAR_NAV1_GLIDESLOPE_STATUS);
ModuleVar adi_failure_279_var = bound(VAR_FAILURE_279);
ModuleVar adi_failure_285_var = bound(VAR_FAILURE_285);
ModuleVar adi_failure_288_var = bound(VAR_FAILURE_288);
ModuleVar adi_failure_278_var = bound(VAR_FAILURE_278);

// ---- callbacks ----------------------------------------------------------------------

constexpr f64 FEET_PER_METRE = 3.28083989501312;
constexpr f64 PITCH_LIMIT = 43.0;
// Without a decision height the lamp lights below this radio height.
constexpr i32 DEFAULT_LAMP_HEIGHT_METRES = 63;

f64 GAUGE_CALL adi_tape_x_value(ElementHeader*) { return 1.0; }

// The ground elevation comes in metres x 256. The difference is held to 32 bits, so an
// altitude far off the scale reads as the nearest representable height, never wrapping
// to the other end.
f64 GAUGE_CALL adi_radio_height_value(ElementHeader*) {
    panel()->lookup_module_var(&adi_altitude_var);
    const i32 altitude = truncate_to_i32(adi_altitude_var.value);
    panel()->lookup_module_var(&adi_ground_elevation_var);
    const i32 ground = truncate_to_i32(adi_ground_elevation_var.value) / 256;
    const std::int64_t height = static_cast<std::int64_t>(altitude) - ground;
    adi_radio_height = static_cast<i32>(std::clamp<std::int64_t>(height, INT32_MIN, INT32_MAX));
    return adi_radio_height * FEET_PER_METRE;
}

// Keeps the sphere and the command bars inside the face; a pitch that is no number at
// all shows level rather than handing the host an undefined position.
f64 GAUGE_CALL adi_pitch_value(ElementHeader* element) {
    const f64 pitch = reinterpret_cast<SpriteElement*>(element)->variable_y.value;
    if (pitch > PITCH_LIMIT) return PITCH_LIMIT;
    if (pitch < -PITCH_LIMIT) return -PITCH_LIMIT;
    if (std::isnan(pitch)) return 0.0;
    return pitch;
}

namespace {

void show(ElementHeader* root, u32 step) { clear_chain_flags(root, step, IMAGE_FLAG_HIDDEN); }
void hide(ElementHeader* root, u32 step) { set_chain_flags(root, step, IMAGE_FLAG_HIDDEN); }
void show_if(ElementHeader* root, u32 step, bool shown) { shown ? show(root, step) : hide(root, step); }
void show_steps(ElementHeader* root, u32 first, u32 last) {
    for (u32 step = first; step <= last; ++step) show(root, step);
}
void hide_steps(ElementHeader* root, u32 first, u32 last) {
    for (u32 step = first; step <= last; ++step) hide(root, step);
}

constexpr u32 STEP_DH_LAMP = 1;
// Unlit steps of the parts the callback decides; a lit twin sits `base` steps further on.
constexpr u32 STEP_COMMAND_BARS = 10;
constexpr u32 STEP_RADIO_FLAG = 11;
constexpr u32 STEP_GLIDESLOPE_FLAG = 12;
constexpr u32 STEP_GYRO_FLAG = 13;
constexpr u32 STEP_SHUTTER = 14;
constexpr u32 STEP_LOWER_SCALE = 15;
constexpr u32 STEP_BEZEL = 16;

struct LightSet {
    u32 first, last_instrument; // always shown with the set: its first element to its bank pointer
    u32 base;                   // the set's command bars, flags, lower scale and bezel: unlit step + base
    u32 other_first, other_last;
    // The lateral-navigation failure raises the glideslope flag and, in the unlit set,
    // the shutter, in the lit set the gyro/computer flag.
    u32 nav_failure_flag;
};
constexpr LightSet UNLIT_SET = {2, 9, 0, 17, 32, STEP_SHUTTER};
constexpr LightSet LIT_SET = {17, 25, 16, 2, 16, STEP_GYRO_FLAG + 16};

i32 read_failure(ModuleVar& var) {
    panel()->lookup_module_var(&var);
    return module_var_i32(var);
}

void show_decision_height_lamp(ElementHeader* root) {
    bool lit;
    if (adi_radio_height < DEFAULT_LAMP_HEIGHT_METRES && adi_failure_279 == 0 && adi_decision_height == 0) {
        lit = true;
    } else {
        lit = static_cast<f64>(adi_decision_height) > adi_radio_height * FEET_PER_METRE;
    }
    show_if(root, STEP_DH_LAMP, lit);
}

// Powered: the set's instruments, then its warning elements from the failure variables,
// the first failure in order of precedence deciding.
void show_powered_set(ElementHeader* root, const LightSet& set) {
    const u32 b = set.base;
    show_steps(root, set.first, set.last_instrument);
    show(root, STEP_LOWER_SCALE + b);
    show(root, STEP_BEZEL + b);
    hide_steps(root, set.other_first, set.other_last);

    panel()->lookup_module_var(&adi_glideslope_var);
    adi_glideslope_status = truncate_to_i32(adi_glideslope_var.value);
    show_if(root, STEP_GLIDESLOPE_FLAG + b, adi_glideslope_status == 1);

    adi_failure_279 = read_failure(adi_failure_279_var);
    adi_failure_285 = read_failure(adi_failure_285_var);
    adi_failure_288 = read_failure(adi_failure_288_var);
    adi_failure_278 = read_failure(adi_failure_278_var);

    if (adi_failure_279 != 0) {
        show_steps(root, STEP_RADIO_FLAG + b, STEP_SHUTTER + b);
        hide(root, STEP_COMMAND_BARS + b);
        hide(root, STEP_DH_LAMP);
    } else if (adi_failure_285 != 0) {
        show(root, STEP_GLIDESLOPE_FLAG + b);
        show(root, set.nav_failure_flag);
        hide(root, STEP_COMMAND_BARS + b);
    } else if (adi_failure_278 != 0) {
        show(root, STEP_GYRO_FLAG + b); // the command bars stay as they were
        show(root, STEP_SHUTTER + b);
    } else if (adi_failure_288 != 0) {
        show(root, STEP_SHUTTER + b);
        hide(root, STEP_COMMAND_BARS + b);
    } else {
        hide_steps(root, STEP_RADIO_FLAG + b, STEP_SHUTTER + b);
        show(root, STEP_COMMAND_BARS + b);
    }
}

// Unpowered: every flag of the set in view, no command bars, no lamp.
void show_unpowered_set(ElementHeader* root, const LightSet& set) {
    const u32 b = set.base;
    show_steps(root, set.first, set.last_instrument);
    show_steps(root, STEP_RADIO_FLAG + b, STEP_BEZEL + b);
    hide(root, STEP_COMMAND_BARS + b);
    hide_steps(root, set.other_first, set.other_last);
    hide(root, STEP_DH_LAMP);
}

void adi_update(ElementHeader* root) {
    panel()->lookup_module_var(&adi_power_var);
    panel()->lookup_module_var(&adi_lights_var);
    const f64 lights = adi_lights_var.value;
    if (adi_power_var.value != 1.0) {
        // Any lights value but exactly 0 selects the lit set here.
        show_unpowered_set(root, lights == 0.0 ? UNLIT_SET : LIT_SET);
        return;
    }
    show_decision_height_lamp(root);
    // A lights value other than exactly 0 or 1 leaves everything but the lamp as it was.
    if (lights == 0.0) {
        show_powered_set(root, UNLIT_SET);
    } else if (lights == 1.0) {
        show_powered_set(root, LIT_SET);
    }
}

} // namespace

void GAUGE_CALL adi_gauge_callback(GaugeHeader* header, u32 service, u32) {
    switch (service) {
    case SERVICE_INSTALL: panel()->register_named_var(&adi_decision_height, NAMED_VAR_TYPE_CELL, RADALT_NAME); break;
    case SERVICE_UPDATE: adi_update(*header->root_slot); break;
    case SERVICE_KILL: panel()->unregister_named_var(RADALT_NAME); break;
    default: break;
    }
}
