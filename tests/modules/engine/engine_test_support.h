// The engine module on a host panel, and what its tests read of each gauge.
#pragma once

#include "host_fixture.h"

#include <string>

inline constexpr const char* ENGINE_GAUGES[] = {
    "ITT1_Indicator", "ITT2_Indicator", "FF1_Indicator", "FF2_Indicator", "TRQ1_Indicator", "TRQ2_Indicator",
    "RPM1_Indicator", "RPM2_Indicator", "OIL1_Indicator", "OIL2_Indicator", "FT1_Indicator", "FT2_Indicator",
};

class EngineTest : public HostTest {
protected:
    host::PlacedGauge& place(const std::string& gauge) { return panel.place("engine!" + gauge); }

    // Sets one variable and runs one update cycle of the gauge.
    host::PlacedGauge& show(host::PlacedGauge& gauge, u32 variable, double value) {
        panel.sim().set(variable, value);
        panel.update(gauge);
        return gauge;
    }

    // The n-th element of a kind, in the host's drawing order.
    static host::ElementState& nth(host::PlacedGauge& gauge, ElementKind kind, int n = 0) {
        for (host::ElementState& state : gauge.elements) {
            if (state.element->kind == kind && n-- == 0) return state;
        }
        throw std::out_of_range("gauge " + gauge.name() + " has too few elements of that kind");
    }
    static host::ElementState& needle(host::PlacedGauge& gauge) { return nth(gauge, ELEMENT_NEEDLE); }
    static host::ElementState& readout(host::PlacedGauge& gauge) { return nth(gauge, ELEMENT_STRING); }
    static host::ElementState& icon(host::PlacedGauge& gauge) { return nth(gauge, ELEMENT_ICON); }
    static std::string text(host::PlacedGauge& gauge) { return readout(gauge).text.data(); }
};
