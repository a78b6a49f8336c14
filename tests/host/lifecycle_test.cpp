// Gauges run through the host: the lifecycle, the update cycle's order and what the host
// keeps per element.
#include "fixture_module_test.h"

TEST_F(FixtureTest, UpdateRefreshesVariablesThenValueCallbacksThenTheGaugeCallback) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    EXPECT_EQ(probe.last_service, SERVICE_INSTALL);
    EXPECT_EQ(probe.last_header, alpha.gauge->header);
    panel.sim().set(VAR_AIRSPEED, 50.0);
    panel.sim().set(VAR_PANEL_LIGHTS, 1.0);
    probe.sequence_length = 0;
    panel.update(alpha);
    ASSERT_EQ(probe.sequence_length, 2u);
    EXPECT_EQ(probe.sequence[0], 1u); // the needle's value callback
    EXPECT_EQ(probe.sequence[1], 2u); // then the gauge callback
    EXPECT_EQ(probe.lights_seen, 1.0);
    EXPECT_EQ(at(alpha, 1).value, 100.0); // the callback doubles the bound airspeed
    expect_no_faults();
}

TEST_F(FixtureTest, KeepsEveryElementKindsState) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    panel.sim().set(VAR_AIRSPEED, 25.0);          // needle value 50, readout "00025"
    panel.sim().set(VAR_NAV1_GLIDESLOPE_DEVIATION, 10.0);
    panel.sim().set(VAR_COMPASS_HEADING, 90.0);
    panel.sim().set(VAR_NAV1_COURSE_DEVIATION, 4.0);
    panel.sim().set(VAR_ATTITUDE_PITCH, 1.0);
    panel.sim().set(VAR_ATTITUDE_BANK, 30.0);
    panel.update(alpha);

    const host::ElementState& needle = at(alpha, 1);
    EXPECT_EQ(needle.value, 50.0);
    // Halfway between the 0 mark (straight up from the pivot) and the 100 mark.
    EXPECT_NEAR(needle.needle_angle, -90.0 + 0.5 * (90.0 - 0.0), 1e-9);

    const host::ElementState& icon = at(alpha, 2);
    EXPECT_EQ(icon.picture_bitmap, 0x1201u); // picture 1 of a two-picture icon

    const host::ElementState& slider = at(alpha, 3);
    EXPECT_FALSE(slider.axis_moves[host::AXIS_X]); // no variable, no callback: keeps its place
    EXPECT_EQ(slider.axis_output[host::AXIS_X], 0.0);
    EXPECT_DOUBLE_EQ(slider.axis_output[host::AXIS_Y], 4.0);

    const host::ElementState& moving = at(alpha, 4);
    EXPECT_DOUBLE_EQ(moving.axis_output[host::AXIS_X], 0.25);
    EXPECT_EQ(moving.axis_value[host::AXIS_Y], 1.0); // the constant callback, not the variable
    EXPECT_DOUBLE_EQ(moving.axis_output[host::AXIS_Y], 0.1);

    const host::ElementState& sprite = at(alpha, 5);
    EXPECT_DOUBLE_EQ(sprite.axis_output[host::AXIS_X], 8.0);
    EXPECT_DOUBLE_EQ(sprite.axis_output[host::AXIS_Y], 18.0); // callback (1 + 5) x 3
    EXPECT_DOUBLE_EQ(sprite.axis_output[host::AXIS_ROTATION], -30.0);

    const host::ElementState& readout = alpha.elements.back();
    EXPECT_STREQ(readout.text.data(), "00025");
    EXPECT_EQ(readout.value, 7.0);
    expect_no_faults();
}

TEST_F(FixtureTest, VisibilityFollowsTheFlagsAfterTheGaugeCallback) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    panel.sim().set(VAR_PANEL_LIGHTS, 0.0);
    panel.update(alpha);
    EXPECT_EQ(shown_steps(alpha), (std::vector<int>{0, 1, 3, 4, 5}));
    panel.sim().set(VAR_PANEL_LIGHTS, 1.0);
    panel.update(alpha);
    EXPECT_EQ(shown_steps(alpha), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(FixtureTest, CallbackCodesOtherThanInstallUpdateAndKillChangeNothing) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    panel.update(alpha);
    std::vector<u32> flags_before;
    for (const auto& state : alpha.elements) flags_before.push_back(state.element->image_flags);
    const std::size_t names_before = panel.sim().named_count();
    const u32 updates_before = probe.update_services;
    for (u32 code = 0; code < 64; ++code) {
        if (code == SERVICE_INSTALL || code == SERVICE_UPDATE || code == SERVICE_KILL) continue;
        panel.call_gauge_callback(alpha, code, 0xFFFFFFFF);
    }
    panel.call_gauge_callback(alpha, 0xFFFFFFFF, 0);
    std::vector<u32> flags_after;
    for (const auto& state : alpha.elements) flags_after.push_back(state.element->image_flags);
    EXPECT_EQ(flags_after, flags_before);
    EXPECT_EQ(panel.sim().named_count(), names_before);
    EXPECT_EQ(probe.update_services, updates_before);
    expect_no_faults();
}

TEST_F(FixtureTest, FailureActionsFreezeZeroAndHide) {
    host::PlacedGauge& alpha = panel.place(module, "alpha");
    panel.sim().set(VAR_AIRSPEED, 40.0);
    panel.update(alpha);
    EXPECT_EQ(at(alpha, 1).value, 80.0);

    panel.sim().set_failure(3, true); // freeze: keeps 80 while the airspeed moves
    panel.sim().set(VAR_AIRSPEED, 60.0);
    panel.update(alpha);
    EXPECT_EQ(at(alpha, 1).value, 80.0);
    EXPECT_EQ(at(alpha, 1).failure, host::FailureAction::FREEZE);

    panel.sim().set_failure(3, false);
    panel.sim().set_failure(20, true); // zero: the needle shows 0, the readout prints 0
    panel.update(alpha);
    EXPECT_EQ(at(alpha, 1).value, 0.0);
    EXPECT_STREQ(alpha.elements.back().text.data(), "00000");
    EXPECT_TRUE(at(alpha, 1).visible);

    panel.sim().set_failure(20, false);
    panel.update(alpha);
    EXPECT_EQ(at(alpha, 1).value, 120.0);
    EXPECT_EQ(at(alpha, 1).failure, host::FailureAction::NONE);
}

TEST_F(FixtureTest, ElementOperationsActOnTheServicedGaugeWhateverRootIsPassed) {
    // beta's lifecycle routines pass alpha's root; the host still works on beta's tree.
    host::PlacedGauge& beta = panel.place(module, "beta");
    panel.update(beta);
    ASSERT_EQ(beta.elements.size(), 1u);
    EXPECT_EQ(beta.elements[0].element->bitmap_id, 0x2000u);
    EXPECT_TRUE(beta.elements[0].visible);
    EXPECT_EQ(probe.value_callback_calls, 0u);
    EXPECT_EQ(beta.face_width, 60);
    expect_no_faults();
}

TEST_F(FixtureTest, Version610GaugesRegisterTheirOwnMouseAreas) {
    host::PlacedGauge& legacy = panel.place(module, "legacy");
    EXPECT_TRUE(legacy.mouse_registered);
    panel.update(legacy);
    EXPECT_EQ(probe.legacy_updates, 1u);
    EXPECT_EQ(at(legacy, 1).value, 150.0);
    EXPECT_EQ(at(legacy, 2).picture_bitmap, 0x3203u); // picture k is id + 3k
    EXPECT_NE(panel.click(legacy, 10, 90), nullptr);
    EXPECT_EQ(probe.mouse_calls[0], 1u);
    expect_no_faults();
}

TEST_F(FixtureTest, NeedleTurnIsLimitedPerUpdate) {
    host::PlacedGauge& legacy = panel.place(module, "legacy");
    panel.update(legacy); // the first update places the needle at once
    const double first = at(legacy, 1).needle_shown_angle;
    EXPECT_DOUBLE_EQ(first, at(legacy, 1).needle_angle);
}

TEST_F(FixtureTest, ALongRunLeavesNoFaults) {
    for (const char* name : {"alpha", "beta", "legacy"}) panel.place(module, name);
    for (int i = 0; i < 2000; ++i) {
        panel.sim().set(VAR_AIRSPEED, i * 0.37);
        panel.step(1.0 / 18);
    }
    EXPECT_EQ(panel.placed()[0]->update_count, 2000u);
    expect_no_faults();
}
