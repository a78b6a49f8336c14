// The records' support code in isolation: a recording service table stands in for the
// host, and this program plays a two-gauge module.
#include "numbers.h"
#include "panel_services.h"
#include "simvars.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

// ---- a two-gauge module for the lifecycle routines -----------------------------------

StaticElement second_face = {{ELEMENT_STATIC, 0x2000, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 1, 0, 0}, {}};
IconElement third = {{ELEMENT_ICON, 0x1300, 0, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, 0x10, 0, 0}, {}, {}, 1, {}, nullptr};
ElementHeader* second_next[] = {&third.header, nullptr};
IconElement second = {{ELEMENT_ICON, 0x1200, 0, 0, 0, 0, 0, 0, nullptr, nullptr, second_next, nullptr, 0x20, 0, 0}, {}, {}, 1, {}, nullptr};
ElementHeader* first_next[] = {&second.header, nullptr};
StaticElement first_face = {{ELEMENT_STATIC, 0x1000, 0, 0, 0, 0, 0, 0, nullptr, nullptr, first_next, nullptr, 1, 0, 0}, {}};

ElementHeader* first_slot[] = {&first_face.header};
ElementHeader* second_slot[] = {&second_face.header};
GaugeHeader first_gauge = {GAUGE_VERSION_700, "first", first_slot, MODULE_LIFECYCLE, 0, 38, {}, nullptr, nullptr, {}};
GaugeHeader second_gauge = {GAUGE_VERSION_700, "second", second_slot, MODULE_LIFECYCLE, 0, 38, {}, nullptr, nullptr, {}};

struct Call {
    int slot;
    ElementHeader* root;
    u32 argument;
};
std::vector<Call> calls;

template <int Slot>
u32 GAUGE_CALL record_root(ElementHeader* root) {
    calls.push_back({Slot, root, 0});
    return 100 + Slot;
}
template <int Slot>
u32 GAUGE_CALL record_root_argument(ElementHeader* root, u32 argument) {
    calls.push_back({Slot, root, argument});
    return 100 + Slot;
}

PanelServices recording_services() {
    PanelServices table{};
    table.query_elements = record_root<24>;
    table.install_elements = record_root_argument<25>;
    table.initialize_elements = record_root<26>;
    table.update_elements = record_root<27>;
    table.generate_elements = record_root_argument<28>;
    table.draw_elements = record_root<29>;
    table.kill_elements = record_root<31>;
    return table;
}
PanelServices services = recording_services();

} // namespace

LinkageRecord Linkage = {MODULE_ID, module_nothing, module_nothing, {}, {&first_gauge, &second_gauge, nullptr}};

TEST(LifecycleRoutines, PassTheFirstGaugesRootAndTheirArgumentUnchanged) {
    ImportTable.entries[0].pointer = &services;
    calls.clear();
    // Reached through the second gauge's header, as the host would for that gauge.
    const LifecycleRoutines& r = second_gauge.routines;
    EXPECT_EQ(r.query(), 124u);
    EXPECT_EQ(r.install(0xDEADBEEF), 125u);
    EXPECT_EQ(r.initialize(), 126u);
    EXPECT_EQ(r.update(), 127u);
    EXPECT_EQ(r.generate(0xFFFFFFFF), 128u);
    EXPECT_EQ(r.draw(), 129u);
    EXPECT_EQ(r.kill(), 131u);
    const std::vector<int> slots = {24, 25, 26, 27, 28, 29, 31};
    ASSERT_EQ(calls.size(), slots.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].slot, slots[i]);
        EXPECT_EQ(calls[i].root, &first_face.header) << "slot " << slots[i];
    }
    EXPECT_EQ(calls[1].argument, 0xDEADBEEFu);
    EXPECT_EQ(calls[4].argument, 0xFFFFFFFFu);
}

TEST(ImportTable, AsksForThePanelServicesAndEnds) {
    EXPECT_EQ(ImportTable.entries[0].id, 0x0Fu);
    EXPECT_EQ(ImportTable.entries[1].id, 0u);
    EXPECT_EQ(ImportTable.entries[1].pointer, nullptr);
}

// ---- chain helpers ---------------------------------------------------------------------

struct ChainCase {
    u32 steps;
    u32 bits;
    bool set;
    u32 face_flags, second_flags, third_flags;
};

class ChainHelpers : public ::testing::TestWithParam<ChainCase> {};

TEST_P(ChainHelpers, ChangeOnlyTheElementReachedAndOnlyTheGivenBits) {
    const ChainCase& c = GetParam();
    first_face.header.image_flags = 0x1;
    second.header.image_flags = 0x20;
    third.header.image_flags = 0x10 | IMAGE_FLAG_HIDDEN;
    (c.set ? set_chain_flags : clear_chain_flags)(&first_face.header, c.steps, c.bits);
    EXPECT_EQ(first_face.header.image_flags, c.face_flags);
    EXPECT_EQ(second.header.image_flags, c.second_flags);
    EXPECT_EQ(third.header.image_flags, c.third_flags);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ChainHelpers,
    ::testing::Values(
        ChainCase{0, IMAGE_FLAG_HIDDEN, true, 0x1 | IMAGE_FLAG_HIDDEN, 0x20, 0x10 | IMAGE_FLAG_HIDDEN}, // step 0: the root
        ChainCase{1, IMAGE_FLAG_HIDDEN, true, 0x1, 0x20 | IMAGE_FLAG_HIDDEN, 0x10 | IMAGE_FLAG_HIDDEN},
        ChainCase{2, IMAGE_FLAG_HIDDEN, true, 0x1, 0x20, 0x10 | IMAGE_FLAG_HIDDEN},   // already set
        ChainCase{2, IMAGE_FLAG_HIDDEN, false, 0x1, 0x20, 0x10},                      // cleared, 0x10 kept
        ChainCase{1, IMAGE_FLAG_HIDDEN, false, 0x1, 0x20, 0x10 | IMAGE_FLAG_HIDDEN},  // already clear
        ChainCase{3, IMAGE_FLAG_HIDDEN, true, 0x1, 0x20, 0x10 | IMAGE_FLAG_HIDDEN},   // past the end
        ChainCase{3, IMAGE_FLAG_HIDDEN, false, 0x1, 0x20, 0x10 | IMAGE_FLAG_HIDDEN},
        ChainCase{0xFFFFFFFF, IMAGE_FLAG_HIDDEN, false, 0x1, 0x20, 0x10 | IMAGE_FLAG_HIDDEN}));

TEST(ChainHelpersWalk, StopsAtAnEmptyNextList) {
    ElementHeader* empty[] = {nullptr};
    IconElement lone = {{ELEMENT_ICON, 1, 0, 0, 0, 0, 0, 0, nullptr, nullptr, empty, nullptr, 0, 0, 0}, {}, {}, 1, {}, nullptr};
    set_chain_flags(&lone.header, 1, IMAGE_FLAG_HIDDEN);
    EXPECT_EQ(lone.header.image_flags, 0u);
}

// ---- truncation --------------------------------------------------------------------------

TEST(Truncation, TowardZeroAndDefinedForEveryDouble) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double in;
        std::int32_t out;
    } cases[] = {
        {2.9, 2}, {-2.9, -2}, {0.9, 0}, {-0.5, 0}, {2147483647.0, 2147483647}, {2147483647.9, 2147483647},
        {-2147483648.0, INT32_MIN}, {-2147483648.9, INT32_MIN}, {2147483648.0, INT32_MIN}, {1e300, INT32_MIN},
        {-1e300, INT32_MIN}, {inf, INT32_MIN}, {-inf, INT32_MIN}, {std::nan(""), INT32_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(truncate_to_i32(c.in), c.out) << c.in;
    EXPECT_EQ(truncate_to_u32(-1.0), 0xFFFFFFFFu);
    EXPECT_EQ(truncate_to_u32(-0.5), 0u);
}

TEST(ModuleVarReading, IntegerVariablesAreTheFirstFourBytes) {
    ModuleVar var{};
    var.value = 1.0; // a double 1.0 has zero low bytes
    EXPECT_EQ(module_var_i32(var), 0);
    std::int64_t bits = 1;
    std::memcpy(&var.value, &bits, sizeof bits);
    EXPECT_EQ(module_var_i32(var), 1);
}

// ---- catalogue -------------------------------------------------------------------------

TEST(Catalogue, NamesIdsAndReadings) {
    ASSERT_NE(find_simvar(VAR_NAV1_TO_FROM), nullptr);
    EXPECT_EQ(find_simvar(VAR_NAV1_TO_FROM)->reading, SimVarReading::I32);
    EXPECT_EQ(find_simvar("VAR_ENG2_RPM")->id, 708u);
    for (u32 id : {278u, 279u, 285u, 288u, 43u}) EXPECT_EQ(find_simvar(id)->reading, SimVarReading::I32) << id;
    std::size_t integers = 0;
    for (const SimVarInfo& info : simvar_catalogue()) integers += info.reading == SimVarReading::I32;
    EXPECT_EQ(integers, 5u);
    EXPECT_EQ(simvar_catalogue().size(), 41u);
    EXPECT_EQ(event_catalogue().size(), 9u);
    EXPECT_EQ(find_event("EVENT_HEADING_BUG_SET")->id, 0x101FAu);
    EXPECT_EQ(find_simvar(9999), nullptr);
}
