// The vertical speed indicator "vsi" through the host: needle scaling and its clamp, the
// failure switch, the lighting, and the click window that cracks the glass.
#include "brevolin_fixture.h"

#include <cmath>
#include <limits>

namespace {

constexpr int NEEDLE_LIT = 2, NEEDLE_UNLIT = 3;
constexpr int DIAL_CENTRE = 161;
constexpr double FEET_PER_MINUTE_PER_UNIT = 60.0 / (0.3048 * 256.0);
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

struct VsiTest : BrevolinTest {
    host::PlacedGauge& vsi = place("vsi");

    double written_back(int step) {
        return reinterpret_cast<NeedleElement*>(at(vsi, step).element)->variable.value;
    }
};

struct ScalingCase {
    double variable;  // metres per second x 256
    double shown;     // feet per minute on the needle
};

class VsiScalingTest : public VsiTest, public ::testing::WithParamInterface<ScalingCase> {};

TEST_P(VsiScalingTest, ScalesToFeetPerMinuteWritesItBackAndClampsTheNeedle) {
    const ScalingCase& c = GetParam();
    panel.sim().set(VAR_VERTICAL_SPEED, c.variable);
    update(vsi);
    const double scaled = c.variable * FEET_PER_MINUTE_PER_UNIT;
    for (int step : {NEEDLE_LIT, NEEDLE_UNLIT}) {
        if (std::isnan(c.shown)) {
            EXPECT_TRUE(std::isnan(at(vsi, step).value)) << "step " << step;
            EXPECT_TRUE(std::isnan(written_back(step))) << "step " << step;
        } else {
            EXPECT_NEAR(at(vsi, step).value, c.shown, 0.005) << "step " << step;
            EXPECT_EQ(written_back(step), scaled) << "step " << step; // unclamped
        }
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, VsiScalingTest,
    ::testing::Values(ScalingCase{0, 0}, ScalingCase{1300, 999.63}, ScalingCase{-1300, -999.63},
                      ScalingCase{5201.92, 4000.0}, ScalingCase{6000, 4000}, ScalingCase{-6000, -4000},
                      ScalingCase{1e300, 4000}, ScalingCase{-1e300, -4000}, ScalingCase{INF, 4000},
                      ScalingCase{-INF, -4000}, ScalingCase{NaN, NaN}));

TEST_F(VsiTest, FailureModeThreeRestsTheNeedlesAtZeroAndOtherModesDoNot) {
    place("asi"); // publishes the switch block
    panel.sim().set(VAR_VERTICAL_SPEED, 1300);
    const struct {
        u32 mode;
        double shown;
    } cases[] = {{3, 0.0}, {2, 999.63}, {4, 999.63}, {0, 999.63}};
    for (const auto& c : cases) {
        set_switch(VSI_FAILURE_MODE, c.mode);
        update(vsi);
        EXPECT_NEAR(at(vsi, NEEDLE_LIT).value, c.shown, 0.005) << "mode " << c.mode;
        EXPECT_NEAR(at(vsi, NEEDLE_UNLIT).value, c.shown, 0.005) << "mode " << c.mode;
    }
    expect_no_faults();
}

TEST_F(VsiTest, AnyNonZeroLightingShowsTheOverlayAndLitNeedle) {
    EXPECT_EQ(unhidden_steps(vsi), (std::vector<int>{0, 1, 2, 3})); // as stored, before any update
    const struct {
        double lights;
        std::vector<int> shown;
    } cases[] = {{1.0, {0, 1, 2}}, {0.0, {0, 3}}, {2.0, {0, 1, 2}}, {-0.5, {0, 1, 2}}, {NaN, {0, 1, 2}}};
    for (const auto& c : cases) {
        panel.sim().set(VAR_PANEL_LIGHTS, c.lights);
        update(vsi);
        EXPECT_EQ(shown_steps(vsi), c.shown) << "lights " << c.lights;
    }
    expect_no_faults();
}

// One step of a click scenario: set the tick counter and the lights, click the dial,
// run one update, and compare the shown chain steps.
struct ClickStep {
    double tick;
    int clicks;
    double lights;
    std::vector<int> shown;
};

struct ClickScenario {
    const char* name;
    std::vector<ClickStep> steps;
};

class VsiClickTest : public VsiTest, public ::testing::WithParamInterface<ClickScenario> {};

TEST_P(VsiClickTest, ShowsTheStepsExpectedAfterEachUpdate) {
    int index = 0;
    for (const ClickStep& step : GetParam().steps) {
        panel.sim().set(VAR_TICK_COUNT, step.tick);
        panel.sim().set(VAR_PANEL_LIGHTS, step.lights);
        click(vsi, DIAL_CENTRE, DIAL_CENTRE, step.clicks);
        update(vsi);
        EXPECT_EQ(shown_steps(vsi), step.shown) << "step " << index << " at tick " << step.tick;
        ++index;
    }
    expect_no_faults();
}

const std::vector<int> LIT = {0, 1, 2}, UNLIT = {0, 3}, BROKEN_PENDING = {0}, BROKEN = {0, 4};

INSTANTIATE_TEST_SUITE_P(
    Scenarios, VsiClickTest,
    ::testing::Values(
        // The window closes at tick 148 with nine clicks: the count starts again, so the
        // click at 150 opens a new window (closing at 198) and ten more are needed.
        ClickScenario{"NineClicksThenANewWindow",
                      {{100, 9, 1, LIT}, {148, 0, 1, LIT}, {150, 1, 1, LIT}, {160, 8, 1, LIT},
                       {170, 1, 1, BROKEN_PENDING}, {198, 0, 1, BROKEN}}},
        // Needles and overlay go on the update after the tenth click; the cracked glass
        // shows at the closing tick and stays, whatever the lights and further clicks do.
        ClickScenario{"TenClicksCrackTheGlass",
                      {{100, 10, 1, BROKEN_PENDING}, {120, 0, 0, BROKEN_PENDING}, {148, 0, 1, BROKEN},
                       {149, 0, 0, BROKEN}, {200, 5, 1, BROKEN}, {148, 0, 0, BROKEN}}},
        // The window is armed at tick 100.5 to close at 148; no update sees 148 exactly,
        // so it never closes: later clicks keep counting and the tenth hides the needles
        // without the cracked glass.
        ClickScenario{"WithoutTheExactTickTheWindowStaysOpen",
                      {{100.5, 5, 0, UNLIT}, {147, 0, 0, UNLIT}, {148.5, 0, 0, UNLIT}, {149, 0, 1, LIT},
                       {500, 4, 1, LIT}, {600, 1, 0, BROKEN_PENDING}, {700, 0, 1, BROKEN_PENDING}}},
        // A non-finite tick truncates to 0x80000000: the window closes when the
        // counter reads 2147483648 exactly.
        ClickScenario{"NonFiniteTickArmsTheWindowAtTheTruncatedValue",
                      {{NaN, 10, 1, BROKEN_PENDING}, {INF, 0, 1, BROKEN_PENDING},
                       {2147483648.0, 0, 1, BROKEN}}}),
    [](const ::testing::TestParamInfo<ClickScenario>& info) { return std::string(info.param.name); });

TEST_F(VsiTest, ClicksOutsideTheDialMiddleDoNothing) {
    EXPECT_EQ(panel.click(vsi, 60, 60), nullptr);
    EXPECT_EQ(panel.click(vsi, 261, 161), nullptr);
    EXPECT_NE(panel.click(vsi, 61, 61), nullptr);
    EXPECT_NE(panel.click(vsi, 260, 260), nullptr);
}

} // namespace
