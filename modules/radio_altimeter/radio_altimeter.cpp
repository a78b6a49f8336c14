// "ZEVA_TRX_410": a radio altimeter of the older (version 610) gauge generation. A pointer
// shows the height above the ground from 0 to 2500 ft, a marker shows the decision height
// the pilot sets in 5 ft steps, and a lamp goes from dark (2500 ft and above) to in range
// (below 2500 ft) to lit (below the decision height), sounding the alert tone once per
// descent through the decision height. Its own lifecycle routines register the mouse
// areas, bind the two variables it reads, keep the decision height across runs and own
// the alert tone.

// The framework before the Windows headers: they define some of its names as macros.
#include "numbers.h"
#include "panel_services.h"
#include "simvars.h"

#include "alert_sound.h"
#include "decision_height_store.h"

#include <array>
#include <cstdint>

// ---- bitmaps ---------------------------------------------------------------------------

constexpr u32 BITMAP_FACE = 0x1000;
constexpr u32 BITMAP_POINTER = 0x2000;
constexpr u32 BITMAP_DH_MARKER = 0x2100;
constexpr u32 BITMAP_DH_LAMP = 0x3000; // pictures 0x3000, 0x3003, 0x3006

// ---- element chain: face, DH lamp, DH marker, pointer ------------------------------------

f64 GAUGE_CALL radio_height_value(u32, u32);
f64 GAUGE_CALL dh_marker_value(u32, u32);
f64 GAUGE_CALL dh_lamp_value(u32);
u32 GAUGE_CALL dh_increase(u32, u32);
u32 GAUGE_CALL dh_decrease(u32, u32);

extern GaugeHeader610 radio_altimeter_header;
#define RADIO_ALTIMETER_GAUGE reinterpret_cast<GaugeHeader*>(&radio_altimeter_header)

constexpr u32 IMAGE_FLAGS_FACE = 0x4001;
constexpr u32 IMAGE_FLAGS_PARTS = 0x4003;
constexpr u32 NEEDLE_LEGACY_WORDS[2] = {15, 52};
constexpr i32 POINTER_MAX_DEGREES_PER_TICK = 6;
constexpr i32 MARKER_MAX_DEGREES_PER_TICK = 0;
constexpr u32 LAMP_PICTURES = 3;

// The radio altimeter failure zeroes every element.
FailureRecord radio_altimeter_failures[] = {{1, 2, 0}, {0, 0, 0}};

// Dial points on the face, feet. 0 to 500 ft take more than half the dial; the last
// point parks a needle just past the 2500 mark.
constexpr std::array<NonlinearityEntry, 12> DIAL_CALIBRATION = {{
    {151, 38, 0.0, {}},
    {182, 42, 50.0, {}},
    {210, 55, 100.0, {}},
    {250, 99, 200.0, {}},
    {265, 158, 300.0, {}},
    {243, 214, 400.0, {}},
    {194, 253, 500.0, {}},
    {155, 261, 1000.0, {}},
    {117, 254, 1500.0, {}},
    {82, 236, 2000.0, {}},
    {56, 208, 2500.0, {}},
    {48, 185, 99999.0, {}},
}};
std::array<NonlinearityEntry, 12> pointer_calibration = DIAL_CALIBRATION;
std::array<NonlinearityEntry, 12> dh_marker_calibration = DIAL_CALIBRATION;

NeedleElement610 pointer = {
    {ELEMENT_NEEDLE, BITMAP_POINTER, 151, 156, 0, 0, 6, 11, RADIO_ALTIMETER_GAUGE, nullptr, nullptr,
     radio_altimeter_failures, IMAGE_FLAGS_PARTS, 0, 0},
    {0, nullptr, 0, 0, 0}, 0, radio_height_value, {}, {NEEDLE_LEGACY_WORDS[0], NEEDLE_LEGACY_WORDS[1]},
    pointer_calibration.data(), pointer_calibration.size(), POINTER_MAX_DEGREES_PER_TICK, {},
};
ElementHeader* dh_marker_next[] = {&pointer.header, nullptr};

NeedleElement610 dh_marker = {
    {ELEMENT_NEEDLE, BITMAP_DH_MARKER, 151, 156, 0, 0, 6, 11, RADIO_ALTIMETER_GAUGE, nullptr, dh_marker_next,
     radio_altimeter_failures, IMAGE_FLAGS_PARTS, 0, 0},
    {0, nullptr, 0, 0, 0}, 0, dh_marker_value, {}, {NEEDLE_LEGACY_WORDS[0], NEEDLE_LEGACY_WORDS[1]},
    dh_marker_calibration.data(), dh_marker_calibration.size(), MARKER_MAX_DEGREES_PER_TICK, {},
};
ElementHeader* dh_lamp_next[] = {&dh_marker.header, nullptr};

IconElement610 dh_lamp = {
    {ELEMENT_ICON, BITMAP_DH_LAMP, 100, 50, 0, 0, 6, 12, RADIO_ALTIMETER_GAUGE, nullptr, dh_lamp_next,
     radio_altimeter_failures, IMAGE_FLAGS_PARTS, 0, 0},
    {0, nullptr, 0, 0, 0}, dh_lamp_value, {}, LAMP_PICTURES, {},
};
ElementHeader* face_next[] = {&dh_lamp.header, nullptr};

StaticElement610 face = {
    {ELEMENT_STATIC, BITMAP_FACE, 0, 0, 0, 0, 0, 0, RADIO_ALTIMETER_GAUGE, nullptr, face_next,
     radio_altimeter_failures, IMAGE_FLAGS_FACE, 0, 0},
    nullptr, {},
};
ElementHeader* radio_altimeter_root = &face.header;

// ---- mouse areas: decrease (lower left) and increase (right of it) ---------------------

constexpr u32 DH_KNOB_MOUSE_FLAGS = MOUSE_FLAG_CLICK | MOUSE_FLAG_REPEAT;

MouseRect radio_altimeter_mouse_areas[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_parent(0, 240, 45, 45, CURSOR_DECREASE, 0, DH_KNOB_MOUSE_FLAGS, dh_decrease),
    mouse_parent_end(),
    mouse_parent(50, 240, 45, 45, CURSOR_INCREASE, 0, DH_KNOB_MOUSE_FLAGS, dh_increase),
    mouse_parent_end(),
    mouse_parent_end(),
    mouse_end(),
};

// ---- the gauge ---------------------------------------------------------------------------

u32 GAUGE_CALL radio_altimeter_query();
u32 GAUGE_CALL radio_altimeter_install(u32 install_argument);
u32 GAUGE_CALL radio_altimeter_initialize();
u32 GAUGE_CALL radio_altimeter_update();
u32 GAUGE_CALL radio_altimeter_generate(u32 generate_argument);
u32 GAUGE_CALL radio_altimeter_draw();
u32 GAUGE_CALL radio_altimeter_kill();

constexpr u32 DEFAULT_SIZE_MM = 57;

GaugeHeader610 radio_altimeter_header = {
    GAUGE_VERSION_610, "ZEVA_TRX_410", &radio_altimeter_root,
    {radio_altimeter_query, radio_altimeter_install, radio_altimeter_initialize, radio_altimeter_update,
     radio_altimeter_generate, radio_altimeter_draw, radio_altimeter_kill},
    0, DEFAULT_SIZE_MM, {},
};

LinkageRecord Linkage = {
    MODULE_ID, module_nothing, module_nothing, {0, 0, 0}, {RADIO_ALTIMETER_GAUGE, nullptr},
};

// ---- state ---------------------------------------------------------------------------------

constexpr char ALERT_SOUND_PATH[] = ".\\Sound\\RA_BEEP.WAV";
constexpr i32 LAMP_RANGE_FT = 2500;
constexpr i32 ALERT_ARMING_HEIGHT_FT = 1000;
constexpr i32 DH_STEP_FT = 5;
constexpr f64 GROUND_ELEVATION_SCALE = 256.0;
// Metres are taken as feet with this factor, not 3.2808.
constexpr f64 FEET_PER_METRE = 3.0;

enum LampPicture : i32 { LAMP_DARK = 0, LAMP_IN_RANGE = 1, LAMP_BELOW_DH = 2 };

i32 decision_height = 0;
i32 radio_height = 0;
bool dh_alert_armed = false;
HWND owner_window = nullptr;
AlertSound* alert_sound = nullptr;
ModuleVar altitude_var = {VAR_ALTITUDE, nullptr, 0, 0, 0};
ModuleVar ground_elevation_var = {VAR_GROUND_ELEVATION, nullptr, 0, 0, 0};
// Whether the setting was read since the module was loaded: until then kill has only
// the never-loaded 0 to save, which must not replace the pilot's stored setting.
bool decision_height_loaded = false;

// ---- lifecycle routines -----------------------------------------------------------------

u32 GAUGE_CALL radio_altimeter_query() { return panel()->query_elements(radio_altimeter_root); }

u32 GAUGE_CALL radio_altimeter_install(u32 install_argument) {
    panel()->install_elements(radio_altimeter_root, install_argument);
    // The host's face bitmap record, as install_elements left it, advanced by 4 bytes.
    void* face_record_plus_4 = reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(face.bitmap_record) + 4);
    panel()->install_mouse_areas(radio_altimeter_mouse_areas, RADIO_ALTIMETER_GAUGE, face_record_plus_4);
    return panel()->register_mouse_areas(radio_altimeter_mouse_areas, RADIO_ALTIMETER_GAUGE);
}

u32 GAUGE_CALL radio_altimeter_initialize() {
    load_decision_height();
    decision_height_loaded = true;
    owner_window = GetActiveWindow();
    // A second placed copy shares the one tone: the earlier one is let go, not leaked.
    release_alert_sound(alert_sound);
    alert_sound = load_alert_sound(owner_window, ALERT_SOUND_PATH);
    panel()->initialize_elements(radio_altimeter_root);
    panel()->initialize_module_var(&altitude_var);
    return panel()->initialize_module_var(&ground_elevation_var);
}

u32 GAUGE_CALL radio_altimeter_update() {
    panel()->update_elements(radio_altimeter_root);
    panel()->lookup_module_var(&altitude_var);
    return panel()->lookup_module_var(&ground_elevation_var);
}

u32 GAUGE_CALL radio_altimeter_generate(u32 generate_argument) {
    return panel()->generate_elements(radio_altimeter_root, generate_argument);
}

u32 GAUGE_CALL radio_altimeter_draw() { return panel()->draw_elements(radio_altimeter_root); }

u32 GAUGE_CALL radio_altimeter_kill() {
    if (decision_height_loaded) save_decision_height();
    release_alert_sound(alert_sound);
    alert_sound = nullptr; // a later update of another copy must not reach the freed tone
    panel()->unregister_mouse_areas(radio_altimeter_mouse_areas, RADIO_ALTIMETER_GAUGE);
    return panel()->kill_elements(radio_altimeter_root);
}

// ---- value callbacks ---------------------------------------------------------------------

f64 GAUGE_CALL radio_height_value(u32, u32) {
    const f64 height_m = altitude_var.value - ground_elevation_var.value / GROUND_ELEVATION_SCALE;
    radio_height = truncate_to_i32(height_m * FEET_PER_METRE);
    return radio_height;
}

f64 GAUGE_CALL dh_marker_value(u32, u32) {
    if (decision_height < 0) decision_height = 0;
    return decision_height;
}

// The lamp uses the radio height the pointer computed last.
f64 GAUGE_CALL dh_lamp_value(u32) {
    i32 picture = LAMP_DARK;
    if (radio_height < LAMP_RANGE_FT) picture = LAMP_IN_RANGE;
    if (radio_height > ALERT_ARMING_HEIGHT_FT) dh_alert_armed = true;
    if (radio_height < decision_height) picture = LAMP_BELOW_DH;
    if (picture == LAMP_BELOW_DH && dh_alert_armed) {
        play_alert_sound(owner_window, alert_sound);
        dh_alert_armed = false;
    }
    return picture;
}

// ---- mouse functions: no bounds here; the marker callback holds the lower one ----------

u32 GAUGE_CALL dh_increase(u32, u32) {
    decision_height = static_cast<i32>(static_cast<u32>(decision_height) + DH_STEP_FT);
    return 0;
}

u32 GAUGE_CALL dh_decrease(u32, u32) {
    decision_height = static_cast<i32>(static_cast<u32>(decision_height) - DH_STEP_FT);
    return 0;
}
