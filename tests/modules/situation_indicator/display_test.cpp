// What "pln6" shows: the chain it hands the host, the angles of card, course and bug,
// which copies, flags, pointers and TO/FROM sprites are in view, and the deviation bar.
#include "hsi_fixture.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

using Steps = std::vector<int>;

// ---- the records the host reads ------------------------------------------------------

TEST_F(HsiTest, HandsTheHostAThirtyElementChainOfTheRightKindsAndBitmaps) {
    struct Expected {
        ElementKind kind;
        u32 bitmap;
    };
    const Expected chain[] = {
        {ELEMENT_STATIC, 0x1000}, {ELEMENT_ICON, 0x2016},   {ELEMENT_ICON, 0x100c},   {ELEMENT_ICON, 0x100c},
        {ELEMENT_SLIDER, 0x2006}, {ELEMENT_SLIDER, 0x2006}, {ELEMENT_SPRITE, 0x1003}, {ELEMENT_SPRITE, 0x1003},
        {ELEMENT_NEEDLE, 0x2003}, {ELEMENT_NEEDLE, 0x2003}, {ELEMENT_NEEDLE, 0x100f}, {ELEMENT_NEEDLE, 0x100f},
        {ELEMENT_SPRITE, 0x101e}, {ELEMENT_SPRITE, 0x1018}, {ELEMENT_SPRITE, 0x1012}, {ELEMENT_SPRITE, 0x101e},
        {ELEMENT_SPRITE, 0x1018}, {ELEMENT_SPRITE, 0x1012}, {ELEMENT_SPRITE, 0x2009}, {ELEMENT_SPRITE, 0x2009},
        {ELEMENT_ICON, 0x200f},   {ELEMENT_ICON, 0x200f},   {ELEMENT_ICON, 0x2015},   {ELEMENT_ICON, 0x2015},
        {ELEMENT_ICON, 0x2012},   {ELEMENT_ICON, 0x2012},   {ELEMENT_ICON, 0x1009},   {ELEMENT_ICON, 0x1009},
        {ELEMENT_STRING, BITMAP_NONE}, {ELEMENT_STRING, BITMAP_NONE},
    };
    ASSERT_EQ(hsi.elements.size(), std::size(chain));
    for (int step = 0; step < static_cast<int>(std::size(chain)); ++step) {
        const ElementHeader& element = *at(hsi, step).element;
        EXPECT_EQ(element.kind, chain[step].kind) << "step " << step;
        EXPECT_EQ(element.bitmap_id, chain[step].bitmap) << "step " << step;
        if (element.kind == ELEMENT_ICON || element.kind == ELEMENT_SPRITE || element.kind == ELEMENT_SLIDER) {
            EXPECT_NE(panel.picture(*hsi.module, element.bitmap_id), nullptr) << "step " << step;
        }
    }
    // The host draws sprites through a companion bitmap one id above the texture's.
    for (u32 companion : {0x1004u, 0x1013u, 0x1019u, 0x101fu, 0x200au}) {
        const host::Picture* window = panel.picture(*hsi.module, companion);
        ASSERT_NE(window, nullptr) << companion;
        EXPECT_EQ(window->width, companion == 0x1004u ? 213 : 157);
    }
    EXPECT_EQ(hsi.face_width, 299);
    EXPECT_EQ(hsi.face_height, 292);
    expect_no_faults();
}

TEST_F(HsiTest, StartsWithTheLitMarksBugPointerAndTheToFromSpritesButTheStripesHidden) {
    Steps hidden;
    for (const host::ElementState& state : hsi.elements) {
        if (state.element->image_flags & IMAGE_FLAG_HIDDEN) hidden.push_back(state.step);
    }
    EXPECT_EQ(hidden, (Steps{INDEX_MARKS_LIT, HEADING_BUG_LIT, COURSE_POINTER_LIT, FROM_LIT, TO_LIT, NO_TO_FROM_LIT,
                             FROM, TO}));
}

TEST_F(HsiTest, ServiceCodesOtherThanUpdateChangeNothing) {
    panel.sim().set(VAR_PANEL_LIGHTS, 1.0);
    std::vector<u32> flags_before;
    for (const auto& state : hsi.elements) flags_before.push_back(state.element->image_flags);
    for (u32 code = 0; code < 64; ++code) {
        if (code != SERVICE_UPDATE) panel.call_gauge_callback(hsi, code, 0);
    }
    std::vector<u32> flags_after;
    for (const auto& state : hsi.elements) flags_after.push_back(state.element->image_flags);
    EXPECT_EQ(flags_after, flags_before);
    EXPECT_EQ(panel.sim().named_count(), 0u);
    expect_no_faults();
}

// Panel electrics (20) freeze the moving parts and readouts, the compass system (11) the
// card, and the NAV1 receiver (14) zeroes the course pointer.
TEST_F(HsiTest, HostFailuresActOnTheElementsThatListThem) {
    struct Failure {
        u32 key;
        host::FailureAction action;
        Steps steps;
    };
    const Failure failures[] = {
        {20, host::FailureAction::FREEZE, {4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 18, 19, 28, 29}},
        {11, host::FailureAction::FREEZE, {CARD_LIT, CARD}},
        {14, host::FailureAction::ZERO, {COURSE_POINTER_LIT, COURSE_POINTER}},
    };
    panel.sim().set(VAR_GYRO_HEADING, 10);
    settle();
    for (const Failure& failure : failures) {
        panel.sim().set_failure(failure.key, true);
        panel.update(hsi);
        Steps affected;
        for (const host::ElementState& state : hsi.elements) {
            if (state.failure != host::FailureAction::NONE) {
                EXPECT_EQ(state.failure, failure.action) << "key " << failure.key << ", step " << state.step;
                affected.push_back(state.step);
            }
        }
        EXPECT_EQ(affected, failure.steps) << "key " << failure.key;
        panel.sim().set_failure(failure.key, false);
    }
}

// ---- angles ------------------------------------------------------------------------------

struct AngleCase {
    const char* name;
    double heading, course, bug, power;
    int failure_279;
    double card, course_angle, bug_angle;
};

class HsiAngleTest : public HsiTest, public ::testing::WithParamInterface<AngleCase> {};

// The card turns by the heading; course and bug are relative to it, one degree short
// (359 - heading) and a whole turn up. Frozen from the first update, card and course
// stay at 0 while the bug still follows the host.
const AngleCase ANGLE_CASES[] = {
    {"HeadingAndCourse90", 90, 90, 0, 1.0, 0, 90, 90 + 269 + 360, 0 + 269 + 360},
    {"HeadingNorth", 0, 0, 0, 1.0, 0, 0, 719, 719},
    {"Heading359", 359, 0, 0, 1.0, 0, 359, 360, 360},
    {"FractionsAreTruncated", 45.9, 10.7, 100.2, 1.0, 0, 45, 10 + 314 + 360, 100 + 314 + 360},
    {"UnpoweredFromTheFirstUpdate", 90, 45, 10, 0.0, 0, 0, 0, 370},
    {"HalfPowerFromTheFirstUpdate", 90, 45, 10, 0.5, 0, 0, 0, 370},
    {"HeadingFailureFromTheFirstUpdate", 90, 45, 10, 1.0, 1, 0, 0, 370},
};

TEST_P(HsiAngleTest, HandsOverCardCourseAndBugAngles) {
    const AngleCase& c = GetParam();
    panel.sim().set(VAR_GYRO_HEADING, c.heading);
    panel.sim().set(VAR_NAV1_COURSE, c.course);
    panel.sim().set(VAR_HEADING_BUG, c.bug);
    panel.sim().set(VAR_INSTRUMENT_POWER, c.power);
    panel.sim().set(VAR_FAILURE_279, c.failure_279);
    settle();
    for (int step : {CARD_LIT, CARD}) EXPECT_EQ(rotation(step), c.card) << "card step " << step;
    for (int step : {COURSE_POINTER_LIT, COURSE_POINTER}) EXPECT_EQ(value(step), c.course_angle) << "step " << step;
    for (int step = FROM_LIT; step <= DEVIATION_BAR; ++step) EXPECT_EQ(rotation(step), c.course_angle) << "step " << step;
    for (int step : {HEADING_BUG_LIT, HEADING_BUG}) EXPECT_EQ(value(step), c.bug_angle) << "bug step " << step;
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Angles, HsiAngleTest, ::testing::ValuesIn(ANGLE_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

struct FreezeCase {
    const char* name;
    double power;
    int failure_285, failure_279;
    bool frozen;
};

class HsiFreezeTest : public HsiTest, public ::testing::WithParamInterface<FreezeCase> {};

// Live at heading 90, course 90 and bug 100; then the fault, and the aircraft turns.
TEST_P(HsiFreezeTest, CardAndCourseFreezeAtTheLastLiveAnglesWhileTheBugFollows) {
    const FreezeCase& c = GetParam();
    panel.sim().set(VAR_GYRO_HEADING, 90);
    panel.sim().set(VAR_NAV1_COURSE, 90);
    panel.sim().set(VAR_HEADING_BUG, 100);
    settle();
    ASSERT_EQ(value(COURSE_POINTER), 719);

    panel.sim().set(VAR_INSTRUMENT_POWER, c.power);
    panel.sim().set(VAR_FAILURE_285, c.failure_285);
    panel.sim().set(VAR_FAILURE_279, c.failure_279);
    panel.sim().set(VAR_GYRO_HEADING, 180);
    panel.sim().set(VAR_NAV1_COURSE, 200);
    panel.sim().set(VAR_HEADING_BUG, 20);
    settle();
    if (c.frozen) {
        EXPECT_EQ(rotation(CARD), 90);
        EXPECT_EQ(value(COURSE_POINTER), 359); // the same direction as 719, one turn below
        EXPECT_EQ(rotation(TO), 359);
        EXPECT_EQ(value(HEADING_BUG), 20 + 269 + 360); // against the offset of the last live heading
    } else {
        EXPECT_EQ(rotation(CARD), 180);
        EXPECT_EQ(value(COURSE_POINTER), 200 + 179 + 360);
        EXPECT_EQ(value(HEADING_BUG), 20 + 179 + 360);
    }

    // Back to full power and no failure: live again at once.
    panel.sim().set(VAR_INSTRUMENT_POWER, 1.0);
    panel.sim().set(VAR_FAILURE_285, 0);
    panel.sim().set(VAR_FAILURE_279, 0);
    settle();
    EXPECT_EQ(rotation(CARD), 180);
    EXPECT_EQ(value(COURSE_POINTER), 739);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Faults, HsiFreezeTest,
                         ::testing::Values(FreezeCase{"NoPower", 0.0, 0, 0, true},
                                           FreezeCase{"HalfPower", 0.5, 0, 0, true},
                                           FreezeCase{"HeadingFailure", 1.0, 0, 1, true},
                                           FreezeCase{"Failure285Alone", 1.0, 1, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HsiTest, WildInputsGiveDefinedAnglesAndNoFault) {
    const double wild[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e300, 2147483648.0};
    for (double v : wild) {
        for (u32 id : {VAR_GYRO_HEADING, VAR_NAV1_COURSE, VAR_HEADING_BUG, VAR_NAV1_COURSE_DEVIATION,
                       VAR_NAV1_GLIDESLOPE_STATUS}) {
            panel.sim().set(id, v);
        }
        settle();
        // Every out-of-range value truncates to the lowest 32-bit integer.
        EXPECT_EQ(rotation(CARD), 2147483648.0) << v;
        EXPECT_EQ(at(hsi, DEVIATION_BAR).axis_value[host::AXIS_X], -2147483648.0) << v;
        for (int step : {COURSE_POINTER, HEADING_BUG}) {
            EXPECT_TRUE(value(step) >= 0 && value(step) <= 4294967295.0) << v;
        }
    }
    for (double v : wild) {
        panel.sim().set(VAR_PANEL_LIGHTS, v);
        panel.sim().set(VAR_INSTRUMENT_POWER, v);
        settle();
    }
    expect_no_faults();
}

// ---- what is in view -------------------------------------------------------------------

// Always in view: the face and both readouts. Unlit copies: glideslope scale, card, bug,
// course pointer, deviation bar, aircraft and lubber line; lit copies: the same, the index
// marks in their place.
const Steps UNLIT = {0, 3, 7, 9, 11, 19, 21, 27, 28, 29};
const Steps LIT = {0, 1, 2, 6, 8, 10, 18, 20, 26, 28, 29};

Steps with(Steps base, std::initializer_list<int> more) {
    base.insert(base.end(), more);
    std::sort(base.begin(), base.end());
    return base;
}

struct ViewCase {
    const char* name;
    double lights, power;
    int failure_285, failure_279;
    double glideslope_status;
    int to_from;
    Steps shown;
};

class HsiViewTest : public HsiTest, public ::testing::WithParamInterface<ViewCase> {};

TEST_P(HsiViewTest, ShowsTheStepsOfItsState) {
    const ViewCase& c = GetParam();
    panel.sim().set(VAR_PANEL_LIGHTS, c.lights);
    panel.sim().set(VAR_INSTRUMENT_POWER, c.power);
    panel.sim().set(VAR_FAILURE_285, c.failure_285);
    panel.sim().set(VAR_FAILURE_279, c.failure_279);
    panel.sim().set(VAR_NAV1_GLIDESLOPE_STATUS, c.glideslope_status);
    panel.sim().set(VAR_NAV1_TO_FROM, c.to_from);
    panel.update(hsi);
    EXPECT_EQ(shown_steps(hsi), c.shown);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Views, HsiViewTest,
    ::testing::Values(
        ViewCase{"DarkPoweredTo", 0.0, 1.0, 0, 0, 1, 1, with(UNLIT, {GLIDESLOPE_POINTER, TO})},
        ViewCase{"LitPoweredFrom", 1.0, 1.0, 0, 0, 1, 2, with(LIT, {GLIDESLOPE_POINTER_LIT, FROM_LIT})},
        ViewCase{"LitNoIndication", 1.0, 1.0, 0, 0, 1.9, 0, with(LIT, {GLIDESLOPE_POINTER_LIT, NO_TO_FROM_LIT})},
        // No power at all: flags down, glideslope pointer gone.
        ViewCase{"DarkUnpowered", 0.0, 0.0, 0, 0, 1, 0, with(UNLIT, {NO_TO_FROM, HEADING_FLAG, GLIDESLOPE_FLAG})},
        ViewCase{"LitUnpowered", 1.0, 0.0, 0, 0, 1, 1, with(LIT, {TO_LIT, HEADING_FLAG_LIT, GLIDESLOPE_FLAG_LIT})},
        // Half power keeps the flags up but still loses the glideslope pointer.
        ViewCase{"DarkHalfPower", 0.0, 0.5, 0, 0, 1, 0, with(UNLIT, {NO_TO_FROM})},
        ViewCase{"DarkFailure285", 0.0, 1.0, 1, 0, 1, 1, with(UNLIT, {GLIDESLOPE_POINTER, TO, HEADING_FLAG, GLIDESLOPE_FLAG})},
        ViewCase{"LitFailure279", 1.0, 1.0, 0, 1, 1, 0,
                 with(LIT, {GLIDESLOPE_POINTER_LIT, NO_TO_FROM_LIT, HEADING_FLAG_LIT, GLIDESLOPE_FLAG_LIT})},
        ViewCase{"NoGlideslope", 0.0, 1.0, 0, 0, 0, 1, with(UNLIT, {TO})},
        ViewCase{"GlideslopeStatus2", 0.0, 1.0, 0, 0, 2, 1, with(UNLIT, {TO})},
        // Lights at 2.0: unlit instruments, but lit flags, glideslope pointer and TO/FROM.
        ViewCase{"Lights2", 2.0, 1.0, 1, 0, 1, 1,
                 with(UNLIT, {GLIDESLOPE_POINTER_LIT, TO_LIT, HEADING_FLAG_LIT, GLIDESLOPE_FLAG_LIT})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HsiTest, ToFromFollowsTheIntegerIndicationAndAnUnknownOneKeepsTheCurrentCopy) {
    struct Update {
        double lights;
        int to_from;
        Steps to_from_shown;
    };
    const Update updates[] = {
        {0.0, 1, {TO}},
        {0.0, 2, {FROM}},
        {0.0, 0, {NO_TO_FROM}},
        {0.0, 7, {NO_TO_FROM}},      // unknown: the unlit stripes stay
        {1.0, 1, {TO_LIT}},          // lights on: the unlit copy goes
        {1.0, -1, {TO_LIT}},
        {0.0, 3, {}},                // lights off with an unknown value: nothing at all
        {0.0, 2, {FROM}},
        {2.0, 0, {NO_TO_FROM_LIT}},
    };
    const Steps to_from_steps = {FROM_LIT, TO_LIT, NO_TO_FROM_LIT, FROM, TO, NO_TO_FROM};
    for (const Update& u : updates) {
        panel.sim().set(VAR_PANEL_LIGHTS, u.lights);
        panel.sim().set(VAR_NAV1_TO_FROM, u.to_from);
        panel.update(hsi);
        Steps shown;
        for (int step : shown_steps(hsi)) {
            if (std::ranges::find(to_from_steps, step) != to_from_steps.end()) shown.push_back(step);
        }
        EXPECT_EQ(shown, u.to_from_shown) << "lights " << u.lights << ", TO/FROM " << u.to_from;
    }
}

TEST_F(HsiTest, ToFromDeliveredAsADoubleReadsItsFirstFourBytes) {
    panel.sim().set_raw(VAR_NAV1_TO_FROM, 1.0); // low four bytes of 1.0 are zero: no indication
    panel.update(hsi);
    EXPECT_TRUE(at(hsi, NO_TO_FROM).visible);
    EXPECT_FALSE(at(hsi, TO).visible);
    panel.sim().set(VAR_NAV1_TO_FROM, 1); // the integer in the first four bytes
    panel.update(hsi);
    EXPECT_FALSE(at(hsi, NO_TO_FROM).visible);
    EXPECT_TRUE(at(hsi, TO).visible);
}

TEST_F(HsiTest, FailureDeliveredAsADoubleReadsItsFirstFourBytes) {
    panel.sim().set_raw(VAR_FAILURE_279, 1.0); // zero in the first four bytes: no failure
    panel.sim().set(VAR_GYRO_HEADING, 30);
    settle();
    EXPECT_FALSE(at(hsi, HEADING_FLAG).visible);
    EXPECT_EQ(rotation(CARD), 30);
    panel.sim().set_raw(VAR_FAILURE_279, std::bit_cast<double>(std::uint64_t{1}));
    panel.update(hsi);
    EXPECT_TRUE(at(hsi, HEADING_FLAG).visible);
}

// ---- course deviation ------------------------------------------------------------------

struct DeviationCase {
    const char* name;
    double power, deviation, shown;
};

class HsiDeviationTest : public HsiTest, public ::testing::WithParamInterface<DeviationCase> {};

TEST_P(HsiDeviationTest, MovesTheBarUnlessUnpowered) {
    const DeviationCase& c = GetParam();
    panel.sim().set(VAR_INSTRUMENT_POWER, c.power);
    panel.sim().set(VAR_NAV1_COURSE_DEVIATION, c.deviation);
    settle(); // the bar reads power as the previous update left it
    for (int step : {DEVIATION_BAR_LIT, DEVIATION_BAR}) {
        const host::ElementState& bar = at(hsi, step);
        EXPECT_EQ(bar.axis_value[host::AXIS_X], c.shown);
        EXPECT_DOUBLE_EQ(bar.axis_output[host::AXIS_X], c.shown * -0.632813);
    }
}

INSTANTIATE_TEST_SUITE_P(Deviations, HsiDeviationTest,
                         ::testing::Values(DeviationCase{"Powered", 1.0, 12.9, 12},
                                           DeviationCase{"PoweredNegative", 1.0, -2.9, -2},
                                           DeviationCase{"HalfPower", 0.5, 12.9, 12},
                                           DeviationCase{"Unpowered", 0.0, 12.9, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HsiTest, TheFirstUpdateCentresTheBarBeforePowerWasEverRead) {
    panel.sim().set(VAR_NAV1_COURSE_DEVIATION, 20);
    panel.update(hsi);
    EXPECT_EQ(at(hsi, DEVIATION_BAR).axis_value[host::AXIS_X], 0);
    panel.update(hsi);
    EXPECT_EQ(at(hsi, DEVIATION_BAR).axis_value[host::AXIS_X], 20);
}

} // namespace
