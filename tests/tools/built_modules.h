// The modules of this build with their bitmap lists, and their records read in place.
#pragma once

#include "bitmap_list.h"
#include "elements.h"
#include "module_file.h"

#include <memory>
#include <string>
#include <vector>

struct BuiltModule {
    const char* name;
    const char* bitmap_list;
};

inline const std::vector<BuiltModule>& built_modules() {
    static const std::vector<BuiltModule> modules = {
#include "built_modules.inc"
    };
    return modules;
}

inline std::string module_file_path(const std::string& name) { return std::string(GAUGE_DIR) + "/" + name + ".so"; }

// One needle of a loaded module: its element, its table, and its gauge's version.
struct NeedleRecord {
    std::string gauge;
    const ElementHeader* element;
    const NonlinearityEntry* table;
    u32 count;
};

// Every needle of the module's gauges, each element once, read from `Linkage`; no
// routine of the module runs.
std::vector<NeedleRecord> needles_of(const host::ModuleFile& file);
