// paneljob: flies a scenario over a panel and writes what the panel showed.
//
//   paneljob --gauges DIR --panel FILE --scenario FILE [--out DIR] [--animation-scale S]
//            [--no-frames]
//
// Writes into the output folder: frames/frame_NNNNN.png, animation.png (an animated PNG)
// with animation.html to open it, trace.csv and the alert sound track alert.wav. Gauges
// find their own files relative to the current directory (the radio altimeter reads
// .\Sound\RA_BEEP.WAV and keeps its setting in .\Aircraft\).
#include "panel_job.h"

#include <iostream>

int main(int argc, char** argv) {
    job::JobOptions options;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc) throw std::invalid_argument(arg + " needs a value");
                return argv[++i];
            };
            if (arg == "--gauges") options.gauges_folder = value();
            else if (arg == "--panel") options.panel_path = value();
            else if (arg == "--scenario") options.scenario_path = value();
            else if (arg == "--out") options.out_folder = value();
            else if (arg == "--animation-scale") options.animation_scale = std::stod(value());
            else if (arg == "--no-frames") options.write_frames = false;
            else throw std::invalid_argument("unknown argument " + arg);
        }
        if (options.panel_path.empty() || options.scenario_path.empty()) throw std::invalid_argument("--panel and --scenario are needed");
        const job::JobSummary summary = job::run_job(options, std::cerr);
        std::cout << summary.frames << " frames, " << summary.animation_frames << " animation frames, " << summary.faults
                  << " faults" << (summary.sound_recorded ? ", alert sound recorded" : "") << "\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "paneljob: " << error.what() << "\n";
        return 1;
    }
}
