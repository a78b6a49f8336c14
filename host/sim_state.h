// The simulated aircraft as the gauges see it: variables by id in the catalogue's units,
// key events, named variables and the host's failure conditions.
#pragma once

#include "simvars.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>
#include <map>
#include <set>
#include <string>

namespace host {

// Highest variable id the host keeps.
inline constexpr u32 MAX_VARIABLE_ID = 1023;

class SimState {
public:
    SimState();

    // Sets a variable in its catalogue unit. An integer-read variable gets the value
    // truncated to 32 bits in the first four bytes of its field, the rest zero.
    void set(u32 id, double value);
    // Stores the 64-bit field exactly as given, whatever the variable's reading.
    void set_raw(u32 id, double field);
    // The variable's field as a gauge's `ModuleVar` receives it; unknown ids read 0.
    double field(u32 id) const;
    // The value in its catalogue unit (an integer-read variable as its integer).
    double value(u32 id) const;

    // Performs a key event; false when the event is not one the host knows.
    bool perform_event(u32 event, u32 value);

    // Advances the host clock: the tick counter by 18 per second, and the clock variables.
    void advance_time(double seconds);

    // Named variables: cells gauges publish for other gauges to write.
    bool register_named(const std::string& name, void* cell);
    void unregister_named(const std::string& name);
    // The published cell, or nullptr while nothing is registered under the name.
    void* named(const std::string& name) const;
    std::size_t named_count() const { return named_.size(); }
    // Withdraws every name whose cell `inside` accepts; returns the names withdrawn.
    std::vector<std::string> drop_named_if(const std::function<bool(void*)>& inside);

    // Host failure conditions, by key.
    void set_failure(u32 key, bool active);
    bool failure_active(u32 key) const { return failures_.contains(key); }

private:
    struct NamedCell {
        void* cell;
        int registrations;
    };
    double value_or_zero(u32 id) const;

    std::array<double, MAX_VARIABLE_ID + 1> fields_{};
    double clock_seconds_ = 0; // seconds since midnight, fractional
    std::map<std::string, NamedCell> named_;
    std::set<u32> failures_;
};

// Host constants, documented in HOST.md.
inline constexpr double TICKS_PER_SECOND = 18.0;
inline constexpr double BARO_STEP_MB = 0.3386389; // 0.01 inch of mercury
inline constexpr double BARO_MIN_MB = 948.2;      // 28.00 inHg
inline constexpr double BARO_MAX_MB = 1049.8;     // 31.00 inHg

} // namespace host
