// Panel files in the simulator's own format: sections in brackets, key=value lines, and
// in the section of the main window ([Window00]) one line per gauge:
//
//   [Window00]
//   size_mm=1280,800                 panel size in pixels
//   background_color=40,42,46        red, green, blue
//   gauge00=engine!ITT1_Indicator, 20, 30, 150
//
// A gauge line names module!gauge, its top left corner and its width in pixels (the
// height keeps the face's proportions; without a width the gauge has its native size).
// Comments start with // or ;. Keys of other windows and unknown keys are ignored, as
// the simulator does.
#pragma once

#include "text_file.h"

#include <cstdint>

namespace job {

struct PanelGaugeLine {
    std::string module_and_gauge;
    int x = 0, y = 0;
    int width = 0; // 0: native size
    int line = 0;  // where it stands in the file
};

struct PanelFile {
    std::string path;
    int width = 0, height = 0;      // 0: from the gauges' extent
    std::uint32_t background = 0x2A2C30; // 0x00RRGGBB
    std::vector<PanelGaugeLine> gauges;
};

PanelFile read_panel_file(const std::string& path);
PanelFile parse_panel_file(const std::string& path, const std::vector<std::string>& lines);

} // namespace job
