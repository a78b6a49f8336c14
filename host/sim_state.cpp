#include "sim_state.h"

#include "elements.h"
#include "numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace host {

namespace {
double integer_field(std::int32_t value) {
    std::uint64_t bits = static_cast<std::uint32_t>(value); // low four bytes, little-endian
    double field;
    std::memcpy(&field, &bits, sizeof field);
    return field;
}

int wrap(int value, int modulus) {
    return ((value % modulus) + modulus) % modulus;
}
} // namespace

SimState::SimState() {
    set(VAR_BARO_SETTING_MB, 1013.25);
    set(VAR_INSTRUMENT_POWER, 1.0);
    set(VAR_AMBIENT_TEMPERATURE, 15.0 / 256.0);
    set(VAR_CLOCK_HOUR, 12);
}

void SimState::set(u32 id, double value) {
    const SimVarInfo* info = find_simvar(id);
    if (info != nullptr && info->reading == SimVarReading::I32) {
        set_raw(id, integer_field(truncate_to_i32(value)));
    } else {
        set_raw(id, value);
    }
    if (id == VAR_CLOCK_HOUR || id == VAR_CLOCK_MINUTE || id == VAR_CLOCK_SECOND) {
        clock_seconds_ = value_or_zero(VAR_CLOCK_HOUR) * 3600 + value_or_zero(VAR_CLOCK_MINUTE) * 60 +
                         value_or_zero(VAR_CLOCK_SECOND);
    }
}

void SimState::set_raw(u32 id, double field) {
    if (id <= MAX_VARIABLE_ID) fields_[id] = field;
}

double SimState::field(u32 id) const {
    return id <= MAX_VARIABLE_ID ? fields_[id] : 0.0;
}

double SimState::value(u32 id) const {
    const SimVarInfo* info = find_simvar(id);
    if (info != nullptr && info->reading == SimVarReading::I32) {
        ModuleVar var{};
        var.value = field(id);
        return module_var_i32(var);
    }
    return field(id);
}

double SimState::value_or_zero(u32 id) const {
    double v = field(id);
    return std::isfinite(v) ? v : 0.0;
}

bool SimState::perform_event(u32 event, u32 value) {
    auto step_variable = [&](u32 id, int delta, int modulus) {
        set(id, wrap(truncate_to_i32(value_or_zero(id)) + delta, modulus));
    };
    switch (event) {
    case EVENT_CLOCK_HOURS_INC: step_variable(VAR_CLOCK_HOUR, 1, 24); return true;
    case EVENT_CLOCK_HOURS_DEC: step_variable(VAR_CLOCK_HOUR, -1, 24); return true;
    case EVENT_CLOCK_MINUTES_INC: step_variable(VAR_CLOCK_MINUTE, 1, 60); return true;
    case EVENT_CLOCK_MINUTES_DEC: step_variable(VAR_CLOCK_MINUTE, -1, 60); return true;
    case EVENT_NAV1_COURSE_INC: step_variable(VAR_NAV1_COURSE, 1, 360); return true;
    case EVENT_NAV1_COURSE_DEC: step_variable(VAR_NAV1_COURSE, -1, 360); return true;
    case EVENT_BARO_SETTING_INC:
    case EVENT_BARO_SETTING_DEC: {
        double steps = std::min<u32>(value, 1000) * (event == EVENT_BARO_SETTING_INC ? 1.0 : -1.0);
        set(VAR_BARO_SETTING_MB, std::clamp(value_or_zero(VAR_BARO_SETTING_MB) + steps * BARO_STEP_MB, BARO_MIN_MB, BARO_MAX_MB));
        return true;
    }
    case EVENT_HEADING_BUG_SET: set(VAR_HEADING_BUG, value % 360); return true;
    default: return false;
    }
}

void SimState::advance_time(double seconds) {
    if (!std::isfinite(seconds) || seconds <= 0) return;
    set(VAR_TICK_COUNT, value_or_zero(VAR_TICK_COUNT) + seconds * TICKS_PER_SECOND);
    clock_seconds_ = std::fmod(clock_seconds_ + seconds, 86400.0);
    const auto whole = static_cast<long>(clock_seconds_);
    set_raw(VAR_CLOCK_HOUR, static_cast<double>(whole / 3600));
    set_raw(VAR_CLOCK_MINUTE, static_cast<double>(whole / 60 % 60));
    set_raw(VAR_CLOCK_SECOND, static_cast<double>(whole % 60));
}

bool SimState::register_named(const std::string& name, void* cell) {
    auto [it, inserted] = named_.try_emplace(name, NamedCell{cell, 0});
    if (!inserted && it->second.cell != cell) return false;
    ++it->second.registrations;
    return true;
}

void SimState::unregister_named(const std::string& name) {
    auto it = named_.find(name);
    if (it != named_.end() && --it->second.registrations <= 0) named_.erase(it);
}

void* SimState::named(const std::string& name) const {
    auto it = named_.find(name);
    return it == named_.end() ? nullptr : it->second.cell;
}

std::vector<std::string> SimState::drop_named_if(const std::function<bool(void*)>& inside) {
    std::vector<std::string> dropped;
    for (auto it = named_.begin(); it != named_.end();) {
        if (inside(it->second.cell)) {
            dropped.push_back(it->first);
            it = named_.erase(it);
        } else {
            ++it;
        }
    }
    return dropped;
}

void SimState::set_failure(u32 key, bool active) {
    if (active) failures_.insert(key);
    else failures_.erase(key);
}

} // namespace host
