// The radio altimeter driven through the panel host: pointer and marker, the lamp's
// pictures, alert arming, the decision-height knobs, the kill order and the setting
// kept across an unload of the module.
#include "host_fixture.h"
#include "radio_altimeter_support.h"

#include "simvars.h"

#include <algorithm>

namespace {

const Bytes KEY = {0x44, 0x48, 0x5F, 0x30, 0x30, 0x31};
const std::filesystem::path SETTINGS = "Aircraft/zeva_dh_val.gcf";
constexpr int CHAIN_LAMP = 1, CHAIN_MARKER = 2, CHAIN_POINTER = 3;

Bytes stored(Bytes value) {
    Bytes out = KEY;
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

long count_calls(const std::string& name) {
    const std::vector<std::string> calls = platform::calls();
    return std::count(calls.begin(), calls.end(), name);
}

class RadioAltimeterTest : public HostTest {
protected:
    FreshDirectory directory;
    host::LoadedModule* module = nullptr;
    host::PlacedGauge* gauge = nullptr;

    void SetUp() override {
        std::filesystem::create_directory("Aircraft");
        write_file("Sound/RA_BEEP.WAV", alert_tone_file());
    }
    void TearDown() override { expect_no_faults(); }

    void place() {
        if (module == nullptr) module = &panel.load_module(module_path("Zorvane"));
        gauge = &panel.place(*module, "ZEVA_TRX_410");
    }
    void remove() {
        panel.remove(*gauge);
        gauge = nullptr;
    }
    void unload() {
        panel.unload_module(*module);
        module = nullptr;
    }
    // The gauge refreshes its variables after the elements, and the lamp comes before
    // the pointer in the chain: a new height reaches the lamp in the third update.
    void settle() {
        for (int update = 0; update < 3; ++update) panel.update(*gauge);
    }
    // Heights half a foot clear of the whole number, so the truncation lands on it.
    void fly_at(int feet) {
        panel.sim().set(VAR_GROUND_ELEVATION, 0.0);
        panel.sim().set(VAR_ALTITUDE, (feet + (feet < 0 ? -0.5 : 0.5)) / 3.0);
        settle();
    }
    void set_decision_height(int feet) {
        // The knob moves it in 5 ft steps from whatever it holds now.
        int current = static_cast<int>(marker().value);
        for (; current < feet; current += 5) click_increase();
        for (; current > feet; current -= 5) click_decrease();
        panel.update(*gauge);
    }
    void click_increase() { ASSERT_NE(panel.click(*gauge, 60, 250), nullptr); }
    void click_decrease() { ASSERT_NE(panel.click(*gauge, 10, 250), nullptr); }
    host::ElementState& lamp() { return at(*gauge, CHAIN_LAMP); }
    host::ElementState& marker() { return at(*gauge, CHAIN_MARKER); }
    host::ElementState& pointer() { return at(*gauge, CHAIN_POINTER); }
    long alerts() { return count_calls("IDirectSoundBuffer::Play") + count_calls("IDirectSoundBuffer::SetCurrentPosition"); }
};

TEST_F(RadioAltimeterTest, PointerShowsHeightAboveGroundInTripledMetres) {
    place();
    panel.sim().set(VAR_ALTITUDE, 500.0);
    panel.sim().set(VAR_GROUND_ELEVATION, 300.0 * 256.0);
    settle();
    EXPECT_EQ(pointer().value, 600.0);
    // Truncation toward zero: 0.9 ft and -0.5 ft both show 0.
    panel.sim().set(VAR_GROUND_ELEVATION, 0.0);
    panel.sim().set(VAR_ALTITUDE, 0.3);
    settle();
    EXPECT_EQ(pointer().value, 0.0);
    panel.sim().set(VAR_ALTITUDE, -0.5 / 3.0);
    settle();
    EXPECT_EQ(pointer().value, 0.0);
    // Wild values reach the integer's floor instead of undefined behaviour.
    panel.sim().set(VAR_ALTITUDE, std::nan(""));
    settle();
    EXPECT_EQ(pointer().value, static_cast<double>(INT32_MIN));
    panel.sim().set(VAR_ALTITUDE, 1e300);
    settle();
    EXPECT_EQ(pointer().value, static_cast<double>(INT32_MIN));
    EXPECT_EQ(lamp().picture_bitmap, 0x3006u); // far below any decision height
}

struct LampCase {
    int radio_height;
    int decision_height;
    u32 picture_bitmap;
};

class LampTest : public RadioAltimeterTest, public ::testing::WithParamInterface<LampCase> {};

TEST_P(LampTest, ShowsItsPictureAtTheThresholds) {
    place();
    set_decision_height(GetParam().decision_height);
    fly_at(GetParam().radio_height);
    EXPECT_EQ(lamp().picture_bitmap, GetParam().picture_bitmap);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, LampTest,
                         ::testing::Values(LampCase{2500, 0, 0x3000}, LampCase{2499, 0, 0x3003}, LampCase{10, 0, 0x3003},
                                           LampCase{200, 200, 0x3003}, LampCase{199, 200, 0x3006},
                                           LampCase{2600, 3000, 0x3006}, LampCase{-1, 0, 0x3006}));

TEST_F(RadioAltimeterTest, AfterLoadTheAlertStaysSilentUntilOnceAbove1000Feet) {
    place();
    set_decision_height(200);
    fly_at(1000); // exactly 1000 does not arm
    fly_at(100);
    EXPECT_EQ(lamp().picture_bitmap, 0x3006u);
    EXPECT_EQ(alerts(), 0);
    EXPECT_TRUE(platform::messages().empty());
}

TEST_F(RadioAltimeterTest, SoundsOncePerDescentThroughTheDecisionHeight) {
    place();
    set_decision_height(200);
    fly_at(1001);
    fly_at(200);
    EXPECT_EQ(alerts(), 0);
    fly_at(199);
    EXPECT_EQ(count_calls("IDirectSoundBuffer::Play"), 1);
    EXPECT_TRUE(platform::sound_playing());
    fly_at(50);
    fly_at(1000);
    fly_at(150);
    EXPECT_EQ(alerts(), 1);
    fly_at(1001);
    platform::set_clock(5.0); // the first tone has ended
    fly_at(150);
    EXPECT_EQ(count_calls("IDirectSoundBuffer::Play"), 2);
    EXPECT_EQ(alerts(), 2);
}

TEST_F(RadioAltimeterTest, ADecisionHeightAbove1000RearmsAndRestartsTheToneEachUpdate) {
    place();
    set_decision_height(1500);
    fly_at(1200);
    EXPECT_EQ(count_calls("IDirectSoundBuffer::Play"), 1);
    const long restarts = count_calls("IDirectSoundBuffer::SetCurrentPosition");
    panel.update(*gauge);
    panel.update(*gauge);
    EXPECT_EQ(count_calls("IDirectSoundBuffer::SetCurrentPosition"), restarts + 2);
    EXPECT_EQ(count_calls("IDirectSoundBuffer::Play"), 1);
}

TEST_F(RadioAltimeterTest, RunsSilentlyWithoutATone) {
    std::filesystem::remove("Sound/RA_BEEP.WAV");
    place();
    ASSERT_EQ(platform::messages().size(), 1u);
    EXPECT_EQ(platform::messages()[0].text, "Sound-File ungueltig\n");
    set_decision_height(200);
    fly_at(1500);
    fly_at(100);
    EXPECT_EQ(lamp().picture_bitmap, 0x3006u);
    EXPECT_EQ(platform::messages().size(), 1u);
    remove();
    EXPECT_EQ(platform::open_objects().total(), 0u);
}

TEST_F(RadioAltimeterTest, KnobsMoveTheMarkerIn5FootStepsWithoutUpperBound) {
    place();
    set_decision_height(3000);
    EXPECT_EQ(marker().value, 3000.0);
    click_decrease();
    panel.update(*gauge);
    EXPECT_EQ(marker().value, 2995.0);
    EXPECT_EQ(panel.click(*gauge, 47, 250), nullptr); // between the two areas
}

TEST_F(RadioAltimeterTest, ADecreaseAt0IsSavedAsMinus5AndShownAs0) {
    place();
    click_decrease();
    remove();
    EXPECT_EQ(read_file(SETTINGS), stored({0xFB, 0xFF, 0xFF, 0xFF}));
    place();
    panel.update(*gauge);
    EXPECT_EQ(marker().value, 0.0);
}

TEST_F(RadioAltimeterTest, TheSettingSurvivesAnUnloadOfTheModule) {
    place();
    set_decision_height(2570);
    remove();
    unload();
    EXPECT_EQ(read_file(SETTINGS), stored({0x0D, 0x0A, 0x0D, 0x0A, 0x00, 0x00}));
    place();
    panel.update(*gauge);
    EXPECT_EQ(marker().value, 2570.0);
}

TEST_F(RadioAltimeterTest, AKillWithoutInitializeKeepsTheStoredSetting) {
    write_file(SETTINGS, stored({0x2C, 0x01, 0x00, 0x00}));
    module = &panel.load_module(module_path("Zorvane"));
    auto* linkage = static_cast<LinkageRecord*>(module->file->symbol("Linkage"));
    linkage->gauges[0]->routines.kill();
    panel.clear_faults(); // the host refuses element services outside a placed gauge
    EXPECT_EQ(read_file(SETTINGS), stored({0x2C, 0x01, 0x00, 0x00}));
    place();
    panel.update(*gauge);
    EXPECT_EQ(marker().value, 300.0);
}

// Watches the host services the kill routine calls, with what the platform saw by then.
struct ServiceWatch {
    static inline PanelServices* host_services = nullptr;
    static inline std::vector<std::pair<std::string, std::size_t>> seen; // service, platform calls so far

    static u32 GAUGE_CALL unregister_mouse_areas(MouseRect* areas, GaugeHeader* gauge) {
        seen.emplace_back("unregister_mouse_areas", platform::calls().size());
        return host_services->unregister_mouse_areas(areas, gauge);
    }
    static u32 GAUGE_CALL kill_elements(ElementHeader* root) {
        seen.emplace_back("kill_elements", platform::calls().size());
        return host_services->kill_elements(root);
    }
};

TEST_F(RadioAltimeterTest, KillSavesThenReleasesTheToneThenWithdrawsMouseAreasThenElements) {
    place();
    set_decision_height(300);
    auto* import = static_cast<ImportTableRecord*>(module->file->symbol("ImportTable"));
    ServiceWatch::host_services = static_cast<PanelServices*>(import->entries[0].pointer);
    PanelServices watched = *ServiceWatch::host_services;
    watched.unregister_mouse_areas = ServiceWatch::unregister_mouse_areas;
    watched.kill_elements = ServiceWatch::kill_elements;
    import->entries[0].pointer = &watched;
    ServiceWatch::seen.clear();
    platform::clear_calls();

    remove();
    import->entries[0].pointer = ServiceWatch::host_services;

    const std::vector<std::string> calls = platform::calls();
    const auto index_of = [&calls](const std::string& name) {
        return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), name) - calls.begin());
    };
    ASSERT_LT(index_of("MoveFileExA"), calls.size());
    EXPECT_LT(index_of("MoveFileExA"), index_of("IDirectSoundBuffer::Stop"));
    EXPECT_LT(index_of("IDirectSoundBuffer::Release"), index_of("IDirectSound::Release"));
    ASSERT_EQ(ServiceWatch::seen.size(), 2u);
    EXPECT_EQ(ServiceWatch::seen[0].first, "unregister_mouse_areas");
    EXPECT_EQ(ServiceWatch::seen[0].second, calls.size()); // everything released before
    EXPECT_EQ(ServiceWatch::seen[1].first, "kill_elements");
    EXPECT_EQ(read_file(SETTINGS), stored({0x2C, 0x01, 0x00, 0x00}));
    EXPECT_EQ(platform::open_objects().total(), 0u);
}

TEST_F(RadioAltimeterTest, TwoPlacedCopiesShareOneToneAndReleaseItOnce) {
    place();
    host::PlacedGauge* first = gauge;
    place();
    EXPECT_EQ(platform::open_objects().sound_buffers, 1u);
    panel.remove(*first);
    fly_at(1500);
    fly_at(0);
    remove();
    EXPECT_EQ(platform::open_objects().total(), 0u);
}

TEST_F(RadioAltimeterTest, RegistersItsKnobAreasWithTheHostAtInstall) {
    place();
    EXPECT_TRUE(gauge->mouse_registered);
    const MouseRect* clicked = panel.click(*gauge, 60, 250);
    ASSERT_NE(clicked, nullptr);
    // Copies: the packed records' routine fields need not be aligned for a reference.
    const MouseFunction clicked_function = clicked->function;
    const MouseFunction increase_function = gauge->mouse_areas[3].function;
    EXPECT_EQ(clicked_function, increase_function);
    EXPECT_EQ(gauge->mouse_areas[1].cursor, CURSOR_DECREASE);
}

} // namespace
