// The attitude indicator "attitude" through the host: the ball's pitch limit with the
// knob's offset, the knob's limits and picture, bank, and the lighting.
#include "brevolin_fixture.h"

#include <cmath>
#include <limits>

namespace {

constexpr int BALL_LIT = 1, BANK_POINTER_LIT = 2, BALL_UNLIT = 4, BANK_POINTER_UNLIT = 5, KNOB = 7;
constexpr int DECREASE_X = 200, INCREASE_X = 250, KNOB_Y = 230;

struct AttitudeTest : BrevolinTest {
    host::PlacedGauge& attitude = place("attitude");

    // Positive turns the knob up, negative down.
    void turn_knob(int presses) {
        if (presses > 0) click(attitude, INCREASE_X, KNOB_Y, presses);
        if (presses < 0) click(attitude, DECREASE_X, KNOB_Y, -presses);
    }
};

struct PitchCase {
    double pitch;
    int presses;
    double ball;
};

class AttitudePitchTest : public AttitudeTest, public ::testing::WithParamInterface<PitchCase> {};

TEST_P(AttitudePitchTest, LimitsThePitchBeforeAddingTheKnobOffset) {
    const PitchCase& c = GetParam();
    turn_knob(c.presses);
    panel.sim().set(VAR_ATTITUDE_PITCH, c.pitch);
    update(attitude);
    for (int step : {BALL_LIT, BALL_UNLIT}) {
        EXPECT_EQ(at(attitude, step).axis_value[host::AXIS_Y], c.ball) << "step " << step;
        EXPECT_EQ(at(attitude, step).axis_output[host::AXIS_Y], 2.0 * c.ball) << "step " << step;
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Pitches, AttitudePitchTest,
                         ::testing::Values(PitchCase{0, 0, 0}, PitchCase{12.5, 0, 12.5}, PitchCase{55, 0, 40},
                                           PitchCase{-55, -5, -45}, PitchCase{40, 3, 43}, PitchCase{40.01, 3, 43},
                                           PitchCase{-40, -2, -42}, PitchCase{-12.5, 1, -11.5},
                                           PitchCase{1e300, 5, 45}, PitchCase{-1e300, -5, -45},
                                           PitchCase{std::numeric_limits<double>::infinity(), 0, 40}));

TEST_F(AttitudeTest, TheKnobStopsAtFiveEitherWayAndItsPictureFollowsTheTable) {
    const struct {
        int presses;
        double offset;
        int x, y; // the knob table's point for the offset
    } steps[] = {{1, 1, 202, 201}, {1, 2, 205, 199}, {3, 5, 217, 193}, {1, 5, 217, 193}, {-1, 4, 213, 196},
                 {-4, 0, 196, 202}, {-1, -1, 195, 207}, {-4, -5, 187, 223}, {-3, -5, 187, 223}};
    for (const auto& step : steps) {
        turn_knob(step.presses);
        update(attitude);
        const host::ElementState& knob = at(attitude, KNOB);
        EXPECT_EQ(knob.value, step.offset);
        // The knob points from its position (236, 239) towards the table point.
        const double expected = std::atan2(step.y - 239.0, step.x - 236.0) * 180.0 / M_PI;
        EXPECT_NEAR(std::remainder(knob.needle_angle - expected, 360.0), 0.0, 1e-6) << "offset " << step.offset;
    }
    expect_no_faults();
}

TEST_F(AttitudeTest, BallAndBankPointerTurnAgainstTheBank) {
    panel.sim().set(VAR_ATTITUDE_BANK, 30);
    update(attitude);
    for (int step : {BALL_LIT, BANK_POINTER_LIT, BALL_UNLIT, BANK_POINTER_UNLIT}) {
        EXPECT_EQ(at(attitude, step).axis_output[host::AXIS_ROTATION], -30.0) << "step " << step;
    }
    EXPECT_FALSE(at(attitude, BANK_POINTER_LIT).axis_moves[host::AXIS_Y]);
    expect_no_faults();
}

TEST_F(AttitudeTest, AnyNonZeroLightingShowsTheLitCopiesAndTheKnobStays) {
    EXPECT_EQ(unhidden_steps(attitude), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7})); // as stored
    const std::vector<int> lit = {0, 1, 2, 3, 7}, unlit = {0, 4, 5, 6, 7};
    const struct {
        double lights;
        std::vector<int> shown;
    } cases[] = {{1.0, lit}, {0.0, unlit}, {2.0, lit}, {-3.0, lit}};
    for (const auto& c : cases) {
        panel.sim().set(VAR_PANEL_LIGHTS, c.lights);
        update(attitude);
        EXPECT_EQ(shown_steps(attitude), c.shown) << "lights " << c.lights;
    }
    expect_no_faults();
}

} // namespace
