// Speed of the primary flight instruments on the host: one update cycle of all five
// gauges in flight, and the same with the airspeed needle in its altitude-driven failure.
#include "panel_host.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// The five gauges on one panel in a steady climb, lights on.
struct FlightPanel {
    host::PanelHost panel{GAUGE_DIR};

    FlightPanel() {
        for (const char* name : {"vsi", "asi", "alt", "clock", "attitude"}) panel.place(std::string("Brevolin!") + name);
        host::SimState& sim = panel.sim();
        sim.set(VAR_PANEL_LIGHTS, 1);
        sim.set(VAR_AIRSPEED, 185.5);
        sim.set(VAR_AMBIENT_TEMPERATURE, -20.0 / 256.0);
        sim.set(VAR_VERTICAL_SPEED, 1300);
        sim.set(VAR_INDICATED_ALTITUDE, 12345);
        sim.set(VAR_ATTITUDE_PITCH, 5);
        sim.set(VAR_ATTITUDE_BANK, 15);
        panel.update_all(); // readouts now hold their text buffers
    }
};

void HostCycleOfFiveGauges(benchmark::State& state) {
    FlightPanel flight;
    for (auto _ : state) flight.panel.update_all();
}
BENCHMARK(HostCycleOfFiveGauges);

void HostCycleWithTheAirspeedFailed(benchmark::State& state) {
    FlightPanel flight;
    static_cast<u32*>(flight.panel.sim().named("cb_exists2"))[2] = 3; // altitude-driven airspeed
    for (auto _ : state) flight.panel.update_all();
}
BENCHMARK(HostCycleWithTheAirspeedFailed);

} // namespace

BENCHMARK_MAIN();
