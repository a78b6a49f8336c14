// The whiskey compass "magrel" driven through the host: the card strip's position for
// headings on and off the card, and which copies show under the panel lights.
#include "host_fixture.h"

#include "simvars.h"

#include <cmath>
#include <limits>

namespace {

struct CompassTest : HostTest {
    host::LoadedModule& module = panel.load_module(module_path("Quistral"));
    host::PlacedGauge& compass = panel.place(module, "magrel");
};

constexpr int FACE = 0, LIT_FACE = 1, LIT_CARD = 2, CARD = 3;

} // namespace

TEST_F(CompassTest, ChainHoldsFaceLitFaceAndBothCardsWithTheirBitmaps) {
    struct Step {
        int step;
        ElementKind kind;
        u32 bitmap;
        bool lit;
    };
    const Step chain[] = {
        {FACE, ELEMENT_STATIC, 0x1000, false},
        {LIT_FACE, ELEMENT_ICON, 0x2002, true},
        {LIT_CARD, ELEMENT_MOVING, 0x2000, true},
        {CARD, ELEMENT_MOVING, 0x2000, false},
    };
    ASSERT_EQ(compass.elements.size(), std::size(chain));
    for (const Step& expected : chain) {
        const ElementHeader& element = *at(compass, expected.step).element;
        EXPECT_EQ(element.kind, expected.kind) << "step " << expected.step;
        EXPECT_EQ(element.bitmap_id, expected.bitmap) << "step " << expected.step;
        EXPECT_EQ((element.image_flags & IMAGE_FLAG_LIT) != 0, expected.lit) << "step " << expected.step;
        EXPECT_NE(panel.picture(module, expected.bitmap), nullptr) << "step " << expected.step;
    }
    // The host draws the strip through its window, the bitmap after the strip.
    const host::Picture* window = panel.picture(module, 0x2001);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->width, 76);
    EXPECT_EQ(window->height, 54);
    EXPECT_EQ(compass.gauge->header->default_size_mm, 38u);
    expect_no_faults();
}

struct StripCase {
    double heading;
    double strip_value;
};

class CompassStripTest : public CompassTest, public ::testing::WithParamInterface<StripCase> {};

TEST_P(CompassStripTest, BothCardsHandOverTheHeadingFromTheRightOrZeroOffTheCard) {
    const StripCase& c = GetParam();
    panel.sim().set(VAR_COMPASS_HEADING, c.heading);
    panel.update(compass);
    for (int step : {LIT_CARD, CARD}) {
        const host::ElementState& card = at(compass, step);
        EXPECT_EQ(card.axis_value[host::AXIS_X], c.strip_value) << "step " << step;
        EXPECT_DOUBLE_EQ(card.axis_output[host::AXIS_X], c.strip_value / 360.0) << "step " << step;
        // The vertical axis never moves, whatever the heading.
        EXPECT_EQ(card.axis_value[host::AXIS_Y], 1.0) << "step " << step;
        EXPECT_EQ(card.axis_output[host::AXIS_Y], 0.0) << "step " << step;
    }
    expect_no_faults();
}

constexpr double INF = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Headings, CompassStripTest,
                         ::testing::Values(StripCase{0.0, 360.0}, StripCase{360.0, 0.0}, StripCase{90.0, 270.0},
                                           StripCase{359.5, 0.5}, StripCase{0.5, 359.5},
                                           StripCase{360.5, 0.0},  // just past the strip's start
                                           StripCase{-0.5, 0.0},   // just past its end: 0, not 360
                                           StripCase{-10.0, 0.0}, StripCase{370.0, 0.0},
                                           StripCase{1e300, 0.0}, StripCase{-1e300, 0.0},
                                           StripCase{INF, 0.0}, StripCase{-INF, 0.0},
                                           StripCase{std::nan(""), 0.0}));

TEST_F(CompassTest, ExactlyOneCardShowsOnceUpdatedAndAnyLightsButZeroCountAsOn) {
    // Before the first update the data leaves every element in view.
    panel.call_gauge_callback(compass, SERVICE_INSTALL, 0);
    EXPECT_EQ(shown_steps(compass), (std::vector<int>{FACE, LIT_FACE, LIT_CARD, CARD}));

    struct LightsCase {
        double lights;
        std::vector<int> shown;
    };
    const std::vector<int> unlit = {FACE, CARD};
    const std::vector<int> lit = {FACE, LIT_FACE, LIT_CARD};
    const LightsCase sequence[] = {
        {0.0, unlit}, {1.0, lit},  {0.0, unlit}, // back to 0 hides both lit copies at once
        {0.5, lit},   {-0.0, unlit}, {-1.0, lit}, {std::nan(""), lit}, {1e300, lit}, {0.0, unlit},
    };
    for (const LightsCase& c : sequence) {
        panel.sim().set(VAR_PANEL_LIGHTS, c.lights);
        panel.update(compass);
        EXPECT_EQ(shown_steps(compass), c.shown) << "lights " << c.lights;
    }
    expect_no_faults();
}

TEST_F(CompassTest, ServicesOtherThanUpdateLeaveTheCopiesAloneAndPublishNothing) {
    panel.sim().set(VAR_PANEL_LIGHTS, 1.0);
    panel.update(compass);
    panel.sim().set(VAR_PANEL_LIGHTS, 0.0); // would switch the copies if anything looked
    std::vector<u32> flags_before;
    for (const host::ElementState& state : compass.elements) flags_before.push_back(state.element->image_flags);
    for (u32 code : {0u, 1u, SERVICE_INSTALL, 3u, 5u, 7u, SERVICE_KILL, 13u, 0xFFFFFFFFu}) {
        panel.call_gauge_callback(compass, code, 0);
    }
    std::vector<u32> flags_after;
    for (const host::ElementState& state : compass.elements) flags_after.push_back(state.element->image_flags);
    EXPECT_EQ(flags_after, flags_before);
    EXPECT_EQ(panel.sim().named_count(), 0u);
    expect_no_faults();
}

TEST_F(CompassTest, TheFaceHasNoMouseFunction) {
    for (auto [x, y] : {std::pair{0, 0}, std::pair{38, 27}, std::pair{75, 53}}) {
        EXPECT_EQ(panel.click(compass, x, y), nullptr);
        EXPECT_EQ(panel.help_at(compass, x, y), 0u);
    }
    expect_no_faults();
}

TEST_F(CompassTest, PanelElectricsFailureZeroesBothCards) {
    panel.sim().set(VAR_COMPASS_HEADING, 90.0);
    panel.sim().set_failure(20, true);
    panel.update(compass);
    for (int step : {LIT_CARD, CARD}) {
        EXPECT_EQ(at(compass, step).failure, host::FailureAction::ZERO) << "step " << step;
        EXPECT_EQ(at(compass, step).axis_value[host::AXIS_X], 0.0) << "step " << step;
    }
    EXPECT_EQ(at(compass, LIT_FACE).failure, host::FailureAction::NONE);
    expect_no_faults();
}
