// The oil gauges (two needles, one icon below both) and the FT gauges (one needle and a
// warning icon), driven through the host.
#include "engine_test_support.h"

#include <limits>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct OilEngine {
    const char* gauge;
    u32 right, left;             // this engine's variables
    u32 other_right, other_left; // the other engine's
};
constexpr OilEngine OIL_ENGINES[] = {
    {"OIL1_Indicator", VAR_ENG1_OIL_RIGHT_SCALE, VAR_ENG1_OIL_LEFT_SCALE, VAR_ENG2_OIL_RIGHT_SCALE, VAR_ENG2_OIL_LEFT_SCALE},
    {"OIL2_Indicator", VAR_ENG2_OIL_RIGHT_SCALE, VAR_ENG2_OIL_LEFT_SCALE, VAR_ENG1_OIL_RIGHT_SCALE, VAR_ENG1_OIL_LEFT_SCALE},
};

struct OilCase {
    double right_input, right_value;
    double left_input, left_value;
};

class OilNeedleTest : public EngineTest, public ::testing::WithParamInterface<OilCase> {};

// The face's list names the right-hand needle first, then the left-hand one.
TEST_P(OilNeedleTest, EachNeedleShowsItsOwnVariableUnclamped) {
    const OilCase& c = GetParam();
    for (const OilEngine& engine : OIL_ENGINES) {
        SCOPED_TRACE(engine.gauge);
        host::PlacedGauge& oil = place(engine.gauge);
        panel.sim().set(engine.other_right, NaN);
        panel.sim().set(engine.other_left, NaN);
        panel.sim().set(engine.right, c.right_input);
        panel.sim().set(engine.left, c.left_input);
        panel.update(oil);
        EXPECT_NEAR(nth(oil, ELEMENT_NEEDLE, 0).value, c.right_value, 1e-9 * std::max(1.0, std::abs(c.right_value)));
        EXPECT_EQ(nth(oil, ELEMENT_NEEDLE, 1).value, c.left_value);
        EXPECT_EQ(icon(oil).picture_bitmap, 0x1510u);
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Needles, OilNeedleTest,
                         ::testing::Values(OilCase{1080, 100, 15000, 15000}, OilCase{0, 0, 0, 0},
                                           OilCase{1522.8, 141, 20000, 20000},
                                           OilCase{3000, 277.77777777777777, 25000, 25000},
                                           OilCase{-500, -46.296296296296298, -1, -1}));

TEST_F(EngineTest, OilIconHangsBelowBothNeedles) {
    host::PlacedGauge& oil = place("OIL2_Indicator");
    panel.update(oil);
    ElementHeader** const face_children = oil.elements.front().element->next_elements;
    ASSERT_NE(face_children, nullptr);
    const ElementHeader* right = face_children[0];
    const ElementHeader* left = face_children[1];
    ASSERT_NE(right, nullptr);
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(face_children[2], nullptr);
    EXPECT_EQ(right->position_x, 171);
    EXPECT_EQ(left->position_x, 135);

    // One list, shared: its only entry is the icon.
    ElementHeader** const right_children = right->next_elements;
    ElementHeader** const left_children = left->next_elements;
    EXPECT_EQ(right_children, left_children);
    ASSERT_NE(right_children, nullptr);
    EXPECT_EQ(right_children[0], icon(oil).element);
    EXPECT_EQ(right_children[1], nullptr);

    // The host lists the shared icon once, below the needles, and draws it.
    ASSERT_EQ(oil.elements.size(), 4u);
    EXPECT_EQ(icon(oil).depth, 2);
    EXPECT_TRUE(icon(oil).visible);
    EXPECT_EQ(icon(oil).value, 0.0);
}

// ---- FT -----------------------------------------------------------------------------

constexpr u32 FT_NORMAL_PICTURE = 0x1610;
constexpr u32 FT_WARNING_PICTURE = 0x1611;

struct FtCase {
    double input;
    double needle;
    bool warning;
};

std::ostream& operator<<(std::ostream& out, const FtCase& c) { return out << "FT at " << c.input; }

class FtTest : public EngineTest, public ::testing::WithParamInterface<FtCase> {};

// The dial stands for -25 to 55; the warning picture shows below 10 and above 90 on it.
TEST_P(FtTest, BothGaugesShowTheValueAndWarnOutsideTenToNinety) {
    const FtCase& c = GetParam();
    host::PlacedGauge& ft1 = place("FT1_Indicator");
    host::PlacedGauge& ft2 = place("FT2_Indicator");
    panel.sim().set(VAR_FT_VALUE, c.input);
    panel.update_all();
    for (host::PlacedGauge* ft : {&ft1, &ft2}) {
        SCOPED_TRACE(ft->name());
        EXPECT_EQ(needle(*ft).value, c.needle);
        EXPECT_EQ(icon(*ft).picture_bitmap, c.warning ? FT_WARNING_PICTURE : FT_NORMAL_PICTURE);
        EXPECT_TRUE(icon(*ft).visible);
    }
    expect_no_faults();
}

INSTANTIATE_TEST_SUITE_P(Thresholds, FtTest,
                         ::testing::Values(FtCase{-100, 0, true}, FtCase{-25, 0, true}, FtCase{-18, 8.75, true},
                                           FtCase{-17, 10, false}, FtCase{15, 50, false}, FtCase{47, 90, false},
                                           FtCase{47.5, 90.625, true}, FtCase{55, 100, true},
                                           FtCase{1e300, 100, true}, FtCase{NaN, 0, true}));

// The two FT gauges read one variable but keep their own warning cell: a gauge's icon
// shows what its own needle last found, whatever the other gauge's needle found since.
TEST_F(EngineTest, EachFtGaugeKeepsItsOwnWarning) {
    host::PlacedGauge& ft1 = place("FT1_Indicator");
    host::PlacedGauge& ft2 = place("FT2_Indicator");
    auto icon_now = [](host::PlacedGauge& ft) {
        auto* record = reinterpret_cast<IconElement*>(icon(ft).element);
        return record->callback(&record->header); // as the host would call it next
    };
    show(ft1, VAR_FT_VALUE, 50); // warning band
    show(ft2, VAR_FT_VALUE, 20); // normal
    EXPECT_EQ(icon(ft1).picture_bitmap, FT_WARNING_PICTURE);
    EXPECT_EQ(icon(ft2).picture_bitmap, FT_NORMAL_PICTURE);
    EXPECT_EQ(icon_now(ft1), 1.0);
    EXPECT_EQ(icon_now(ft2), 0.0);

    show(ft1, VAR_FT_VALUE, 20);
    show(ft2, VAR_FT_VALUE, -24);
    EXPECT_EQ(icon_now(ft1), 0.0);
    EXPECT_EQ(icon_now(ft2), 1.0);
    panel.update(ft1);
    EXPECT_EQ(icon(ft1).picture_bitmap, FT_WARNING_PICTURE); // its needle now sees -24 too
    EXPECT_EQ(icon_now(ft1), 1.0);
    expect_no_faults();
}

} // namespace
