// The engine module as a whole on the host: its gauge list and bitmaps, where each needle
// points and how fast it may turn, the help areas, and a long run with wild values.
#include "engine_test_support.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

TEST_F(EngineTest, ModuleListsItsTwelveGaugesInOrder) {
    host::LoadedModule* module = nullptr;
    ASSERT_NO_THROW(module = &panel.load_module(module_path("engine")));
    ASSERT_EQ(module->records.gauges.size(), std::size(ENGINE_GAUGES));
    for (std::size_t i = 0; i < std::size(ENGINE_GAUGES); ++i) {
        const host::CheckedGauge& gauge = module->records.gauges[i];
        SCOPED_TRACE(ENGINE_GAUGES[i]);
        EXPECT_EQ(gauge.name, ENGINE_GAUGES[i]);
        EXPECT_FALSE(gauge.version_610);
        EXPECT_EQ(gauge.header->version, 700u);
        EXPECT_EQ(gauge.header->default_size_mm, 100u);
        EXPECT_TRUE(gauge.header->callback == nullptr); // a packed field: compared, not bound
        EXPECT_EQ(gauge.elements.front().element->image_flags, 0x17u);
    }
    EXPECT_EQ(module->records.linkage->module_id, 0x13u);
    for (const char* name : ENGINE_GAUGES) place(name);
    panel.step(1.0);
    expect_no_faults();
}

struct BitmapCase {
    u32 id;
    int width, height;
};

TEST_F(EngineTest, EveryBitmapIsCarriedAtItsSizeAndDepth) {
    host::LoadedModule& module = panel.load_module(module_path("engine"));
    constexpr BitmapCase bitmaps[] = {
        {0x1000, 85, 12},   {0x1100, 250, 250}, {0x1200, 250, 250}, {0x1300, 250, 250}, {0x1310, 43, 65},
        {0x1400, 250, 250}, {0x1500, 302, 302}, {0x1510, 89, 247},  {0x1520, 61, 15},   {0x1600, 200, 225},
        {0x1610, 99, 35},   {0x1611, 99, 35},   {0x1620, 79, 11},
    };
    for (const BitmapCase& bitmap : bitmaps) {
        SCOPED_TRACE(bitmap.id);
        const host::Picture* picture = panel.picture(module, bitmap.id);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->width, bitmap.width);
        EXPECT_EQ(picture->height, bitmap.height);
        EXPECT_EQ(picture->bits_per_pixel, 8);
    }
    // And every picture an element names is among them.
    for (const host::CheckedGauge& gauge : module.records.gauges) {
        for (const auto& node : gauge.elements) {
            const ElementHeader* element = node.element;
            if (element->kind == ELEMENT_STRING) continue;
            u32 pictures = element->kind == ELEMENT_ICON ? reinterpret_cast<const IconElement*>(element)->picture_count : 1;
            for (u32 k = 0; k < pictures; ++k) EXPECT_NE(panel.picture(module, element->bitmap_id + k), nullptr) << gauge.name;
        }
    }
    expect_no_faults();
}

// Degrees clockwise from +x, from the needle's pivot towards a point on the face.
double direction(int pivot_x, int pivot_y, int x, int y) {
    return std::atan2(y - pivot_y, x - pivot_x) * 180.0 / std::numbers::pi;
}

double angle_apart(double a, double b) { return std::abs(std::remainder(a - b, 360.0)); }

struct MarkCase {
    const char* gauge;
    int needle;      // which needle of the gauge, in the host's drawing order
    u32 variable;
    double input;
    int pivot_x, pivot_y;
    int mark_x, mark_y;
};

std::ostream& operator<<(std::ostream& out, const MarkCase& c) { return out << c.gauge << " at " << c.input; }

class NeedleMarkTest : public EngineTest, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(NeedleMarkTest, NeedlePointsFromItsPivotAtTheFaceMark) {
    const MarkCase& c = GetParam();
    host::PlacedGauge& gauge = place(c.gauge);
    show(gauge, c.variable, c.input);
    const host::ElementState& state = nth(gauge, ELEMENT_NEEDLE, c.needle);
    EXPECT_EQ(state.element->position_x, c.pivot_x);
    EXPECT_EQ(state.element->position_y, c.pivot_y);
    EXPECT_LT(angle_apart(state.needle_angle, direction(c.pivot_x, c.pivot_y, c.mark_x, c.mark_y)), 0.01);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Marks, NeedleMarkTest,
    ::testing::Values(MarkCase{"ITT1_Indicator", 0, VAR_ENG1_ITT, 1832, 123, 129, 124, 51},      // 60
                      MarkCase{"ITT2_Indicator", 0, VAR_ENG2_ITT, 32, 123, 129, 63, 178},        // 0
                      MarkCase{"RPM1_Indicator", 0, VAR_ENG1_RPM, 1000, 123, 129, 150, 56},      // 70
                      MarkCase{"RPM2_Indicator", 0, VAR_ENG2_RPM, 40 / 0.07000007000007, 123, 129, 71, 71}, // 40
                      MarkCase{"TRQ1_Indicator", 0, VAR_ENG1_TORQUE, 0.7, 123, 129, 154, 58},    // 70
                      MarkCase{"TRQ2_Indicator", 0, VAR_ENG2_TORQUE, 1.05, 123, 129, 200, 128},  // 105
                      MarkCase{"FF1_Indicator", 0, VAR_ENG1_FUEL_FLOW, 900 / 0.4535924, 123, 129, 200, 123}, // 9
                      MarkCase{"FF2_Indicator", 0, VAR_ENG2_FUEL_FLOW, 0, 123, 129, 48, 152},   // 0
                      MarkCase{"OIL1_Indicator", 0, VAR_ENG1_OIL_RIGHT_SCALE, 1080, 171, 149, 230, 121}, // 100
                      MarkCase{"OIL2_Indicator", 0, VAR_ENG2_OIL_RIGHT_SCALE, 1400, 171, 149, 211, 95},  // 129.6
                      MarkCase{"OIL1_Indicator", 1, VAR_ENG1_OIL_LEFT_SCALE, 19400, 135, 149, 75, 114},
                      MarkCase{"OIL2_Indicator", 1, VAR_ENG2_OIL_LEFT_SCALE, 0, 135, 149, 93, 210},
                      MarkCase{"FT1_Indicator", 0, VAR_FT_VALUE, 15, 94, 139, 94, 72},           // 50
                      MarkCase{"FT2_Indicator", 0, VAR_FT_VALUE, -25, 94, 139, 27, 146}));       // 0

struct TurnCase {
    const char* gauge;
    int needle;
    u32 variable;
    double from, to;
    double degrees_per_update;
};

std::ostream& operator<<(std::ostream& out, const TurnCase& c) { return out << c.gauge << " needle " << c.needle; }

class NeedleTurnTest : public EngineTest, public ::testing::WithParamInterface<TurnCase> {};

// Placed at once after initialize, then at most so many degrees per update towards a far
// new value.
TEST_P(NeedleTurnTest, NeedleTurnsAtItsRate) {
    const TurnCase& c = GetParam();
    host::PlacedGauge& gauge = place(c.gauge);
    show(gauge, c.variable, c.from);
    const double start = nth(gauge, ELEMENT_NEEDLE, c.needle).needle_shown_angle;
    panel.sim().set(c.variable, c.to);
    for (int update = 1; update <= 3; ++update) {
        panel.update(gauge);
        const host::ElementState& state = nth(gauge, ELEMENT_NEEDLE, c.needle);
        EXPECT_NEAR(angle_apart(state.needle_shown_angle, start), update * c.degrees_per_update, 1e-9);
        EXPECT_GT(angle_apart(state.needle_angle, start), 3 * c.degrees_per_update);
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, NeedleTurnTest,
                         ::testing::Values(TurnCase{"ITT1_Indicator", 0, VAR_ENG1_ITT, 0, 3000, 3},
                                           TurnCase{"FF2_Indicator", 0, VAR_ENG2_FUEL_FLOW, 0, 2000, 1},
                                           TurnCase{"TRQ1_Indicator", 0, VAR_ENG1_TORQUE, 0, 1.0, 3},
                                           TurnCase{"RPM2_Indicator", 0, VAR_ENG2_RPM, 0, 1800, 1},
                                           TurnCase{"OIL1_Indicator", 0, VAR_ENG1_OIL_RIGHT_SCALE, 0, 1300, 3},
                                           TurnCase{"OIL2_Indicator", 1, VAR_ENG2_OIL_LEFT_SCALE, 0, 20000, 1},
                                           TurnCase{"FT2_Indicator", 0, VAR_FT_VALUE, -25, 55, 1}));

struct HelpCase {
    const char* gauge;
    int x, y;
    u32 help_id;
};

class HelpAreaTest : public EngineTest, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(HelpAreaTest, HelpUnderThePointerAndNoClickAction) {
    const HelpCase& c = GetParam();
    host::PlacedGauge& gauge = place(c.gauge);
    EXPECT_EQ(panel.help_at(gauge, c.x, c.y), c.help_id) << c.gauge << " at " << c.x << ", " << c.y;
    EXPECT_EQ(panel.click(gauge, c.x, c.y), nullptr);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Areas, HelpAreaTest,
    ::testing::Values(HelpCase{"ITT1_Indicator", 125, 125, 0}, HelpCase{"ITT2_Indicator", 0, 0, 0},
                      HelpCase{"FF1_Indicator", 10, 10, 0xAB28}, HelpCase{"FF2_Indicator", 249, 249, 0xAB28},
                      HelpCase{"FF2_Indicator", 250, 125, 0},       // off the face
                      HelpCase{"TRQ1_Indicator", 125, 200, 0xAB70}, HelpCase{"TRQ2_Indicator", 0, 249, 0xAB70},
                      HelpCase{"RPM1_Indicator", 125, 125, 0xAB58}, HelpCase{"RPM2_Indicator", 249, 0, 0xAB58},
                      HelpCase{"OIL1_Indicator", 19, 18, 0xAB4E},   // left half, its corners
                      HelpCase{"OIL1_Indicator", 153, 283, 0xAB4E},
                      HelpCase{"OIL2_Indicator", 60, 150, 0xAB4E},
                      HelpCase{"OIL1_Indicator", 154, 150, 0},      // between the halves
                      HelpCase{"OIL1_Indicator", 155, 18, 0xAB4F},  // right half, its corners
                      HelpCase{"OIL2_Indicator", 289, 283, 0xAB4F},
                      HelpCase{"OIL1_Indicator", 290, 150, 0},      // right of it
                      HelpCase{"OIL2_Indicator", 150, 10, 0},       // above both
                      HelpCase{"OIL2_Indicator", 200, 284, 0},      // below both
                      HelpCase{"FT1_Indicator", 100, 100, 0}, HelpCase{"FT2_Indicator", 10, 200, 0}));

// Wild inputs give defined texts: a value outside the 32-bit range prints as the
// truncation's out-of-range result.
struct WildCase {
    const char* gauge;
    u32 variable;
    double input;
    const char* text;
};

std::ostream& operator<<(std::ostream& out, const WildCase& c) { return out << c.gauge << " at " << c.input; }

class WildReadoutTest : public EngineTest, public ::testing::WithParamInterface<WildCase> {};

TEST_P(WildReadoutTest, PrintsADefinedText) {
    const WildCase& c = GetParam();
    host::PlacedGauge& gauge = place(c.gauge);
    show(gauge, c.variable, c.input);
    EXPECT_EQ(text(gauge), c.text);
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, WildReadoutTest,
    ::testing::Values(WildCase{"ITT1_Indicator", VAR_ENG1_ITT, NaN, "-2147483648"},
                      WildCase{"ITT1_Indicator", VAR_ENG1_ITT, INF, "110"},
                      WildCase{"ITT2_Indicator", VAR_ENG2_ITT, -INF, "-2147483648"},
                      WildCase{"ITT2_Indicator", VAR_ENG2_ITT, -1e300, "-2147483648"},
                      WildCase{"FF1_Indicator", VAR_ENG1_FUEL_FLOW, 1e300, "-2147483648"},
                      WildCase{"FF2_Indicator", VAR_ENG2_FUEL_FLOW, -INF, "-2147483648"},
                      WildCase{"FF2_Indicator", VAR_ENG2_FUEL_FLOW, 4734390000.0, "2147483322"}, // just in range
                      WildCase{"FF2_Indicator", VAR_ENG2_FUEL_FLOW, 4734391000.0, "-2147483648"}, // just out
                      WildCase{"TRQ1_Indicator", VAR_ENG1_TORQUE, -INF, "000"},
                      WildCase{"TRQ1_Indicator", VAR_ENG1_TORQUE, NaN, "-2147483648"},
                      WildCase{"TRQ2_Indicator", VAR_ENG2_TORQUE, 1e300, "-2147483648"},
                      WildCase{"RPM1_Indicator", VAR_ENG1_RPM, INF, "105"},
                      WildCase{"RPM1_Indicator", VAR_ENG1_RPM, NaN, "-2147483648"},
                      WildCase{"RPM2_Indicator", VAR_ENG2_RPM, -1e300, "-2147483648"}));

// Every variable of every gauge cycles through wild values for a long run: nothing is
// refused, nothing faults, every readout holds a short NUL-terminated text.
TEST_F(EngineTest, LongRunWithWildValuesStaysClean) {
    constexpr double wild[] = {NaN, INF, -INF, 1e300, -1e300, -0.0, 4.9e-324, 2147483648.0, -2147483649.0, 1e-300, 42};
    constexpr u32 variables[] = {
        VAR_ENG1_ITT, VAR_ENG2_ITT, VAR_ENG1_FUEL_FLOW, VAR_ENG2_FUEL_FLOW, VAR_ENG1_TORQUE, VAR_ENG2_TORQUE,
        VAR_ENG1_RPM, VAR_ENG2_RPM, VAR_ENG1_OIL_RIGHT_SCALE, VAR_ENG1_OIL_LEFT_SCALE, VAR_ENG2_OIL_RIGHT_SCALE,
        VAR_ENG2_OIL_LEFT_SCALE, VAR_FT_VALUE,
    };
    std::vector<host::PlacedGauge*> gauges;
    for (const char* name : ENGINE_GAUGES) ASSERT_NO_THROW(gauges.push_back(&place(name)));
    for (std::size_t cycle = 0; cycle < 5000; ++cycle) {
        for (std::size_t v = 0; v < std::size(variables); ++v) {
            panel.sim().set(variables[v], wild[(cycle + 3 * v) % std::size(wild)]);
        }
        panel.sim().set_failure(20, cycle % 97 == 0);
        panel.sim().set_failure(2, cycle % 89 == 0);
        panel.step(1.0 / 18);
        for (host::PlacedGauge* gauge : gauges) {
            for (const host::ElementState& state : gauge->elements) {
                if (state.element->kind != ELEMENT_STRING) continue;
                const std::size_t length = strnlen(state.text.data(), state.text.size());
                ASSERT_GE(length, 3u) << gauge->name();
                ASSERT_LE(length, 11u) << gauge->name();
            }
            for (const host::ElementState& state : gauge->elements) {
                if (state.element->kind != ELEMENT_ICON) continue;
                ASSERT_TRUE(state.picture_bitmap == state.element->bitmap_id || state.picture_bitmap == 0x1611u);
            }
        }
    }
    EXPECT_EQ(panel.placed().size(), std::size(ENGINE_GAUGES));
    expect_no_faults();
}

} // namespace
