// The pilot's side of "pln6": the heading and course knobs, the readout switch and the
// readouts, driven by clicks through the host.
#include "hsi_fixture.h"

#include <array>
#include <limits>

namespace {

KeyEvent bug_set(u32 value) { return {EVENT_HEADING_BUG_SET, value}; }

// ---- the typical road of a click ---------------------------------------------------------

TEST_F(HsiTest, AHeadingKnobClickReachesTheBugNeedleThroughTheHost) {
    panel.sim().set(VAR_GYRO_HEADING, 90);
    panel.sim().set(VAR_HEADING_BUG, 100);
    settle();
    EXPECT_EQ(value(HEADING_BUG), 100 + 269 + 360);
    EXPECT_DOUBLE_EQ(at(hsi, HEADING_BUG).needle_angle, 9.0); // degrees clockwise of straight up

    click_bug_up();
    EXPECT_EQ(sent, (std::vector<KeyEvent>{bug_set(101)}));
    EXPECT_EQ(panel.sim().value(VAR_HEADING_BUG), 101); // the host moved its bug

    panel.update(hsi); // the gauge callback reads the new bug and computes its angle
    EXPECT_EQ(value(HEADING_BUG), 729);
    panel.update(hsi); // which the bug needle's callback hands over in the next cycle
    EXPECT_EQ(value(HEADING_BUG), 730);
    EXPECT_DOUBLE_EQ(at(hsi, HEADING_BUG).needle_angle, 10.0);
    expect_no_faults();
}

// ---- heading knob ---------------------------------------------------------------------------

struct KnobCase {
    const char* name;
    double bug_first;       // the host's bug on the first update, seeding the knob
    double bug_then;        // the host's bug at the update before the click
    bool up;
    u32 sent;
};

class HsiKnobTest : public HsiTest, public ::testing::WithParamInterface<KnobCase> {};

TEST_P(HsiKnobTest, StepsOneDegreeFromTheBugTheLastUpdateKept) {
    const KnobCase& c = GetParam();
    panel.sim().set(VAR_HEADING_BUG, c.bug_first);
    panel.update(hsi);
    panel.sim().set(VAR_HEADING_BUG, c.bug_then); // moved by other means, or not
    panel.update(hsi);
    if (c.up) click_bug_up();
    else click_bug_down();
    EXPECT_EQ(sent, (std::vector<KeyEvent>{bug_set(c.sent)}));
    EXPECT_EQ(panel.sim().value(VAR_HEADING_BUG), c.sent);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Knob, HsiKnobTest,
    ::testing::Values(KnobCase{"Up", 100, 100, true, 101}, KnobCase{"Down", 100, 100, false, 99},
                      KnobCase{"UpAfterTheBugMoved", 100, 150, true, 151},
                      KnobCase{"DownAfterTheBugMoved", 100, 150, false, 149},
                      KnobCase{"UpPastNorth", 359, 359, true, 0}, KnobCase{"DownPastNorth", 0, 0, false, 359},
                      KnobCase{"UpFrom360", 10, 360, true, 1}, KnobCase{"DownFrom360", 10, 360, false, 359},
                      KnobCase{"FractionalBug", 45.7, 45.7, true, 46},
                      KnobCase{"NegativeBug", -1, -1, false, 358},
                      KnobCase{"WildBugStillGivesADegree", 0, std::numeric_limits<double>::quiet_NaN(), true,
                               // the lowest 32-bit integer plus one, whole turns off
                               static_cast<u32>((INT32_MIN + 1LL) % 360 + 360)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HsiTest, TheHeadingKnobCirclesBothWaysAndNeverSends360) {
    panel.sim().set(VAR_HEADING_BUG, 355);
    panel.update(hsi);
    std::vector<KeyEvent> expected;
    for (int click = 1; click <= 10; ++click) {
        click_bug_up();
        panel.update(hsi);
        expected.push_back(bug_set((355 + click) % 360));
    }
    for (int click = 1; click <= 20; ++click) {
        click_bug_down();
        panel.update(hsi);
        expected.push_back(bug_set((5 - click + 360) % 360));
    }
    EXPECT_EQ(sent, expected); // 356 .. 359, 0 .. 5, then 4 .. 0, 359 .. 345

    // Two whole turns each way come back to where they started.
    for (int click = 0; click < 720; ++click) {
        click_bug_up();
        panel.update(hsi);
    }
    EXPECT_EQ(panel.sim().value(VAR_HEADING_BUG), 345);
    for (int click = 0; click < 720; ++click) {
        click_bug_down();
        panel.update(hsi);
    }
    EXPECT_EQ(panel.sim().value(VAR_HEADING_BUG), 345);
    for (const KeyEvent& key : sent) EXPECT_LT(key.value, 360u);
    EXPECT_EQ(sent.size(), 30u + 1440u);
    expect_no_faults();
}

TEST_F(HsiTest, ClicksBetweenUpdatesStepFromWhatTheLastUpdateKept) {
    panel.sim().set(VAR_HEADING_BUG, 100);
    panel.update(hsi);
    click_bug_up();
    click_bug_up(); // the host already holds 101, but the knob does not read it
    EXPECT_EQ(sent, (std::vector<KeyEvent>{bug_set(101), bug_set(101)}));
    panel.update(hsi);
    click_bug_up();
    EXPECT_EQ(sent.back(), bug_set(102));
}

// ---- course knob --------------------------------------------------------------------------

TEST_F(HsiTest, TheCourseKnobSendsTheHostsCourseEvents) {
    panel.sim().set(VAR_NAV1_COURSE, 359);
    click_course_up();
    EXPECT_EQ(panel.sim().value(VAR_NAV1_COURSE), 0);
    click_course_down();
    click_course_down();
    EXPECT_EQ(panel.sim().value(VAR_NAV1_COURSE), 358);
    EXPECT_EQ(sent, (std::vector<KeyEvent>{{EVENT_NAV1_COURSE_INC, 0}, {EVENT_NAV1_COURSE_DEC, 0},
                                           {EVENT_NAV1_COURSE_DEC, 0}}));
    settle();
    EXPECT_EQ(value(COURSE_POINTER), 358 + 359 + 360);
    expect_no_faults();
}

TEST_F(HsiTest, MouseAreasAreTheKnobHalvesAndTheSwitchInsideOneWholeFaceParent) {
    const MouseRect* areas = hsi.gauge->header->mouse_areas;
    ASSERT_EQ(areas[0].type, MOUSE_PARENT);
    EXPECT_EQ(areas[0].cursor, -1);
    struct Child {
        i32 x, y, w, h, cursor;
        u32 flags;
    };
    const Child children[] = {
        {262, 232, 22, 44, 1, 0x20200000}, {240, 232, 22, 44, 2, 0x20200000}, {37, 232, 22, 44, 1, 0x20200000},
        {15, 232, 22, 44, 2, 0x20200000},  {126, 267, 45, 24, 5, 0x20000000},
    };
    for (std::size_t i = 0; i < std::size(children); ++i) {
        const MouseRect& area = areas[i + 1];
        const Child& c = children[i];
        EXPECT_EQ(area.type, MOUSE_CHILD) << i;
        EXPECT_EQ((std::array{area.x, area.y, area.width, area.height, area.cursor}),
                  (std::array{c.x, c.y, c.w, c.h, c.cursor}))
            << i;
        EXPECT_EQ(area.flags, c.flags) << i;
        EXPECT_EQ(area.help_id, 0u) << i;
        // A click on the area's far corner reaches its function, which returns 0.
        EXPECT_EQ(panel.click(hsi, c.x + c.w - 1, c.y + c.h - 1), &area) << i;
    }
    EXPECT_EQ(areas[6].type, MOUSE_PARENT_END);
    EXPECT_EQ(areas[7].type, MOUSE_END);
    EXPECT_EQ(panel.click(hsi, 150, 150), nullptr); // the card itself does nothing
    expect_no_faults();
}

// ---- readouts -------------------------------------------------------------------------------

TEST_F(HsiTest, ReadoutsStartOffAndTheSwitchTogglesThem) {
    panel.sim().set(VAR_HEADING_BUG, 5);
    panel.sim().set(VAR_NAV1_COURSE, 45);
    struct Expected {
        const char *bug, *course;
    };
    const Expected after_each_click[] = {{"    ", "    "}, {"H  5", "V 45"}, {"    ", "    "}, {"H  5", "V 45"}};
    for (const Expected& e : after_each_click) {
        settle();
        EXPECT_EQ(text(BUG_READOUT), e.bug);
        EXPECT_EQ(text(COURSE_READOUT), e.course);
        click_readout_switch();
    }
    expect_no_faults();
}

struct ReadoutCase {
    const char* name;
    double bug, course;
    const char *bug_text, *course_text;
};

class HsiReadoutTest : public HsiTest, public ::testing::WithParamInterface<ReadoutCase> {};

TEST_P(HsiReadoutTest, ShowsTheLetterAndThreeColumns) {
    const ReadoutCase& c = GetParam();
    click_readout_switch();
    panel.sim().set(VAR_HEADING_BUG, c.bug);
    panel.sim().set(VAR_NAV1_COURSE, c.course);
    settle();
    EXPECT_EQ(text(BUG_READOUT), c.bug_text);
    EXPECT_EQ(text(COURSE_READOUT), c.course_text);
}

INSTANTIATE_TEST_SUITE_P(
    Readouts, HsiReadoutTest,
    ::testing::Values(ReadoutCase{"Bug5", 5, 0, "H  5", "V  0"}, ReadoutCase{"Bug360", 360, 359, "H360", "V359"},
                      ReadoutCase{"Fractions", 123.9, 99.5, "H123", "V 99"},
                      ReadoutCase{"Negative", -7, -12, "H -7", "V-12"},
                      ReadoutCase{"Wild", std::numeric_limits<double>::quiet_NaN(), 1e300, "H-2147483648",
                                  "V-2147483648"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HsiTest, TheBugReadoutShowsTheBugOfTheLastUpdateAndTheCourseReadoutTheCurrentCourse) {
    click_readout_switch();
    panel.sim().set(VAR_HEADING_BUG, 10);
    panel.sim().set(VAR_NAV1_COURSE, 20);
    settle();
    panel.sim().set(VAR_HEADING_BUG, 11);
    panel.sim().set(VAR_NAV1_COURSE, 21);
    panel.update(hsi);
    EXPECT_EQ(text(BUG_READOUT), "H 10");
    EXPECT_EQ(text(COURSE_READOUT), "V 21");
}

TEST_F(HsiTest, ReadoutsReturnOneExactlyWhenTheirAirspeedReadsZero) {
    for (double airspeed : {0.0, 0.5, 120.0, -0.0}) {
        panel.sim().set(VAR_AIRSPEED, airspeed);
        panel.update(hsi);
        const double flag = airspeed == 0.0 ? 1.0 : 0.0;
        EXPECT_EQ(value(BUG_READOUT), flag) << airspeed;
        EXPECT_EQ(value(COURSE_READOUT), flag) << airspeed;
    }
}

} // namespace
