// What the five primary flight instruments share: their gauge headers, the block of
// switches the airspeed indicator publishes as "cb_exists2", the lighting helpers every
// gauge callback uses, and builders that keep the element records short.
#pragma once

#include "numbers.h"
#include "panel_services.h"
#include "simvars.h"

#include <array>
#include <span>

extern GaugeHeader vsi_header;
extern GaugeHeader asi_header;
extern GaugeHeader alt_header;
extern GaugeHeader clock_header;
extern GaugeHeader attitude_header;

// The vertical speed indicator's root slot. The host reads the one pointer only: the
// bytes after it are the name text of the next gauge in the list, the airspeed
// indicator's.
struct RootSlotAndNextName {
    ElementHeader* root;
    char next_gauge_name[4];
};
extern RootSlotAndNextName vsi_root_slot;

// Five consecutive words published under the one name "cb_exists2". Gauges elsewhere on
// the panel write them through the host; this module only reads them.
struct CbExists2Block {
    u32 cb_exists2;       // non-zero: the airspeed indicator holds its lighting state
    u32 alt_failure_mode; // 3: altimeter drums and pointer stand still
    u32 asi_failure_mode; // 1, 2 or 3: the airspeed needle's failure modes
    u32 vsi_failure_mode; // 3: vertical speed needles rest at 0
    u32 clock_freeze;     // non-zero: clock hands stand still
};
static_assert(sizeof(CbExists2Block) == 5 * sizeof(u32));
extern CbExists2Block cb_exists2_block;

// ---- lighting ----------------------------------------------------------------------

using ChainSteps = std::span<const u32>;

// Shows (or hides) the chain elements at the given steps from the root, in list order.
void show_steps(ElementHeader* root, ChainSteps steps);
void hide_steps(ElementHeader* root, ChainSteps steps);

// Shows one copy of every lit/unlit twin and hides the other: while lit, the lit copies
// are shown first and then the unlit ones hidden; while unlit, the reverse.
void show_lit_or_unlit(ElementHeader* root, bool lit, ChainSteps lit_steps, ChainSteps unlit_steps);

// Refreshes a panel-lights record. All gauges but the airspeed indicator count any
// non-zero value as lit.
bool panel_lights_on(ModuleVar& lights);

inline ElementHeader* root_of(GaugeHeader* header) { return *header->root_slot; }

// ---- record builders -------------------------------------------------------------

constexpr ModuleVar module_var(u32 id) { return {id, nullptr, 0, 0.0, 0.0}; }

constexpr ElementHeader element_header(ElementKind kind, u32 bitmap, i32 x, i32 y, GaugeHeader* gauge,
                                       ElementHeader** next, FailureRecord* failures, u32 image_flags,
                                       i32 offset_x = 0, i32 offset_y = 0) {
    return {kind, bitmap, x, y, 0, 0, offset_x, offset_y, gauge, nullptr, next, failures, image_flags, 0, 0};
}

constexpr StaticElement static_element(ElementHeader header) { return {header, {}}; }

// A one-picture icon without variable or callback: only ever shown or hidden.
constexpr IconElement plain_icon(ElementHeader header) {
    return {header, module_var(0), {}, 1, {}, nullptr};
}

// One calibration point of a needle: at `value` it points towards (x, y).
struct CalibrationPoint {
    f64 value;
    i32 x, y;
};

template <std::size_t N>
using CalibrationTable = std::array<NonlinearityEntry, N>;

// Every needle gets a table of its own (the host keeps words in each entry), filled from
// one list of points.
template <std::size_t N>
constexpr CalibrationTable<N> calibration_table(const CalibrationPoint (&points)[N]) {
    CalibrationTable<N> table{};
    for (std::size_t i = 0; i < N; ++i) table[i] = {points[i].x, points[i].y, points[i].value, {}};
    return table;
}

// No needle of this module limits its movement per update.
template <std::size_t N>
constexpr NeedleElement needle_element(ElementHeader header, u32 variable, CalibrationTable<N>& table,
                                       ValueCallback callback) {
    return {header, module_var(variable), {}, table.data(), static_cast<u32>(N), 0, {}, callback, {}};
}
