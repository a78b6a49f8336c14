// gaugehost: the panel host on the command line.
//
//   gaugehost list MODULE_FILE...
//       the gauges of each module and their element trees
//   gaugehost run [--gauges DIR] [--set VAR=VALUE]... [--fail KEY]... [--click X,Y]...
//                 [--cycles N] MODULE!GAUGE...
//       places the gauges, sets the variables (by catalogue name or id), runs update
//       cycles (clicks between the first and the second), and prints element states
#include "panel_host.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void print_gauge(host::PlacedGauge& gauge) {
    std::cout << gauge.module->name << "!" << gauge.name() << " (version " << gauge.gauge->header->version << ", "
              << gauge.face_width << "x" << gauge.face_height << ", " << gauge.elements.size() << " elements)\n";
    for (const host::ElementState& state : gauge.elements) std::cout << "  " << host::describe(state) << "\n";
}

u32 variable_id(const std::string& name) {
    if (const SimVarInfo* info = find_simvar(name.c_str())) return info->id;
    std::size_t used = 0;
    unsigned long id = std::stoul(name, &used, 0);
    if (used != name.size() || id > host::MAX_VARIABLE_ID) throw std::invalid_argument("unknown variable " + name);
    return static_cast<u32>(id);
}

int list(const std::vector<std::string>& files) {
    host::PanelHost panel;
    for (const std::string& file : files) {
        host::LoadedModule& module = panel.load_module(file);
        for (const auto& gauge : module.records.gauges) {
            host::PlacedGauge& placed = panel.place(module, gauge.name);
            print_gauge(placed);
        }
    }
    return 0;
}

int run(const std::vector<std::string>& args) {
    std::string folder = "gauges";
    std::vector<std::pair<u32, double>> settings;
    std::vector<u32> failures;
    std::vector<std::pair<int, int>> clicks;
    int cycles = 1;
    std::vector<std::string> gauges;
    for (std::size_t i = 0; i < args.size(); ++i) {
        auto value = [&]() -> const std::string& {
            if (i + 1 >= args.size()) throw std::invalid_argument(args[i] + " needs a value");
            return args[++i];
        };
        if (args[i] == "--gauges") folder = value();
        else if (args[i] == "--cycles") cycles = std::stoi(value());
        else if (args[i] == "--fail") failures.push_back(static_cast<u32>(std::stoul(value(), nullptr, 0)));
        else if (args[i] == "--set") {
            const std::string& setting = value();
            auto eq = setting.find('=');
            if (eq == std::string::npos) throw std::invalid_argument("--set takes VAR=VALUE");
            settings.emplace_back(variable_id(setting.substr(0, eq)), std::stod(setting.substr(eq + 1)));
        } else if (args[i] == "--click") {
            const std::string& point = value();
            auto comma = point.find(',');
            if (comma == std::string::npos) throw std::invalid_argument("--click takes X,Y");
            clicks.emplace_back(std::stoi(point.substr(0, comma)), std::stoi(point.substr(comma + 1)));
        } else gauges.push_back(args[i]);
    }
    host::PanelHost panel(folder);
    for (auto [id, v] : settings) panel.sim().set(id, v);
    for (u32 key : failures) panel.sim().set_failure(key, true);
    for (const std::string& name : gauges) panel.place(name);
    for (int cycle = 0; cycle < cycles; ++cycle) {
        panel.step(1.0 / host::TICKS_PER_SECOND);
        if (cycle == 0) {
            for (auto [x, y] : clicks) {
                for (const auto& gauge : panel.placed()) panel.click(*gauge, x, y);
            }
        }
    }
    for (const auto& gauge : panel.placed()) print_gauge(*gauge);
    for (const host::Fault& fault : panel.faults()) {
        std::cout << "fault: " << fault.module << "!" << fault.gauge << ": " << fault.what << "\n";
    }
    return panel.faults().empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() >= 2 && args[0] == "list") return list({args.begin() + 1, args.end()});
        if (args.size() >= 2 && args[0] == "run") return run({args.begin() + 1, args.end()});
    } catch (const std::exception& error) {
        std::cerr << "gaugehost: " << error.what() << "\n";
        return 1;
    }
    std::cerr << "usage: gaugehost list MODULE_FILE...\n"
                 "       gaugehost run [--gauges DIR] [--set VAR=VALUE]... [--fail KEY]... [--click X,Y]... "
                 "[--cycles N] MODULE!GAUGE...\n";
    return 2;
}
