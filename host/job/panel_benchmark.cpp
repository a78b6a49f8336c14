// Frame cost of the default panel at native size on one core: a full frame (every gauge
// updated and drawn again), a frame in which nothing changed, and a plain copy of the
// frame's pixels as the floor to compare with.
#include "panel_job.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

// The default panel's gauges at their native sizes, packed in rows.
struct NativePanel {
    host::PanelHost panel{GAUGE_DIR};
    render::PictureCache pictures;
    std::unique_ptr<render::PanelRenderer> renderer;

    NativePanel() {
        const job::PanelFile file = job::read_panel_file(DEFAULT_PANEL);
        const job::PlacedPanel placed = job::place_panel(panel, file);
        constexpr int ROW_WIDTH = 2400;
        struct Spot { int x, y; };
        std::vector<Spot> spots;
        int x = 0, y = 0, row_height = 0, width = 0;
        for (host::PlacedGauge* gauge : placed.gauges) {
            if (x + gauge->face_width > ROW_WIDTH) {
                x = 0;
                y += row_height;
                row_height = 0;
            }
            spots.push_back({x, y});
            x += gauge->face_width;
            width = std::max(width, x);
            row_height = std::max(row_height, gauge->face_height);
        }
        renderer = std::make_unique<render::PanelRenderer>(panel, pictures, width, y + row_height, file.background);
        for (std::size_t i = 0; i < spots.size(); ++i) renderer->add(*placed.gauges[i], spots[i].x, spots[i].y, 0);
        const std::pair<const char*, double> cruise[] = {
            {"VAR_AIRSPEED", 185},         {"VAR_INDICATED_ALTITUDE", 8500}, {"VAR_ATTITUDE_PITCH", 2},
            {"VAR_ATTITUDE_BANK", 12},     {"VAR_GYRO_HEADING", 75},         {"VAR_COMPASS_HEADING", 76},
            {"VAR_NAV1_COURSE", 90},       {"VAR_INSTRUMENT_POWER", 1},      {"VAR_ENG1_TORQUE", 0.82},
            {"VAR_ENG2_TORQUE", 0.8},      {"VAR_ENG1_ITT", 1350},           {"VAR_ENG2_ITT", 1340},
            {"VAR_ENG1_RPM", 1900},        {"VAR_ENG2_RPM", 1900},           {"VAR_ENG1_FUEL_FLOW", 420},
            {"VAR_ENG2_FUEL_FLOW", 415},   {"VAR_BARO_SETTING_MB", 1013.25}, {"VAR_ALTITUDE", 2600},
        };
        for (auto [name, value] : cruise) panel.sim().set(find_simvar(name)->id, value);
        panel.step(1.0);
        renderer->render(true);
    }
};

NativePanel& native_panel() {
    static NativePanel panel;
    return panel;
}

void full_frame(benchmark::State& state) {
    NativePanel& p = native_panel();
    for (auto _ : state) {
        p.panel.step(1.0 / host::TICKS_PER_SECOND);
        benchmark::DoNotOptimize(p.renderer->render(true));
    }
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["pixels"] = double(p.renderer->width()) * p.renderer->height();
}

void unchanged_frame(benchmark::State& state) {
    NativePanel& p = native_panel();
    p.panel.update_all();
    p.renderer->render();
    for (auto _ : state) {
        p.panel.update_all(); // the same variables: every gauge looks as before
        benchmark::DoNotOptimize(p.renderer->render());
    }
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void plain_copy(benchmark::State& state) {
    NativePanel& p = native_panel();
    cairo_surface_t* surface = p.renderer->surface();
    const std::size_t bytes = static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) * p.renderer->height();
    std::vector<unsigned char> copy(bytes);
    for (auto _ : state) {
        std::memcpy(copy.data(), cairo_image_surface_get_data(surface), bytes);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

BENCHMARK(full_frame)->Unit(benchmark::kMillisecond);
BENCHMARK(unchanged_frame)->Unit(benchmark::kMicrosecond);
BENCHMARK(plain_copy)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
