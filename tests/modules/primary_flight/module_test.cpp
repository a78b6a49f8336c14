// The module as a whole: its gauge list, each gauge's chain and mouse areas as the host
// sees them, the first gauge's root slot, service codes the gauges ignore, and wild
// simulation values.
#include "brevolin_fixture.h"

#include <cstring>
#include <limits>

namespace {

TEST_F(BrevolinTest, ListsItsFiveGaugesInOrderWithOneSetOfLifecycleRoutines) {
    const char* names[] = {"vsi", "asi", "alt", "clock", "attitude"};
    const auto& gauges = module.records.gauges;
    ASSERT_EQ(gauges.size(), std::size(names));
    // Packed records: fields are copied out before they are compared.
    const ModuleRoutine init = module.records.linkage->module_init;
    const ModuleRoutine deinit = module.records.linkage->module_deinit;
    EXPECT_EQ(init, deinit);
    for (std::size_t i = 0; i < gauges.size(); ++i) {
        const GaugeHeader& header = *gauges[i].header;
        const GaugeCallback callback = header.callback;
        EXPECT_EQ(gauges[i].name, names[i]);
        EXPECT_EQ(header.version, GAUGE_VERSION_700);
        EXPECT_EQ(header.default_size_mm, 38u);
        EXPECT_NE(callback, nullptr);
        EXPECT_EQ(std::memcmp(&header.routines, &gauges[0].header->routines, sizeof header.routines), 0) << names[i];
    }
}

TEST_F(BrevolinTest, TheFirstRootSlotIsFollowedByTheNextGaugesNameNotANull) {
    ElementHeader** const vsi_slot = module.records.gauges[0].header->root_slot;
    const char* const asi_name = module.records.gauges[1].header->name;
    const char* after_slot = reinterpret_cast<const char*>(vsi_slot + 1);
    void* word_after_slot = nullptr;
    std::memcpy(&word_after_slot, after_slot, sizeof word_after_slot);
    EXPECT_NE(word_after_slot, nullptr);
    EXPECT_STREQ(after_slot, "asi");
    EXPECT_EQ(asi_name, after_slot);
    // The host reads the one slot: the gauge places, updates and shows its own face.
    host::PlacedGauge& placed = place("vsi");
    update(placed);
    EXPECT_EQ(at(placed, 0).element, *vsi_slot);
    EXPECT_EQ(placed.elements.size(), 5u);
    expect_no_faults();
}

// One element of a chain as declared: kind, bitmap, position, stored image flags and the
// failure records ("key/action" pairs).
struct ChainEntry {
    ElementKind kind;
    u32 bitmap;
    int x, y;
    u32 flags;
    const char* failures;
};

struct GaugeLayout {
    const char* gauge;
    int face_width, face_height;
    std::vector<ChainEntry> chain;
};

std::string failure_text(const FailureRecord* record) {
    std::string text;
    for (; record != nullptr && record->key != 0; ++record) {
        if (!text.empty()) text += ",";
        text += std::to_string(record->key) + "/" + std::to_string(record->action);
    }
    return text;
}

class BrevolinLayoutTest : public BrevolinTest, public ::testing::WithParamInterface<GaugeLayout> {};

TEST_P(BrevolinLayoutTest, ChainMatchesTheInstrumentsArtworkAndFailures) {
    const GaugeLayout& layout = GetParam();
    host::PlacedGauge& gauge = place(layout.gauge);
    ASSERT_EQ(gauge.elements.size(), layout.chain.size());
    EXPECT_EQ(gauge.face_width, layout.face_width);
    EXPECT_EQ(gauge.face_height, layout.face_height);
    for (std::size_t step = 0; step < layout.chain.size(); ++step) {
        const ChainEntry& expected = layout.chain[step];
        const ElementHeader& element = *at(gauge, static_cast<int>(step)).element;
        EXPECT_EQ(element.kind, expected.kind) << "step " << step;
        EXPECT_EQ(element.bitmap_id, expected.bitmap) << "step " << step;
        EXPECT_EQ(element.position_x, expected.x) << "step " << step;
        EXPECT_EQ(element.position_y, expected.y) << "step " << step;
        EXPECT_EQ(element.image_flags, expected.flags) << "step " << step;
        EXPECT_EQ(failure_text(element.failures), expected.failures) << "step " << step;
        if (expected.bitmap != BITMAP_NONE) {
            EXPECT_NE(panel.picture(module, expected.bitmap), nullptr) << "step " << step;
        }
        // The host draws strips and textures through the bitmap after them.
        if (expected.kind == ELEMENT_MOVING || expected.kind == ELEMENT_SPRITE) {
            EXPECT_NE(panel.picture(module, expected.bitmap + 1), nullptr) << "step " << step;
        }
    }
    expect_no_faults();
}

constexpr auto S = ELEMENT_STATIC, N = ELEMENT_NEEDLE, T = ELEMENT_STRING, I = ELEMENT_ICON, M = ELEMENT_MOVING,
               P = ELEMENT_SPRITE;

INSTANTIATE_TEST_SUITE_P(
    Gauges, BrevolinLayoutTest,
    ::testing::Values(
        GaugeLayout{"vsi", 322, 322,
                    {{S, 0x1000, 0, 0, 0x3, "20/2"}, {I, 0x1010, 26, 28, 0x4003, "20/2"},
                     {N, 0x1020, 161, 161, 0x4083, "20/2"}, {N, 0x1020, 161, 161, 0x83, "20/2"},
                     {I, 0x1030, 26, 28, 0x40000003, ""}}},
        GaugeLayout{"asi", 322, 322,
                    {{S, 0x1040, 0, 0, 0x3, ""}, {I, 0x1050, 25, 27, 0x4003, ""},
                     {N, 0x1060, 161, 162, 0x40004003, "20/2"}, {N, 0x1060, 161, 162, 0x3, "20/2"},
                     {N, 0x1070, 161, 162, 0x40004003, ""}, {N, 0x1070, 161, 162, 0x3, ""},
                     {N, 0x1070, 161, 162, 0x40004003, ""}, {N, 0x1070, 161, 162, 0x3, ""},
                     {N, 0x1070, 161, 162, 0x40004003, ""}, {N, 0x1070, 161, 162, 0x3, ""},
                     {N, 0x1080, 161, 162, 0x40004003, ""}, {N, 0x1080, 161, 162, 0x3, ""},
                     {N, 0x1080, 161, 162, 0x40004003, ""}, {N, 0x1080, 161, 162, 0x3, ""},
                     {N, 0x1080, 161, 162, 0x40004003, ""}, {N, 0x1080, 161, 162, 0x3, ""},
                     {N, 0x1090, 161, 162, 0x40004083, ""}, {N, 0x1090, 161, 162, 0x83, ""}}},
        GaugeLayout{"alt", 280, 280,
                    {{S, 0x1100, 0, 0, 0x3, ""}, {I, 0x1120, 32, 30, 0x4003, ""}, {I, 0x1120, 32, 30, 0x3, ""},
                     {M, 0x1140, 102, 76, 0x4003, "20/2,3/1"}, {M, 0x1140, 102, 76, 0x3, "20/2,3/1"},
                     {M, 0x1130, 119, 76, 0x4003, "20/2,3/1"}, {M, 0x1130, 119, 76, 0x3, "20/2,3/1"},
                     {M, 0x1150, 144, 70, 0x4003, "20/2,3/1"}, {M, 0x1150, 144, 70, 0x3, "20/2,3/1"},
                     {T, BITMAP_NONE, 84, 169, 0x4002, ""}, {T, BITMAP_NONE, 84, 169, 0x2, ""},
                     {T, BITMAP_NONE, 158, 169, 0x4002, ""}, {T, BITMAP_NONE, 158, 169, 0x2, ""},
                     {N, 0x1110, 139, 138, 0x4083, "20/2,3/1"}, {N, 0x1110, 139, 138, 0x83, "20/2,3/1"}}},
        GaugeLayout{"clock", 311, 311,
                    {{S, 0x1160, 0, 0, 0x1, ""}, {I, 0x1200, 0, 0, 0x40004003, ""}, {I, 0x1200, 0, 0, 0x3, ""},
                     {N, 0x1170, 154, 153, 0x40004083, "20/2"}, {N, 0x1170, 154, 153, 0x83, "20/2"},
                     {N, 0x1180, 154, 153, 0x40004083, "20/2"}, {N, 0x1180, 154, 153, 0x83, "20/2"},
                     {N, 0x1190, 154, 153, 0x40004083, "20/2"}, {N, 0x1190, 154, 153, 0x83, "20/2"}}},
        GaugeLayout{"attitude", 280, 280,
                    {{S, 0x1210, 0, 0, 0x3, ""}, {P, 0x1240, 49, 49, 0x4003, "4/1,8/1"},
                     {P, 0x1250, 49, 49, 0x4003, "4/1,8/1"}, {I, 0x1230, 49, 49, 0x4003, ""},
                     {P, 0x1240, 49, 49, 0x3, "4/1,8/1"}, {P, 0x1250, 49, 49, 0x3, "4/1,8/1"},
                     {I, 0x1230, 49, 49, 0x3, ""}, {N, 0x1220, 236, 239, 0x83, ""}}}),
    [](const ::testing::TestParamInfo<GaugeLayout>& info) { return std::string(info.param.gauge); });

// Every service code but install, update and kill leaves the gauges as they were.
TEST_F(BrevolinTest, OtherServiceCodesChangeNothing) {
    for (const char* name : {"vsi", "asi", "alt", "clock", "attitude"}) {
        host::PlacedGauge& gauge = place(name);
        const std::vector<int> before = shown_steps(gauge);
        std::vector<u32> flags;
        for (const host::ElementState& state : gauge.elements) flags.push_back(state.element->image_flags);
        const std::size_t named = panel.sim().named_count();
        for (u32 service : {0u, 1u, 3u, 4u, 5u, 7u, 11u, 13u, 0xFFFFFFFFu}) panel.call_gauge_callback(gauge, service, 0);
        std::vector<u32> flags_after;
        for (const host::ElementState& state : gauge.elements) flags_after.push_back(state.element->image_flags);
        EXPECT_EQ(flags_after, flags) << name;
        EXPECT_EQ(panel.sim().named_count(), named) << name;
        EXPECT_EQ(shown_steps(gauge), before) << name;
    }
    expect_no_faults();
}

// Values no instrument should see: every gauge keeps running, the host records no fault
// and every readout stays within its buffer.
TEST_F(BrevolinTest, WildSimulationValuesNeverBreakAGauge) {
    std::vector<host::PlacedGauge*> gauges;
    for (const char* name : {"vsi", "asi", "alt", "clock", "attitude"}) gauges.push_back(&place(name));
    const double wild[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e300, 4294967296.0, -2147483649.0};
    const u32 variables[] = {VAR_TICK_COUNT, VAR_CLOCK_HOUR, VAR_CLOCK_MINUTE, VAR_CLOCK_SECOND, VAR_PANEL_LIGHTS,
                             VAR_AIRSPEED, VAR_VERTICAL_SPEED, VAR_INDICATED_ALTITUDE, VAR_BARO_SETTING_MB,
                             VAR_ATTITUDE_PITCH, VAR_ATTITUDE_BANK, VAR_AMBIENT_TEMPERATURE};
    for (u32 mode : {0u, 2u, 3u}) {
        set_switch(ASI_FAILURE_MODE, mode);
        for (double value : wild) {
            for (u32 id : variables) panel.sim().set_raw(id, value);
            for (host::PlacedGauge* gauge : gauges) {
                panel.click(*gauge, 161, 161);
                update(*gauge, 2);
                for (const host::ElementState& state : gauge->elements) {
                    EXPECT_LT(std::strlen(state.text.data()), READOUT_TEXT_CAPACITY);
                }
            }
        }
    }
    for (host::PlacedGauge* gauge : gauges) panel.remove(*gauge);
    EXPECT_EQ(panel.sim().named("cb_exists2"), nullptr);
    expect_no_faults();
}

} // namespace
