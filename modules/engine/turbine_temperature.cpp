// ITT1_Indicator and ITT2_Indicator: turbine temperature. The dial reads 0 to 120; up to
// 925 degrees Celsius it rises slowly, then 925 to 1150 degrees Celsius sweep 35 to 110.
// The readout shows the dial number, not degrees.
#include "engine_gauges.h"

inline constexpr u32 ITT_FACE_BITMAP = 0x1100;

namespace {
f64 GAUGE_CALL itt_needle_value(ElementHeader* needle);
f64 GAUGE_CALL itt_readout_value(ElementHeader* readout);

constexpr DialQuantity ITT_DIAL = {
    .face_bitmap = ITT_FACE_BITMAP,
    .calibration = dial_marks_0_to_120,
    .max_degrees_per_tick = 3,
    .readout_characters = 3,
    .help_id = 0,
    .needle_value = itt_needle_value,
    .readout_value = itt_readout_value,
};
} // namespace

constinit EngineDial itt1_indicator = engine_dial(itt1_indicator, "ITT1_Indicator", VAR_ENG1_ITT, ITT_DIAL);
constinit EngineDial itt2_indicator = engine_dial(itt2_indicator, "ITT2_Indicator", VAR_ENG2_ITT, ITT_DIAL);

namespace {
// Dial number for a turbine temperature in degrees Fahrenheit.
f64 itt(f64 fahrenheit) {
    const f64 celsius = (fahrenheit - 32) * 0.5555555555555556;
    if (!(celsius > 925)) return celsius * 0.03783783988312648;
    if (celsius > 1150) return 110;
    return (celsius - 925) * 0.3333333333333333 + 35;
}

f64 GAUGE_CALL itt_needle_value(ElementHeader* needle) {
    return itt(needle_input(needle));
}

f64 GAUGE_CALL itt_readout_value(ElementHeader* readout) {
    return print_readout(readout, "%03ld", itt(readout_input(readout)));
}
} // namespace
