// The attitude director indicator "mvx3" driven through the host: the two sets of
// artwork under the panel lights, the warning flags and their precedence, the values the
// gauge keeps between updates, the decision-height lamp and the published cell.
#include "host_fixture.h"

#include "simvars.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Steps = std::vector<int>;

constexpr int FACE = 0, LAMP = 1;
constexpr int COURSE_POINTER = 2, GLIDESLOPE_POINTER = 4, RADIO_TAPE = 5, BALL = 7, SPHERE = 8, BANK_POINTER = 9;
constexpr int COMMAND_BARS = 10, RADIO_FLAG = 11, GLIDESLOPE_FLAG = 12, GYRO_FLAG = 13, SHUTTER = 14;
constexpr int LIT = 16; // a lit command bar, flag, ball, sphere or bank pointer: unlit step + 16
constexpr int COURSE_POINTER_LIT = 17, GLIDESLOPE_POINTER_LIT = 19, RADIO_TAPE_LIT = 20;

constexpr double FEET_PER_METRE = 3.28083989501312;
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

Steps span(int first, int last) {
    Steps steps;
    for (int step = first; step <= last; ++step) steps.push_back(step);
    return steps;
}

// The union of several step lists, in chain order.
Steps shown(std::initializer_list<Steps> parts) {
    Steps all;
    for (const Steps& part : parts) all.insert(all.end(), part.begin(), part.end());
    std::sort(all.begin(), all.end());
    return all;
}

// What each set always shows while powered: its instruments, lower scale and bezel.
const Steps UNLIT_BODY = shown({{FACE}, span(2, 9), {15, 16}});
const Steps LIT_BODY = shown({{FACE}, span(17, 25), {31, 32}});

struct Inputs {
    double power = 1.0;
    double lights = 0.0;
    double altitude = 1000.0; // metres; ground at the datum, so this is the radio height
    double glideslope = 0.0;
    int failure_279 = 0, failure_285 = 0, failure_278 = 0, failure_288 = 0;
};

struct AdiTest : HostTest {
    host::LoadedModule& module = panel.load_module(module_path("Tavonne"));
    host::PlacedGauge& adi = panel.place(module, "mvx3");

    u32* decision_height_cell() { return static_cast<u32*>(panel.sim().named("radalt_adi")); }

    // Another gauge on the panel sets the decision height through the host.
    void set_decision_height(u32 feet) {
        u32* cell = decision_height_cell();
        ASSERT_NE(cell, nullptr);
        *cell = feet;
    }

    void run(const Inputs& in) {
        panel.sim().set(VAR_INSTRUMENT_POWER, in.power);
        panel.sim().set(VAR_PANEL_LIGHTS, in.lights);
        panel.sim().set(VAR_ALTITUDE, in.altitude);
        panel.sim().set(VAR_GROUND_ELEVATION, 0.0);
        panel.sim().set(VAR_NAV1_GLIDESLOPE_STATUS, in.glideslope);
        panel.sim().set(VAR_FAILURE_279, in.failure_279);
        panel.sim().set(VAR_FAILURE_285, in.failure_285);
        panel.sim().set(VAR_FAILURE_278, in.failure_278);
        panel.sim().set(VAR_FAILURE_288, in.failure_288);
        panel.update(adi);
    }

    Steps hidden_in_data() {
        Steps hidden;
        for (const host::ElementState& state : adi.elements) {
            if (state.element->image_flags & IMAGE_FLAG_HIDDEN) hidden.push_back(state.step);
        }
        return hidden;
    }
};

} // namespace

TEST_F(AdiTest, ChainHoldsTheLampAndTwoSetsWithTheirBitmaps) {
    struct Step {
        int step;
        ElementKind kind;
        u32 bitmap;
        bool lit;
    };
    const Step chain[] = {
        {0, ELEMENT_STATIC, 0x1000, false},  {1, ELEMENT_ICON, 0x3000, false},
        {2, ELEMENT_SLIDER, 0x3006, false},  {3, ELEMENT_ICON, 0x3021, false},
        {4, ELEMENT_SLIDER, 0x2009, false},  {5, ELEMENT_MOVING, 0x3015, false},
        {6, ELEMENT_ICON, 0x3012, false},    {7, ELEMENT_SLIDER, 0x3009, false},
        {8, ELEMENT_SPRITE, 0x2003, false},  {9, ELEMENT_SPRITE, 0x1003, false},
        {10, ELEMENT_SPRITE, 0x3024, false}, {11, ELEMENT_ICON, 0x300f, false},
        {12, ELEMENT_ICON, 0x200c, false},   {13, ELEMENT_ICON, 0x2012, false},
        {14, ELEMENT_ICON, 0x3033, false},   {15, ELEMENT_ICON, 0x3030, false},
        {16, ELEMENT_ICON, 0x2000, false},   {17, ELEMENT_SLIDER, 0x3006, true},
        {18, ELEMENT_ICON, 0x3021, true},    {19, ELEMENT_SLIDER, 0x2009, true},
        {20, ELEMENT_MOVING, 0x3015, true},  {21, ELEMENT_ICON, 0x3012, true},
        {22, ELEMENT_ICON, 0x3035, true},    {23, ELEMENT_SLIDER, 0x3009, false},
        {24, ELEMENT_SPRITE, 0x2003, true},  {25, ELEMENT_SPRITE, 0x1003, true},
        {26, ELEMENT_SPRITE, 0x3024, true},  {27, ELEMENT_ICON, 0x300f, true},
        {28, ELEMENT_ICON, 0x200c, true},    {29, ELEMENT_ICON, 0x2012, true},
        {30, ELEMENT_ICON, 0x3033, true},    {31, ELEMENT_ICON, 0x3030, false},
        {32, ELEMENT_ICON, 0x2000, true},
    };
    ASSERT_EQ(adi.elements.size(), std::size(chain));
    for (const Step& expected : chain) {
        const ElementHeader& element = *at(adi, expected.step).element;
        EXPECT_EQ(element.kind, expected.kind) << "step " << expected.step;
        EXPECT_EQ(element.bitmap_id, expected.bitmap) << "step " << expected.step;
        EXPECT_EQ((element.image_flags & IMAGE_FLAG_LIT) != 0, expected.lit) << "step " << expected.step;
        EXPECT_NE(panel.picture(module, expected.bitmap), nullptr) << "step " << expected.step;
    }
    // The windows the host draws the tape and the three sprite textures through.
    struct Window {
        u32 id;
        int width, height;
    };
    for (const Window& window : {Window{0x3016, 22, 112}, Window{0x1004, 199, 209}, Window{0x2004, 199, 209},
                                 Window{0x3025, 199, 209}}) {
        const host::Picture* picture = panel.picture(module, window.id);
        ASSERT_NE(picture, nullptr) << std::hex << window.id;
        EXPECT_EQ(picture->width, window.width) << std::hex << window.id;
        EXPECT_EQ(picture->height, window.height) << std::hex << window.id;
    }
    // Both sets start in view, with their eight flags hidden.
    EXPECT_EQ(hidden_in_data(), shown({span(11, 14), span(27, 30)}));
    expect_no_faults();
}

// ---- the tape: radio height in feet --------------------------------------------------

struct HeightCase {
    double altitude;        // metres
    double ground_field;    // metres x 256
    double height_metres;   // what the gauge keeps, in whole metres
};

class AdiTapeTest : public AdiTest, public ::testing::WithParamInterface<HeightCase> {};

TEST_P(AdiTapeTest, BothTapesShowTheHeightAboveGroundInFeet) {
    const HeightCase& c = GetParam();
    panel.sim().set(VAR_ALTITUDE, c.altitude);
    panel.sim().set(VAR_GROUND_ELEVATION, c.ground_field);
    panel.update(adi);
    for (int step : {RADIO_TAPE, RADIO_TAPE_LIT}) {
        const host::ElementState& tape = at(adi, step);
        EXPECT_EQ(tape.axis_value[host::AXIS_Y], c.height_metres * FEET_PER_METRE) << "step " << step;
        EXPECT_DOUBLE_EQ(tape.axis_output[host::AXIS_Y],
                         std::clamp(c.height_metres * FEET_PER_METRE / 225.0, 0.0, 1.0))
            << "step " << step;
        EXPECT_EQ(tape.axis_value[host::AXIS_X], 1.0) << "step " << step; // held still across
        EXPECT_EQ(tape.axis_output[host::AXIS_X], 0.0) << "step " << step;
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Heights, AdiTapeTest,
    ::testing::Values(HeightCase{0.0, 0.0, 0.0}, HeightCase{30.0, 0.0, 30.0},
                      HeightCase{100.9, 40.0 * 256, 60.0},  // both truncated toward zero
                      HeightCase{-0.9, -300.0, 1.0},         // -0.9 gives 0, -300 / 256 gives -1
                      HeightCase{10.0, 511.0, 9.0},          // 511 / 256 gives 1
                      HeightCase{5.0, 2560.0, -5.0},         // below the ground datum
                      // Off the 32-bit scale an input reads as the lowest integer, and the
                      // difference is held to 32 bits instead of wrapping round.
                      HeightCase{NaN, 0.0, INT32_MIN}, HeightCase{1e300, 0.0, INT32_MIN},
                      HeightCase{-INF, 256.0 * 1000, INT32_MIN},
                      HeightCase{2147483647.0, -256.0 * 5, INT32_MAX},
                      HeightCase{100.0, NaN, 100.0 + 8388608.0})); // ground INT32_MIN / 256

// ---- moving parts ------------------------------------------------------------------

struct PitchCase {
    double pitch;
    double shown_pitch;
};

class AdiPitchTest : public AdiTest, public ::testing::WithParamInterface<PitchCase> {};

TEST_P(AdiPitchTest, SphereAndCommandBarsOfBothSetsMoveWithThePitchHeldTo43Degrees) {
    const PitchCase& c = GetParam();
    panel.sim().set(VAR_ATTITUDE_PITCH, c.pitch);
    panel.sim().set(VAR_ATTITUDE_BANK, 20.0);
    panel.update(adi);
    for (int step : {SPHERE, COMMAND_BARS, SPHERE + LIT, COMMAND_BARS + LIT}) {
        const host::ElementState& sprite = at(adi, step);
        EXPECT_EQ(sprite.axis_value[host::AXIS_Y], c.shown_pitch) << "step " << step;
        EXPECT_EQ(sprite.axis_output[host::AXIS_Y], c.shown_pitch * 2.0) << "step " << step;
        EXPECT_EQ(sprite.axis_output[host::AXIS_ROTATION], -20.0) << "step " << step;
        EXPECT_FALSE(sprite.axis_moves[host::AXIS_X]) << "step " << step;
    }
    for (int step : {BANK_POINTER, BANK_POINTER + LIT}) {
        const host::ElementState& pointer = at(adi, step);
        EXPECT_FALSE(pointer.axis_moves[host::AXIS_Y]) << "step " << step;
        EXPECT_EQ(pointer.axis_output[host::AXIS_ROTATION], -20.0) << "step " << step;
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Pitches, AdiPitchTest,
                         ::testing::Values(PitchCase{0.0, 0.0}, PitchCase{10.5, 10.5}, PitchCase{43.0, 43.0},
                                           PitchCase{-43.0, -43.0}, PitchCase{43.000001, 43.0},
                                           PitchCase{50.0, 43.0}, PitchCase{-50.0, -43.0},
                                           PitchCase{INF, 43.0}, PitchCase{-1e300, -43.0},
                                           PitchCase{NaN, 0.0})); // no reading: shown level

TEST_F(AdiTest, PointersAndBallOfBothSetsFollowTheirVariables) {
    panel.sim().set(VAR_NAV1_COURSE_DEVIATION, 10.0);
    panel.sim().set(VAR_NAV1_GLIDESLOPE_DEVIATION, -20.0);
    panel.sim().set(VAR_SLIP_BALL, 100.0);
    panel.update(adi);
    struct Slider {
        int step;
        host::Axis axis;
        double shift;
    };
    const Slider sliders[] = {
        {COURSE_POINTER, host::AXIS_X, 3.8},       {COURSE_POINTER_LIT, host::AXIS_X, 3.8},
        {GLIDESLOPE_POINTER, host::AXIS_Y, -8.0},  {GLIDESLOPE_POINTER_LIT, host::AXIS_Y, -8.0},
        {BALL, host::AXIS_X, 47.0},                {BALL + LIT, host::AXIS_X, 47.0},
    };
    for (const Slider& s : sliders) {
        const host::ElementState& state = at(adi, s.step);
        EXPECT_DOUBLE_EQ(state.axis_output[s.axis], s.shift) << "step " << s.step;
        EXPECT_FALSE(state.axis_moves[1 - s.axis]) << "step " << s.step; // the other axis keeps its place
    }
    expect_no_faults();
}

// ---- sets and flags from one powered update ------------------------------------------

struct FlagCase {
    const char* name;
    Inputs inputs;
    Steps shown;
};

class AdiFlagTest : public AdiTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(AdiFlagTest, ShowsTheSetAndTheFlagsOfTheFirstFailureInPrecedence) {
    const FlagCase& c = GetParam();
    run(c.inputs);
    EXPECT_EQ(shown_steps(adi), c.shown);
    expect_no_faults();
}

const FlagCase FLAG_CASES[] = {
    // Lights off: the unlit set.
    {"NoFailureUnlit", {}, shown({UNLIT_BODY, {COMMAND_BARS}})},
    {"NoFailureHidesTheGlideslopeFlagEvenWithGlideslope", {.glideslope = 1.0}, shown({UNLIT_BODY, {COMMAND_BARS}})},
    {"Failure279Unlit", {.failure_279 = 1}, shown({UNLIT_BODY, span(11, 14)})},
    {"Failure285Unlit", {.failure_285 = 1}, shown({UNLIT_BODY, {GLIDESLOPE_FLAG, SHUTTER}})},
    {"Failure278Unlit", {.failure_278 = 1}, shown({UNLIT_BODY, {COMMAND_BARS, GYRO_FLAG, SHUTTER}})},
    {"Failure278UnlitGlideslope", {.glideslope = 1.0, .failure_278 = 1},
     shown({UNLIT_BODY, {COMMAND_BARS, GLIDESLOPE_FLAG, GYRO_FLAG, SHUTTER}})},
    {"Failure288Unlit", {.failure_288 = 1}, shown({UNLIT_BODY, {SHUTTER}})},
    {"Failure288UnlitGlideslope", {.glideslope = 1.9, .failure_288 = 1},
     shown({UNLIT_BODY, {GLIDESLOPE_FLAG, SHUTTER}})},
    {"Failure288UnlitGlideslopeTwo", {.glideslope = 2.0, .failure_288 = 1}, shown({UNLIT_BODY, {SHUTTER}})},
    // Precedence: 279, then 285, then 278, then 288.
    {"AllFailuresUnlit", {.failure_279 = 1, .failure_285 = 1, .failure_278 = 1, .failure_288 = 1},
     shown({UNLIT_BODY, span(11, 14)})},
    {"Failure285Over278And288", {.failure_285 = -1, .failure_278 = 1, .failure_288 = 1},
     shown({UNLIT_BODY, {GLIDESLOPE_FLAG, SHUTTER}})},
    {"Failure278Over288", {.failure_278 = 7, .failure_288 = 1},
     shown({UNLIT_BODY, {COMMAND_BARS, GYRO_FLAG, SHUTTER}})},
    // Lights on: the lit set; the nav failure raises the gyro/computer flag here.
    {"NoFailureLit", {.lights = 1.0}, shown({LIT_BODY, {COMMAND_BARS + LIT}})},
    {"Failure279Lit", {.lights = 1.0, .failure_279 = 1}, shown({LIT_BODY, span(27, 30)})},
    {"Failure285Lit", {.lights = 1.0, .failure_285 = 1}, shown({LIT_BODY, {GLIDESLOPE_FLAG + LIT, GYRO_FLAG + LIT}})},
    {"Failure278Lit", {.lights = 1.0, .failure_278 = 1},
     shown({LIT_BODY, {COMMAND_BARS + LIT, GYRO_FLAG + LIT, SHUTTER + LIT}})},
    {"Failure288Lit", {.lights = 1.0, .failure_288 = 1}, shown({LIT_BODY, {SHUTTER + LIT}})},
    {"AllFailuresLit", {.lights = 1.0, .failure_279 = 1, .failure_285 = 1, .failure_278 = 1, .failure_288 = 1},
     shown({LIT_BODY, span(27, 30)})},
    // Unpowered: every flag of the chosen set, no command bars, no lamp, nothing read.
    {"UnpoweredUnlit", {.power = 0.0, .altitude = 0.0}, shown({UNLIT_BODY, span(11, 14)})},
    {"UnpoweredLit", {.power = 0.0, .lights = 1.0, .altitude = 0.0}, shown({LIT_BODY, span(27, 30)})},
    {"UnpoweredHalfLightsIsLit", {.power = 0.0, .lights = 0.5}, shown({LIT_BODY, span(27, 30)})},
    {"UnpoweredNaNLightsIsLit", {.power = 0.0, .lights = NaN}, shown({LIT_BODY, span(27, 30)})},
    {"PowerJustBelowOneIsUnpowered", {.power = 0.999999, .altitude = 0.0}, shown({UNLIT_BODY, span(11, 14)})},
    {"PowerTwoIsUnpowered", {.power = 2.0}, shown({UNLIT_BODY, span(11, 14)})},
    {"PowerNaNIsUnpowered", {.power = NaN}, shown({UNLIT_BODY, span(11, 14)})},
    // Powered with the lights neither off nor on: only the lamp changes from the data.
    {"HalfLightsOnlyTheLamp", {.lights = 0.5, .altitude = 10.0},
     shown({{FACE, LAMP}, span(2, 10), span(15, 26), {31, 32}})},
    {"HalfLightsOnlyTheLampDark", {.lights = 0.5, .altitude = 63.0}, shown({{FACE}, span(2, 10), span(15, 26), {31, 32}})},
};

INSTANTIATE_TEST_SUITE_P(Cases, AdiFlagTest, ::testing::ValuesIn(FLAG_CASES),
                         [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

// ---- sequences: what the gauge keeps from one update to the next ------------------------

struct Update {
    Inputs inputs;
    Steps shown;
};

struct Sequence {
    const char* name;
    std::vector<Update> updates;
};

class AdiSequenceTest : public AdiTest, public ::testing::WithParamInterface<Sequence> {};

TEST_P(AdiSequenceTest, EachUpdateShowsTheExpectedSteps) {
    int number = 0;
    for (const Update& update : GetParam().updates) {
        run(update.inputs);
        EXPECT_EQ(shown_steps(adi), update.shown) << "update " << ++number;
    }
    expect_no_faults();
}

const Sequence SEQUENCES[] = {
    // No row hides the radio-altitude flag once 279 has gone; the glideslope flag follows
    // the receiver; the command bars stay as 279 left them.
    {"RadioFlagStaysWhen279GivesWayTo278",
     {{{.failure_279 = 1}, shown({UNLIT_BODY, span(11, 14)})},
      {{.failure_278 = 1}, shown({UNLIT_BODY, {RADIO_FLAG, GYRO_FLAG, SHUTTER}})},
      {{.glideslope = 1.0, .failure_278 = 1}, shown({UNLIT_BODY, {RADIO_FLAG, GLIDESLOPE_FLAG, GYRO_FLAG, SHUTTER}})},
      {{}, shown({UNLIT_BODY, {COMMAND_BARS}})}}},
    {"CommandBarsStayHiddenFrom288Into278",
     {{{.failure_288 = 1}, shown({UNLIT_BODY, {SHUTTER}})},
      {{.failure_278 = 1, .failure_288 = 1}, shown({UNLIT_BODY, {GYRO_FLAG, SHUTTER}})}}},
    // A flag leaves with its set; the new set's flags come only from the table.
    {"SwitchingLightsWithAFlagInView",
     {{{.failure_288 = 1}, shown({UNLIT_BODY, {SHUTTER}})},
      {{.lights = 1.0, .failure_288 = 1}, shown({LIT_BODY, {SHUTTER + LIT}})},
      {{.lights = 1.0}, shown({LIT_BODY, {COMMAND_BARS + LIT}})},
      {{.lights = 0.0, .failure_285 = 1}, shown({UNLIT_BODY, {GLIDESLOPE_FLAG, SHUTTER}})}}},
    {"PowerReturnsAfterAnOutage",
     {{{.power = 0.0}, shown({UNLIT_BODY, span(11, 14)})},
      {{}, shown({UNLIT_BODY, {COMMAND_BARS}})},
      {{.power = 0.0, .lights = 1.0}, shown({LIT_BODY, span(27, 30)})},
      {{.lights = 1.0}, shown({LIT_BODY, {COMMAND_BARS + LIT}})}}},
    // The kept 279 outlives an unpowered update and one with the lights at 0.5: it keeps
    // the lamp dark at 10 m until a powered update with the lights off reads 279 clear.
    {"KeptFailureOutlivesUnpoweredAndHalfLightUpdates",
     {{{.altitude = 10.0, .failure_279 = 1}, shown({UNLIT_BODY, span(11, 14)})},
      {{.power = 0.0, .altitude = 10.0}, shown({UNLIT_BODY, span(11, 14)})},
      {{.lights = 0.5, .altitude = 10.0}, shown({UNLIT_BODY, span(11, 14)})},
      {{.altitude = 10.0}, shown({UNLIT_BODY, {COMMAND_BARS}})},
      {{.altitude = 10.0}, shown({{LAMP}, UNLIT_BODY, {COMMAND_BARS}})}}},
    // With the lights at 0.5 nothing is read, so a new failure shows only later.
    {"HalfLightsFreezeTheFlags",
     {{{}, shown({UNLIT_BODY, {COMMAND_BARS}})},
      {{.lights = 0.5, .failure_288 = 1}, shown({UNLIT_BODY, {COMMAND_BARS}})},
      {{.lights = 0.0, .failure_288 = 1}, shown({UNLIT_BODY, {SHUTTER}})}}},
};

INSTANTIATE_TEST_SUITE_P(Sequences, AdiSequenceTest, ::testing::ValuesIn(SEQUENCES),
                         [](const ::testing::TestParamInfo<Sequence>& info) { return std::string(info.param.name); });

// ---- the decision-height lamp ------------------------------------------------------

struct LampCase {
    u32 decision_height; // feet, as another gauge wrote it
    double altitude;     // metres above the ground
    bool lit;
};

class AdiLampTest : public AdiTest, public ::testing::WithParamInterface<LampCase> {};

TEST_P(AdiLampTest, LightsBelowTheDecisionHeightOr63MetresWithoutOne) {
    const LampCase& c = GetParam();
    set_decision_height(c.decision_height);
    for (double lights : {0.0, 1.0, 0.5}) {
        run({.lights = lights, .altitude = c.altitude});
        EXPECT_EQ(at(adi, LAMP).visible, c.lit) << "lights " << lights;
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    DecisionHeights, AdiLampTest,
    ::testing::Values(LampCase{0, 62.0, true}, LampCase{0, 63.0, false}, LampCase{0, 0.0, true},
                      LampCase{0, -5.0, true}, LampCase{0, 1000.0, false},
                      LampCase{200, 60.0, true},   // 196.85 ft
                      LampCase{200, 61.0, false},  // 200.13 ft
                      LampCase{200, 62.0, false}, LampCase{200, -10.0, true},
                      LampCase{1, 0.0, true}, LampCase{1, 1.0, false},
                      LampCase{1000, 300.0, true}, LampCase{1000, 305.0, false},
                      // Read without sign: a cell of 0x80000000 or more is a great height.
                      LampCase{0x80000000u, 100000.0, true}, LampCase{0xFFFFFFFFu, 2000000.0, true},
                      LampCase{0x7FFFFFFFu, 2000000.0, true}));

TEST_F(AdiTest, LampLightsOnTheFirstUpdateBeforeTheTapeHasMeasured) {
    panel.sim().set(VAR_ALTITUDE, 1000.0);
    // Update services alone, no tape callback: the kept height is still 0. Unpowered
    // first, which darkens the lamp, then powered.
    panel.sim().set(VAR_INSTRUMENT_POWER, 0.0);
    panel.call_gauge_callback(adi, SERVICE_UPDATE, 0);
    ASSERT_NE(at(adi, LAMP).element->image_flags & IMAGE_FLAG_HIDDEN, 0u);
    panel.sim().set(VAR_INSTRUMENT_POWER, 1.0);
    panel.call_gauge_callback(adi, SERVICE_UPDATE, 0);
    EXPECT_EQ(at(adi, LAMP).element->image_flags & IMAGE_FLAG_HIDDEN, 0u);
    // A full update measures 1000 m first.
    panel.update(adi);
    EXPECT_FALSE(at(adi, LAMP).visible);
    expect_no_faults();
}

TEST_F(AdiTest, Failure279DarkensTheLampAndKeepsItDarkOneUpdateLonger) {
    const Update updates[] = {
        {{.altitude = 10.0}, shown({{LAMP}, UNLIT_BODY, {COMMAND_BARS}})},
        {{.altitude = 10.0, .failure_279 = 1}, shown({UNLIT_BODY, span(11, 14)})},
        // 279 clear again: the lamp still uses the kept 279 of the update before.
        {{.altitude = 10.0}, shown({UNLIT_BODY, {COMMAND_BARS}})},
        {{.altitude = 10.0}, shown({{LAMP}, UNLIT_BODY, {COMMAND_BARS}})},
    };
    for (const Update& update : updates) {
        run(update.inputs);
        EXPECT_EQ(shown_steps(adi), update.shown);
    }
    // With a decision height set, the lamp follows it even while 279 is kept.
    set_decision_height(100);
    run({.altitude = 10.0, .failure_279 = 1});
    run({.altitude = 10.0});
    EXPECT_TRUE(at(adi, LAMP).visible);
    expect_no_faults();
}

TEST_F(AdiTest, UnpoweredHidesTheLampWhateverTheHeight) {
    set_decision_height(0xFFFFFFFFu);
    run({.power = 0.0, .altitude = 0.0});
    EXPECT_FALSE(at(adi, LAMP).visible);
    run({.power = 0.0, .lights = 1.0, .altitude = 0.0});
    EXPECT_FALSE(at(adi, LAMP).visible);
    expect_no_faults();
}

// ---- integer reading of the failure variables ----------------------------------------

struct RawFailureCase {
    u32 variable;
    double field;
    bool failed;
};

class AdiFailureReadingTest : public AdiTest, public ::testing::WithParamInterface<RawFailureCase> {};

TEST_P(AdiFailureReadingTest, FailuresAreTheFirst32BitsOfTheValueField) {
    const RawFailureCase& c = GetParam();
    run({});
    panel.sim().set_raw(c.variable, c.field);
    panel.update(adi);
    // Any of the four failures hides the command bars or shows the shutter; none shows the bars alone.
    const bool flags_raised = at(adi, SHUTTER).visible;
    EXPECT_EQ(flags_raised, c.failed);
    EXPECT_EQ(at(adi, COMMAND_BARS).visible, !c.failed || c.variable == VAR_FAILURE_278);
    expect_no_faults();
}

double field_with_low_word(u32 low) {
    std::uint64_t bits = 0x3FF0000000000000u | low;
    double field;
    std::memcpy(&field, &bits, sizeof field);
    return field;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AdiFailureReadingTest,
    ::testing::Values(RawFailureCase{VAR_FAILURE_279, 1.0, false}, // the double 1.0 holds 0 in its first bytes
                      RawFailureCase{VAR_FAILURE_285, 1.0, false}, RawFailureCase{VAR_FAILURE_278, 1.0, false},
                      RawFailureCase{VAR_FAILURE_288, 1.0, false},
                      RawFailureCase{VAR_FAILURE_279, field_with_low_word(1), true},
                      RawFailureCase{VAR_FAILURE_285, field_with_low_word(1), true},
                      RawFailureCase{VAR_FAILURE_278, field_with_low_word(0x80000000u), true},
                      RawFailureCase{VAR_FAILURE_288, field_with_low_word(0xFFFFFFFFu), true}));

// ---- the published cell --------------------------------------------------------------

TEST_F(AdiTest, PublishesTheDecisionHeightCellAndOnlyReadsIt) {
    u32* cell = decision_height_cell();
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(*cell, 0u);
    *cell = 0xDEADBEEF;
    for (const Inputs& in : {Inputs{}, Inputs{.lights = 1.0}, Inputs{.power = 0.0}, Inputs{.failure_279 = 1}}) {
        run(in);
        EXPECT_EQ(*cell, 0xDEADBEEFu);
    }
    panel.remove(adi);
    EXPECT_EQ(panel.sim().named("radalt_adi"), nullptr);
    panel.unload_module(module); // leaves nothing published behind
    expect_no_faults();
}

TEST_F(AdiTest, ServicesOtherThanInstallUpdateAndKillChangeNothing) {
    run({.failure_288 = 1});
    std::vector<u32> flags_before;
    for (const host::ElementState& state : adi.elements) flags_before.push_back(state.element->image_flags);
    panel.sim().set(VAR_FAILURE_288, 0); // an update would now change the flags
    for (u32 code : {0u, 1u, 3u, 4u, 5u, 7u, 8u, 11u, 13u, 0xFFFFFFFFu}) panel.call_gauge_callback(adi, code, 0);
    std::vector<u32> flags_after;
    for (const host::ElementState& state : adi.elements) flags_after.push_back(state.element->image_flags);
    EXPECT_EQ(flags_after, flags_before);
    EXPECT_EQ(panel.sim().named_count(), 1u);
    expect_no_faults();
}

TEST_F(AdiTest, TheFaceHasNoMouseFunction) {
    for (auto [x, y] : {std::pair{0, 0}, std::pair{256, 24}, std::pair{148, 150}, std::pair{296, 298}}) {
        EXPECT_EQ(panel.click(adi, x, y), nullptr);
        EXPECT_EQ(panel.help_at(adi, x, y), 0u);
    }
    expect_no_faults();
}
