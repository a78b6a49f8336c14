// The panel host: loads gauge modules, places their gauges, honours the service table,
// feeds simulation variables, runs update cycles and forwards clicks.
//
// Reads from a module: `Linkage`, the gauge headers, element records and mouse lists.
// Writes into a module: `ImportTable` entry 0, the host words of element records (a
// readout's text buffer, a version-610 face's bitmap record), `ModuleVar` values.
#pragma once

#include "element_state.h"
#include "module_check.h"
#include "module_file.h"
#include "sim_state.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

struct Fault {
    std::string module;
    std::string gauge;
    std::string what;
};

// A bitmap of a loaded module, decoded to RGB.
struct Picture {
    u32 id = 0;
    int width = 0;
    int height = 0;
    int bits_per_pixel = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows top-down
};

// A module whose records passed the checks.
struct LoadedModule {
    std::string name; // the file name without folder and extension, as panels name it
    std::unique_ptr<ModuleFile> file;
    CheckedModule records;
    // The module file's bitmaps, read on first use; each decoded when first asked for.
    std::map<u32, std::vector<std::uint8_t>> bitmap_files;
    std::map<u32, Picture> pictures;
    bool bitmaps_read = false;
};

// The face-bitmap record a version-610 gauge receives through its static face element.
struct FaceBitmapRecord {
    u32 bitmap_id;
    u32 width;
    u32 height;
};

// One gauge on the panel.
struct PlacedGauge {
    LoadedModule* module = nullptr;
    const CheckedGauge* gauge = nullptr;
    std::vector<ElementState> elements; // drawing order, as the checked tree
    const MouseRect* mouse_areas = nullptr;
    bool mouse_registered = false;      // version 610: between register and unregister
    FaceBitmapRecord face_record{};
    int face_width = 0, face_height = 0;
    unsigned update_count = 0;

    const std::string& name() const { return gauge->name; }
    // The element at a chain step, or nullptr when the chain is shorter.
    ElementState* at_step(int step);
};

// The mouse area under a point: the innermost area holding it that has a function, and
// the innermost holding it that has a help id.
struct MouseHit {
    const MouseRect* area = nullptr; // with a function, or nullptr
    u32 help_id = 0;
};

MouseHit hit_test(const MouseRect* areas, int width, int height, int x, int y);

class ModuleError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PanelHost {
public:
    explicit PanelHost(std::string gauges_folder = {});
    ~PanelHost();
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;

    // Loads and checks a module file, hands it the service table and calls its init.
    // A broken module is refused with a ModuleError naming the module and the fault.
    LoadedModule& load_module(const std::string& path);
    // Removes the module's gauges, calls its deinit and closes the file.
    void unload_module(LoadedModule& module);
    // A loaded module by name (case ignored), or nullptr.
    LoadedModule* find_module(const std::string& name);

    // Places a gauge by "module!gauge", loading "<gauges folder>/<module>.so" if needed;
    // runs query, install, the install service, initialize and generate.
    PlacedGauge& place(const std::string& module_and_gauge);
    PlacedGauge& place(LoadedModule& module, const std::string& gauge_name);
    // Runs the kill service and the kill routine, and takes the gauge off the panel.
    void remove(PlacedGauge& gauge);
    const std::vector<std::unique_ptr<PlacedGauge>>& placed() const { return placed_; }

    // One update cycle: refresh bound variables and call value callbacks (update
    // routine), the update service, then draw.
    void update(PlacedGauge& gauge);
    void update_all();
    // Advances simulated time and runs one update cycle of every gauge.
    void step(double seconds);

    // Calls the gauge callback directly with any service code.
    void call_gauge_callback(PlacedGauge& gauge, u32 service, u32 extra);

    // A click at a point on the face: calls the function of the area under it. Returns
    // the area whose function ran, or nullptr.
    const MouseRect* click(PlacedGauge& gauge, int x, int y);
    // The help id shown while the pointer rests at the point.
    u32 help_at(PlacedGauge& gauge, int x, int y);

    SimState& sim() { return sim_; }
    const std::vector<Fault>& faults() const { return faults_; }
    void clear_faults() { faults_.clear(); }

    // A bitmap of the module by id, or nullptr when the module has none of that id.
    const Picture* picture(LoadedModule& module, u32 id);

    // Service handling; public for the service table's entry points.
    struct Context;
    void fault(const std::string& what);

private:
    friend struct Services;
    void call_module_init(LoadedModule& module, bool init);
    void refresh(ModuleVar& var, FailureAction failure);
    void update_element(PlacedGauge& gauge, ElementState& state);
    void draw_element(ElementState& state);
    FailureAction failure_of(const ElementHeader& element) const;

    std::string gauges_folder_;
    SimState sim_;
    std::vector<std::unique_ptr<LoadedModule>> modules_;
    std::vector<std::unique_ptr<PlacedGauge>> placed_;
    std::vector<Fault> faults_;
};

} // namespace host
