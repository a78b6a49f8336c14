// Loading modules: the good fixture is taken, every broken variant is refused with a
// message naming the module and its fault, and the host keeps running.
#include "host_fixture.h"

#include "fixture_probe.h"

#include <fstream>

using ::testing::HasSubstr;

TEST_F(HostTest, LoadsTheFixtureAndListsItsGauges) {
    host::LoadedModule& module = panel.load_module(module_path("Fixture"));
    ASSERT_EQ(module.records.gauges.size(), 3u);
    EXPECT_EQ(module.records.gauges[0].name, "alpha");
    EXPECT_EQ(module.records.gauges[1].name, "beta");
    EXPECT_TRUE(module.records.gauges[2].version_610);
    // The host's table is in place before anything in the module ran.
    const void* services = module.records.imports->entries[0].pointer; // a packed field: copy, never bind
    EXPECT_NE(services, nullptr);
    // alpha: face, needle, icon, slider, moving, sprite on the first-child chain, the
    // readout as the face's second child.
    const auto& alpha = module.records.gauges[0].elements;
    ASSERT_EQ(alpha.size(), 7u);
    std::vector<int> steps;
    for (const auto& node : alpha) steps.push_back(node.step);
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2, 3, 4, 5, -1}));
    EXPECT_EQ(alpha[6].element->kind, ELEMENT_STRING);
}

struct Refusal {
    const char* file;
    const char* expected;
};

class LoaderRefusal : public HostTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(LoaderRefusal, NamesTheModuleAndTheFault) {
    const Refusal& refusal = GetParam();
    try {
        panel.load_module(module_path(refusal.file));
        FAIL() << "loaded " << refusal.file;
    } catch (const host::ModuleError& error) {
        EXPECT_THAT(error.what(), HasSubstr(std::string("module \"") + refusal.file + "\""));
        EXPECT_THAT(error.what(), HasSubstr(refusal.expected));
    }
    EXPECT_EQ(panel.find_module(refusal.file), nullptr);
    // The host goes on: the good module still loads and runs.
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    panel.update(alpha);
    EXPECT_TRUE(panel.faults().empty());
}

INSTANTIATE_TEST_SUITE_P(
    BrokenModules, LoaderRefusal,
    ::testing::Values(Refusal{"Fixture_wrong_id", "module id 20"},
                      Refusal{"Fixture_cycle", "element tree has a cycle"},
                      Refusal{"Fixture_unterminated", "gauge list is not terminated"},
                      Refusal{"Fixture_unbalanced_mouse", "mouse-area list ends with a parent still open"},
                      Refusal{"libgaugeplatform", "exports no Linkage"},
                      Refusal{"missing_module", "cannot open shared object file"}));

TEST_F(HostTest, RefusesAFileThatIsNoLibrary) {
    const std::string path = ::testing::TempDir() + "/garbage.so";
    std::ofstream(path) << "not a module";
    EXPECT_THROW(panel.load_module(path), host::ModuleError);
}

TEST_F(HostTest, RefusesTheSameModuleTwice) {
    panel.load_module(module_path("Fixture"));
    EXPECT_THROW(panel.load_module(module_path("Fixture")), host::ModuleError);
}

TEST_F(HostTest, PlacesByModuleAndGaugeNameAndRefusesUnknownNames) {
    EXPECT_EQ(panel.place("Fixture!beta").name(), "beta");
    EXPECT_EQ(panel.place("fixture!ALPHA").name(), "alpha");
    EXPECT_THROW(panel.place("Fixture!gamma"), host::ModuleError);
    EXPECT_THROW(panel.place("Fixture"), host::ModuleError);
    EXPECT_THROW(panel.place("Nothing!alpha"), host::ModuleError);
}

TEST_F(HostTest, ReadsEveryEmbeddedBitmapById) {
    host::LoadedModule& module = panel.load_module(module_path("Fixture"));
    const host::Picture* face = panel.picture(module, 0x1000);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->width, 100);
    EXPECT_EQ(face->height, 80);
    EXPECT_EQ(face->bits_per_pixel, 24);
    const host::Picture* lamp = panel.picture(module, 0x3203);
    ASSERT_NE(lamp, nullptr);
    EXPECT_EQ(lamp->bits_per_pixel, 8);
    EXPECT_EQ(panel.picture(module, 0x9999), nullptr);
    EXPECT_TRUE(panel.faults().empty());
}

TEST_F(HostTest, UnloadKillsTheGaugesAndWithdrawsWhatTheyPublished) {
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    (void)alpha;
    EXPECT_NE(panel.sim().named("fixture_cell"), nullptr);
    panel.unload_module(*panel.find_module("Fixture"));
    EXPECT_EQ(panel.sim().named("fixture_cell"), nullptr);
    EXPECT_TRUE(panel.placed().empty());
    EXPECT_TRUE(panel.faults().empty());
}
