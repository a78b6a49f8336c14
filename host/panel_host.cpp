#include "panel_host.h"

#include "calibration.h"
#include "dib.h"
#include "numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <utility>

namespace host {

// Who the host is serving while control is inside a module: services carry no context
// of their own, so the host notes it before every call it makes into a module.
struct PanelHost::Context {
    PanelHost* host = nullptr;
    LoadedModule* module = nullptr;
    PlacedGauge* gauge = nullptr;
};

namespace {

thread_local PanelHost::Context current;

class ServiceScope {
public:
    ServiceScope(PanelHost* host, LoadedModule* module, PlacedGauge* gauge) : saved_(current) {
        current = {host, module, gauge};
    }
    ~ServiceScope() { current = saved_; }
    ServiceScope(const ServiceScope&) = delete;
    ServiceScope& operator=(const ServiceScope&) = delete;

private:
    PanelHost::Context saved_;
};

constexpr u32 HOST_OK = 1;
constexpr u32 HOST_REFUSED = 0;

std::string lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

ElementState* PlacedGauge::at_step(int step) {
    for (ElementState& state : elements) {
        if (state.step == step) return &state;
    }
    return nullptr;
}

// The service table's entry points. Each element operation acts on the gauge being
// serviced, from its own header's root, whatever root the module passes: the shared
// lifecycle routines of a module always pass its first gauge's root.
struct Services {
    static PlacedGauge* serviced_gauge(const char* service) {
        if (current.host == nullptr) return nullptr;
        if (current.gauge == nullptr) {
            current.host->fault(std::string(service) + " called while no gauge is being serviced");
        }
        return current.gauge;
    }

    static u32 GAUGE_CALL query_elements(ElementHeader*) {
        return serviced_gauge("query_elements") ? HOST_OK : HOST_REFUSED;
    }

    static u32 GAUGE_CALL install_elements(ElementHeader*, u32) {
        PlacedGauge* gauge = serviced_gauge("install_elements");
        if (gauge == nullptr) return HOST_REFUSED;
        if (gauge->gauge->version_610) {
            auto* face = reinterpret_cast<StaticElement610*>(gauge->elements.front().element);
            face->bitmap_record = &gauge->face_record;
        }
        return HOST_OK;
    }

    static u32 GAUGE_CALL initialize_elements(ElementHeader*) {
        PlacedGauge* gauge = serviced_gauge("initialize_elements");
        if (gauge == nullptr) return HOST_REFUSED;
        for (ElementState& state : gauge->elements) state.needle_started = false;
        return HOST_OK;
    }

    static u32 GAUGE_CALL update_elements(ElementHeader*) {
        PlacedGauge* gauge = serviced_gauge("update_elements");
        if (gauge == nullptr) return HOST_REFUSED;
        for (ElementState& state : gauge->elements) current.host->update_element(*gauge, state);
        return HOST_OK;
    }

    static u32 GAUGE_CALL generate_elements(ElementHeader*, u32) {
        return serviced_gauge("generate_elements") ? HOST_OK : HOST_REFUSED;
    }

    static u32 GAUGE_CALL draw_elements(ElementHeader*) {
        PlacedGauge* gauge = serviced_gauge("draw_elements");
        if (gauge == nullptr) return HOST_REFUSED;
        for (ElementState& state : gauge->elements) current.host->draw_element(state);
        return HOST_OK;
    }

    static u32 GAUGE_CALL kill_elements(ElementHeader*) {
        PlacedGauge* gauge = serviced_gauge("kill_elements");
        if (gauge == nullptr) return HOST_REFUSED;
        for (ElementState& state : gauge->elements) {
            if (state.element->kind == ELEMENT_STRING) reinterpret_cast<StringElement*>(state.element)->text = nullptr;
        }
        if (gauge->gauge->version_610) {
            reinterpret_cast<StaticElement610*>(gauge->elements.front().element)->bitmap_record = nullptr;
        }
        return HOST_OK;
    }

    // The version-610 mouse services take the list the gauge hands over; it must be the
    // serviced gauge's own header and face record.
    static PlacedGauge* mouse_owner(const char* service, MouseRect* areas, GaugeHeader* header) {
        PlacedGauge* gauge = serviced_gauge(service);
        if (gauge == nullptr) return nullptr;
        if (header != gauge->gauge->header) {
            current.host->fault(std::string(service) + " names a gauge other than the one being serviced");
            return nullptr;
        }
        if (!gauge->gauge->version_610) {
            current.host->fault(std::string(service) + " called by a version-700 gauge");
            return nullptr;
        }
        try {
            check_mouse_list(*gauge->module->file, areas);
        } catch (const std::exception& error) {
            current.host->fault(std::string(service) + ": " + error.what());
            return nullptr;
        }
        return gauge;
    }

    static u32 GAUGE_CALL install_mouse_areas(MouseRect* areas, GaugeHeader* header, void* record_plus_4) {
        PlacedGauge* gauge = mouse_owner("install_mouse_areas", areas, header);
        if (gauge == nullptr) return HOST_REFUSED;
        if (record_plus_4 != reinterpret_cast<char*>(&gauge->face_record) + 4) {
            current.host->fault("install_mouse_areas got a face bitmap record the host did not hand out");
            return HOST_REFUSED;
        }
        gauge->mouse_areas = areas;
        return HOST_OK;
    }

    static u32 GAUGE_CALL register_mouse_areas(MouseRect* areas, GaugeHeader* header) {
        PlacedGauge* gauge = mouse_owner("register_mouse_areas", areas, header);
        if (gauge == nullptr) return HOST_REFUSED;
        gauge->mouse_areas = areas;
        gauge->mouse_registered = true;
        return HOST_OK;
    }

    static u32 GAUGE_CALL unregister_mouse_areas(MouseRect* areas, GaugeHeader* header) {
        PlacedGauge* gauge = mouse_owner("unregister_mouse_areas", areas, header);
        if (gauge == nullptr) return HOST_REFUSED;
        gauge->mouse_registered = false;
        return HOST_OK;
    }

    static u32 GAUGE_CALL send_key_event(u32 event, u32 value) {
        if (current.host == nullptr) return HOST_REFUSED;
        if (!current.host->sim_.perform_event(event, value)) {
            current.host->fault("send_key_event with unknown event " + std::to_string(event));
            return HOST_REFUSED;
        }
        return HOST_OK;
    }

    // Names and cells must lie in the calling module: the host keeps them past the call.
    static bool module_text(const char* text, std::string& out) {
        const ModuleFile& file = *current.module->file;
        for (std::size_t i = 0; i < MAX_NAME_LENGTH; ++i) {
            if (!file.holds(text + i, 1)) return false;
            if (text[i] == '\0') {
                out.assign(text, i);
                return true;
            }
        }
        return false;
    }

    static u32 GAUGE_CALL register_named_var(void* cell, u32 type, const char* name) {
        if (serviced_gauge("register_named_var") == nullptr) return HOST_REFUSED;
        std::string text;
        if (!module_text(name, text) || !current.module->file->holds(cell, sizeof(u32))) {
            current.host->fault("register_named_var with a name or cell outside the module");
            return HOST_REFUSED;
        }
        if (type != NAMED_VAR_TYPE_CELL) {
            current.host->fault("register_named_var \"" + text + "\" with unknown type " + std::to_string(type));
            return HOST_REFUSED;
        }
        return current.host->sim_.register_named(text, cell) ? HOST_OK : HOST_REFUSED;
    }

    static u32 GAUGE_CALL unregister_named_var(const char* name) {
        if (serviced_gauge("unregister_named_var") == nullptr) return HOST_REFUSED;
        std::string text;
        if (!module_text(name, text)) {
            current.host->fault("unregister_named_var with a name outside the module");
            return HOST_REFUSED;
        }
        current.host->sim_.unregister_named(text);
        return HOST_OK;
    }

    static ModuleVar* module_var(const char* service, ModuleVar* var) {
        if (current.host == nullptr) return nullptr;
        if (current.module == nullptr || !current.module->file->holds(var, sizeof(ModuleVar))) {
            current.host->fault(std::string(service) + " with a record outside the module");
            return nullptr;
        }
        return var;
    }

    static u32 GAUGE_CALL initialize_module_var(ModuleVar* var) {
        if (module_var("initialize_module_var", var) == nullptr) return HOST_REFUSED;
        const SimVarInfo* info = find_simvar(var->id);
        var->type = info ? static_cast<u32>(info->reading) : 0;
        current.host->refresh(*var, FailureAction::NONE);
        return HOST_OK;
    }

    static u32 GAUGE_CALL lookup_module_var(ModuleVar* var) {
        if (module_var("lookup_module_var", var) == nullptr) return HOST_REFUSED;
        current.host->refresh(*var, FailureAction::NONE);
        return HOST_OK;
    }

    // Slots no module may call: each records the slot number as a fault of the module.
    template <std::size_t Slot>
    static u32 GAUGE_CALL forbidden_slot() {
        if (current.host != nullptr) current.host->fault("called service slot " + std::to_string(Slot) + ", which no gauge may call");
        return HOST_REFUSED;
    }

    template <std::size_t... Slots>
    static void fill_forbidden(PanelServices& table, std::index_sequence<Slots...>) {
        ((reinterpret_cast<UnusedServiceSlot*>(&table)[Slots] = &forbidden_slot<Slots>), ...);
    }

    static PanelServices make_table() {
        PanelServices table{};
        fill_forbidden(table, std::make_index_sequence<PANEL_SERVICE_SLOTS>{});
        table.query_elements = query_elements;
        table.install_elements = install_elements;
        table.initialize_elements = initialize_elements;
        table.update_elements = update_elements;
        table.generate_elements = generate_elements;
        table.draw_elements = draw_elements;
        table.kill_elements = kill_elements;
        table.install_mouse_areas = install_mouse_areas;
        table.register_mouse_areas = register_mouse_areas;
        table.unregister_mouse_areas = unregister_mouse_areas;
        table.send_key_event = send_key_event;
        table.register_named_var = register_named_var;
        table.initialize_module_var = initialize_module_var;
        table.lookup_module_var = lookup_module_var;
        table.unregister_named_var = unregister_named_var;
        return table;
    }
};

namespace {
PanelServices SERVICE_TABLE = Services::make_table();
}

PanelHost::PanelHost(std::string gauges_folder) : gauges_folder_(std::move(gauges_folder)) {}

PanelHost::~PanelHost() {
    while (!modules_.empty()) unload_module(*modules_.back());
}

void PanelHost::fault(const std::string& what) {
    faults_.push_back({current.module ? current.module->name : std::string(),
                       current.gauge ? current.gauge->name() : std::string(), what});
}

LoadedModule& PanelHost::load_module(const std::string& path) {
    auto module = std::make_unique<LoadedModule>();
    module->name = std::filesystem::path(path).stem().string();
    const std::string refusal = "module \"" + module->name + "\" (" + path + ") refused: ";
    try {
        module->file = std::make_unique<ModuleFile>(path);
        module->records = check_module(*module->file);
    } catch (const std::exception& error) {
        throw ModuleError(refusal + error.what());
    }
    for (auto& gauge : module->records.gauges) {
        auto same_name = [&](const CheckedGauge& other) { return &other != &gauge && other.name == gauge.name; };
        if (std::ranges::any_of(module->records.gauges, same_name)) throw ModuleError(refusal + "two gauges named \"" + gauge.name + "\"");
    }
    if (find_module(module->name) != nullptr) throw ModuleError(refusal + "a module of that name is already loaded");
    // Nothing in the module runs before the service table is in place.
    module->records.imports->entries[0].pointer = &SERVICE_TABLE;
    modules_.push_back(std::move(module));
    call_module_init(*modules_.back(), true);
    return *modules_.back();
}

void PanelHost::call_module_init(LoadedModule& module, bool init) {
    ServiceScope scope(this, &module, nullptr);
    (init ? module.records.linkage->module_init : module.records.linkage->module_deinit)();
}

void PanelHost::unload_module(LoadedModule& module) {
    for (std::size_t i = placed_.size(); i-- > 0;) {
        if (placed_[i]->module == &module) remove(*placed_[i]);
    }
    call_module_init(module, false);
    // A name the module left published would point into unloaded memory.
    for (const std::string& name : sim_.drop_named_if([&](void* cell) { return module.file->holds(cell, 1); })) {
        faults_.push_back({module.name, "", "left the named variable \"" + name + "\" registered"});
    }
    std::erase_if(modules_, [&](const auto& m) { return m.get() == &module; });
}

LoadedModule* PanelHost::find_module(const std::string& name) {
    for (auto& module : modules_) {
        if (lower(module->name) == lower(name)) return module.get();
    }
    return nullptr;
}

PlacedGauge& PanelHost::place(const std::string& module_and_gauge) {
    auto bang = module_and_gauge.find('!');
    if (bang == std::string::npos) throw ModuleError("\"" + module_and_gauge + "\" is not of the form module!gauge");
    std::string module_name = module_and_gauge.substr(0, bang);
    LoadedModule* module = find_module(module_name);
    if (module == nullptr) {
        module = &load_module((std::filesystem::path(gauges_folder_) / (module_name + ".so")).string());
    }
    return place(*module, module_and_gauge.substr(bang + 1));
}

PlacedGauge& PanelHost::place(LoadedModule& module, const std::string& gauge_name) {
    auto found = std::ranges::find_if(module.records.gauges, [&](const CheckedGauge& g) { return lower(g.name) == lower(gauge_name); });
    if (found == module.records.gauges.end()) {
        throw ModuleError("module \"" + module.name + "\" has no gauge \"" + gauge_name + "\"");
    }
    auto placed = std::make_unique<PlacedGauge>();
    PlacedGauge& gauge = *placed;
    gauge.module = &module;
    gauge.gauge = &*found;
    for (const auto& node : found->elements) {
        ElementState state;
        state.element = node.element;
        state.step = node.step;
        state.depth = node.depth;
        state.version_610 = found->version_610;
        gauge.elements.push_back(state);
    }
    if (!found->version_610) gauge.mouse_areas = found->header->mouse_areas;
    const ElementHeader* face = gauge.elements.front().element;
    gauge.face_record.bitmap_id = face->bitmap_id;
    if (const Picture* picture = this->picture(module, face->bitmap_id)) {
        gauge.face_width = picture->width;
        gauge.face_height = picture->height;
        gauge.face_record.width = static_cast<u32>(picture->width);
        gauge.face_record.height = static_cast<u32>(picture->height);
    }
    placed_.push_back(std::move(placed));

    const LifecycleRoutines& routines = found->header->routines;
    ServiceScope scope(this, &module, &gauge);
    routines.query();
    routines.install(0);
    if (!found->version_610 && found->header->callback) found->header->callback(found->header, SERVICE_INSTALL, 0);
    routines.initialize();
    routines.generate(0);
    return gauge;
}

void PanelHost::remove(PlacedGauge& gauge) {
    {
        ServiceScope scope(this, gauge.module, &gauge);
        GaugeHeader* header = gauge.gauge->header;
        if (!gauge.gauge->version_610 && header->callback) header->callback(header, SERVICE_KILL, 0);
        header->routines.kill();
    }
    std::erase_if(placed_, [&](const auto& p) { return p.get() == &gauge; });
}

void PanelHost::update(PlacedGauge& gauge) {
    ServiceScope scope(this, gauge.module, &gauge);
    GaugeHeader* header = gauge.gauge->header;
    header->routines.update();
    if (!gauge.gauge->version_610 && header->callback) header->callback(header, SERVICE_UPDATE, 0);
    header->routines.draw();
    ++gauge.update_count;
}

void PanelHost::update_all() {
    for (auto& gauge : placed_) update(*gauge);
}

void PanelHost::step(double seconds) {
    sim_.advance_time(seconds);
    update_all();
}

void PanelHost::call_gauge_callback(PlacedGauge& gauge, u32 service, u32 extra) {
    if (gauge.gauge->version_610 || gauge.gauge->header->callback == nullptr) return;
    ServiceScope scope(this, gauge.module, &gauge);
    gauge.gauge->header->callback(gauge.gauge->header, service, extra);
}

MouseHit hit_test(const MouseRect* areas, int width, int height, int x, int y) {
    MouseHit hit;
    if (areas == nullptr) return hit;
    bool inside_stack[MAX_MOUSE_ENTRIES + 1] = {true};
    std::size_t depth = 0;
    std::size_t function_depth = 0, help_depth = 0;
    auto contains = [&](const MouseRect& area) {
        if (area.width == 0 && area.height == 0 && area.x == 0 && area.y == 0) {
            return x >= 0 && y >= 0 && (width == 0 || x < width) && (height == 0 || y < height);
        }
        return x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height;
    };
    auto consider = [&](const MouseRect& area, std::size_t at_depth) {
        if (area.function != nullptr && at_depth > function_depth) {
            hit.area = &area;
            function_depth = at_depth;
        }
        if (area.help_id != 0 && at_depth > help_depth) {
            hit.help_id = area.help_id;
            help_depth = at_depth;
        }
    };
    for (std::size_t i = 0; i < MAX_MOUSE_ENTRIES && areas[i].type != MOUSE_END; ++i) {
        const MouseRect& area = areas[i];
        switch (area.type) {
        case MOUSE_PARENT: {
            bool inside = inside_stack[depth] && contains(area);
            inside_stack[++depth] = inside;
            if (inside) consider(area, depth);
            break;
        }
        case MOUSE_CHILD:
            if (inside_stack[depth] && contains(area)) consider(area, depth + 1);
            break;
        case MOUSE_PARENT_END:
            if (depth > 0) --depth;
            break;
        default: break;
        }
    }
    return hit;
}

const MouseRect* PanelHost::click(PlacedGauge& gauge, int x, int y) {
    if (gauge.gauge->version_610 && !gauge.mouse_registered) return nullptr;
    MouseHit hit = hit_test(gauge.mouse_areas, gauge.face_width, gauge.face_height, x, y);
    if (hit.area == nullptr || (hit.area->flags & MOUSE_FLAG_CLICK) == 0) return nullptr;
    ServiceScope scope(this, gauge.module, &gauge);
    u32 result = hit.area->function(static_cast<u32>(x), static_cast<u32>(y));
    if (result != 0) fault("mouse function returned " + std::to_string(result) + ", not 0");
    return hit.area;
}

u32 PanelHost::help_at(PlacedGauge& gauge, int x, int y) {
    if (gauge.gauge->version_610 && !gauge.mouse_registered) return 0;
    return hit_test(gauge.mouse_areas, gauge.face_width, gauge.face_height, x, y).help_id;
}

const Picture* PanelHost::picture(LoadedModule& module, u32 id) {
    if (auto it = module.pictures.find(id); it != module.pictures.end()) return &it->second;
    if (!module.bitmaps_read) {
        module.bitmaps_read = true;
        try {
            for (EmbeddedBitmap& bitmap : module.file->read_bitmaps()) module.bitmap_files[bitmap.id] = std::move(bitmap.dib);
        } catch (const std::exception& error) {
            faults_.push_back({module.name, "", error.what()});
        }
    }
    auto file = module.bitmap_files.find(id);
    if (file == module.bitmap_files.end()) return nullptr;
    DecodedDib decoded;
    if (!decode_dib(file->second, decoded)) {
        faults_.push_back({module.name, "", "bitmap " + std::to_string(id) + " is damaged"});
        module.bitmap_files.erase(file);
        return nullptr;
    }
    module.bitmap_files.erase(file);
    return &(module.pictures[id] = {id, decoded.image.width, decoded.image.height, decoded.bits_per_pixel,
                                    std::move(decoded.image.pixels)});
}

void PanelHost::refresh(ModuleVar& var, FailureAction failure) {
    var.old_value = var.value;
    var.value = failure == FailureAction::ZERO ? 0.0 : sim_.field(var.id);
}

FailureAction PanelHost::failure_of(const ElementHeader& element) const {
    if (element.failures == nullptr) return FailureAction::NONE;
    for (const FailureRecord* record = element.failures; record->key != 0; ++record) {
        if (sim_.failure_active(record->key) && record->action <= static_cast<u32>(FailureAction::HIDE)) {
            return static_cast<FailureAction>(record->action);
        }
    }
    return FailureAction::NONE;
}

namespace {

// An axis's value: its callback when it has one, else its bound variable.
double axis_input(ElementHeader* element, ValueCallback callback, const ModuleVar& var, bool& moves) {
    moves = callback != nullptr || var.id != 0;
    if (callback != nullptr) return callback(element);
    return var.id != 0 ? var.value : 0.0;
}

double place_between(double value, double minimum, double maximum) {
    if (!(maximum != minimum) || !std::isfinite(value)) return 0.0;
    return std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0);
}

void turn_needle(ElementState& state, const ElementHeader& element, const NonlinearityEntry* table, u32 count, i32 limit) {
    state.needle_angle = table != nullptr ? calibrated_angle(element, table, count, state.value)
                                          : (std::isfinite(state.value) ? std::fmod(state.value, 360.0) : 0.0);
    state.needle_shown_angle = state.needle_started ? limit_turn(state.needle_shown_angle, state.needle_angle, limit)
                                                    : state.needle_angle;
    state.needle_started = true;
}

} // namespace

void PanelHost::update_element(PlacedGauge&, ElementState& state) {
    ElementHeader* element = state.element;
    state.failure = failure_of(*element);
    if (state.failure == FailureAction::FREEZE) return;
    const FailureAction failure = state.failure;
    // Under a zeroing failure the element shows the value 0, whatever its callbacks say.
    auto shown = [failure](double value) { return failure == FailureAction::ZERO ? 0.0 : value; };
    switch (element->kind) {
    case ELEMENT_STATIC: break;
    case ELEMENT_NEEDLE:
        if (state.version_610) {
            auto* needle = reinterpret_cast<NeedleElement610*>(element);
            refresh(needle->variable, failure);
            state.value = shown(needle->callback ? needle->callback(0, 0) : needle->variable.value);
            turn_needle(state, *element, needle->calibration, needle->calibration_count, needle->max_degrees_per_tick);
        } else {
            auto* needle = reinterpret_cast<NeedleElement*>(element);
            if (needle->variable.id != 0) refresh(needle->variable, failure);
            state.value = shown(needle->callback ? needle->callback(element) : needle->variable.value);
            turn_needle(state, *element, needle->calibration, needle->calibration_count, needle->max_degrees_per_tick);
        }
        break;
    case ELEMENT_ICON: {
        u32 count;
        u32 stride = 1;
        if (state.version_610) {
            auto* icon = reinterpret_cast<IconElement610*>(element);
            refresh(icon->variable, failure);
            state.value = shown(icon->callback ? icon->callback(0) : 0.0);
            count = icon->picture_count;
            stride = 3;
        } else {
            auto* icon = reinterpret_cast<IconElement*>(element);
            if (icon->variable.id != 0) refresh(icon->variable, failure);
            state.value = shown(icon->callback ? icon->callback(element) : 0.0);
            count = icon->picture_count;
        }
        const i32 index = std::clamp<i32>(truncate_to_i32(state.value), 0, static_cast<i32>(count) - 1);
        state.picture_bitmap = element->bitmap_id + stride * static_cast<u32>(index);
        break;
    }
    case ELEMENT_STRING: {
        auto* string = reinterpret_cast<StringElement*>(element);
        for (ModuleVar& var : string->variables) {
            if (var.id != 0) refresh(var, failure);
        }
        state.text.fill('\0');
        string->text = state.text.data();
        state.value = string->callback ? string->callback(element) : 0.0;
        state.text.back() = '\0';
        break;
    }
    case ELEMENT_SLIDER: {
        auto* slider = reinterpret_cast<SliderElement*>(element);
        const double scales[2] = {slider->scale_x, slider->scale_y};
        ModuleVar* vars[2] = {&slider->variable_x, &slider->variable_y};
        for (int axis = AXIS_X; axis <= AXIS_Y; ++axis) {
            if (vars[axis]->id != 0) refresh(*vars[axis], failure);
            state.axis_value[axis] = shown(axis_input(element, nullptr, *vars[axis], state.axis_moves[axis]));
            state.axis_output[axis] = state.axis_value[axis] * scales[axis];
        }
        break;
    }
    case ELEMENT_MOVING: {
        auto* moving = reinterpret_cast<MovingElement*>(element);
        ModuleVar* vars[2] = {&moving->variable_x, &moving->variable_y};
        const ValueCallback callbacks[2] = {moving->callback_x, moving->callback_y};
        const double limits[2][2] = {{moving->minimum_x, moving->maximum_x}, {moving->minimum_y, moving->maximum_y}};
        for (int axis = AXIS_X; axis <= AXIS_Y; ++axis) {
            if (vars[axis]->id != 0) refresh(*vars[axis], failure);
            state.axis_value[axis] = shown(axis_input(element, callbacks[axis], *vars[axis], state.axis_moves[axis]));
            state.axis_output[axis] = place_between(state.axis_value[axis], limits[axis][0], limits[axis][1]);
        }
        break;
    }
    case ELEMENT_SPRITE: {
        auto* sprite = reinterpret_cast<SpriteElement*>(element);
        ModuleVar* vars[3] = {&sprite->variable_x, &sprite->variable_y, &sprite->variable_rotation};
        const ValueCallback callbacks[3] = {sprite->callback_x, sprite->callback_y, sprite->callback_rotation};
        const double scales[3] = {sprite->scale_x, sprite->scale_y, sprite->scale_rotation};
        for (int axis = AXIS_X; axis <= AXIS_ROTATION; ++axis) {
            if (vars[axis]->id != 0) refresh(*vars[axis], failure);
            state.axis_value[axis] = shown(axis_input(element, callbacks[axis], *vars[axis], state.axis_moves[axis]));
            state.axis_output[axis] = state.axis_value[axis] * scales[axis];
        }
        break;
    }
    }
}

void PanelHost::draw_element(ElementState& state) {
    state.visible = (state.element->image_flags & IMAGE_FLAG_HIDDEN) == 0 && state.failure != FailureAction::HIDE;
}

} // namespace host
