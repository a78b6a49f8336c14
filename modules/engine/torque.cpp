// TRQ1_Indicator and TRQ2_Indicator: torque in per cent of full torque, never below 0
// and not limited above.
#include "engine_gauges.h"

inline constexpr u32 TRQ_FACE_BITMAP = 0x1200;
inline constexpr u32 TRQ_HELP_ID = 0xAB70;

namespace {
f64 GAUGE_CALL trq_needle_value(ElementHeader* needle);
f64 GAUGE_CALL trq_readout_value(ElementHeader* readout);

// The torque face spreads 70 to 110 differently from the other dials, with a 105 mark.
NonlinearityEntry trq_marks[13] = {
    {63, 178, 0, {}},   {48, 152, 10, {}}, {47, 123, 20, {}},  {53, 95, 30, {}},   {71, 71, 40, {}},
    {96, 56, 50, {}},   {124, 51, 60, {}}, {154, 58, 70, {}},  {179, 75, 80, {}},  {193, 95, 90, {}},
    {199, 118, 100, {}}, {200, 128, 105, {}}, {198, 152, 110, {}},
};

constexpr DialQuantity TRQ_DIAL = {
    .face_bitmap = TRQ_FACE_BITMAP,
    .calibration = trq_marks,
    .max_degrees_per_tick = 3,
    .readout_characters = 3,
    .help_id = TRQ_HELP_ID,
    .needle_value = trq_needle_value,
    .readout_value = trq_readout_value,
};
} // namespace

constinit EngineDial trq1_indicator = engine_dial(trq1_indicator, "TRQ1_Indicator", VAR_ENG1_TORQUE, TRQ_DIAL);
constinit EngineDial trq2_indicator = engine_dial(trq2_indicator, "TRQ2_Indicator", VAR_ENG2_TORQUE, TRQ_DIAL);

namespace {
// Per cent for a fraction of full torque.
f64 trq(f64 fraction) {
    const f64 percent = fraction * 100;
    return percent < 0 ? 0 : percent;
}

f64 GAUGE_CALL trq_needle_value(ElementHeader* needle) {
    return trq(needle_input(needle));
}

f64 GAUGE_CALL trq_readout_value(ElementHeader* readout) {
    return print_readout(readout, "%03ld", trq(readout_input(readout)));
}
} // namespace
