#include "panel_job.h"

#include "platform_control.h"
#include "png_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace job {

namespace fs = std::filesystem;

PlacedPanel place_panel(host::PanelHost& panel, const PanelFile& file) {
    PlacedPanel placed;
    placed.width = file.width;
    placed.height = file.height;
    int right = 0, bottom = 0;
    for (const PanelGaugeLine& line : file.gauges) {
        host::PlacedGauge* gauge = nullptr;
        try {
            gauge = &panel.place(line.module_and_gauge);
        } catch (const std::exception& error) {
            throw FileError(file.path, line.line, error.what());
        }
        if (gauge->face_width <= 0 || gauge->face_height <= 0) {
            throw FileError(file.path, line.line, line.module_and_gauge + " has no face bitmap to draw");
        }
        const double scale = render::scale_for_width(*gauge, line.width);
        right = std::max(right, line.x + static_cast<int>(std::lround(gauge->face_width * scale)));
        bottom = std::max(bottom, line.y + static_cast<int>(std::lround(gauge->face_height * scale)));
        placed.gauges.push_back(gauge);
    }
    // Without a size the panel takes the gauges' extent and a margin.
    constexpr int MARGIN = 16;
    if (placed.width == 0) placed.width = right + MARGIN;
    if (placed.height == 0) placed.height = bottom + MARGIN;
    return placed;
}

void lay_out(render::PanelRenderer& renderer, const PanelFile& file, const PlacedPanel& placed) {
    for (std::size_t i = 0; i < file.gauges.size(); ++i) {
        renderer.add(*placed.gauges[i], file.gauges[i].x, file.gauges[i].y, file.gauges[i].width);
    }
}

void write_trace_header(std::ostream& out) {
    out << "frame,time,gauge,element,step,kind,visible,failure,value,angle,picture,x,y,rotation,text\n";
}

namespace {

// A readout's text as one CSV field: quoted, inner quotes doubled, control bytes as '?'.
std::string csv_text(const char* text) {
    std::string field = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '"') field += "\"\"";
        else field += static_cast<unsigned char>(*c) < 0x20 ? '?' : *c;
    }
    return field + "\"";
}

} // namespace

void write_trace_frame(std::ostream& out, int frame, double time, const std::vector<host::PlacedGauge*>& gauges) {
    char line[512];
    for (const host::PlacedGauge* gauge : gauges) {
        const std::string name = gauge->module->name + "!" + gauge->name();
        for (std::size_t index = 0; index < gauge->elements.size(); ++index) {
            const host::ElementState& state = gauge->elements[index];
            const ElementKind kind = state.element->kind;
            const bool moves = kind == ELEMENT_SLIDER || kind == ELEMENT_MOVING || kind == ELEMENT_SPRITE;
            std::snprintf(line, sizeof line, "%d,%.3f,%s,%zu,%d,%s,%d,%u,%.6g,%.3f,0x%X,%.4f,%.4f,%.3f,", frame, time,
                          name.c_str(), index, state.step, host::kind_name(kind), state.visible ? 1 : 0,
                          static_cast<unsigned>(state.failure), state.value,
                          kind == ELEMENT_NEEDLE ? state.needle_shown_angle : 0.0,
                          kind == ELEMENT_ICON ? state.picture_bitmap : 0u, moves ? state.axis_output[host::AXIS_X] : 0.0,
                          moves ? state.axis_output[host::AXIS_Y] : 0.0, moves ? state.axis_output[host::AXIS_ROTATION] : 0.0);
            out << line << (kind == ELEMENT_STRING ? csv_text(state.text.data()) : std::string()) << '\n';
        }
    }
}

namespace {

// A file or folder written under a temporary name and renamed into place at the end.
struct Staged {
    fs::path final_path;
    fs::path partial_path() const { return final_path.string() + ".partial"; }
    void commit() const {
        std::error_code ignored;
        fs::remove_all(final_path, ignored);
        fs::rename(partial_path(), final_path);
    }
};

} // namespace

JobSummary run_job(const JobOptions& options, std::ostream& log) {
    const PanelFile panel_file = read_panel_file(options.panel_path);
    const Scenario scenario = read_scenario(options.scenario_path);
    if (!(options.animation_scale > 0 && options.animation_scale <= 1)) {
        throw std::invalid_argument("the animation scale must lie in (0, 1]");
    }

    // The sound device runs on the scenario's clock; message boxes go to the log.
    platform::reset();
    platform::set_clock(0);
    platform::set_message_handler([&log](const platform::MessageRecord& message) {
        log << "message box \"" << message.caption << "\": " << message.text << "\n";
        return IDOK;
    });
    struct HandlerRelease {
        ~HandlerRelease() { platform::set_message_handler(nullptr); }
    } handler_release;

    host::PanelHost panel(options.gauges_folder);
    const PlacedPanel placed = place_panel(panel, panel_file);
    ScenarioPlayer player(scenario, panel);
    render::PictureCache pictures;
    render::PanelRenderer renderer(panel, pictures, placed.width, placed.height, panel_file.background);
    lay_out(renderer, panel_file, placed);

    const fs::path out = options.out_folder;
    fs::create_directories(out);
    const Staged frames_folder{out / "frames"}, trace_file{out / "trace.csv"}, animation_file{out / "animation.png"},
        page_file{out / "animation.html"}, sound_file{out / "alert.wav"};
    std::error_code ignored;
    fs::remove_all(frames_folder.partial_path(), ignored);
    if (options.write_frames) fs::create_directories(frames_folder.partial_path());
    std::ofstream trace(trace_file.partial_path(), std::ios::trunc);
    if (!trace) throw std::runtime_error(trace_file.partial_path().string() + ": cannot be written");
    write_trace_header(trace);

    const int animation_width = std::max(1, static_cast<int>(std::lround(placed.width * options.animation_scale)));
    const int animation_height = std::max(1, static_cast<int>(std::lround(placed.height * options.animation_scale)));
    cairo_surface_t* small = cairo_image_surface_create(CAIRO_FORMAT_RGB24, animation_width, animation_height);
    ApngWriter animation(animation_width, animation_height, scenario.frame_rate);

    // The gauges update at the host's tick rate; a frame is drawn every few updates.
    const int updates_per_frame = std::max(1, static_cast<int>(std::lround(host::TICKS_PER_SECOND / scenario.frame_rate)));
    const double update_seconds = 1.0 / (scenario.frame_rate * updates_per_frame);
    const int frame_count = static_cast<int>(std::floor(scenario.duration * scenario.frame_rate)) + 1;

    if (!platform::start_recording(sound_file.partial_path().string())) {
        throw std::runtime_error("the sound device cannot record to " + sound_file.partial_path().string());
    }
    JobSummary summary;
    double time = 0;
    player.advance_to(0);
    panel.step(0);
    for (int frame = 0; frame < frame_count; ++frame) {
        if (frame > 0) {
            for (int update = 0; update < updates_per_frame; ++update) {
                time = (static_cast<double>(frame - 1) * updates_per_frame + update + 1) * update_seconds;
                player.advance_to(time);
                platform::set_clock(time);
                panel.step(update_seconds);
            }
        }
        renderer.render();
        const PixelView view = pixels_of(renderer.surface());
        if (options.write_frames) {
            char name[32];
            std::snprintf(name, sizeof name, "frame_%05d.png", frame);
            write_png((frames_folder.partial_path() / name).string(), view);
        }
        cairo_t* cr = cairo_create(small);
        cairo_scale(cr, options.animation_scale, options.animation_scale);
        cairo_set_source_surface(cr, renderer.surface(), 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
        cairo_paint(cr);
        cairo_destroy(cr);
        animation.add_frame(pixels_of(small));
        write_trace_frame(trace, frame, time, placed.gauges);
        ++summary.frames;
        if (frame % 100 == 0) log << "frame " << frame << " of " << frame_count << " at " << time << " s\n";
    }
    cairo_surface_destroy(small);
    summary.sound_recorded = platform::stop_recording();
    if (!summary.sound_recorded) throw std::runtime_error(sound_file.partial_path().string() + ": the sound track cannot be written");
    trace.close();
    if (!trace) throw std::runtime_error(trace_file.partial_path().string() + ": cannot be written");
    animation.write(animation_file.partial_path().string());
    summary.animation_frames = static_cast<int>(animation.frame_count());
    {
        std::ofstream page(page_file.partial_path(), std::ios::trunc);
        page << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" << fs::path(scenario.path).filename().string()
             << "</title></head>\n<body style=\"background:#111;margin:0\"><img src=\"animation.png\" alt=\"the panel over the flight\" "
                "style=\"max-width:100%\"></body></html>\n";
        if (!page) throw std::runtime_error(page_file.partial_path().string() + ": cannot be written");
    }

    for (const host::Fault& fault : panel.faults()) log << "fault: " << fault.module << "!" << fault.gauge << ": " << fault.what << "\n";
    summary.faults = panel.faults().size();
    // Everything is complete: only now do the files take their real names.
    if (options.write_frames) frames_folder.commit();
    trace_file.commit();
    animation_file.commit();
    page_file.commit();
    sound_file.commit();
    return summary;
}

} // namespace job
