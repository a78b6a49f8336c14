// Needle angles from calibration tables.
#pragma once

#include "elements.h"

namespace host {

// Degrees, clockwise from the +x axis of the face, from the needle's position to the
// point the table gives for `value`. Between two entries the angle moves linearly with
// the value along the shorter turn; outside the table the needle rests at the nearer
// end. Works for ascending and descending tables; a non-finite value rests at the first
// entry. `count` must be at least 1.
double calibrated_angle(const ElementHeader& needle, const NonlinearityEntry* table, u32 count, double value);

// Moves `shown` towards `target` by at most |limit| degrees (0 = no limit).
double limit_turn(double shown, double target, i32 limit);

} // namespace host
