// The airspeed indicator "asi" through the host: whole-knot needle with unsigned
// clamping, maximum-speed pointer, speed bugs, lighting by selection, the published
// switch block, and the needle's failure modes.
#include "brevolin_fixture.h"

#include <cctype>
#include <cmath>
#include <limits>

namespace {

constexpr int NEEDLE_LIT = 2, NEEDLE_UNLIT = 3;
constexpr int WHITE_BUG3_LIT = 4, WHITE_BUG2_LIT = 6, WHITE_BUG1_LIT = 8;
constexpr int WHITE_BUG3_UNLIT = 5, WHITE_BUG2_UNLIT = 7, WHITE_BUG1_UNLIT = 9;
constexpr int YELLOW_BUG3_LIT = 10, YELLOW_BUG2_LIT = 12, YELLOW_BUG1_LIT = 14;
constexpr int MAX_SPEED_LIT = 16, MAX_SPEED_UNLIT = 17;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

struct AsiTest : BrevolinTest {
    host::PlacedGauge& asi = place("asi");

    // Mouse actions as letters: S select, + increase, - decrease; a number before a
    // letter repeats it ("SS60+").
    void press(const std::string& actions) {
        int repeat = 0;
        for (char action : actions) {
            if (std::isdigit(static_cast<unsigned char>(action))) {
                repeat = repeat * 10 + (action - '0');
                continue;
            }
            const int times = repeat == 0 ? 1 : repeat;
            repeat = 0;
            switch (action) {
            case 'S': click(asi, 45, 275, times); break;
            case '+': click(asi, 275, 275, times); break;
            case '-': click(asi, 245, 275, times); break;
            default: ADD_FAILURE() << "unknown action " << action;
            }
        }
    }
};

struct AirspeedCase {
    double knots;
    double shown;
};

class AsiAirspeedTest : public AsiTest, public ::testing::WithParamInterface<AirspeedCase> {};

TEST_P(AsiAirspeedTest, ShowsWholeKnotsHeldToTheDialReadingNegativesUnsigned) {
    panel.sim().set(VAR_AIRSPEED, GetParam().knots);
    update(asi);
    EXPECT_EQ(at(asi, NEEDLE_LIT).value, GetParam().shown);
    EXPECT_EQ(at(asi, NEEDLE_UNLIT).value, GetParam().shown);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Speeds, AsiAirspeedTest,
    ::testing::Values(AirspeedCase{0, 40}, AirspeedCase{39.9, 40}, AirspeedCase{40, 40}, AirspeedCase{40.99, 40},
                      AirspeedCase{250.7, 250}, AirspeedCase{300, 300}, AirspeedCase{300.9, 300},
                      AirspeedCase{301, 300}, AirspeedCase{-0.5, 40}, AirspeedCase{-0.99, 40},
                      AirspeedCase{-1, 300}, AirspeedCase{-250, 300}, AirspeedCase{4294967336.0, 300},
                      AirspeedCase{1e300, 300}, AirspeedCase{-1e300, 300}, AirspeedCase{INF, 300},
                      AirspeedCase{NaN, 300}));

struct MaxSpeedCase {
    double celsius;
    double shown;
};

class AsiMaxSpeedTest : public AsiTest, public ::testing::WithParamInterface<MaxSpeedCase> {};

TEST_P(AsiMaxSpeedTest, FollowsTheSpeedOfSoundCappedAtTheDialTop) {
    panel.sim().set(VAR_AMBIENT_TEMPERATURE, GetParam().celsius / 256.0);
    update(asi);
    EXPECT_NEAR(at(asi, MAX_SPEED_LIT).value, GetParam().shown, 0.005);
    EXPECT_NEAR(at(asi, MAX_SPEED_UNLIT).value, GetParam().shown, 0.005);
    expect_no_faults();
}

// 0.48 x 661.7 x sqrt((T + 273.25) / 288.25); no lower limit.
INSTANTIATE_TEST_SUITE_P(Temperatures, AsiMaxSpeedTest,
                         ::testing::Values(MaxSpeedCase{15, 300}, MaxSpeedCase{-56.5, 275.421},
                                           MaxSpeedCase{-20, 297.709}, MaxSpeedCase{-150, 207.688},
                                           MaxSpeedCase{1e6, 300}));

struct BugCase {
    const char* actions;
    double bug1, bug2, bug3;
};

class AsiBugTest : public AsiTest, public ::testing::WithParamInterface<BugCase> {};

TEST_P(AsiBugTest, BugsStayInTheirRangesAndNeverReachTheirNeighbours) {
    const BugCase& c = GetParam();
    press(c.actions);
    update(asi);
    EXPECT_EQ(at(asi, WHITE_BUG1_LIT).value, c.bug1);
    EXPECT_EQ(at(asi, WHITE_BUG2_LIT).value, c.bug2);
    EXPECT_EQ(at(asi, WHITE_BUG3_LIT).value, c.bug3);
    // The yellow copy of each bug shows the same speed.
    EXPECT_EQ(at(asi, YELLOW_BUG1_LIT).value, c.bug1);
    EXPECT_EQ(at(asi, YELLOW_BUG2_LIT).value, c.bug2);
    EXPECT_EQ(at(asi, YELLOW_BUG3_LIT).value, c.bug3);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Presses, AsiBugTest,
    ::testing::Values(
        BugCase{"", 40, 45, 50},
        BugCase{"+-+", 40, 45, 50},              // nothing selected
        BugCase{"S+", 40, 45, 50},               // bug 1 would land on bug 2
        BugCase{"S-", 40, 45, 50},               // bug 1 at its lowest
        BugCase{"SS-", 40, 45, 50},              // bug 2 at its lowest
        BugCase{"SS+", 40, 45, 50},              // bug 2 would land on bug 3
        BugCase{"SSS-", 40, 45, 50},             // bug 3 at its lowest
        BugCase{"SSS+", 40, 45, 55},
        BugCase{"SSS+SS+", 40, 50, 55},          // bug 2 follows once bug 3 moved
        BugCase{"SSS+SS+SS+", 45, 50, 55},       // and bug 1 after bug 2
        BugCase{"SSS2+S-", 40, 45, 60},          // the fourth select is bug 1 again
        BugCase{"SSS2+SS2+S-", 40, 55, 60},      // bug 3 would land on bug 2
        BugCase{"SSS2+SS2+SS+S2-", 45, 50, 60},  // bug 2 down to 50, then stopped by bug 1
        BugCase{"SSS49+", 40, 45, 295},
        BugCase{"SSS60+", 40, 45, 300},          // bug 3 at its highest
        BugCase{"SSS60+SS60+", 40, 295, 300},    // bug 2 at its highest, beside bug 3
        BugCase{"SSS60+SS60+SS60+", 290, 295, 300},
        BugCase{"SSS60+SS60+SS60+S60-", 290, 295, 300}, // bug 2 stopped by bug 1 at once
        BugCase{"SSS60+SS60+SS60+60-S60-", 40, 45, 300},
        BugCase{"SSS60+SS60+SS60+60-S60-S60-", 40, 45, 50}));

struct LightingCase {
    double lights;
    int selects;
    std::vector<int> shown;
};

class AsiLightingTest : public AsiTest, public ::testing::WithParamInterface<LightingCase> {};

TEST_P(AsiLightingTest, ShowsOneCopyPerPartAndTheSelectedBugInYellow) {
    const LightingCase& c = GetParam();
    EXPECT_EQ(unhidden_steps(asi), (std::vector<int>{0, 1, 3, 5, 7, 9, 11, 13, 15, 17})); // as stored
    click(asi, 45, 275, c.selects);
    panel.sim().set(VAR_PANEL_LIGHTS, c.lights);
    update(asi);
    EXPECT_EQ(shown_steps(asi), c.shown);
    expect_no_faults();
}

// Only exactly 1.0 counts as lit; the unlit dial has no overlay.
INSTANTIATE_TEST_SUITE_P(
    Selections, AsiLightingTest,
    ::testing::Values(LightingCase{1.0, 0, {0, 1, 2, 4, 6, 8, 16}}, LightingCase{1.0, 1, {0, 1, 2, 4, 6, 14, 16}},
                      LightingCase{1.0, 2, {0, 1, 2, 4, 8, 12, 16}}, LightingCase{1.0, 3, {0, 1, 2, 6, 8, 10, 16}},
                      LightingCase{1.0, 4, {0, 1, 2, 4, 6, 14, 16}}, LightingCase{0.0, 0, {0, 3, 5, 7, 9, 17}},
                      LightingCase{0.0, 1, {0, 3, 5, 7, 15, 17}}, LightingCase{0.0, 2, {0, 3, 5, 9, 13, 17}},
                      LightingCase{0.0, 3, {0, 3, 7, 9, 11, 17}}, LightingCase{2.0, 0, {0, 3, 5, 7, 9, 17}},
                      LightingCase{0.5, 3, {0, 3, 7, 9, 11, 17}}, LightingCase{NaN, 0, {0, 3, 5, 7, 9, 17}}));

TEST_F(AsiTest, PublishesTheSwitchBlockOnInstallAndWithdrawsItOnKill) {
    auto* cell = static_cast<u32*>(panel.sim().named("cb_exists2"));
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(module.file->holds(cell, 5 * sizeof(u32)));
    for (int word = 0; word < 5; ++word) EXPECT_EQ(cell[word], 0u) << "word " << word;
    panel.remove(asi);
    EXPECT_EQ(panel.sim().named("cb_exists2"), nullptr);
    expect_no_faults();
}

TEST_F(AsiTest, ANonZeroSwitchHoldsTheLightingStateTheLastUpdateDecided) {
    const std::vector<int> lit = {0, 1, 2, 4, 6, 8, 16}, unlit = {0, 3, 5, 7, 9, 17};
    const struct {
        u32 hold;
        double lights;
        std::vector<int> shown;
    } steps[] = {{0, 1.0, lit}, {1, 0.0, lit}, {7, 0.0, lit}, {0, 0.0, unlit}, {1, 1.0, unlit}, {0, 1.0, lit}};
    for (const auto& step : steps) {
        set_switch(HOLD_ASI_LIGHTING, step.hold);
        panel.sim().set(VAR_PANEL_LIGHTS, step.lights);
        update(asi);
        EXPECT_EQ(shown_steps(asi), step.shown) << "hold " << step.hold << " lights " << step.lights;
    }
    // Needles keep moving while the lighting is held.
    set_switch(HOLD_ASI_LIGHTING, 1);
    panel.sim().set(VAR_AIRSPEED, 123.4);
    update(asi);
    EXPECT_EQ(at(asi, NEEDLE_LIT).value, 123.0);
    expect_no_faults();
}

TEST_F(AsiTest, HeldBeforeTheFirstUpdateItStaysUnlit) {
    set_switch(HOLD_ASI_LIGHTING, 1);
    for (double lights : {1.0, 0.0, 1.0}) {
        panel.sim().set(VAR_PANEL_LIGHTS, lights);
        update(asi);
        EXPECT_EQ(shown_steps(asi), (std::vector<int>{0, 3, 5, 7, 9, 17})) << "lights " << lights;
    }
}

// Failure modes. The host evaluates the needle twice per update (lit copy, then unlit
// copy), and modes 2 and 3 apply their step at every evaluation.
struct FailureStep {
    u32 mode;
    double knots;
    double altitude;
    double lit_shows, unlit_shows;
};

struct FailureScenario {
    const char* name;
    std::vector<FailureStep> steps;
};

class AsiFailureTest : public AsiTest, public ::testing::WithParamInterface<FailureScenario> {};

TEST_P(AsiFailureTest, ShowsTheValuesOfEachEvaluation) {
    int index = 0;
    for (const FailureStep& step : GetParam().steps) {
        set_switch(ASI_FAILURE_MODE, step.mode);
        panel.sim().set(VAR_AIRSPEED, step.knots);
        panel.sim().set(VAR_INDICATED_ALTITUDE, step.altitude);
        update(asi);
        EXPECT_EQ(at(asi, NEEDLE_LIT).value, step.lit_shows) << "step " << index;
        EXPECT_EQ(at(asi, NEEDLE_UNLIT).value, step.unlit_shows) << "step " << index;
        ++index;
    }
    expect_no_faults();
}

constexpr double TWO_TO_32 = 4294967296.0;

INSTANTIATE_TEST_SUITE_P(
    Modes, AsiFailureTest,
    ::testing::Values(
        FailureScenario{"ModeOneDropsToZeroBelowTheDial", {{0, 150, 0, 150, 150}, {1, 150, 0, 0, 0}}},
        // The reference is the altitude at the first failed evaluation: 1000 feet.
        FailureScenario{"ModeTwoCreepsWithTheAltitudeChange",
                        {{0, 150, 1000, 150, 150},
                         {2, 250, 1000, 150, 150},
                         {2, 250, 1250.9, 152, 154},
                         {2, 250, 1250, 156, 158},
                         {2, 250, 950, 158, 158},
                         {2, 250, 700, 155, 152}}},
        FailureScenario{"ModeTwoWrapsBelowZeroUnsigned",
                        {{1, 150, 1000, 0, 0}, {2, 150, 1000, 0, 0}, {2, 150, 800, TWO_TO_32 - 2, TWO_TO_32 - 4}}},
        FailureScenario{"ModeThreeFallsAsTheAltitudeRises",
                        {{3, 200, 3000, 200, 200},
                         {3, 200, 3500, 195, 195},
                         {3, 200, 2000, 210, 210},
                         {3, 30, 13000, TWO_TO_32 - 60, TWO_TO_32 - 60}}},
        // -100 feet read unsigned lies far above a reference of 100.
        FailureScenario{"ModeThreeReadsNegativeAltitudesUnsigned",
                        {{3, 200, 100, 200, 200}, {3, 200, -100, TWO_TO_32 + 200 - 42949670, TWO_TO_32 + 200 - 42949670}}},
        // Taken once: leaving the failure and coming back keeps the first reference.
        FailureScenario{"TheReferenceIsTakenOnlyOnce",
                        {{3, 200, 5000, 200, 200}, {0, 180, 9000, 180, 180}, {2, 180, 6000, 190, 200}}},
        FailureScenario{"AnyOtherModeHoldsTheLastValue",
                        {{0, 150, 0, 150, 150}, {7, 250, 9000, 150, 150}, {0xFFFFFFFF, 90, 0, 150, 150},
                         {0, 90, 0, 90, 90}}}),
    [](const ::testing::TestParamInfo<FailureScenario>& info) { return std::string(info.param.name); });

} // namespace
