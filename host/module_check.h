// Checks a loaded module's records before the host uses them: every address the host
// will follow lies inside the module's image, every list ends within a sane length, and
// every element tree is free of cycles.
#pragma once

#include "module_file.h"
#include "panel_services.h"

#include <string>
#include <vector>

namespace host {

// Limits that separate a real gauge from a damaged record.
inline constexpr std::size_t MAX_GAUGES = LINKAGE_GAUGE_SLOTS - 1;
inline constexpr std::size_t MAX_NAME_LENGTH = 64;
inline constexpr std::size_t MAX_ELEMENTS = 512;
inline constexpr std::size_t MAX_CHILDREN = 16;
inline constexpr std::size_t MAX_FAILURE_RECORDS = 16;
inline constexpr std::size_t MAX_CALIBRATION_ENTRIES = 256;
inline constexpr std::size_t MAX_MOUSE_ENTRIES = 128;
inline constexpr std::size_t MAX_PICTURES = 16;

// One gauge as checked: its header and its element tree in drawing order (each element
// once, parents before children).
struct CheckedGauge {
    GaugeHeader* header = nullptr;  // for version 610 the record is a GaugeHeader610
    bool version_610 = false;
    std::string name;
    struct Node {
        ElementHeader* element;
        int step;
        int depth;
    };
    std::vector<Node> elements;
};

struct CheckedModule {
    LinkageRecord* linkage = nullptr;
    ImportTableRecord* imports = nullptr;
    std::vector<CheckedGauge> gauges;
};

// Throws std::runtime_error naming the fault (the caller adds the module's name).
CheckedModule check_module(const ModuleFile& file);

// Checks a mouse-area list that a version-610 gauge hands over at run time; returns the
// number of entries up to and including MOUSE_END, or throws.
std::size_t check_mouse_list(const ModuleFile& file, const MouseRect* areas);

} // namespace host
