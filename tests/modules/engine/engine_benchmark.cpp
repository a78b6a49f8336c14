// Speed of the engine gauges on the host: one update cycle of all twelve gauges, and
// their value callbacks alone; and how many heap allocations an update cycle makes.
#include "panel_host.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {
std::size_t allocations = 0;
} // namespace

// Every heap allocation of the program passes here, so a run can count them. Kept out of
// line so that the compiler pairs each delete with this new, not with malloc.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocations;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

constexpr const char* GAUGES[] = {
    "ITT1_Indicator", "ITT2_Indicator", "FF1_Indicator", "FF2_Indicator", "TRQ1_Indicator", "TRQ2_Indicator",
    "RPM1_Indicator", "RPM2_Indicator", "OIL1_Indicator", "OIL2_Indicator", "FT1_Indicator", "FT2_Indicator",
};

// The twelve gauges on one panel, with both engines running steadily.
struct EnginePanel {
    host::PanelHost panel{GAUGE_DIR};

    EnginePanel() {
        for (const char* name : GAUGES) panel.place(std::string("engine!") + name);
        host::SimState& sim = panel.sim();
        for (u32 itt : {VAR_ENG1_ITT, VAR_ENG2_ITT}) sim.set(itt, 1400);
        for (u32 flow : {VAR_ENG1_FUEL_FLOW, VAR_ENG2_FUEL_FLOW}) sim.set(flow, 600);
        for (u32 torque : {VAR_ENG1_TORQUE, VAR_ENG2_TORQUE}) sim.set(torque, 0.8);
        for (u32 rpm : {VAR_ENG1_RPM, VAR_ENG2_RPM}) sim.set(rpm, 1200);
        for (u32 oil : {VAR_ENG1_OIL_RIGHT_SCALE, VAR_ENG2_OIL_RIGHT_SCALE}) sim.set(oil, 1000);
        for (u32 oil : {VAR_ENG1_OIL_LEFT_SCALE, VAR_ENG2_OIL_LEFT_SCALE}) sim.set(oil, 16000);
        sim.set(VAR_FT_VALUE, 20);
        panel.update_all(); // readouts now hold their text buffers
    }
};

void HostCycleOfTwelveGauges(benchmark::State& state) {
    EnginePanel engine;
    const std::size_t before = allocations;
    for (auto _ : state) engine.panel.update_all();
    const std::size_t made = allocations - before;
    state.counters["allocations_per_cycle"] = static_cast<double>(made) / static_cast<double>(state.iterations());
}
BENCHMARK(HostCycleOfTwelveGauges);

struct BoundCallback {
    ValueCallback callback;
    ElementHeader* element;
};

void ValueCallbacksOfTwelveGauges(benchmark::State& state) {
    EnginePanel engine;
    std::vector<BoundCallback> callbacks;
    for (const auto& gauge : engine.panel.placed()) {
        for (const host::ElementState& element_state : gauge->elements) {
            ElementHeader* element = element_state.element;
            switch (element->kind) {
            case ELEMENT_NEEDLE: callbacks.push_back({reinterpret_cast<NeedleElement*>(element)->callback, element}); break;
            case ELEMENT_STRING: callbacks.push_back({reinterpret_cast<StringElement*>(element)->callback, element}); break;
            case ELEMENT_ICON: callbacks.push_back({reinterpret_cast<IconElement*>(element)->callback, element}); break;
            default: break;
            }
        }
    }
    const std::size_t before = allocations;
    for (auto _ : state) {
        for (const BoundCallback& bound : callbacks) benchmark::DoNotOptimize(bound.callback(bound.element));
    }
    const std::size_t made = allocations - before;
    state.counters["allocations_per_round"] = static_cast<double>(made) / static_cast<double>(state.iterations());
    state.counters["callbacks"] = static_cast<double>(callbacks.size());
}
BENCHMARK(ValueCallbacksOfTwelveGauges);

} // namespace

BENCHMARK_MAIN();
