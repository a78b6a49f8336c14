// The primary flight instruments module on a host panel, and what its tests share.
#pragma once

#include "host_fixture.h"

#include "simvars.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

// Words of the block the airspeed indicator publishes as "cb_exists2".
enum SwitchWord { HOLD_ASI_LIGHTING = 0, ALT_FAILURE_MODE = 1, ASI_FAILURE_MODE = 2, VSI_FAILURE_MODE = 3, CLOCK_FREEZE = 4 };

struct BrevolinTest : HostTest {
    host::LoadedModule& module = panel.load_module(module_path("Brevolin"));

    host::PlacedGauge& place(const std::string& name) { return panel.place(module, name); }

    // Writes one word of the published block, as a gauge elsewhere on the panel would.
    void set_switch(SwitchWord word, u32 value) {
        auto* cell = static_cast<u32*>(panel.sim().named("cb_exists2"));
        if (cell == nullptr) throw std::logic_error("\"cb_exists2\" is not published: place \"asi\" first");
        cell[word] = value;
    }

    void update(host::PlacedGauge& gauge, int times = 1) {
        for (int i = 0; i < times; ++i) panel.update(gauge);
    }

    // The chain steps the stored flags leave visible: what the host shows before the
    // first draw.
    static std::vector<int> unhidden_steps(host::PlacedGauge& gauge) {
        std::vector<int> steps;
        for (const host::ElementState& state : gauge.elements) {
            if (state.step >= 0 && (state.element->image_flags & IMAGE_FLAG_HIDDEN) == 0) steps.push_back(state.step);
        }
        std::sort(steps.begin(), steps.end());
        return steps;
    }

    // Clicks a point that must lie in an area with a function.
    void click(host::PlacedGauge& gauge, int x, int y, int times = 1) {
        for (int i = 0; i < times; ++i) {
            if (panel.click(gauge, x, y) == nullptr) {
                ADD_FAILURE() << "no mouse function at (" << x << ", " << y << ")";
                return;
            }
        }
    }
};
