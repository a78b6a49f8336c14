// Flight scenarios: what happens to the aircraft over time, as a text file of timed
// lines. Times are seconds from the start; blank lines and text after '#' are ignored.
//
//   duration 300                          seconds the scenario runs
//   frame_rate 2                          frames per second the job draws
//   0     set  VAR_PANEL_LIGHTS 1         the variable jumps to the value at that time
//   60    ramp VAR_AIRSPEED 120           it arrives at the value at that time, moving
//                                         evenly from its previous key
//   12    key  EVENT_BARO_SETTING_INC 1   a key event with its value
//   30    click Ilvarra!pln6 150 200      a click at a face point of a placed gauge
//   31    click Zorvane!ZEVA_TRX_410 70 260 40    the same click 40 times
//   90    fail 20 on                      a host failure condition switched on (or off)
//
// Variables and events go by their catalogue names.
#pragma once

#include "panel_host.h"
#include "text_file.h"

#include <map>

namespace job {

struct VariableKey {
    double time;
    double value;
    bool ramp; // arrives at the value evenly from the previous key; else jumps to it
    int line;
};

struct ScenarioAction {
    enum Kind { KEY_EVENT, CLICK, FAILURE } kind;
    double time;
    u32 id = 0;            // event id, failure key
    u32 value = 0;         // event value
    bool on = false;       // failure switched on
    std::string gauge;     // module!gauge for a click
    int x = 0, y = 0;
    int repeat = 1;        // clicks in a row
    int line = 0;
};

struct Scenario {
    std::string path;
    double duration = 0;
    double frame_rate = 2;
    std::map<u32, std::vector<VariableKey>> variables; // keys in time order
    std::vector<ScenarioAction> actions;               // in time order
};

Scenario read_scenario(const std::string& path);
Scenario parse_scenario(const std::string& path, const std::vector<std::string>& lines);

// The variable's value at a time: before its first key none (NaN), then its keys.
double value_at(const std::vector<VariableKey>& keys, double time);

// Plays a scenario on a host: sets the variables and performs the actions as time goes.
class ScenarioPlayer {
public:
    // Checks that every clicked gauge is placed; throws FileError naming the line.
    ScenarioPlayer(const Scenario& scenario, host::PanelHost& panel);
    // Brings the aircraft to `time`: actions due since the last call happen in order,
    // then every variable that has a key at or before `time` takes its value.
    void advance_to(double time);

private:
    const Scenario& scenario_;
    host::PanelHost& panel_;
    std::vector<host::PlacedGauge*> click_targets_; // per action, for clicks
    std::size_t next_action_ = 0;
    std::map<u32, double> applied_;                 // last value set per variable
};

} // namespace job
