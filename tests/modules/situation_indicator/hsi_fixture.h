// The "pln6" gauge placed on a fresh panel, with the key events it sends recorded on
// their way to the host.
#pragma once

#include "host_fixture.h"
#include "simvars.h"

#include <vector>

struct KeyEvent {
    u32 event;
    u32 value;
    bool operator==(const KeyEvent&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const KeyEvent& key) {
    return out << "{event 0x" << std::hex << key.event << std::dec << ", value " << key.value << "}";
}

// Chain steps of the gauge, root first.
enum HsiTestStep {
    FACE = 0,
    INDEX_MARKS_LIT = 1,
    GLIDESLOPE_POINTER_LIT = 4,
    GLIDESLOPE_POINTER = 5,
    CARD_LIT = 6,
    CARD = 7,
    HEADING_BUG_LIT = 8,
    HEADING_BUG = 9,
    COURSE_POINTER_LIT = 10,
    COURSE_POINTER = 11,
    FROM_LIT = 12,
    TO_LIT = 13,
    NO_TO_FROM_LIT = 14,
    FROM = 15,
    TO = 16,
    NO_TO_FROM = 17,
    DEVIATION_BAR_LIT = 18,
    DEVIATION_BAR = 19,
    HEADING_FLAG_LIT = 22,
    HEADING_FLAG = 23,
    GLIDESLOPE_FLAG_LIT = 24,
    GLIDESLOPE_FLAG = 25,
    COURSE_READOUT = 28,
    BUG_READOUT = 29,
};

class HsiTest : public HostTest {
protected:
    host::PlacedGauge& hsi = panel.place("Ilvarra!pln6");

    HsiTest() {
        // Route the module's key events through a copy of the host's table that notes them.
        ImportTableRecord& imports = *hsi.module->records.imports;
        host_services = static_cast<PanelServices*>(imports.entries[0].pointer);
        recording_services = *host_services;
        recording_services.send_key_event = record_key_event;
        imports.entries[0].pointer = &recording_services;
        sent.clear();
    }

    // In a cycle the host calls the value callbacks before the gauge callback, so what an
    // update computes is handed to the host in the next one.
    void settle() {
        panel.update(hsi);
        panel.update(hsi);
    }

    double value(int step) { return at(hsi, step).value; }
    double rotation(int step) { return at(hsi, step).axis_value[host::AXIS_ROTATION]; }
    std::string text(int step) { return at(hsi, step).text.data(); }

    // Clicks in the middle of each mouse area.
    void click_course_up() { ASSERT_NE(panel.click(hsi, 272, 250), nullptr); }
    void click_course_down() { ASSERT_NE(panel.click(hsi, 250, 250), nullptr); }
    void click_bug_up() { ASSERT_NE(panel.click(hsi, 47, 250), nullptr); }
    void click_bug_down() { ASSERT_NE(panel.click(hsi, 25, 250), nullptr); }
    void click_readout_switch() { ASSERT_NE(panel.click(hsi, 148, 278), nullptr); }

    static inline std::vector<KeyEvent> sent;

private:
    static inline PanelServices* host_services = nullptr;
    PanelServices recording_services{};

    static u32 GAUGE_CALL record_key_event(u32 event, u32 value) {
        sent.push_back({event, value});
        return host_services->send_key_event(event, value);
    }
};
