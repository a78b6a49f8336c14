#include "sim_state.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(KeyEvents, StepTheHostsStateAsDocumented) {
    host::SimState sim;
    struct Case {
        u32 var;
        double before;
        u32 event;
        u32 value;
        double after;
    } cases[] = {
        {VAR_CLOCK_MINUTE, 59, EVENT_CLOCK_MINUTES_INC, 0, 0}, // no carry into the hour
        {VAR_CLOCK_MINUTE, 0, EVENT_CLOCK_MINUTES_DEC, 0, 59},
        {VAR_CLOCK_HOUR, 23, EVENT_CLOCK_HOURS_INC, 0, 0},
        {VAR_CLOCK_HOUR, 0, EVENT_CLOCK_HOURS_DEC, 0, 23},
        {VAR_NAV1_COURSE, 359, EVENT_NAV1_COURSE_INC, 0, 0},
        {VAR_NAV1_COURSE, 0, EVENT_NAV1_COURSE_DEC, 0, 359},
        {VAR_NAV1_COURSE, 90.7, EVENT_NAV1_COURSE_INC, 0, 91},
        {VAR_HEADING_BUG, 10, EVENT_HEADING_BUG_SET, 275, 275},
        {VAR_HEADING_BUG, 10, EVENT_HEADING_BUG_SET, 360, 0},
        {VAR_BARO_SETTING_MB, 1013.25, EVENT_BARO_SETTING_INC, 1, 1013.25 + host::BARO_STEP_MB},
        {VAR_BARO_SETTING_MB, 1013.25, EVENT_BARO_SETTING_DEC, 1, 1013.25 - host::BARO_STEP_MB},
        {VAR_BARO_SETTING_MB, host::BARO_MAX_MB, EVENT_BARO_SETTING_INC, 1, host::BARO_MAX_MB},
        {VAR_BARO_SETTING_MB, std::nan(""), EVENT_BARO_SETTING_DEC, 1, host::BARO_MIN_MB},
    };
    for (const Case& c : cases) {
        sim.set(c.var, c.before);
        EXPECT_TRUE(sim.perform_event(c.event, c.value));
        EXPECT_NEAR(sim.value(c.var), c.after, 1e-9) << std::hex << c.event;
    }
    EXPECT_FALSE(sim.perform_event(0x12345, 0));
}

TEST(HostClock, TicksAndCarriesTheClock) {
    host::SimState sim;
    sim.set(VAR_CLOCK_HOUR, 23);
    sim.set(VAR_CLOCK_MINUTE, 59);
    sim.set(VAR_CLOCK_SECOND, 59);
    sim.set(VAR_TICK_COUNT, 0);
    sim.advance_time(2.0);
    EXPECT_EQ(sim.value(VAR_TICK_COUNT), 36.0);
    EXPECT_EQ(sim.value(VAR_CLOCK_HOUR), 0.0);
    EXPECT_EQ(sim.value(VAR_CLOCK_MINUTE), 0.0);
    EXPECT_EQ(sim.value(VAR_CLOCK_SECOND), 1.0);
    sim.advance_time(std::nan(""));
    EXPECT_EQ(sim.value(VAR_TICK_COUNT), 36.0);
}

TEST(NamedVariables, AnotherCellCannotTakeAPublishedName) {
    host::SimState sim;
    u32 a = 0, b = 0;
    EXPECT_TRUE(sim.register_named("cell", &a));
    EXPECT_FALSE(sim.register_named("cell", &b));
    EXPECT_EQ(sim.named("cell"), &a);
    sim.unregister_named("cell");
    EXPECT_EQ(sim.named("cell"), nullptr);
    sim.unregister_named("cell"); // withdrawing twice is harmless
}
