// Simulation variables and key events: the numbers gauges name, with their units.
#pragma once

#include "gauge.h"

#include <span>

inline constexpr u32 VAR_TICK_COUNT = 1;
inline constexpr u32 VAR_GROUND_ELEVATION = 2;
inline constexpr u32 VAR_CLOCK_HOUR = 3;
inline constexpr u32 VAR_CLOCK_MINUTE = 4;
inline constexpr u32 VAR_CLOCK_SECOND = 5;
inline constexpr u32 VAR_PANEL_LIGHTS = 10;
inline constexpr u32 VAR_NAV1_COURSE_DEVIATION = 40;
inline constexpr u32 VAR_NAV1_GLIDESLOPE_DEVIATION = 41;
inline constexpr u32 VAR_NAV1_TO_FROM = 43;
inline constexpr u32 VAR_NAV1_GLIDESLOPE_STATUS = 44;
inline constexpr u32 VAR_NAV1_COURSE = 45;
inline constexpr u32 VAR_AIRSPEED = 61;
inline constexpr u32 VAR_VERTICAL_SPEED = 65;
inline constexpr u32 VAR_SLIP_BALL = 69;
inline constexpr u32 VAR_ALTITUDE = 73;
inline constexpr u32 VAR_INDICATED_ALTITUDE = 74;
inline constexpr u32 VAR_BARO_SETTING_MB = 75;
inline constexpr u32 VAR_ATTITUDE_PITCH = 78;
inline constexpr u32 VAR_ATTITUDE_BANK = 80;
inline constexpr u32 VAR_GYRO_HEADING = 81;
inline constexpr u32 VAR_COMPASS_HEADING = 83;
inline constexpr u32 VAR_HEADING_BUG = 107;
inline constexpr u32 VAR_FAILURE_278 = 278;
inline constexpr u32 VAR_FAILURE_279 = 279;
inline constexpr u32 VAR_FAILURE_285 = 285;
inline constexpr u32 VAR_FAILURE_288 = 288;
inline constexpr u32 VAR_FT_VALUE = 341;
inline constexpr u32 VAR_AMBIENT_TEMPERATURE = 350;
inline constexpr u32 VAR_ENG1_OIL_RIGHT_SCALE = 416;
inline constexpr u32 VAR_ENG1_OIL_LEFT_SCALE = 418;
inline constexpr u32 VAR_ENG2_OIL_RIGHT_SCALE = 455;
inline constexpr u32 VAR_ENG2_OIL_LEFT_SCALE = 457;
inline constexpr u32 VAR_ENG1_TORQUE = 629;
inline constexpr u32 VAR_ENG1_ITT = 631;
inline constexpr u32 VAR_ENG1_FUEL_FLOW = 638;
inline constexpr u32 VAR_ENG2_TORQUE = 648;
inline constexpr u32 VAR_ENG2_ITT = 650;
inline constexpr u32 VAR_ENG2_FUEL_FLOW = 657;
inline constexpr u32 VAR_ENG1_RPM = 700;
inline constexpr u32 VAR_ENG2_RPM = 708;
inline constexpr u32 VAR_INSTRUMENT_POWER = 773;

inline constexpr u32 EVENT_CLOCK_HOURS_DEC = 0x10079;
inline constexpr u32 EVENT_CLOCK_HOURS_INC = 0x1007A;
inline constexpr u32 EVENT_CLOCK_MINUTES_DEC = 0x1007B;
inline constexpr u32 EVENT_CLOCK_MINUTES_INC = 0x1007C;
inline constexpr u32 EVENT_NAV1_COURSE_DEC = 0x1007E;
inline constexpr u32 EVENT_NAV1_COURSE_INC = 0x1007F;
inline constexpr u32 EVENT_BARO_SETTING_INC = 0x1015B;
inline constexpr u32 EVENT_BARO_SETTING_DEC = 0x1015C;
inline constexpr u32 EVENT_HEADING_BUG_SET = 0x101FA;

// How a gauge reads a variable's value field.
enum class SimVarReading {
    F64, // the whole field as a double
    I32, // the first four bytes as a signed 32-bit integer
};

struct SimVarInfo {
    u32 id;
    const char* name;
    const char* unit;
    SimVarReading reading;
};

struct SimEventInfo {
    u32 id;
    const char* name;
    const char* effect;
};

// The catalogue shared by host, tools and tests. Ids ascend.
std::span<const SimVarInfo> simvar_catalogue();
std::span<const SimEventInfo> event_catalogue();
const SimVarInfo* find_simvar(u32 id);
const SimVarInfo* find_simvar(const char* name);
const SimEventInfo* find_event(u32 id);
const SimEventInfo* find_event(const char* name);
