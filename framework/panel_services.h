// The host's service table. A module reaches the host only through these slots, from the
// address the host left in `ImportTable` entry 0. Slots are pointer-sized; slot n lies at
// n pointers from the start. Slots not named here are never called by a module.
#pragma once

#include "elements.h"
#include "mouse.h"

using UnusedServiceSlot = u32(GAUGE_CALL*)();

// Type code a gauge passes when it publishes a 32-bit cell by name.
inline constexpr u32 NAMED_VAR_TYPE_CELL = 0x13;

struct PanelServices {
    UnusedServiceSlot slots_0_23[24];

    // 24: the host describes the tree below `root`; the result is the query routine's.
    u32(GAUGE_CALL* query_elements)(ElementHeader* root);
    // 25: the host prepares the tree for drawing; `argument` is the install routine's.
    u32(GAUGE_CALL* install_elements)(ElementHeader* root, u32 argument);
    // 26: the host readies the tree's run-time state.
    u32(GAUGE_CALL* initialize_elements)(ElementHeader* root);
    // 27: the host refreshes bound variables and calls value callbacks.
    u32(GAUGE_CALL* update_elements)(ElementHeader* root);
    // 28: the host regenerates drawing resources; `argument` is the generate routine's.
    u32(GAUGE_CALL* generate_elements)(ElementHeader* root, u32 argument);
    // 29: the host draws the tree as its flags and failures leave it.
    u32(GAUGE_CALL* draw_elements)(ElementHeader* root);
    UnusedServiceSlot slot_30;
    // 31: the host releases what it kept for the tree.
    u32(GAUGE_CALL* kill_elements)(ElementHeader* root);
    // 32: a version-610 gauge hands over its mouse list with its face bitmap record + 4.
    u32(GAUGE_CALL* install_mouse_areas)(MouseRect* areas, GaugeHeader* gauge, void* bitmap_record_plus_4);
    // 33: from now on the list's mouse functions are called.
    u32(GAUGE_CALL* register_mouse_areas)(MouseRect* areas, GaugeHeader* gauge);
    // 34: no mouse function of the list is called after this returns.
    u32(GAUGE_CALL* unregister_mouse_areas)(MouseRect* areas, GaugeHeader* gauge);
    UnusedServiceSlot slot_35;
    // 36: the key event is performed before this returns.
    u32(GAUGE_CALL* send_key_event)(u32 event, u32 value);
    // 37: other gauges can find `cell` by `name` and write it; the owner only reads it.
    u32(GAUGE_CALL* register_named_var)(void* cell, u32 type, const char* name);
    // 38: the record is bound to its variable id.
    u32(GAUGE_CALL* initialize_module_var)(ModuleVar* var);
    UnusedServiceSlot slot_39;
    // 40: on return the record's value holds the variable's current value.
    u32(GAUGE_CALL* lookup_module_var)(ModuleVar* var);
    // 41: the name is withdrawn.
    u32(GAUGE_CALL* unregister_named_var)(const char* name);
};

inline constexpr std::size_t PANEL_SERVICE_SLOTS = 42;
static_assert(sizeof(PanelServices) == PANEL_SERVICE_SLOTS * sizeof(void*));
static_assert(offsetof(PanelServices, query_elements) == 24 * sizeof(void*));
static_assert(offsetof(PanelServices, kill_elements) == 31 * sizeof(void*));
static_assert(offsetof(PanelServices, send_key_event) == 36 * sizeof(void*));
static_assert(offsetof(PanelServices, lookup_module_var) == 40 * sizeof(void*));
static_assert(offsetof(PanelServices, unregister_named_var) == 41 * sizeof(void*));
