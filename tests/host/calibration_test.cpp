#include "calibration.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
ElementHeader needle_at(int x, int y) {
    ElementHeader header{};
    header.kind = ELEMENT_NEEDLE;
    header.position_x = x;
    header.position_y = y;
    return header;
}
// A dial from straight up (0) through right (100) to straight down (200).
const NonlinearityEntry DIAL[] = {{100, 0, 0.0, {}}, {200, 100, 100.0, {}}, {100, 200, 200.0, {}}};
// The same dial listed from the top value down.
const NonlinearityEntry DESCENDING[] = {{100, 200, 200.0, {}}, {200, 100, 100.0, {}}, {100, 0, 0.0, {}}};
} // namespace

TEST(Calibration, InterpolatesAndRestsAtTheEnds) {
    const ElementHeader needle = needle_at(100, 100);
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value, angle;
    } cases[] = {{0, -90}, {50, -45}, {100, 0}, {150, 45}, {200, 90}, {-10, -90}, {1e9, 90}, {inf, 90}, {-inf, -90},
                 {std::nan(""), -90}};
    for (const auto& c : cases) {
        EXPECT_NEAR(host::calibrated_angle(needle, DIAL, 3, c.value), c.angle, 1e-9) << c.value;
        EXPECT_NEAR(host::calibrated_angle(needle, DESCENDING, 3, c.value), std::isnan(c.value) ? 90 : c.angle, 1e-9) << c.value;
    }
}

TEST(Calibration, TurnsTheShortWayAcrossTheBackOfTheDial) {
    const ElementHeader needle = needle_at(100, 100);
    // From lower-left (135 degrees) to upper-left (-135) passes through left (180).
    const NonlinearityEntry table[] = {{0, 200, 0.0, {}}, {0, 0, 10.0, {}}};
    EXPECT_NEAR(std::abs(host::calibrated_angle(needle, table, 2, 5.0)), 180.0, 1e-9);
}

TEST(Calibration, LimitTurnMovesAtMostTheLimitEitherSign) {
    EXPECT_EQ(host::limit_turn(0, 20, 6), 6);
    EXPECT_EQ(host::limit_turn(0, -20, 6), -6);
    EXPECT_EQ(host::limit_turn(0, 20, -3), 3);
    EXPECT_EQ(host::limit_turn(0, 2, 6), 2);
    EXPECT_EQ(host::limit_turn(0, 20, 0), 20);
}
