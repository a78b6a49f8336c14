// The panel job: places a panel's gauges, flies a scenario over them and writes what the
// panel showed: PNG frames, an animation, a trace of every element and the alert sound.
#pragma once

#include "panel_file.h"
#include "panel_renderer.h"
#include "scenario.h"

#include <functional>
#include <ostream>

namespace job {

// Places every gauge of the panel file; a gauge the host refuses is reported with the
// file and line that names it.
struct PlacedPanel {
    std::vector<host::PlacedGauge*> gauges; // in panel-file order
    int width = 0, height = 0;
};
PlacedPanel place_panel(host::PanelHost& panel, const PanelFile& file);

// Adds the panel's gauges to a renderer in panel-file order.
void lay_out(render::PanelRenderer& renderer, const PanelFile& file, const PlacedPanel& placed);

// The trace: one line per element per frame.
void write_trace_header(std::ostream& out);
void write_trace_frame(std::ostream& out, int frame, double time, const std::vector<host::PlacedGauge*>& gauges);

struct JobOptions {
    std::string gauges_folder = "gauges";
    std::string panel_path;
    std::string scenario_path;
    std::string out_folder = ".";
    double animation_scale = 0.5;  // the animation is drawn smaller than the frames
    bool write_frames = true;
};

struct JobSummary {
    int frames = 0;
    int animation_frames = 0;
    std::size_t faults = 0;
    bool sound_recorded = false;
};

// Runs the whole job; throws job::FileError or std::runtime_error on bad input. Every
// file is written under a temporary name first and renamed when all are complete.
JobSummary run_job(const JobOptions& options, std::ostream& log);

} // namespace job
