#include "panel_file.h"

#include <algorithm>
#include <cctype>
#include <ranges>

namespace job {

namespace {

constexpr int MAX_PANEL_PIXELS = 16384;

std::string lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string without_comment(const std::string& line) {
    std::size_t cut = std::min(line.find("//"), line.find(';'));
    return trim(line.substr(0, cut));
}

} // namespace

PanelFile read_panel_file(const std::string& path) { return parse_panel_file(path, read_lines(path)); }

PanelFile parse_panel_file(const std::string& path, const std::vector<std::string>& lines) {
    PanelFile panel;
    panel.path = path;
    std::string section;
    bool main_window_seen = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int number = static_cast<int>(index) + 1;
        auto fail = [&](const std::string& problem) { throw FileError(path, number, problem); };
        const std::string line = without_comment(lines[index]);
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (line.back() != ']') fail("section header \"" + line + "\" has no closing bracket");
            section = lower(trim(line.substr(1, line.size() - 2)));
            if (section == "window00") {
                if (main_window_seen) fail("a second [Window00] section");
                main_window_seen = true;
            }
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) fail("\"" + line + "\" is neither a [section] nor key=value");
        if (section.empty()) fail("\"" + line + "\" stands before any [section]");
        if (section != "window00") continue;
        const std::string key = lower(trim(line.substr(0, equals)));
        const std::string value = trim(line.substr(equals + 1));
        const std::vector<std::string> fields = split(value, ',');

        if (key == "size_mm") {
            if (fields.size() != 2 || !parse_int(fields[0], panel.width) || !parse_int(fields[1], panel.height) ||
                panel.width <= 0 || panel.height <= 0 || panel.width > MAX_PANEL_PIXELS || panel.height > MAX_PANEL_PIXELS) {
                fail("size_mm takes width,height in pixels (1 to " + std::to_string(MAX_PANEL_PIXELS) + "), not \"" + value + "\"");
            }
        } else if (key == "background_color") {
            int rgb[3];
            if (fields.size() != 3 || !std::ranges::all_of(std::views::iota(0, 3), [&](int i) {
                    return parse_int(fields[i], rgb[i]) && rgb[i] >= 0 && rgb[i] <= 255;
                })) {
                fail("background_color takes red,green,blue from 0 to 255, not \"" + value + "\"");
            }
            panel.background = static_cast<std::uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]);
        } else if (key.starts_with("gauge")) {
            PanelGaugeLine gauge;
            gauge.line = number;
            if (fields.size() < 3 || fields.size() > 4) fail(key + " takes module!gauge, x, y[, width], not \"" + value + "\"");
            gauge.module_and_gauge = fields[0];
            const auto bang = gauge.module_and_gauge.find('!');
            if (bang == std::string::npos || bang == 0 || bang + 1 == gauge.module_and_gauge.size()) {
                fail("\"" + fields[0] + "\" is not of the form module!gauge");
            }
            if (!parse_int(fields[1], gauge.x) || !parse_int(fields[2], gauge.y) || gauge.x < 0 || gauge.y < 0) {
                fail("the position of " + fields[0] + " is not two whole numbers from 0: \"" + fields[1] + ", " + fields[2] + "\"");
            }
            if (fields.size() == 4 && (!parse_int(fields[3], gauge.width) || gauge.width <= 0 || gauge.width > MAX_PANEL_PIXELS)) {
                fail("the width of " + fields[0] + " is not a whole number of pixels from 1: \"" + fields[3] + "\"");
            }
            panel.gauges.push_back(gauge);
        }
    }
    if (!main_window_seen) throw FileError(path, 0, "has no [Window00] section");
    if (panel.gauges.empty()) throw FileError(path, 0, "places no gauge in [Window00]");
    return panel;
}

} // namespace job
