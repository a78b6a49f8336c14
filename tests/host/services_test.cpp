// The services a module reaches through its import table, and the mouse.
#include "fixture_module_test.h"

using ServicesTest = FixtureTest;

TEST_F(ServicesTest, ANamedVariableIsWrittenByOthersAndWithdrawnOnKill) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    auto* cell = static_cast<u32*>(panel.sim().named("fixture_cell"));
    ASSERT_EQ(cell, &probe.named_cell);
    *cell = 42; // as a gauge elsewhere on the panel would
    EXPECT_EQ(probe.named_cell, 42u);
    panel.remove(alpha);
    EXPECT_EQ(panel.sim().named("fixture_cell"), nullptr);
    expect_no_faults();
}

TEST_F(ServicesTest, TwoCopiesShareOneNameUntilBothAreGone) {
    host::PlacedGauge& first = panel.place(module, "alpha");
    host::PlacedGauge& second = panel.place(module, "alpha");
    panel.remove(first);
    EXPECT_NE(panel.sim().named("fixture_cell"), nullptr);
    panel.remove(second);
    EXPECT_EQ(panel.sim().named("fixture_cell"), nullptr);
}

TEST_F(ServicesTest, ACallToAForbiddenSlotIsAFaultOfTheModule) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    probe.call_forbidden_slot = 1;
    panel.update(alpha);
    ASSERT_EQ(panel.faults().size(), 1u);
    EXPECT_EQ(panel.faults()[0].module, "Fixture");
    EXPECT_EQ(panel.faults()[0].gauge, "alpha");
    EXPECT_EQ(panel.faults()[0].what, "called service slot 30, which no gauge may call");
}

struct HitCase {
    int x, y;
    int function;   // index into probe.mouse_calls, -1 for none
    u32 help_id;
};

class MouseHitTest : public ServicesTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(MouseHitTest, CallsTheInnermostFunctionAndReportsTheInnermostHelp) {
    const HitCase& c = GetParam();
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    EXPECT_EQ(panel.help_at(alpha, c.x, c.y), c.help_id);
    const MouseRect* area = panel.click(alpha, c.x, c.y);
    EXPECT_EQ(area != nullptr, c.function >= 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(probe.mouse_calls[i], i == c.function ? 1u : 0u) << "function " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Points, MouseHitTest,
    ::testing::Values(HitCase{15, 15, 2, 0xAB01},  // child inside the left parent
                      HitCase{5, 50, -1, 0xAB01},  // left parent, no child there
                      HitCase{70, 10, 1, 0xAB00},  // nested parent with a function
                      HitCase{99, 79, 3, 0xAB00},  // child of the outer parent
                      HitCase{100, 79, -1, 0},     // outside the face
                      HitCase{-1, 5, -1, 0}));

TEST_F(ServicesTest, AMouseFunctionReturningOtherThanZeroIsAFault) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    panel.click(alpha, 60, 60);
    ASSERT_EQ(panel.faults().size(), 1u);
    EXPECT_EQ(panel.faults()[0].what, "mouse function returned 5, not 0");
}

TEST_F(ServicesTest, Version610MouseAreasStopWithUnregister) {
    host::PlacedGauge& legacy = panel.place(module, "legacy");
    const MouseRect* areas = legacy.mouse_areas;
    panel.remove(legacy);
    // A later copy is registered anew; the removed one called nothing after its kill.
    EXPECT_EQ(probe.mouse_calls[0], 0u);
    EXPECT_EQ(areas[1].help_id, 0u);
    expect_no_faults();
}

TEST_F(ServicesTest, LookupReadsTheVariableAtOnceAndIntegerVariablesTheirFirstBytes) {
    panel.sim().set(VAR_FAILURE_279, 1.0);
    EXPECT_EQ(panel.sim().value(VAR_FAILURE_279), 1.0);
    std::int64_t bits;
    double field = panel.sim().field(VAR_FAILURE_279);
    std::memcpy(&bits, &field, sizeof bits);
    EXPECT_EQ(bits, 1);
    panel.sim().set_raw(VAR_FAILURE_279, 1.0); // a double 1.0 read as an integer is 0
    EXPECT_EQ(panel.sim().value(VAR_FAILURE_279), 0.0);
}
