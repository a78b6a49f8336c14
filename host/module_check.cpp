#include "module_check.h"

#include <cstring>
#include <map>
#include <stdexcept>

namespace host {

namespace {

[[noreturn]] void refuse(const std::string& what) {
    throw std::runtime_error(what);
}

class Checker {
public:
    explicit Checker(const ModuleFile& file) : file_(file) {}

    template <typename T>
    T* record(T* pointer, const std::string& what) {
        if (pointer == nullptr || !file_.holds(pointer, sizeof(T))) refuse(what + " lies outside the module");
        return pointer;
    }

    template <typename Routine>
    void routine(Routine pointer, const std::string& what, bool optional = false) {
        if (pointer == nullptr && optional) return;
        if (pointer == nullptr || !file_.holds_code(reinterpret_cast<const void*>(pointer))) {
            refuse(what + " is not a routine of the module");
        }
    }

    std::string text(const char* pointer, std::size_t limit, const std::string& what) {
        for (std::size_t i = 0; i < limit; ++i) {
            record(pointer + i, what);
            if (pointer[i] == '\0') return std::string(pointer, i);
        }
        refuse(what + " is not terminated within " + std::to_string(limit) + " characters");
    }

    // Walks a NULL-terminated pointer list and returns its entries.
    template <typename T>
    std::vector<T*> list(T** pointer, std::size_t limit, const std::string& what) {
        std::vector<T*> entries;
        for (std::size_t i = 0;; ++i) {
            if (i > limit) refuse(what + " is not terminated within " + std::to_string(limit) + " entries");
            T* entry = *record(pointer + i, what);
            if (entry == nullptr) return entries;
            entries.push_back(entry);
        }
    }

    void gauge(CheckedGauge& gauge) {
        GaugeHeader* header = gauge.header;
        const std::string where = "gauge \"" + gauge.name + "\"";
        routine(header->routines.query, where + " query routine");
        routine(header->routines.install, where + " install routine");
        routine(header->routines.initialize, where + " initialize routine");
        routine(header->routines.update, where + " update routine");
        routine(header->routines.generate, where + " generate routine");
        routine(header->routines.draw, where + " draw routine");
        routine(header->routines.kill, where + " kill routine");
        if (!gauge.version_610) {
            record(header, where + " header");
            routine(header->callback, where + " callback", true);
            check_mouse_list(file_, record(header->mouse_areas, where + " mouse-area list"));
        }
        ElementHeader* root = *record(header->root_slot, where + " root-element slot");
        record(root, where + " root element");
        if (root->kind != ELEMENT_STATIC) refuse(where + " root element is not a static element");
        std::map<ElementHeader*, bool> on_path; // true while the element is an ancestor
        walk(gauge, root, 0, 0, on_path, where);
    }

private:
    void walk(CheckedGauge& gauge, ElementHeader* element, int step, int depth, std::map<ElementHeader*, bool>& on_path,
              const std::string& where) {
        auto [it, first_visit] = on_path.try_emplace(element, true);
        if (!first_visit) {
            if (it->second) refuse(where + " element tree has a cycle");
            return; // a shared child, already listed
        }
        if (gauge.elements.size() >= MAX_ELEMENTS) refuse(where + " has more than " + std::to_string(MAX_ELEMENTS) + " elements");
        const std::string what = where + " element " + std::to_string(gauge.elements.size());
        element_record(gauge, element, what);
        gauge.elements.push_back({element, step, depth});
        if (element->next_elements != nullptr) {
            auto children = list(element->next_elements, MAX_CHILDREN, what + " next-element list");
            for (std::size_t i = 0; i < children.size(); ++i) {
                record(children[i], what + " child");
                walk(gauge, children[i], step >= 0 && i == 0 ? step + 1 : -1, depth + 1, on_path, where);
            }
        }
        it->second = false;
    }

    void element_record(const CheckedGauge& gauge, ElementHeader* element, const std::string& what) {
        const bool v610 = gauge.version_610;
        switch (element->kind) {
        case ELEMENT_STATIC:
            v610 ? (void)record(reinterpret_cast<StaticElement610*>(element), what)
                 : (void)record(reinterpret_cast<StaticElement*>(element), what);
            break;
        case ELEMENT_NEEDLE:
            if (v610) {
                auto* needle = record(reinterpret_cast<NeedleElement610*>(element), what);
                routine(needle->callback, what + " callback", true);
                calibration(needle->calibration, needle->calibration_count, what);
            } else {
                auto* needle = record(reinterpret_cast<NeedleElement*>(element), what);
                routine(needle->callback, what + " callback", true);
                calibration(needle->calibration, needle->calibration_count, what);
            }
            break;
        case ELEMENT_ICON:
            if (v610) {
                auto* icon = record(reinterpret_cast<IconElement610*>(element), what);
                routine(icon->callback, what + " callback", true);
                pictures(icon->picture_count, what);
            } else {
                auto* icon = record(reinterpret_cast<IconElement*>(element), what);
                routine(icon->callback, what + " callback", true);
                pictures(icon->picture_count, what);
            }
            break;
        case ELEMENT_STRING: {
            if (v610) refuse(what + " is of a kind a version-610 gauge cannot have");
            auto* string = record(reinterpret_cast<StringElement*>(element), what);
            routine(string->callback, what + " callback", true);
            if (strnlen(string->font_name, sizeof string->font_name) == sizeof string->font_name) {
                refuse(what + " font name is not terminated");
            }
            break;
        }
        case ELEMENT_SLIDER:
            if (v610) refuse(what + " is of a kind a version-610 gauge cannot have");
            record(reinterpret_cast<SliderElement*>(element), what);
            break;
        case ELEMENT_MOVING: {
            if (v610) refuse(what + " is of a kind a version-610 gauge cannot have");
            auto* moving = record(reinterpret_cast<MovingElement*>(element), what);
            routine(moving->callback_x, what + " x callback", true);
            routine(moving->callback_y, what + " y callback", true);
            break;
        }
        case ELEMENT_SPRITE: {
            if (v610) refuse(what + " is of a kind a version-610 gauge cannot have");
            auto* sprite = record(reinterpret_cast<SpriteElement*>(element), what);
            routine(sprite->callback_x, what + " x callback", true);
            routine(sprite->callback_y, what + " y callback", true);
            routine(sprite->callback_rotation, what + " rotation callback", true);
            break;
        }
        default:
            refuse(what + " has unknown kind " + std::to_string(static_cast<u32>(element->kind)));
        }
        if (element->gauge != gauge.header) refuse(what + " names another gauge as its owner");
        if (element->failures != nullptr) {
            for (std::size_t i = 0;; ++i) {
                if (i > MAX_FAILURE_RECORDS) refuse(what + " failure list is not terminated");
                if (record(element->failures + i, what + " failure list")->key == 0) break;
            }
        }
    }

    void calibration(const NonlinearityEntry* table, u32 count, const std::string& what) {
        if (table == nullptr && count == 0) return;
        if (table == nullptr || count == 0 || count > MAX_CALIBRATION_ENTRIES) {
            refuse(what + " calibration table and entry count disagree");
        }
        if (!file_.holds(table, sizeof(NonlinearityEntry) * count)) refuse(what + " calibration table lies outside the module");
    }

    void pictures(u32 count, const std::string& what) {
        if (count == 0 || count > MAX_PICTURES) refuse(what + " has " + std::to_string(count) + " pictures");
    }

    const ModuleFile& file_;
};

} // namespace

std::size_t check_mouse_list(const ModuleFile& file, const MouseRect* areas) {
    int open_parents = 0;
    for (std::size_t i = 0; i < MAX_MOUSE_ENTRIES; ++i) {
        if (areas == nullptr || !file.holds(areas + i, sizeof(MouseRect))) refuse("mouse-area list lies outside the module");
        const MouseRect& area = areas[i];
        if (area.function != nullptr && !file.holds_code(reinterpret_cast<const void*>(area.function))) {
            refuse("mouse area " + std::to_string(i) + " function is not a routine of the module");
        }
        switch (area.type) {
        case MOUSE_PARENT: ++open_parents; break;
        case MOUSE_CHILD:
            if (open_parents == 0) refuse("mouse area " + std::to_string(i) + " is a child outside any parent");
            break;
        case MOUSE_PARENT_END:
            if (--open_parents < 0) refuse("mouse area " + std::to_string(i) + " closes a parent that is not open");
            break;
        case MOUSE_END:
            if (open_parents != 0) refuse("mouse-area list ends with a parent still open");
            return i + 1;
        default: refuse("mouse area " + std::to_string(i) + " has unknown type " + std::to_string(static_cast<u32>(area.type)));
        }
    }
    refuse("mouse-area list is not terminated within " + std::to_string(MAX_MOUSE_ENTRIES) + " entries");
}

CheckedModule check_module(const ModuleFile& file) {
    Checker check(file);
    CheckedModule module;
    module.linkage = static_cast<LinkageRecord*>(file.symbol("Linkage"));
    module.imports = static_cast<ImportTableRecord*>(file.symbol("ImportTable"));
    if (module.linkage == nullptr) refuse("exports no Linkage");
    if (module.imports == nullptr) refuse("exports no ImportTable");
    check.record(module.imports, "ImportTable");
    if (module.imports->entries[0].id != IMPORT_PANEL_SERVICES_ID || module.imports->entries[1].id != 0) {
        refuse("ImportTable does not ask for the panel services");
    }
    // The Linkage header first; the gauge list is read entry by entry below.
    check.record(reinterpret_cast<char(*)[offsetof(LinkageRecord, gauges)]>(module.linkage), "Linkage");
    if (module.linkage->module_id != MODULE_ID) refuse("has module id " + std::to_string(module.linkage->module_id) + ", not 19 (0x13)");
    check.routine(module.linkage->module_init, "module init routine");
    check.routine(module.linkage->module_deinit, "module deinit routine");
    auto headers = check.list(module.linkage->gauges, MAX_GAUGES, "Linkage gauge list");
    if (headers.empty()) refuse("lists no gauges");
    for (GaugeHeader* header : headers) {
        check.record(reinterpret_cast<GaugeHeader610*>(header), "gauge header");
        CheckedGauge gauge;
        gauge.header = header;
        if (header->version != GAUGE_VERSION_700 && header->version != GAUGE_VERSION_610) {
            refuse("gauge header has unknown version " + std::to_string(header->version));
        }
        gauge.version_610 = header->version == GAUGE_VERSION_610;
        gauge.name = check.text(header->name, MAX_NAME_LENGTH, "gauge name");
        check.gauge(gauge);
        module.gauges.push_back(std::move(gauge));
    }
    return module;
}

} // namespace host
