#include "calibration.h"

#include <cmath>
#include <numbers>

namespace host {

namespace {
double direction(const ElementHeader& needle, const NonlinearityEntry& entry) {
    double dx = entry.x - needle.position_x;
    double dy = entry.y - needle.position_y;
    return std::atan2(dy, dx) * 180.0 / std::numbers::pi;
}

// Signed shortest turn from a to b, in (-180, 180].
double turn(double from, double to) {
    double d = std::fmod(to - from, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}
} // namespace

double calibrated_angle(const ElementHeader& needle, const NonlinearityEntry* table, u32 count, double value) {
    if (!std::isfinite(value) && !std::isinf(value)) return direction(needle, table[0]);
    const bool ascending = table[count - 1].value >= table[0].value;
    auto before = [&](double a, double b) { return ascending ? a < b : a > b; };
    if (!before(table[0].value, value)) return direction(needle, table[0]);
    for (u32 i = 1; i < count; ++i) {
        if (before(value, table[i].value)) {
            double span = table[i].value - table[i - 1].value;
            double t = span == 0 ? 1.0 : (value - table[i - 1].value) / span;
            double from = direction(needle, table[i - 1]);
            return from + t * turn(from, direction(needle, table[i]));
        }
    }
    return direction(needle, table[count - 1]);
}

double limit_turn(double shown, double target, i32 limit) {
    if (limit == 0) return target;
    double step = std::abs(static_cast<double>(limit));
    double d = turn(shown, target);
    if (std::abs(d) <= step) return target;
    return shown + (d > 0 ? step : -step);
}

} // namespace host
