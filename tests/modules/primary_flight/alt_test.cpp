// The altimeter "alt" through the host: the three drums and the pointer across their
// thresholds and wraps, the freeze switch, the two barometric readouts, the knob's
// events and the lighting.
#include "brevolin_fixture.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr int TEN_THOUSANDS_LIT = 3, TEN_THOUSANDS_UNLIT = 4, THOUSANDS_LIT = 5, THOUSANDS_UNLIT = 6;
constexpr int HUNDREDS_LIT = 7, HUNDREDS_UNLIT = 8, MILLIBARS_LIT = 9, MILLIBARS_UNLIT = 10;
constexpr int INCHES_LIT = 11, INCHES_UNLIT = 12, POINTER_LIT = 13, POINTER_UNLIT = 14;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

struct AltTest : BrevolinTest {
    host::PlacedGauge& alt = place("alt");

    double drum(int step) { return at(alt, step).axis_value[host::AXIS_Y]; }

    // The drums read the altitude during the update; the pointer shows what the previous
    // update's gauge callback stored, so a second update brings it level.
    void settle() { update(alt, 2); }
};

struct DrumCase {
    double altitude;
    double ten_thousands, thousands, hundreds, pointer;
};

class AltDrumTest : public AltTest, public ::testing::WithParamInterface<DrumCase> {};

TEST_P(AltDrumTest, DrumsAndPointerShowTheAltitude) {
    const DrumCase& c = GetParam();
    panel.sim().set(VAR_INDICATED_ALTITUDE, c.altitude);
    settle();
    for (int offset : {0, 1}) { // lit and unlit copies
        EXPECT_EQ(drum(TEN_THOUSANDS_LIT + offset), c.ten_thousands) << "copy " << offset;
        EXPECT_EQ(drum(THOUSANDS_LIT + offset), c.thousands) << "copy " << offset;
        EXPECT_EQ(drum(HUNDREDS_LIT + offset), c.hundreds) << "copy " << offset;
        EXPECT_EQ(at(alt, POINTER_LIT + offset).value, c.pointer) << "copy " << offset;
    }
    // The drums never move sideways.
    EXPECT_EQ(at(alt, HUNDREDS_LIT).axis_value[host::AXIS_X], 1.0);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Altitudes, AltDrumTest,
    ::testing::Values(DrumCase{0, 0, 0, 0, 0}, DrumCase{999, 0, 0, 999, 999}, DrumCase{999.9, 0, 0, 999, 999},
                      DrumCase{1000, 0, 1, 1000, 0}, DrumCase{1001, 0, 1, 1, 1}, DrumCase{1950, 0, 1, 950, 950},
                      DrumCase{1951, 0, 2, 951, 951}, DrumCase{2000, 0, 2, 1000, 0},
                      DrumCase{8950, 0, 8, 950, 950}, DrumCase{8951, 0, 9, 951, 951},
                      DrumCase{9951, 0, 9, 951, 951}, DrumCase{10000, 1, 9, 1000, 0},
                      DrumCase{10001, 1, 0, 1, 1}, DrumCase{19950, 1, 9, 950, 950},
                      DrumCase{19951, 2, 9, 951, 951}, DrumCase{89951, 9, 9, 951, 951},
                      DrumCase{100000, 9, 9, 1000, 0}, DrumCase{100001, 0, 0, 1, 1},
                      DrumCase{112345, 1, 2, 345, 345}, DrumCase{-50, 0, 0, -50, -50},
                      DrumCase{-1999.5, 0, 0, -1999, -1999},
                      DrumCase{NaN, 0, 0, INT32_MIN, INT32_MIN}, DrumCase{1e300, 0, 0, INT32_MIN, INT32_MIN},
                      DrumCase{-INF, 0, 0, INT32_MIN, INT32_MIN}));

TEST_F(AltTest, FailureModeThreeFreezesDrumsAndPointerAtTheirLastValues) {
    place("asi"); // publishes the switch block
    panel.sim().set(VAR_INDICATED_ALTITUDE, 5500);
    settle();
    const struct {
        u32 mode;
        double altitude;
        double thousands, hundreds, pointer;
    } steps[] = {{3, 7700, 5, 500, 500}, {3, 12345, 5, 500, 500}, {1, 7700, 7, 700, 700}, {0, 1234, 1, 234, 234}};
    for (const auto& step : steps) {
        set_switch(ALT_FAILURE_MODE, step.mode);
        panel.sim().set(VAR_INDICATED_ALTITUDE, step.altitude);
        settle();
        EXPECT_EQ(drum(TEN_THOUSANDS_LIT), 0.0) << "mode " << step.mode;
        EXPECT_EQ(drum(THOUSANDS_UNLIT), step.thousands) << "mode " << step.mode;
        EXPECT_EQ(drum(HUNDREDS_LIT), step.hundreds) << "mode " << step.mode;
        EXPECT_EQ(at(alt, POINTER_UNLIT).value, step.pointer) << "mode " << step.mode;
    }
    expect_no_faults();
}

struct ReadoutCase {
    double millibars;
    const char* millibar_text;
    const char* inch_text;
};

class AltReadoutTest : public AltTest, public ::testing::WithParamInterface<ReadoutCase> {};

TEST_P(AltReadoutTest, FormatsTheSettingAndReturnsItUnchanged) {
    const ReadoutCase& c = GetParam();
    panel.sim().set(VAR_BARO_SETTING_MB, c.millibars);
    update(alt);
    for (int step : {MILLIBARS_LIT, MILLIBARS_UNLIT}) {
        EXPECT_STREQ(at(alt, step).text.data(), c.millibar_text) << "step " << step;
    }
    for (int step : {INCHES_LIT, INCHES_UNLIT}) {
        EXPECT_STREQ(at(alt, step).text.data(), c.inch_text) << "step " << step;
    }
    for (int step : {MILLIBARS_LIT, MILLIBARS_UNLIT, INCHES_LIT, INCHES_UNLIT}) {
        if (std::isnan(c.millibars)) EXPECT_TRUE(std::isnan(at(alt, step).value)) << "step " << step;
        else EXPECT_EQ(at(alt, step).value, c.millibars) << "step " << step;
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Settings, AltReadoutTest,
                         ::testing::Values(ReadoutCase{1013.25, "1013", "29.92"}, ReadoutCase{1000, "1000", "29.53"},
                                           ReadoutCase{950, " 950", "28.05"}, ReadoutCase{948.2, " 948", "28.00"},
                                           ReadoutCase{5, "   5", "0.15"}, ReadoutCase{-12.7, " -12", "-0.38"},
                                           ReadoutCase{INF, "-2147483648", "inf"}));

// A setting whose inch text is longer than the host's buffer is cut at the buffer's end,
// never written past it.
TEST_F(AltTest, TheInchReadoutOfAWildSettingStaysWithinTheBuffer) {
    for (double millibars : {1e300, -1e300, 1e30, NaN, -INF}) {
        panel.sim().set(VAR_BARO_SETTING_MB, millibars);
        update(alt);
        char full[400];
        std::snprintf(full, sizeof full, "%2.2f", millibars * 0.0009869232667160128 * 29.92);
        const std::string expected(full, std::min(std::strlen(full), READOUT_TEXT_CAPACITY - 1));
        EXPECT_EQ(std::string(at(alt, INCHES_LIT).text.data()), expected) << millibars;
        EXPECT_STREQ(at(alt, MILLIBARS_LIT).text.data(), "-2147483648") << millibars;
    }
    expect_no_faults();
}

TEST_F(AltTest, TheKnobAsksTheHostToMoveTheSettingAndTheReadoutsFollow) {
    panel.sim().set(VAR_BARO_SETTING_MB, 1013.25);
    const struct {
        int x, y;
        double setting;
        const char* inches;
    } presses[] = {
        {250, 230, 1013.25 + host::BARO_STEP_MB, "29.93"}, // right half: increase
        {263, 262, 1013.25 + 2 * host::BARO_STEP_MB, "29.94"},
        {204, 207, 1013.25 + host::BARO_STEP_MB, "29.93"}, // left half: decrease
        {233, 262, 1013.25, "29.92"},
    };
    for (const auto& press : presses) {
        click(alt, press.x, press.y);
        EXPECT_NEAR(panel.sim().value(VAR_BARO_SETTING_MB), press.setting, 1e-9) << press.x << "," << press.y;
        update(alt);
        EXPECT_STREQ(at(alt, INCHES_UNLIT).text.data(), press.inches) << press.x << "," << press.y;
    }
    EXPECT_EQ(panel.click(alt, 203, 230), nullptr);
    EXPECT_EQ(panel.click(alt, 264, 230), nullptr);
    expect_no_faults();
}

TEST_F(AltTest, AnyNonZeroLightingShowsTheLitCopies) {
    EXPECT_EQ(unhidden_steps(alt), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})); // as stored
    const std::vector<int> lit = {0, 1, 3, 5, 7, 9, 11, 13}, unlit = {0, 2, 4, 6, 8, 10, 12, 14};
    const struct {
        double lights;
        std::vector<int> shown;
    } cases[] = {{1.0, lit}, {0.0, unlit}, {2.0, lit}, {-1.0, lit}};
    for (const auto& c : cases) {
        panel.sim().set(VAR_PANEL_LIGHTS, c.lights);
        update(alt);
        EXPECT_EQ(shown_steps(alt), c.shown) << "lights " << c.lights;
    }
    expect_no_faults();
}

} // namespace
