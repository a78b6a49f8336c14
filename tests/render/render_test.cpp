// The renderer drawing the fixture's gauges: where each element kind lands, what hides
// it, how the lights change it, and how little a frame draws when little changed.
#include "render_fixture.h"

#include "panel_renderer.h"

#include <limits>
#include <numbers>

namespace {

struct NeedleCase {
    double airspeed; // the needle's value is twice this
    double degrees;  // where its table points it, clockwise from +x
};

class NeedleTip : public RenderTest, public ::testing::WithParamInterface<NeedleCase> {};

// The tip's red lies where the value's angle and the needle's length put it, and nowhere
// near the opposite direction.
TEST_P(NeedleTip, LandsWhereTheValueSays) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    set("VAR_AIRSPEED", GetParam().airspeed);
    panel.update(gauge);
    show_only(gauge, ELEMENT_NEEDLE);
    SurfacePtr image = draw(gauge);
    const double radians = GetParam().degrees * std::numbers::pi / 180.0;
    const double reach = NEEDLE_LENGTH - 1 - NEEDLE_PIVOT;
    auto red_near = [&](double x, double y) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const std::uint32_t p = pixel_at(image.get(), int(std::lround(x)) + dx, int(std::lround(y)) + dy);
                if (channel(p, 16) > 150 && channel(p, 8) < 90) return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(red_near(50 + reach * std::cos(radians), 40 + reach * std::sin(radians)));
    EXPECT_FALSE(red_near(50 - reach * std::cos(radians), 40 - reach * std::sin(radians)));
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Angles, NeedleTip,
                         ::testing::Values(NeedleCase{0, -90}, NeedleCase{25, -45}, NeedleCase{50, 0}, NeedleCase{75, 45},
                                           NeedleCase{100, 90}));

TEST_F(RenderTest, HiddenElementLeavesNoPixelsAndShownOneDoes) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    auto icon_pixels = [&](bool lights) {
        set("VAR_PANEL_LIGHTS", lights ? 1 : 0);
        panel.update(gauge);
        SurfacePtr image = draw(gauge);
        int count = 0;
        for (int y = 5; y < 16; ++y) { // above the sprite's window
            for (int x = 70; x < 86; ++x) count += channel(pixel_at(image.get(), x, y), 8) > 40 && channel(pixel_at(image.get(), x, y), 16) < 20;
        }
        return count;
    };
    EXPECT_EQ(icon_pixels(false), 0); // the gauge hides its icon while the lights are off
    EXPECT_EQ(icon_pixels(true), 11 * 16);
}

TEST_F(RenderTest, PureBlackIsTransparentOverTheFaceButNotOnIt) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    panel.update(gauge);
    SurfacePtr image = draw(gauge);
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 2, 2), 0x000000, 0));     // the face's own black
    EXPECT_EQ(channel(pixel_at(image.get(), 2, 2), 24), 255);               // ... is opaque
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 7, 9), FACE_GREY, 0));    // slider's black half
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 12, 9), SLIDER_BLUE, 0)); // slider's blue half
}

TEST_F(RenderTest, SliderMovesByItsAxisOutput) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    set("VAR_NAV1_GLIDESLOPE_DEVIATION", 50); // x 0.4: 20 pixels down
    panel.update(gauge);
    SurfacePtr image = draw(gauge);
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 12, 9), FACE_GREY, 0));
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 12, 29), SLIDER_BLUE, 0));
}

struct WindowCase {
    double heading;     // x position = heading / 360 along the strip
    int first_column;   // the strip column at the window's left edge
};

class MovingWindow : public RenderTest, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(MovingWindow, ShowsThePartOfTheStripItsPositionSelects) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    set("VAR_COMPASS_HEADING", GetParam().heading);
    panel.update(gauge);
    show_only(gauge, ELEMENT_MOVING);
    SurfacePtr image = draw(gauge);
    // The window stands at the element's position (10, 50), 50 wide.
    EXPECT_NEAR(channel(pixel_at(image.get(), 10, 52), 16), GetParam().first_column, 1);
    EXPECT_NEAR(channel(pixel_at(image.get(), 10 + WINDOW_WIDTH - 1, 52), 16), GetParam().first_column + WINDOW_WIDTH - 1, 1);
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 10 + WINDOW_WIDTH, 52), FACE_GREY, 0)); // clipped at the window's edge
}

INSTANTIATE_TEST_SUITE_P(Positions, MovingWindow,
                         ::testing::Values(WindowCase{0, 0}, WindowCase{180, 75}, WindowCase{360, 150},
                                           WindowCase{720, 150}, WindowCase{-90, 0},
                                           WindowCase{std::numeric_limits<double>::quiet_NaN(), 0}));

TEST_F(RenderTest, SpriteTurnsShiftsAlongItsTurnAndStaysInItsWindow) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    // y = (pitch + 5) x 3 pixels along the texture's own turned y axis; turn = -bank.
    set("VAR_ATTITUDE_PITCH", 10);
    set("VAR_ATTITUDE_BANK", 90); // turned 90 degrees anticlockwise: its y axis points +x
    panel.update(gauge);
    show_only(gauge, ELEMENT_SPRITE);
    SurfacePtr image = draw(gauge);
    // The window is 48 x 48 from (50, 40), cut by the face's bottom edge at 80; the
    // texture centre rests at its centre (74, 64) and moves 45 pixels right: the texture
    // (64 x 1.5 = 96 wide) spans x 71 to 167, and the window cuts it at x 98.
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 69, 60), FACE_GREY, 0));
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 72, 60), SPRITE_YELLOW, 0));
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 97, 60), SPRITE_YELLOW, 0));
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 98, 60), FACE_GREY, 0));
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 80, 39), FACE_GREY, 0));
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 80, 40), SPRITE_YELLOW, 0));
}

// Where the window's own bitmap is pure black the texture does not show: a round window.
TEST_F(RenderTest, SpriteShowsOnlyThroughItsWindowsShape) {
    picture(0x1501, 48, 48, [](int x, int y) { return (x - 23.5) * (x - 23.5) + (y - 23.5) * (y - 23.5) < 24 * 24 ? 0x010101u : 0u; });
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    panel.update(gauge);
    show_only(gauge, ELEMENT_SPRITE);
    SurfacePtr image = draw(gauge);
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 74, 64), SPRITE_YELLOW, 0)); // the window's centre
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 51, 41), FACE_GREY, 0));     // its black corner
    EXPECT_TRUE(near_colour(pixel_at(image.get(), 52, 64), SPRITE_YELLOW, 0)); // inside the round edge
}

TEST_F(RenderTest, ReadoutTextIsCentredInItsBoxInItsColour) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    set("VAR_AIRSPEED", 88);
    panel.update(gauge);
    SurfacePtr image = draw(gauge);
    // Box (20, 60) 60 x 16; white text, the face's grey elsewhere.
    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 100; ++x) {
            const std::uint32_t p = pixel_at(image.get(), x, y);
            if (channel(p, 16) > 200 && channel(p, 8) > 200 && channel(p, 0) > 200) {
                left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_GE(left, 20);
    EXPECT_LT(right, 80);
    EXPECT_GE(top, 60);
    EXPECT_LT(bottom, 76);
    EXPECT_NEAR((left + right) / 2.0, 50, 2.5);
    EXPECT_GT(right - left, 30); // five digits fill most of the box
}

TEST_F(RenderTest, NightDarkensThePanelAndLitArtworkGlows) {
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    host::PlacedGauge& legacy = panel.place("Fixture!legacy");
    auto face_pixels = [&](double lights) {
        set("VAR_PANEL_LIGHTS", lights);
        panel.update_all();
        SurfacePtr a = draw(alpha), l = draw(legacy);
        return std::pair{pixel_at(a.get(), 3, 75), pixel_at(l.get(), 100, 110)};
    };
    const auto [alpha_day, legacy_day] = face_pixels(0);
    const auto [alpha_night, legacy_night] = face_pixels(1);
    EXPECT_TRUE(near_colour(alpha_day, FACE_GREY, 0));
    EXPECT_LT(channel(alpha_night, 8), channel(alpha_day, 8) / 3); // unlit: dark
    EXPECT_GT(channel(legacy_night, 16), channel(legacy_day, 16) * 9 / 10); // lit: bright ...
    EXPECT_GT(channel(legacy_night, 16), channel(legacy_night, 0) + 20);    // ... and warm
}

TEST_F(RenderTest, ScaledDrawingKeepsEveryPlaceInProportion) {
    host::PlacedGauge& gauge = panel.place("Fixture!alpha");
    set("VAR_AIRSPEED", 50); // needle along +x: tip at (85, 40)
    panel.update(gauge);
    SurfacePtr image = draw(gauge, 2.0);
    EXPECT_EQ(cairo_image_surface_get_width(image.get()), 200);
    EXPECT_EQ(cairo_image_surface_get_height(image.get()), 160);
    EXPECT_GT(channel(pixel_at(image.get(), 170, 80), 16), 150);
    EXPECT_NEAR(render::scale_for_default_size(gauge, 100.0 / 38.0), 1.0, 1e-9); // 38 mm face 100 pixels wide
}

// Wild values never break the drawing: every element still lands somewhere sane and the
// drawing completes. The host's own outputs are set wild directly, as a faulty gauge or
// host could leave them.
TEST_F(RenderTest, WildValuesDrawWithoutHarm) {
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    for (double wild : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), 1e300, -1e300}) {
        for (const char* name : {"VAR_ATTITUDE_BANK", "VAR_ATTITUDE_PITCH", "VAR_COMPASS_HEADING", "VAR_NAV1_COURSE_DEVIATION",
                                 "VAR_NAV1_GLIDESLOPE_DEVIATION"}) {
            set(name, wild);
        }
        panel.update(alpha);
        for (host::ElementState& state : alpha.elements) {
            state.needle_shown_angle = wild;
            state.axis_output.fill(wild);
            if (state.element->kind == ELEMENT_ICON) state.picture_bitmap = 0xDEADBEEF; // no such bitmap
            if (state.element->kind == ELEMENT_STRING) state.text = {'\xFF', '\x01', '%', 's', '\x80'};
        }
        SurfacePtr image = draw(alpha);
        EXPECT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
        EXPECT_TRUE(near_colour(pixel_at(image.get(), 3, 75), FACE_GREY, 0));
    }
}

class PanelFrames : public RenderTest {
protected:
    std::unique_ptr<render::PanelRenderer> renderer;
    host::PlacedGauge* alpha = nullptr;
    host::PlacedGauge* legacy = nullptr;

    void SetUp() override {
        RenderTest::SetUp();
        alpha = &panel.place("Fixture!alpha");
        legacy = &panel.place("Fixture!legacy");
        renderer = std::make_unique<render::PanelRenderer>(panel, pictures, 260, 140, 0x101820);
        renderer->add(*alpha, 0, 0, 0);
        renderer->add(*legacy, 110, 0, 0);
        panel.update_all();
    }

    std::vector<std::uint32_t> frame() {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < renderer->height(); ++y) {
            for (int x = 0; x < renderer->width(); ++x) pixels.push_back(pixel_at(renderer->surface(), x, y));
        }
        return pixels;
    }
};

TEST_F(PanelFrames, OnlyChangedGaugesAreDrawnAgainAndTheFrameStaysWhole) {
    EXPECT_EQ(renderer->render(), 2);
    panel.update_all();
    EXPECT_EQ(renderer->render(), 0);
    set("VAR_AIRSPEED", 60); // only alpha's needle and readout move
    panel.update_all();
    EXPECT_EQ(renderer->render(), 1);
    const std::vector<std::uint32_t> partial = frame();
    EXPECT_EQ(renderer->render(true), 2);
    EXPECT_EQ(frame(), partial);
}

TEST_F(PanelFrames, LightsSwitchRedrawsTheWholePanel) {
    renderer->render();
    const std::uint32_t day_background = pixel_at(renderer->surface(), 250, 130);
    set("VAR_PANEL_LIGHTS", 1);
    panel.update_all();
    EXPECT_EQ(renderer->render(), 2);
    EXPECT_LT(channel(pixel_at(renderer->surface(), 250, 130), 0), channel(day_background, 0));
}

TEST_F(PanelFrames, BadPanelSizeIsRefused) {
    EXPECT_THROW(render::PanelRenderer(panel, pictures, 0, 10, 0), std::invalid_argument);
    EXPECT_THROW(render::PanelRenderer(panel, pictures, 10, 100000, 0), std::invalid_argument);
}

TEST(FontFaces, WindowsFacesMapToInstalledFonts) {
    EXPECT_STREQ(render::font_family_for("MS Serif"), "DejaVu Serif");
    EXPECT_STREQ(render::font_family_for("Courier New"), "DejaVu Sans Mono");
    EXPECT_STREQ(render::font_family_for("COURIER_NEW"), "DejaVu Sans Mono");
    EXPECT_STREQ(render::font_family_for("Wingdings"), "DejaVu Sans Mono");
}

} // namespace
