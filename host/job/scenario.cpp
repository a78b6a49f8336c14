#include "scenario.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace job {

namespace {

constexpr double MAX_DURATION = 24 * 3600;
constexpr double MAX_FRAME_RATE = 60;
constexpr int MAX_CLICK_REPEAT = 1000;

std::string lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

Scenario read_scenario(const std::string& path) { return parse_scenario(path, read_lines(path)); }

Scenario parse_scenario(const std::string& path, const std::vector<std::string>& lines) {
    Scenario scenario;
    scenario.path = path;
    bool has_duration = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int number = static_cast<int>(index) + 1;
        auto fail = [&](const std::string& problem) { throw FileError(path, number, problem); };
        const std::vector<std::string> w = words(lines[index].substr(0, lines[index].find('#')));
        if (w.empty()) continue;
        auto number_at = [&](std::size_t i, const char* what) {
            double value = 0;
            if (i >= w.size() || !parse_number(w[i], value)) fail(std::string(what) + " is missing or not a number");
            return value;
        };
        auto expect_words = [&](std::size_t count, const char* form) {
            if (w.size() != count) fail("expected \"" + std::string(form) + "\"");
        };
        if (w[0] == "duration") {
            expect_words(2, "duration SECONDS");
            scenario.duration = number_at(1, "the duration");
            if (scenario.duration <= 0 || scenario.duration > MAX_DURATION) fail("the duration must lie in (0, 86400] seconds");
            has_duration = true;
            continue;
        }
        if (w[0] == "frame_rate") {
            expect_words(2, "frame_rate FRAMES_PER_SECOND");
            scenario.frame_rate = number_at(1, "the frame rate");
            if (scenario.frame_rate <= 0 || scenario.frame_rate > MAX_FRAME_RATE) fail("the frame rate must lie in (0, 60]");
            continue;
        }
        const double time = number_at(0, "the time (or a duration/frame_rate line)");
        if (time < 0) fail("the time must not be negative");
        if (w.size() < 2) fail("a time needs a command: set, ramp, key, click or fail");
        const std::string& command = w[1];
        if (command == "set" || command == "ramp") {
            expect_words(4, "TIME set|ramp VARIABLE VALUE");
            const SimVarInfo* info = find_simvar(w[2].c_str());
            if (info == nullptr) fail("unknown variable \"" + w[2] + "\"");
            const double value = number_at(3, "the value");
            auto& keys = scenario.variables[info->id];
            if (!keys.empty() && keys.back().time > time) fail("keys of " + w[2] + " must come in time order");
            if (command == "ramp" && keys.empty()) fail("the first key of " + w[2] + " must be a set, not a ramp");
            keys.push_back({time, value, command == "ramp", number});
        } else if (command == "key") {
            expect_words(4, "TIME key EVENT VALUE");
            const SimEventInfo* info = find_event(w[2].c_str());
            if (info == nullptr) fail("unknown event \"" + w[2] + "\"");
            const double value = number_at(3, "the event value");
            if (value < 0 || value > 0xFFFFFFFFu || value != std::floor(value)) fail("the event value must be a whole number from 0");
            scenario.actions.push_back({ScenarioAction::KEY_EVENT, time, info->id, static_cast<u32>(value), false, {}, 0, 0, number});
        } else if (command == "click") {
            if (w.size() != 5 && w.size() != 6) fail("expected \"TIME click MODULE!GAUGE X Y [TIMES]\"");
            ScenarioAction click{ScenarioAction::CLICK, time};
            click.gauge = w[2];
            click.line = number;
            if (!parse_int(w[3], click.x) || !parse_int(w[4], click.y)) fail("the click point must be two whole numbers");
            if (w.size() == 6 && (!parse_int(w[5], click.repeat) || click.repeat < 1 || click.repeat > MAX_CLICK_REPEAT)) {
                fail("a click repeats 1 to " + std::to_string(MAX_CLICK_REPEAT) + " times");
            }
            scenario.actions.push_back(click);
        } else if (command == "fail") {
            expect_words(4, "TIME fail KEY on|off");
            int key = 0;
            if (!parse_int(w[2], key) || key <= 0) fail("the failure key must be a whole number from 1");
            if (w[3] != "on" && w[3] != "off") fail("a failure is switched \"on\" or \"off\", not \"" + w[3] + "\"");
            scenario.actions.push_back({ScenarioAction::FAILURE, time, static_cast<u32>(key), 0, w[3] == "on", {}, 0, 0, number});
        } else {
            fail("unknown command \"" + command + "\" (set, ramp, key, click, fail)");
        }
    }
    if (!has_duration) throw FileError(path, 0, "has no duration line");
    std::ranges::stable_sort(scenario.actions, {}, &ScenarioAction::time);
    return scenario;
}

double value_at(const std::vector<VariableKey>& keys, double time) {
    auto after = std::ranges::upper_bound(keys, time, {}, &VariableKey::time);
    if (after == keys.begin()) return std::numeric_limits<double>::quiet_NaN();
    const VariableKey& before = *(after - 1);
    if (after == keys.end() || !after->ramp || after->time <= before.time) return before.value;
    const double share = (time - before.time) / (after->time - before.time);
    return before.value + (after->value - before.value) * share;
}

ScenarioPlayer::ScenarioPlayer(const Scenario& scenario, host::PanelHost& panel) : scenario_(scenario), panel_(panel) {
    for (const ScenarioAction& action : scenario.actions) {
        host::PlacedGauge* target = nullptr;
        if (action.kind == ScenarioAction::CLICK) {
            for (const auto& placed : panel.placed()) {
                if (lower(placed->module->name + "!" + placed->name()) == lower(action.gauge)) {
                    target = placed.get();
                    break;
                }
            }
            if (target == nullptr) throw FileError(scenario.path, action.line, "clicks " + action.gauge + ", which the panel does not place");
        }
        click_targets_.push_back(target);
    }
}

void ScenarioPlayer::advance_to(double time) {
    for (; next_action_ < scenario_.actions.size() && scenario_.actions[next_action_].time <= time; ++next_action_) {
        const ScenarioAction& action = scenario_.actions[next_action_];
        switch (action.kind) {
        case ScenarioAction::KEY_EVENT: panel_.sim().perform_event(action.id, action.value); break;
        case ScenarioAction::CLICK:
            for (int i = 0; i < action.repeat; ++i) panel_.click(*click_targets_[next_action_], action.x, action.y);
            break;
        case ScenarioAction::FAILURE: panel_.sim().set_failure(action.id, action.on); break;
        }
    }
    // Only values that moved are written, so key events and the clock keep what they
    // changed until the scenario names the variable again.
    for (const auto& [id, keys] : scenario_.variables) {
        const double value = value_at(keys, time);
        if (std::isnan(value)) continue;
        auto [last, fresh] = applied_.try_emplace(id, value);
        if (!fresh && last->second == value) continue;
        last->second = value;
        panel_.sim().set(id, value);
    }
}

} // namespace job
