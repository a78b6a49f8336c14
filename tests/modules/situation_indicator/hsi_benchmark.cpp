// Speed of "pln6" on the host: one whole update cycle (bound variables, value callbacks,
// gauge callback, draw), and the gauge callback alone, lights on and a station tuned.
#include "panel_host.h"

#include <benchmark/benchmark.h>

namespace {

struct HsiPanel {
    host::PanelHost panel{GAUGE_DIR};
    host::PlacedGauge& hsi = panel.place("Ilvarra!pln6");

    HsiPanel() {
        host::SimState& sim = panel.sim();
        sim.set(VAR_PANEL_LIGHTS, 1.0);
        sim.set(VAR_GYRO_HEADING, 87);
        sim.set(VAR_NAV1_COURSE, 120);
        sim.set(VAR_HEADING_BUG, 95);
        sim.set(VAR_NAV1_TO_FROM, 1);
        sim.set(VAR_NAV1_GLIDESLOPE_STATUS, 1);
        sim.set(VAR_NAV1_COURSE_DEVIATION, 12);
        panel.update(hsi);
    }
};

void HostCycleOfHsi(benchmark::State& state) {
    HsiPanel hsi;
    for (auto _ : state) hsi.panel.update(hsi.hsi);
}
BENCHMARK(HostCycleOfHsi);

void HsiGaugeCallback(benchmark::State& state) {
    HsiPanel hsi;
    for (auto _ : state) hsi.panel.call_gauge_callback(hsi.hsi, SERVICE_UPDATE, 0);
}
BENCHMARK(HsiGaugeCallback);

} // namespace

BENCHMARK_MAIN();
