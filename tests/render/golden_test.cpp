// Whole pictures compared with committed golden images. After a deliberate change of
// the drawing, regenerate them with:  ninja update_render_golden
#include "render_fixture.h"

#include "panel_renderer.h"

#include <cstdlib>
#include <filesystem>

namespace {

struct GoldenCase {
    const char* name;
    double lights;
};

class Golden : public RenderTest, public ::testing::WithParamInterface<GoldenCase> {
protected:
    // Compares with the golden image of that name, or writes it when asked to.
    void expect_matches(cairo_surface_t* image, const std::string& name) {
        const std::string path = std::string(GOLDEN_DIR) + "/" + name + ".png";
        if (std::getenv("GAUGE_UPDATE_GOLDEN") != nullptr) {
            ASSERT_EQ(cairo_surface_write_to_png(image, path.c_str()), CAIRO_STATUS_SUCCESS) << path;
            return;
        }
        SurfacePtr golden = own(cairo_image_surface_create_from_png(path.c_str()));
        ASSERT_EQ(cairo_surface_status(golden.get()), CAIRO_STATUS_SUCCESS) << path << " cannot be read";
        const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
        ASSERT_EQ(cairo_image_surface_get_width(golden.get()), width) << path;
        ASSERT_EQ(cairo_image_surface_get_height(golden.get()), height) << path;
        // Small differences of edge smoothing and glyph shapes pass; a moved or missing
        // element does not.
        int differing = 0;
        double total = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t a = pixel_at(image, x, y), b = pixel_at(golden.get(), x, y);
                int worst = 0;
                for (int shift : {24, 16, 8, 0}) worst = std::max(worst, std::abs(channel(a, shift) - channel(b, shift)));
                total += worst;
                differing += worst > 32;
            }
        }
        EXPECT_LE(differing, width * height / 400) << name << ": " << differing << " pixels differ";
        EXPECT_LT(total / (width * height), 1.0) << name;
    }

    void fly(double lights) {
        set("VAR_AIRSPEED", 40);
        set("VAR_COMPASS_HEADING", 90);
        set("VAR_ATTITUDE_BANK", 30);
        set("VAR_ATTITUDE_PITCH", 3);
        set("VAR_NAV1_GLIDESLOPE_DEVIATION", 10);
        set("VAR_PANEL_LIGHTS", lights);
        panel.update_all();
    }
};

TEST_P(Golden, GaugesLookAsRecorded) {
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    host::PlacedGauge& legacy = panel.place("Fixture!legacy");
    fly(GetParam().lights);
    const std::string suffix = GetParam().name;
    SurfacePtr alpha_image = draw(alpha, 2.0);
    expect_matches(alpha_image.get(), "alpha_" + suffix);
    SurfacePtr legacy_image = draw(legacy);
    expect_matches(legacy_image.get(), "legacy_" + suffix);
}

TEST_P(Golden, PanelLooksAsRecorded) {
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    host::PlacedGauge& beta = panel.place("Fixture!beta");
    host::PlacedGauge& legacy = panel.place("Fixture!legacy");
    render::PanelRenderer renderer(panel, pictures, 330, 150, 0x303438);
    renderer.add(alpha, 5, 5, 150);
    renderer.add(beta, 5, 130, 0); // partly under the bottom edge
    renderer.add(legacy, 170, 10, 150);
    fly(GetParam().lights);
    renderer.render();
    expect_matches(renderer.surface(), std::string("panel_") + GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(Lights, Golden, ::testing::Values(GoldenCase{"day", 0}, GoldenCase{"night", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
