// Panel files, scenarios, the animation writer and the whole job, on the fixture module.
#include "render_fixture.h"

#include "fixture_probe.h"
#include "panel_job.h"
#include "png_writer.h"

#include <filesystem>
#include <fstream>
#include <limits>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

template <typename Parse>
std::string error_of(Parse parse) {
    try {
        parse();
    } catch (const job::FileError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(PanelFile, ReadsTheMainWindowAndIgnoresTheRest) {
    const job::PanelFile panel = job::parse_panel_file("p.cfg", lines_of("// a panel\n"
                                                                         "[Window Titles]\nWindow00=Main\n"
                                                                         "[Window01]\ngauge00=Other!thing, 1, 2\n"
                                                                         "[WINDOW00]\r\nsize_mm=640, 480\n"
                                                                         "background_color=1,2,3 ; dark\n"
                                                                         "position=0\n"
                                                                         "gauge00=engine!ITT1_Indicator, 20, 30, 150\n"
                                                                         "gauge01=Fixture!alpha,5,6\n"));
    EXPECT_EQ(panel.width, 640);
    EXPECT_EQ(panel.height, 480);
    EXPECT_EQ(panel.background, 0x010203u);
    ASSERT_EQ(panel.gauges.size(), 2u);
    EXPECT_EQ(panel.gauges[0].module_and_gauge, "engine!ITT1_Indicator");
    EXPECT_EQ(panel.gauges[0].x, 20);
    EXPECT_EQ(panel.gauges[0].y, 30);
    EXPECT_EQ(panel.gauges[0].width, 150);
    EXPECT_EQ(panel.gauges[0].line, 10);
    EXPECT_EQ(panel.gauges[1].width, 0);
}

struct BadText {
    const char* text;
    const char* message; // what the error says, after "file:line: "
};

class BadPanelFile : public ::testing::TestWithParam<BadText> {};

TEST_P(BadPanelFile, NamesFileLineAndProblem) {
    EXPECT_THAT(error_of([&] { job::parse_panel_file("p.cfg", lines_of(GetParam().text)); }), HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Problems, BadPanelFile,
    ::testing::Values(BadText{"[Window00\ngauge00=a!b,1,2", "p.cfg:1: section header \"[Window00\" has no closing bracket"},
                      BadText{"[Window00]\njust words", "p.cfg:2: \"just words\" is neither"},
                      BadText{"gauge00=a!b,1,2", "p.cfg:1: \"gauge00=a!b,1,2\" stands before any [section]"},
                      BadText{"[Window00]\ngauge00=ab,1,2", "p.cfg:2: \"ab\" is not of the form module!gauge"},
                      BadText{"[Window00]\ngauge00=a!b,1", "p.cfg:2: gauge00 takes module!gauge, x, y[, width]"},
                      BadText{"[Window00]\ngauge00=a!b,x,2", "p.cfg:2: the position of a!b"},
                      BadText{"[Window00]\ngauge00=a!b,1,2,0", "p.cfg:2: the width of a!b"},
                      BadText{"[Window00]\ngauge00=a!b,-1,2", "p.cfg:2: the position of a!b"},
                      BadText{"[Window00]\nsize_mm=10", "p.cfg:2: size_mm takes width,height"},
                      BadText{"[Window00]\nsize_mm=99999999999,3", "p.cfg:2: size_mm takes width,height"},
                      BadText{"[Window00]\nbackground_color=1,2,300", "p.cfg:2: background_color takes red,green,blue"},
                      BadText{"[Window00]\ngauge00=a!b,1,2\n[Window00]", "p.cfg:3: a second [Window00] section"},
                      BadText{"[Window01]\ngauge00=a!b,1,2", "p.cfg: has no [Window00] section"},
                      BadText{"[Window00]\nsize_mm=10,10", "p.cfg: places no gauge in [Window00]"}));

TEST(PanelFile, MissingFileIsNamed) {
    EXPECT_THAT(error_of([] { job::read_panel_file("/nonexistent/panel.cfg"); }), HasSubstr("/nonexistent/panel.cfg: cannot be opened"));
}

TEST(Scenario, ReadsKeysAndActionsInTimeOrder) {
    const job::Scenario scenario = job::parse_scenario("s.txt", lines_of("duration 20  # seconds\n"
                                                                         "frame_rate 4\n"
                                                                         "0 set VAR_AIRSPEED 0\n"
                                                                         "10 ramp VAR_AIRSPEED 100\n"
                                                                         "5 fail 20 on\n"
                                                                         "2 key EVENT_HEADING_BUG_SET 270\n"
                                                                         "3 click Fixture!alpha 15 20\n"));
    EXPECT_EQ(scenario.duration, 20);
    EXPECT_EQ(scenario.frame_rate, 4);
    ASSERT_EQ(scenario.variables.at(VAR_AIRSPEED).size(), 2u);
    ASSERT_EQ(scenario.actions.size(), 3u);
    EXPECT_EQ(scenario.actions[0].kind, job::ScenarioAction::KEY_EVENT);
    EXPECT_EQ(scenario.actions[0].id, EVENT_HEADING_BUG_SET);
    EXPECT_EQ(scenario.actions[0].value, 270u);
    EXPECT_EQ(scenario.actions[1].kind, job::ScenarioAction::CLICK);
    EXPECT_EQ(scenario.actions[1].x, 15);
    EXPECT_EQ(scenario.actions[2].kind, job::ScenarioAction::FAILURE);
    EXPECT_TRUE(scenario.actions[2].on);
}

class BadScenario : public ::testing::TestWithParam<BadText> {};

TEST_P(BadScenario, NamesFileLineAndProblem) {
    EXPECT_THAT(error_of([&] { job::parse_scenario("s.txt", lines_of(GetParam().text)); }), HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Problems, BadScenario,
    ::testing::Values(BadText{"0 set VAR_AIRSPEED 1", "s.txt: has no duration line"},
                      BadText{"duration 0", "s.txt:1: the duration must lie in (0, 86400] seconds"},
                      BadText{"duration 5\nframe_rate 100", "s.txt:2: the frame rate must lie in (0, 60]"},
                      BadText{"duration 5\nsoon set VAR_AIRSPEED 1", "s.txt:2: the time (or a duration/frame_rate line) is missing or not a number"},
                      BadText{"duration 5\n-1 set VAR_AIRSPEED 1", "s.txt:2: the time must not be negative"},
                      BadText{"duration 5\n1", "s.txt:2: a time needs a command"},
                      BadText{"duration 5\n1 set VAR_NOTHING 1", "s.txt:2: unknown variable \"VAR_NOTHING\""},
                      BadText{"duration 5\n1 set VAR_AIRSPEED nan", "s.txt:2: the value is missing or not a number"},
                      BadText{"duration 5\n1 set VAR_AIRSPEED", "s.txt:2: expected \"TIME set|ramp VARIABLE VALUE\""},
                      BadText{"duration 5\n1 ramp VAR_AIRSPEED 3", "s.txt:2: the first key of VAR_AIRSPEED must be a set"},
                      BadText{"duration 5\n2 set VAR_AIRSPEED 1\n1 set VAR_AIRSPEED 2", "s.txt:3: keys of VAR_AIRSPEED must come in time order"},
                      BadText{"duration 5\n1 key EVENT_NOTHING 0", "s.txt:2: unknown event \"EVENT_NOTHING\""},
                      BadText{"duration 5\n1 key EVENT_HEADING_BUG_SET -4", "s.txt:2: the event value must be a whole number"},
                      BadText{"duration 5\n1 click a!b 1", "s.txt:2: expected \"TIME click MODULE!GAUGE X Y [TIMES]\""},
                      BadText{"duration 5\n1 click a!b 1 2 0", "s.txt:2: a click repeats 1 to 1000 times"},
                      BadText{"duration 5\n1 click a!b 1 y", "s.txt:2: the click point must be two whole numbers"},
                      BadText{"duration 5\n1 fail 20 maybe", "s.txt:2: a failure is switched \"on\" or \"off\""},
                      BadText{"duration 5\n1 fail x on", "s.txt:2: the failure key must be a whole number from 1"},
                      BadText{"duration 5\n1 jump VAR_AIRSPEED 1", "s.txt:2: unknown command \"jump\""}));

struct ValueCase {
    double time;
    double value;
};

class VariableKeys : public ::testing::TestWithParam<ValueCase> {};

// set 10 at 2, ramp to 30 at 4, set 5 at 6, ramp to 5 at 8 (ramping from 5): even
// movement only towards ramp keys, jumps at set keys, the last value held afterwards.
TEST_P(VariableKeys, ValueFollowsSetsAndRamps) {
    const std::vector<job::VariableKey> keys = {{2, 10, false, 1}, {4, 30, true, 2}, {6, 5, false, 3}, {8, 15, true, 4}};
    const double value = job::value_at(keys, GetParam().time);
    if (std::isnan(GetParam().value)) EXPECT_TRUE(std::isnan(value));
    else EXPECT_DOUBLE_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Times, VariableKeys,
                         ::testing::Values(ValueCase{1.9, std::numeric_limits<double>::quiet_NaN()}, ValueCase{2, 10},
                                           ValueCase{3, 20}, ValueCase{4, 30}, ValueCase{5.9, 30}, ValueCase{6, 5},
                                           ValueCase{7, 10}, ValueCase{8, 15}, ValueCase{100, 15}));

class Player : public RenderTest {};

TEST_F(Player, PerformsActionsOnceAndLeavesEventsAlone) {
    host::PlacedGauge& alpha = panel.place("Fixture!alpha");
    const FixtureProbeRecord& probe = *static_cast<FixtureProbeRecord*>(module->file->symbol(FIXTURE_PROBE_SYMBOL));
    const u32 clicks_before = probe.mouse_calls[2];
    const job::Scenario scenario = job::parse_scenario("s.txt", lines_of("duration 10\n"
                                                                         "0 set VAR_HEADING_BUG 10\n"
                                                                         "0 set VAR_AIRSPEED 0\n"
                                                                         "4 ramp VAR_AIRSPEED 100\n"
                                                                         "1 key EVENT_HEADING_BUG_SET 270\n"
                                                                         "2 click FIXTURE!Alpha 15 15 3\n"
                                                                         "3 fail 20 on\n"
                                                                         "5 fail 20 off\n"));
    job::ScenarioPlayer player(scenario, panel);
    player.advance_to(0);
    EXPECT_EQ(panel.sim().value(VAR_HEADING_BUG), 10);
    player.advance_to(1);
    EXPECT_EQ(panel.sim().value(VAR_HEADING_BUG), 270); // the event's change stays
    EXPECT_EQ(panel.sim().value(VAR_AIRSPEED), 25);
    player.advance_to(3);
    player.advance_to(3.5);
    EXPECT_EQ(probe.mouse_calls[2], clicks_before + 3);
    EXPECT_TRUE(panel.sim().failure_active(20));
    player.advance_to(6);
    EXPECT_FALSE(panel.sim().failure_active(20));
    EXPECT_EQ(panel.sim().value(VAR_AIRSPEED), 100);
    panel.update(alpha);
    expect_no_faults();
}

TEST_F(Player, ClickOnAGaugeOffThePanelIsRefusedWithItsLine) {
    panel.place("Fixture!alpha");
    const job::Scenario scenario = job::parse_scenario("s.txt", lines_of("duration 10\n\n4 click Fixture!beta 1 1\n"));
    EXPECT_THAT(error_of([&] { job::ScenarioPlayer(scenario, panel); }),
                HasSubstr("s.txt:3: clicks Fixture!beta, which the panel does not place"));
}

// The chunks of a PNG file: type and contents.
std::vector<std::pair<std::string, std::vector<std::uint8_t>>> chunks_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> chunks;
    auto u32_at = [&](std::size_t at) {
        return std::uint32_t(bytes[at]) << 24 | std::uint32_t(bytes[at + 1]) << 16 | std::uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
    };
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        const std::uint32_t length = u32_at(at);
        chunks.emplace_back(std::string(bytes.begin() + at + 4, bytes.begin() + at + 8),
                            std::vector<std::uint8_t>(bytes.begin() + at + 8, bytes.begin() + at + 8 + length));
        at += 12 + length;
    }
    return chunks;
}

std::uint32_t word(const std::vector<std::uint8_t>& data, std::size_t at) {
    return std::uint32_t(data[at]) << 24 | std::uint32_t(data[at + 1]) << 16 | std::uint32_t(data[at + 2]) << 8 | data[at + 3];
}

TEST(Animation, KeepsOnlyChangedRectanglesAndLengthensStillFrames) {
    SurfacePtr frame = own(cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30));
    cairo_t* cr = cairo_create(frame.get());
    cairo_set_source_rgb(cr, 0.2, 0.3, 0.4);
    cairo_paint(cr);
    job::ApngWriter animation(40, 30, 4);
    animation.add_frame(job::pixels_of(frame.get()));
    cairo_set_source_rgb(cr, 1, 0, 0);
    cairo_rectangle(cr, 10, 5, 6, 4);
    cairo_fill(cr);
    animation.add_frame(job::pixels_of(frame.get()));
    animation.add_frame(job::pixels_of(frame.get())); // unchanged
    cairo_destroy(cr);
    const fs::path path = fs::path(testing::TempDir()) / "animation_test.png";
    animation.write(path.string());

    // Browsers without animation support show the first frame: a plain valid PNG.
    SurfacePtr first = own(cairo_image_surface_create_from_png(path.c_str()));
    ASSERT_EQ(cairo_surface_status(first.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_TRUE(near_colour(pixel_at(first.get(), 12, 6), 0x334C66, 1));

    std::vector<std::vector<std::uint8_t>> controls;
    std::uint32_t frames_declared = 0;
    for (const auto& [type, data] : chunks_of(path.string())) {
        if (type == "acTL") frames_declared = word(data, 0);
        if (type == "fcTL") controls.push_back(data);
    }
    EXPECT_EQ(frames_declared, 2u);
    ASSERT_EQ(controls.size(), 2u);
    // Frame 2: the 6 x 4 rectangle at (10, 5), shown 2 x 250 ms.
    EXPECT_EQ(word(controls[1], 4), 6u);
    EXPECT_EQ(word(controls[1], 8), 4u);
    EXPECT_EQ(word(controls[1], 12), 10u);
    EXPECT_EQ(word(controls[1], 16), 5u);
    EXPECT_EQ(controls[1][20] << 8 | controls[1][21], 500);
    EXPECT_EQ(controls[1][22] << 8 | controls[1][23], 1000);
}

class PanelJob : public ::testing::Test {
protected:
    fs::path folder = fs::path(testing::TempDir()) / ("panel_job_" + std::to_string(::getpid()));

    void SetUp() override {
        fs::remove_all(folder);
        fs::create_directories(folder);
        write("panel.cfg", "[Window00]\ngauge00=Fixture!alpha, 4, 4\ngauge01=Fixture!legacy, 110, 4, 60\n");
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string& name, const std::string& text) { std::ofstream(folder / name) << text; }

    job::JobOptions options() {
        job::JobOptions o;
        o.gauges_folder = GAUGE_DIR;
        o.panel_path = (folder / "panel.cfg").string();
        o.scenario_path = (folder / "flight.txt").string();
        o.out_folder = (folder / "out").string();
        return o;
    }
};

TEST_F(PanelJob, WritesFramesAnimationAndTrace) {
    write("flight.txt", "duration 2\nframe_rate 2\n0 set VAR_AIRSPEED 0\n2 ramp VAR_AIRSPEED 100\n1 set VAR_PANEL_LIGHTS 1\n");
    std::ostringstream log;
    const job::JobSummary summary = job::run_job(options(), log);
    EXPECT_EQ(summary.frames, 5);
    EXPECT_EQ(summary.faults, 0u);
    const fs::path out = folder / "out";
    for (int frame = 0; frame < 5; ++frame) EXPECT_TRUE(fs::exists(out / "frames" / ("frame_0000" + std::to_string(frame) + ".png")));
    EXPECT_TRUE(fs::exists(out / "animation.png"));
    EXPECT_TRUE(fs::exists(out / "animation.html"));
    EXPECT_TRUE(summary.sound_recorded);
    EXPECT_TRUE(fs::exists(out / "alert.wav"));
    for (const auto& entry : fs::directory_iterator(out)) EXPECT_NE(entry.path().extension(), ".partial") << entry.path();

    std::ifstream trace(out / "trace.csv");
    std::string header, line, last;
    std::getline(trace, header);
    EXPECT_EQ(header.rfind("frame,time,gauge,element", 0), 0u);
    int rows = 0;
    while (std::getline(trace, line)) {
        ++rows;
        last = line;
    }
    EXPECT_EQ(rows, 5 * (7 + 3)); // alpha has seven elements, legacy three
    EXPECT_THAT(last, HasSubstr("4,2.000,Fixture!legacy,2,2,icon,1"));

    // The frame shows the panel as the trace describes it: 4 + 100 + 16 wide.
    SurfacePtr frame = own(cairo_image_surface_create_from_png((out / "frames" / "frame_00004.png").c_str()));
    EXPECT_EQ(cairo_image_surface_get_width(frame.get()), 110 + 60 + 16);
}

TEST_F(PanelJob, BadScenarioLeavesNothingThatLooksComplete) {
    write("flight.txt", "duration 2\n1 set VAR_NOTHING 1\n");
    std::ostringstream log;
    EXPECT_THROW(job::run_job(options(), log), job::FileError);
    EXPECT_FALSE(fs::exists(folder / "out" / "trace.csv"));
    EXPECT_FALSE(fs::exists(folder / "out" / "animation.png"));
}

TEST_F(PanelJob, UnknownGaugeIsReportedWithItsPanelLine) {
    write("panel.cfg", "[Window00]\n\ngauge00=Fixture!gamma, 4, 4\n");
    write("flight.txt", "duration 1\n");
    std::ostringstream log;
    std::string message;
    try {
        job::run_job(options(), log);
    } catch (const job::FileError& error) {
        message = error.what();
    }
    EXPECT_THAT(message, HasSubstr("panel.cfg:3: module \"Fixture\" has no gauge \"gamma\""));
}

} // namespace
