// The clock "clock" through the host: the hands' values, the knob's minute and hour
// events, the freeze switch and the lighting.
#include "brevolin_fixture.h"

namespace {

constexpr int HOUR_LIT = 3, HOUR_UNLIT = 4, MINUTE_LIT = 5, MINUTE_UNLIT = 6, SECOND_LIT = 7, SECOND_UNLIT = 8;
constexpr int BACK_X = 17, FORWARD_X = 50, KNOB_Y = 270;

struct ClockTest : BrevolinTest {
    host::PlacedGauge& clock = place("clock");

    void set_time(double hour, double minute, double second = 0) {
        panel.sim().set(VAR_CLOCK_HOUR, hour);
        panel.sim().set(VAR_CLOCK_MINUTE, minute);
        panel.sim().set(VAR_CLOCK_SECOND, second);
    }
};

struct HandCase {
    double hour, minute, second;
    double hour_hand;
};

class ClockHandTest : public ClockTest, public ::testing::WithParamInterface<HandCase> {};

TEST_P(ClockHandTest, FoldsAfternoonHoursOntoTheDial) {
    const HandCase& c = GetParam();
    set_time(c.hour, c.minute, c.second);
    update(clock);
    EXPECT_EQ(at(clock, HOUR_LIT).value, c.hour_hand);
    EXPECT_EQ(at(clock, HOUR_UNLIT).value, c.hour_hand);
    EXPECT_EQ(at(clock, MINUTE_LIT).value, c.minute);
    EXPECT_EQ(at(clock, MINUTE_UNLIT).value, c.minute);
    EXPECT_EQ(at(clock, SECOND_LIT).value, c.second);
    EXPECT_EQ(at(clock, SECOND_UNLIT).value, c.second);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Times, ClockHandTest,
                         ::testing::Values(HandCase{0, 0, 0, 0}, HandCase{1, 2, 3, 1}, HandCase{11, 59, 59, 11},
                                           HandCase{12, 30, 15, 12}, HandCase{13, 5, 6, 1},
                                           HandCase{23, 45, 30, 11}));

struct KnobCase {
    double hour, minute;
    int x;
    double hour_after, minute_after;
};

class ClockKnobTest : public ClockTest, public ::testing::WithParamInterface<KnobCase> {};

// The host turns the minutes without carrying into the hour; the gauge sends the hour
// event itself when the minutes then read 0.
TEST_P(ClockKnobTest, MovesTheMinutesAndCarriesIntoTheHourAtZero) {
    const KnobCase& c = GetParam();
    set_time(c.hour, c.minute);
    click(clock, c.x, KNOB_Y);
    EXPECT_EQ(panel.sim().value(VAR_CLOCK_HOUR), c.hour_after);
    EXPECT_EQ(panel.sim().value(VAR_CLOCK_MINUTE), c.minute_after);
    update(clock);
    EXPECT_EQ(at(clock, MINUTE_LIT).value, c.minute_after);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Presses, ClockKnobTest,
                         ::testing::Values(KnobCase{10, 59, FORWARD_X, 11, 0}, KnobCase{10, 30, FORWARD_X, 10, 31},
                                           KnobCase{23, 59, FORWARD_X, 0, 0}, KnobCase{10, 1, BACK_X, 9, 0},
                                           KnobCase{10, 0, BACK_X, 10, 59}, KnobCase{0, 1, BACK_X, 23, 0},
                                           KnobCase{10, 30, BACK_X, 10, 29}));

TEST_F(ClockTest, KnobAreasCoverTheLowerLeftOnly) {
    EXPECT_NE(panel.click(clock, 0, 245), nullptr);
    EXPECT_NE(panel.click(clock, 70, 304), nullptr);
    EXPECT_EQ(panel.click(clock, 35, 270), nullptr); // the gap between the two areas
    EXPECT_EQ(panel.click(clock, 50, 244), nullptr);
    EXPECT_EQ(panel.click(clock, 71, 270), nullptr);
}

TEST_F(ClockTest, FrozenHandsKeepTheirLastValues) {
    place("asi"); // publishes the switch block
    set_time(14, 20, 30);
    update(clock);
    const struct {
        u32 freeze;
        double hour, minute, second;
        double hour_hand, minute_hand, second_hand;
    } steps[] = {{1, 15, 40, 50, 2, 20, 30}, {0xFFFFFFFF, 16, 41, 51, 2, 20, 30}, {0, 17, 42, 52, 5, 42, 52}};
    for (const auto& step : steps) {
        set_switch(CLOCK_FREEZE, step.freeze);
        set_time(step.hour, step.minute, step.second);
        update(clock);
        EXPECT_EQ(at(clock, HOUR_UNLIT).value, step.hour_hand) << "freeze " << step.freeze;
        EXPECT_EQ(at(clock, MINUTE_LIT).value, step.minute_hand) << "freeze " << step.freeze;
        EXPECT_EQ(at(clock, SECOND_UNLIT).value, step.second_hand) << "freeze " << step.freeze;
    }
    expect_no_faults();
}

TEST_F(ClockTest, AnyNonZeroLightingShowsTheLitCopies) {
    const std::vector<int> lit = {0, 1, 3, 5, 7}, unlit = {0, 2, 4, 6, 8};
    EXPECT_EQ(unhidden_steps(clock), unlit); // as stored
    const struct {
        double lights;
        std::vector<int> shown;
    } cases[] = {{1.0, lit}, {0.0, unlit}, {2.0, lit}, {0.25, lit}};
    for (const auto& c : cases) {
        panel.sim().set(VAR_PANEL_LIGHTS, c.lights);
        update(clock);
        EXPECT_EQ(shown_steps(clock), c.shown) << "lights " << c.lights;
    }
    expect_no_faults();
}

} // namespace
