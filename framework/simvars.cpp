#include "simvars.h"

#include <algorithm>
#include <cstring>

namespace {

using enum SimVarReading;

constexpr SimVarInfo SIMVARS[] = {
    {VAR_TICK_COUNT, "VAR_TICK_COUNT", "host ticks", F64},
    {VAR_GROUND_ELEVATION, "VAR_GROUND_ELEVATION", "metres x 256", F64},
    {VAR_CLOCK_HOUR, "VAR_CLOCK_HOUR", "hour 0-23", F64},
    {VAR_CLOCK_MINUTE, "VAR_CLOCK_MINUTE", "minute 0-59", F64},
    {VAR_CLOCK_SECOND, "VAR_CLOCK_SECOND", "second 0-59", F64},
    {VAR_PANEL_LIGHTS, "VAR_PANEL_LIGHTS", "0 off, 1 on", F64},
    {VAR_NAV1_COURSE_DEVIATION, "VAR_NAV1_COURSE_DEVIATION", "deviation units, -127..127", F64},
    {VAR_NAV1_GLIDESLOPE_DEVIATION, "VAR_NAV1_GLIDESLOPE_DEVIATION", "deviation units, -127..127", F64},
    {VAR_NAV1_TO_FROM, "VAR_NAV1_TO_FROM", "0 none, 1 TO, 2 FROM", I32},
    {VAR_NAV1_GLIDESLOPE_STATUS, "VAR_NAV1_GLIDESLOPE_STATUS", "1 received", F64},
    {VAR_NAV1_COURSE, "VAR_NAV1_COURSE", "degrees 0-359", F64},
    {VAR_AIRSPEED, "VAR_AIRSPEED", "knots", F64},
    {VAR_VERTICAL_SPEED, "VAR_VERTICAL_SPEED", "metres per second x 256", F64},
    {VAR_SLIP_BALL, "VAR_SLIP_BALL", "ball units, -127..127", F64},
    {VAR_ALTITUDE, "VAR_ALTITUDE", "metres", F64},
    {VAR_INDICATED_ALTITUDE, "VAR_INDICATED_ALTITUDE", "feet", F64},
    {VAR_BARO_SETTING_MB, "VAR_BARO_SETTING_MB", "millibars", F64},
    {VAR_ATTITUDE_PITCH, "VAR_ATTITUDE_PITCH", "degrees, nose up positive", F64},
    {VAR_ATTITUDE_BANK, "VAR_ATTITUDE_BANK", "degrees, right wing down positive", F64},
    {VAR_GYRO_HEADING, "VAR_GYRO_HEADING", "degrees 0-359", F64},
    {VAR_COMPASS_HEADING, "VAR_COMPASS_HEADING", "degrees 0-360", F64},
    {VAR_HEADING_BUG, "VAR_HEADING_BUG", "degrees", F64},
    {VAR_FAILURE_278, "VAR_FAILURE_278", "0 no failure", I32},
    {VAR_FAILURE_279, "VAR_FAILURE_279", "0 no failure", I32},
    {VAR_FAILURE_285, "VAR_FAILURE_285", "0 no failure", I32},
    {VAR_FAILURE_288, "VAR_FAILURE_288", "0 no failure", I32},
    {VAR_FT_VALUE, "VAR_FT_VALUE", "-25..55 scale", F64},
    {VAR_AMBIENT_TEMPERATURE, "VAR_AMBIENT_TEMPERATURE", "degrees Celsius / 256", F64},
    {VAR_ENG1_OIL_RIGHT_SCALE, "VAR_ENG1_OIL_RIGHT_SCALE", "raw, shown x 0.0926", F64},
    {VAR_ENG1_OIL_LEFT_SCALE, "VAR_ENG1_OIL_LEFT_SCALE", "0..20000 scale", F64},
    {VAR_ENG2_OIL_RIGHT_SCALE, "VAR_ENG2_OIL_RIGHT_SCALE", "raw, shown x 0.0926", F64},
    {VAR_ENG2_OIL_LEFT_SCALE, "VAR_ENG2_OIL_LEFT_SCALE", "0..20000 scale", F64},
    {VAR_ENG1_TORQUE, "VAR_ENG1_TORQUE", "fraction of full torque", F64},
    {VAR_ENG1_ITT, "VAR_ENG1_ITT", "degrees Fahrenheit", F64},
    {VAR_ENG1_FUEL_FLOW, "VAR_ENG1_FUEL_FLOW", "pounds per hour", F64},
    {VAR_ENG2_TORQUE, "VAR_ENG2_TORQUE", "fraction of full torque", F64},
    {VAR_ENG2_ITT, "VAR_ENG2_ITT", "degrees Fahrenheit", F64},
    {VAR_ENG2_FUEL_FLOW, "VAR_ENG2_FUEL_FLOW", "pounds per hour", F64},
    {VAR_ENG1_RPM, "VAR_ENG1_RPM", "revolutions per minute", F64},
    {VAR_ENG2_RPM, "VAR_ENG2_RPM", "revolutions per minute", F64},
    {VAR_INSTRUMENT_POWER, "VAR_INSTRUMENT_POWER", "1 powered, 0 unpowered", F64},
};

constexpr SimEventInfo EVENTS[] = {
    {EVENT_CLOCK_HOURS_DEC, "EVENT_CLOCK_HOURS_DEC", "clock hour one back"},
    {EVENT_CLOCK_HOURS_INC, "EVENT_CLOCK_HOURS_INC", "clock hour one forward"},
    {EVENT_CLOCK_MINUTES_DEC, "EVENT_CLOCK_MINUTES_DEC", "clock minute one back"},
    {EVENT_CLOCK_MINUTES_INC, "EVENT_CLOCK_MINUTES_INC", "clock minute one forward"},
    {EVENT_NAV1_COURSE_DEC, "EVENT_NAV1_COURSE_DEC", "NAV1 course one degree down"},
    {EVENT_NAV1_COURSE_INC, "EVENT_NAV1_COURSE_INC", "NAV1 course one degree up"},
    {EVENT_BARO_SETTING_INC, "EVENT_BARO_SETTING_INC", "barometric setting one step up"},
    {EVENT_BARO_SETTING_DEC, "EVENT_BARO_SETTING_DEC", "barometric setting one step down"},
    {EVENT_HEADING_BUG_SET, "EVENT_HEADING_BUG_SET", "heading bug set to the value"},
};

static_assert(std::ranges::is_sorted(SIMVARS, {}, &SimVarInfo::id));

template <typename Info>
const Info* find_by_id(std::span<const Info> table, u32 id) {
    auto it = std::ranges::find(table, id, &Info::id);
    return it == table.end() ? nullptr : &*it;
}

template <typename Info>
const Info* find_by_name(std::span<const Info> table, const char* name) {
    auto it = std::ranges::find_if(table, [name](const Info& info) { return std::strcmp(info.name, name) == 0; });
    return it == table.end() ? nullptr : &*it;
}

} // namespace

std::span<const SimVarInfo> simvar_catalogue() { return SIMVARS; }
std::span<const SimEventInfo> event_catalogue() { return EVENTS; }
const SimVarInfo* find_simvar(u32 id) { return find_by_id(simvar_catalogue(), id); }
const SimVarInfo* find_simvar(const char* name) { return find_by_name(simvar_catalogue(), name); }
const SimEventInfo* find_event(u32 id) { return find_by_id(event_catalogue(), id); }
const SimEventInfo* find_event(const char* name) { return find_by_name(event_catalogue(), name); }
