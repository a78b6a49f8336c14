// RPM1_Indicator and RPM2_Indicator: rotation speed in per cent. Above 1000 rpm the scale
// steepens towards 105 per cent. The readout reaches 105 at 1715 rpm; the needle stops at
// 105 from 1310 rpm on, so past 1310 rpm it leaves the readout behind.
#include "engine_gauges.h"

inline constexpr u32 RPM_FACE_BITMAP = 0x1400;
inline constexpr u32 RPM_HELP_ID = 0xAB58;

// Where each part of the dial reaches 105 per cent.
inline constexpr f64 RPM_NEEDLE_LIMIT = 1310;
inline constexpr f64 RPM_READOUT_LIMIT = 1715;

namespace {
f64 GAUGE_CALL rpm_needle_value(ElementHeader* needle);
f64 GAUGE_CALL rpm_readout_value(ElementHeader* readout);

constexpr DialQuantity RPM_DIAL = {
    .face_bitmap = RPM_FACE_BITMAP,
    .calibration = dial_marks_0_to_120,
    .max_degrees_per_tick = 1,
    .readout_characters = 3,
    .help_id = RPM_HELP_ID,
    .needle_value = rpm_needle_value,
    .readout_value = rpm_readout_value,
};
} // namespace

constinit EngineDial rpm1_indicator = engine_dial(rpm1_indicator, "RPM1_Indicator", VAR_ENG1_RPM, RPM_DIAL);
constinit EngineDial rpm2_indicator = engine_dial(rpm2_indicator, "RPM2_Indicator", VAR_ENG2_RPM, RPM_DIAL);

namespace {
// Per cent for revolutions per minute, held at 105 above `limit`.
f64 rpm(f64 revolutions, f64 limit) {
    if (!(revolutions > 1000)) return revolutions * 0.07000007000007;
    if (revolutions > limit) return 105;
    return (revolutions - 1000) * 0.04895122010916122 + 70;
}

f64 GAUGE_CALL rpm_needle_value(ElementHeader* needle) {
    return rpm(needle_input(needle), RPM_NEEDLE_LIMIT);
}

f64 GAUGE_CALL rpm_readout_value(ElementHeader* readout) {
    return print_readout(readout, "%03d", rpm(readout_input(readout), RPM_READOUT_LIMIT));
}
} // namespace
