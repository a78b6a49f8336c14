// Motion elements under changing input: each axis takes its callback when it has one,
// else its bound variable, else stays where it is.
#include "host_fixture.h"

#include "simvars.h"

#include <cmath>
#include <limits>

namespace {

constexpr int SLIDER = 3, MOVING = 4, SPRITE = 5; // chain steps of the fixture's "alpha"

struct MotionCase {
    double input;          // fed to every variable the three elements are bound to
    double moving_x;       // position along the strip: input between 0 and 360, held to 0..1
};

class MotionTest : public HostTest, public ::testing::WithParamInterface<MotionCase> {};

TEST_P(MotionTest, CallbacksDriveTheirAxesAndAxesWithoutInputStayPut) {
    const MotionCase& c = GetParam();
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    for (u32 id : {VAR_NAV1_GLIDESLOPE_DEVIATION, VAR_COMPASS_HEADING, VAR_NAV1_COURSE_DEVIATION,
                   VAR_ATTITUDE_PITCH, VAR_ATTITUDE_BANK}) {
        panel.sim().set(id, c.input);
    }
    panel.update(alpha);

    // The slider's x has neither variable nor callback.
    const host::ElementState& slider = at(alpha, SLIDER);
    EXPECT_FALSE(slider.axis_moves[host::AXIS_X]);
    EXPECT_EQ(slider.axis_output[host::AXIS_X], 0.0);

    // The strip's y is bound to the heading but its callback returns 1 whatever the heading.
    const host::ElementState& moving = at(alpha, MOVING);
    EXPECT_EQ(moving.axis_value[host::AXIS_Y], 1.0);
    EXPECT_DOUBLE_EQ(moving.axis_output[host::AXIS_Y], 0.1);
    EXPECT_DOUBLE_EQ(moving.axis_output[host::AXIS_X], c.moving_x);

    // The sprite's y callback adds 5 to the pitch: its result, not the variable, is scaled.
    const host::ElementState& sprite = at(alpha, SPRITE);
    if (std::isfinite(c.input)) {
        EXPECT_EQ(sprite.axis_value[host::AXIS_Y], c.input + 5.0);
        EXPECT_EQ(sprite.axis_output[host::AXIS_Y], (c.input + 5.0) * 3.0);
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Inputs, MotionTest,
                         ::testing::Values(MotionCase{0.0, 0.0}, MotionCase{90.0, 0.25}, MotionCase{-45.0, 0.0},
                                           MotionCase{720.0, 1.0}, MotionCase{1e300, 1.0},
                                           MotionCase{std::numeric_limits<double>::quiet_NaN(), 0.0}));

} // namespace
