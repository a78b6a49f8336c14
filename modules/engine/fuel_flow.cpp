// FF1_Indicator and FF2_Indicator: fuel flow. The readout shows kilograms per hour, the
// needle hundreds of kilograms per hour; the host delivers pounds per hour. Neither end is
// clamped. A fixed icon sits below the readout.
#include "engine_gauges.h"

inline constexpr u32 FF_FACE_BITMAP = 0x1300;
inline constexpr u32 FF_ICON_BITMAP = 0x1310;
inline constexpr u32 FF_HELP_ID = 0xAB28;

inline constexpr f64 KILOGRAMS_PER_POUND = 0.4535924;

namespace {
f64 GAUGE_CALL ff_needle_value(ElementHeader* needle);
f64 GAUGE_CALL ff_readout_value(ElementHeader* readout);
f64 GAUGE_CALL ff_icon_value(ElementHeader* icon);

NonlinearityEntry ff_marks[11] = {
    {48, 152, 0, {}}, {47, 123, 1, {}},  {53, 95, 2, {}},   {71, 71, 3, {}},    {96, 56, 4, {}},  {124, 51, 5, {}},
    {150, 56, 6, {}}, {174, 71, 7, {}}, {193, 95, 8, {}}, {200, 123, 9, {}}, {198, 152, 10, {}},
};

constexpr DialQuantity FF_DIAL = {
    .face_bitmap = FF_FACE_BITMAP,
    .calibration = ff_marks,
    .max_degrees_per_tick = 1,
    .readout_characters = 4,
    .help_id = FF_HELP_ID,
    .needle_value = ff_needle_value,
    .readout_value = ff_readout_value,
};

constexpr FuelFlowDial fuel_flow_dial(FuelFlowDial& self, const char* name, u32 variable) {
    return {
        .icon = engine_icon(self.dial.header, FF_ICON_BITMAP, 104, 110, 1, ff_icon_value),
        .readout_children = {&self.icon.header, nullptr},
        .dial = engine_dial(self.dial, name, variable, FF_DIAL, self.readout_children),
    };
}
} // namespace

constinit FuelFlowDial ff1_indicator = fuel_flow_dial(ff1_indicator, "FF1_Indicator", VAR_ENG1_FUEL_FLOW);
constinit FuelFlowDial ff2_indicator = fuel_flow_dial(ff2_indicator, "FF2_Indicator", VAR_ENG2_FUEL_FLOW);

namespace {
f64 GAUGE_CALL ff_needle_value(ElementHeader* needle) {
    return needle_input(needle) * KILOGRAMS_PER_POUND * 0.01;
}

f64 GAUGE_CALL ff_readout_value(ElementHeader* readout) {
    return print_readout(readout, "%04d", readout_input(readout) * KILOGRAMS_PER_POUND);
}

f64 GAUGE_CALL ff_icon_value(ElementHeader*) {
    return 0;
}
} // namespace
