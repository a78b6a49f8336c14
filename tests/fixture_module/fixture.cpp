// A module that exercises every element kind, nested mouse areas, a gauge callback,
// a second gauge and a version-610 gauge. Built also in broken variants, one fault each
// (FIXTURE_FAULT), to show the host refusing them.
#include "fixture_probe.h"
#include "numbers.h"
#include "panel_services.h"
#include "simvars.h"
#include "windows_services.h"

FixtureProbeRecord FixtureProbe = {};
#define probe FixtureProbe

namespace {
void mark(u32 what) {
    if (probe.sequence_length < 16) probe.sequence[probe.sequence_length++] = what;
}
} // namespace

// ---- gauge "alpha": every element kind --------------------------------------------

extern GaugeHeader alpha_header;

f64 GAUGE_CALL alpha_needle_value(ElementHeader* element) {
    ++probe.value_callback_calls;
    mark(1);
    return reinterpret_cast<NeedleElement*>(element)->variable.value * 2.0;
}

f64 GAUGE_CALL alpha_readout_value(ElementHeader* element) {
    auto* readout = reinterpret_cast<StringElement*>(element);
    probe.readout_value = truncate_to_u32(readout->variables[0].value);
    wsprintfA(readout->text, "%05d", static_cast<int>(probe.readout_value));
    return 7.0;
}

f64 GAUGE_CALL alpha_icon_value(ElementHeader*) { return 1.0; }
f64 GAUGE_CALL alpha_axis_constant(ElementHeader*) { return 1.0; }
f64 GAUGE_CALL alpha_sprite_y(ElementHeader* element) {
    return reinterpret_cast<SpriteElement*>(element)->variable_y.value + 5.0;
}

FailureRecord alpha_failures[] = {{20, 2, 0}, {3, 1, 0}, {0, 0, 0}};
NonlinearityEntry alpha_table[] = {
    {50, 10, 0.0, {}},
    {90, 40, 100.0, {}},
    {50, 70, 200.0, {}},
};

SpriteElement alpha_sprite = {
    {ELEMENT_SPRITE, 0x1500, 50, 40, 0, 0, 32, 32, &alpha_header, nullptr, nullptr, nullptr, 0x3, 0, 0},
    {VAR_NAV1_COURSE_DEVIATION, nullptr, 0, 0, 0}, 0, 2.0,
    {VAR_ATTITUDE_PITCH, nullptr, 0, 0, 0}, 0, 3.0,
    {VAR_ATTITUDE_BANK, nullptr, 0, 0, 0}, 0, -1.0,
    1.5f, 1.5f, {}, nullptr, alpha_sprite_y, nullptr, {},
};
ElementHeader* alpha_sprite_next[] = {&alpha_sprite.header, nullptr};

MovingElement alpha_moving = {
    {ELEMENT_MOVING, 0x1400, 10, 50, 0, 0, 0, 0, &alpha_header, nullptr, alpha_sprite_next, nullptr, 0x3, 0, 0},
    {VAR_COMPASS_HEADING, nullptr, 0, 0, 0}, 0, 0.0, 360.0, 0,
    {VAR_COMPASS_HEADING, nullptr, 0, 0, 0}, 0, 0.0, 10.0, {}, nullptr, alpha_axis_constant, {},
};
ElementHeader* alpha_moving_next[] = {&alpha_moving.header, nullptr};

SliderElement alpha_slider = {
    {ELEMENT_SLIDER, 0x1300, 5, 5, 0, 0, 0, 0, &alpha_header, nullptr, alpha_moving_next, nullptr, 0x83, 0, 0},
    {0, nullptr, 0, 0, 0}, 0, 0.5, 0,
    {VAR_NAV1_GLIDESLOPE_DEVIATION, nullptr, 0, 0, 0}, 0, 0.4, {},
};
ElementHeader* alpha_slider_next[] = {&alpha_slider.header, nullptr};

IconElement alpha_icon = {
    {ELEMENT_ICON, 0x1200, 70, 5, 0, 0, 0, 0, &alpha_header, nullptr, alpha_slider_next, nullptr, 0x40000003, 0, 0},
    {0, nullptr, 0, 0, 0}, {}, 2, {}, alpha_icon_value,
};
ElementHeader* alpha_icon_next[] = {&alpha_icon.header, nullptr};

StringElement alpha_readout = {
    {ELEMENT_STRING, BITMAP_NONE, 20, 60, 0, 0, 0, 0, &alpha_header, nullptr, alpha_icon_next, alpha_failures, 0x6, 0, 0},
    {{VAR_AIRSPEED, nullptr, 0, 0, 0}, {}, {}}, {}, nullptr, 0, 60, 16, {}, 0x00FFFFFF, 0, 0x0000FFFF, {},
    "Courier New", 400, 1, 0x25, 5, {}, alpha_readout_value,
};

NeedleElement alpha_needle = {
    {ELEMENT_NEEDLE, 0x1100, 50, 40, 0, 0, 4, 4, &alpha_header, nullptr, alpha_icon_next, alpha_failures, 0x83, 0, 0},
    {VAR_AIRSPEED, nullptr, 0, 0, 0}, {}, alpha_table, 3, 0, {}, alpha_needle_value, {},
};

// The face has two children, as an engine face does: the needle and the readout.
ElementHeader* alpha_face_next[] = {&alpha_needle.header, &alpha_readout.header, nullptr};
StaticElement alpha_face = {
    {ELEMENT_STATIC, 0x1000, 0, 0, 0, 0, 0, 0, &alpha_header, nullptr, alpha_face_next, nullptr, 0x1, 0, 0}, {},
};
ElementHeader* alpha_root_slot[] = {&alpha_face.header, reinterpret_cast<ElementHeader*>(0x1234)};

u32 GAUGE_CALL alpha_outer_function(u32, u32) { ++probe.mouse_calls[0]; return 0; }
u32 GAUGE_CALL alpha_inner_function(u32, u32) { ++probe.mouse_calls[1]; return 0; }
u32 GAUGE_CALL alpha_child_function(u32, u32) { ++probe.mouse_calls[2]; return 0; }
u32 GAUGE_CALL alpha_rude_function(u32, u32) { ++probe.mouse_calls[3]; return 5; }

MouseRect alpha_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0xAB00),
    mouse_parent(0, 0, 50, 80, CURSOR_NONE, 0xAB01),
    mouse_child(10, 10, 20, 20, CURSOR_INCREASE, MOUSE_FLAG_CLICK, alpha_child_function),
    mouse_parent_end(),
    mouse_parent(50, 0, 50, 40, CURSOR_DECREASE, 0, MOUSE_FLAG_CLICK, alpha_inner_function),
    mouse_parent_end(),
    mouse_child(50, 40, 50, 40, CURSOR_SELECT, MOUSE_FLAG_CLICK, alpha_rude_function),
    mouse_parent_end(),
    mouse_end(),
};

ModuleVar alpha_lights = {VAR_PANEL_LIGHTS, nullptr, 0, 0, 0};

void GAUGE_CALL alpha_callback(GaugeHeader* header, u32 service, u32) {
    ++probe.callback_calls;
    probe.last_service = service;
    probe.last_header = header;
    ElementHeader* root = *header->root_slot;
    switch (service) {
    case SERVICE_INSTALL: panel()->register_named_var(&probe.named_cell, NAMED_VAR_TYPE_CELL, "fixture_cell"); break;
    case SERVICE_UPDATE:
        ++probe.update_services;
        mark(2);
        panel()->lookup_module_var(&alpha_lights);
        probe.lights_seen = alpha_lights.value;
        if (alpha_lights.value != 0.0) clear_chain_flags(root, 2, IMAGE_FLAG_HIDDEN);
        else set_chain_flags(root, 2, IMAGE_FLAG_HIDDEN);
        if (probe.call_forbidden_slot) panel()->slot_30();
        break;
    case SERVICE_KILL: panel()->unregister_named_var("fixture_cell"); break;
    default: break;
    }
}

GaugeHeader alpha_header = {
    GAUGE_VERSION_700, "alpha", alpha_root_slot, MODULE_LIFECYCLE, 0, 38, {}, alpha_mouse, alpha_callback, {},
};

// ---- gauge "beta": a second gauge, reached through the same lifecycle routines -----

extern GaugeHeader beta_header;
StaticElement beta_face = {
    {ELEMENT_STATIC, 0x2000, 0, 0, 0, 0, 0, 0, &beta_header, nullptr, nullptr, nullptr, 0x1, 0, 0}, {},
};
ElementHeader* beta_root_slot[] = {&beta_face.header, nullptr};
MouseRect beta_mouse[] = {mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0), mouse_parent_end(), mouse_end()};
GaugeHeader beta_header = {
    GAUGE_VERSION_700, "beta", beta_root_slot, MODULE_LIFECYCLE, 0, 38, {}, beta_mouse, nullptr, {},
};

// ---- gauge "legacy": the version-610 generation, with its own routines -------------

extern GaugeHeader610 legacy_header;
f64 GAUGE_CALL legacy_needle_value(u32, u32) { return 150.0; }
f64 GAUGE_CALL legacy_lamp_value(u32) { return 1.0; }
NonlinearityEntry legacy_table[] = {{60, 10, 0.0, {}}, {110, 60, 300.0, {}}};
FailureRecord legacy_failures[] = {{1, 2, 0}, {0, 0, 0}};
IconElement610 legacy_lamp = {
    {ELEMENT_ICON, 0x3200, 5, 5, 0, 0, 0, 0, reinterpret_cast<GaugeHeader*>(&legacy_header), nullptr, nullptr,
     legacy_failures, 0x4003, 0, 0},
    {0, nullptr, 0, 0, 0}, legacy_lamp_value, {}, 2, {},
};
ElementHeader* legacy_lamp_next[] = {&legacy_lamp.header, nullptr};
NeedleElement610 legacy_needle = {
    {ELEMENT_NEEDLE, 0x3100, 60, 60, 0, 0, 5, 5, reinterpret_cast<GaugeHeader*>(&legacy_header), nullptr,
     legacy_lamp_next, legacy_failures, 0x4003, 0, 0},
    {0, nullptr, 0, 0, 0}, 0, legacy_needle_value, {}, {15, 52}, legacy_table, 2, 6, {},
};
ElementHeader* legacy_needle_next[] = {&legacy_needle.header, nullptr};
StaticElement610 legacy_face = {
    {ELEMENT_STATIC, 0x3000, 0, 0, 0, 0, 0, 0, reinterpret_cast<GaugeHeader*>(&legacy_header), nullptr,
     legacy_needle_next, legacy_failures, 0x4001, 0, 0},
    nullptr, {},
};
ElementHeader* legacy_root_slot[] = {&legacy_face.header, nullptr};

u32 GAUGE_CALL legacy_click(u32, u32) { ++probe.mouse_calls[0]; return 0; }
MouseRect legacy_mouse[] = {
    mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
    mouse_parent(0, 80, 40, 40, CURSOR_DECREASE, 0, 0x20200000, legacy_click),
    mouse_parent_end(),
    mouse_parent_end(),
    mouse_end(),
};
ModuleVar legacy_altitude = {VAR_ALTITUDE, nullptr, 0, 0, 0};

ElementHeader* legacy_root() { return *legacy_header.root_slot; }
GaugeHeader* legacy_as_header() { return reinterpret_cast<GaugeHeader*>(&legacy_header); }
u32 GAUGE_CALL legacy_query() { return panel()->query_elements(legacy_root()); }
u32 GAUGE_CALL legacy_install(u32 argument) {
    panel()->install_elements(legacy_root(), argument);
    void* record = reinterpret_cast<char*>(legacy_face.bitmap_record) + 4;
    panel()->install_mouse_areas(legacy_mouse, legacy_as_header(), record);
    return panel()->register_mouse_areas(legacy_mouse, legacy_as_header());
}
u32 GAUGE_CALL legacy_initialize() {
    panel()->initialize_elements(legacy_root());
    return panel()->initialize_module_var(&legacy_altitude);
}
u32 GAUGE_CALL legacy_update() {
    ++probe.legacy_updates;
    panel()->update_elements(legacy_root());
    return panel()->lookup_module_var(&legacy_altitude);
}
u32 GAUGE_CALL legacy_generate(u32 argument) { return panel()->generate_elements(legacy_root(), argument); }
u32 GAUGE_CALL legacy_draw() { return panel()->draw_elements(legacy_root()); }
u32 GAUGE_CALL legacy_kill() {
    panel()->unregister_mouse_areas(legacy_mouse, legacy_as_header());
    return panel()->kill_elements(legacy_root());
}

GaugeHeader610 legacy_header = {
    GAUGE_VERSION_610, "legacy", legacy_root_slot,
    {legacy_query, legacy_install, legacy_initialize, legacy_update, legacy_generate, legacy_draw, legacy_kill},
    0, 57, {},
};

// ---- the module ------------------------------------------------------------------

#if defined(FIXTURE_FAULT_CYCLE)
// The slider's list leads back to the needle: a cycle in the tree.
ElementHeader* alpha_cycle_next[] = {&alpha_needle.header, nullptr};
struct CycleSetup {
    CycleSetup() { alpha_moving.header.next_elements = alpha_cycle_next; }
} cycle_setup;
#endif

#if defined(FIXTURE_FAULT_WRONG_ID)
constexpr u32 FIXTURE_MODULE_ID = 0x14;
#else
constexpr u32 FIXTURE_MODULE_ID = MODULE_ID;
#endif

#if defined(FIXTURE_FAULT_UNTERMINATED)
// Every slot of the gauge list is filled: no NULL ends it.
#define FIXTURE_GAUGES                                                                                            \
    &alpha_header, &beta_header, &alpha_header, &beta_header, &alpha_header, &beta_header, &alpha_header,           \
        &beta_header, &alpha_header, &beta_header, &alpha_header, &beta_header, &alpha_header, &beta_header,        \
        &alpha_header, &beta_header
#elif defined(FIXTURE_FAULT_UNBALANCED_MOUSE)
#define FIXTURE_GAUGES &alpha_header, nullptr
#else
#define FIXTURE_GAUGES &alpha_header, &beta_header, reinterpret_cast<GaugeHeader*>(&legacy_header), nullptr
#endif

#if defined(FIXTURE_FAULT_UNBALANCED_MOUSE)
struct UnbalancedSetup {
    UnbalancedSetup() { alpha_mouse[3] = mouse_child(0, 0, 1, 1, CURSOR_NONE, 0, nullptr); }
} unbalanced_setup;
#endif

LinkageRecord Linkage = {
    FIXTURE_MODULE_ID, module_nothing, module_nothing, {0, 0, 0}, {FIXTURE_GAUGES},
};
