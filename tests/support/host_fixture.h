// A panel host over the built gauges folder, for tests that drive modules as the
// simulator would.
#pragma once

#include "panel_host.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

class HostTest : public ::testing::Test {
protected:
    host::PanelHost panel{GAUGE_DIR};

    static std::string module_path(const std::string& name) { return std::string(GAUGE_DIR) + "/" + name + ".so"; }

    // Element state at a chain step; fails the test when there is none.
    static host::ElementState& at(host::PlacedGauge& gauge, int step) {
        host::ElementState* state = gauge.at_step(step);
        if (state == nullptr) throw std::out_of_range("no element at step " + std::to_string(step));
        return *state;
    }

    // The chain steps shown after the last draw, in chain order.
    static std::vector<int> shown_steps(host::PlacedGauge& gauge) {
        std::vector<int> shown;
        for (const host::ElementState& state : gauge.elements) {
            if (state.step >= 0 && state.visible) shown.push_back(state.step);
        }
        std::sort(shown.begin(), shown.end());
        return shown;
    }

    void expect_no_faults() {
        for (const host::Fault& fault : panel.faults()) ADD_FAILURE() << fault.module << "!" << fault.gauge << ": " << fault.what;
    }
};
