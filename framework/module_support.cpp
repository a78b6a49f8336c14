// What every module carries besides its gauges: the import table the host fills, the
// shared lifecycle routines and the chain helpers.
#include "panel_services.h"

ImportTableRecord ImportTable = {{
    {IMPORT_PANEL_SERVICES_ID, nullptr},
    {0, nullptr},
}};

namespace {
ElementHeader* first_gauge_root() {
    return *Linkage.gauges[0]->root_slot;
}

ElementHeader* walk_chain(ElementHeader* element, u32 steps) {
    for (u32 step = 0; step < steps; ++step) {
        if (element->next_elements == nullptr || element->next_elements[0] == nullptr) {
            return nullptr;
        }
        element = element->next_elements[0];
    }
    return element;
}
} // namespace

u32 GAUGE_CALL module_query() { return panel()->query_elements(first_gauge_root()); }
u32 GAUGE_CALL module_install(u32 argument) { return panel()->install_elements(first_gauge_root(), argument); }
u32 GAUGE_CALL module_initialize() { return panel()->initialize_elements(first_gauge_root()); }
u32 GAUGE_CALL module_update() { return panel()->update_elements(first_gauge_root()); }
u32 GAUGE_CALL module_generate(u32 argument) { return panel()->generate_elements(first_gauge_root(), argument); }
u32 GAUGE_CALL module_draw() { return panel()->draw_elements(first_gauge_root()); }
u32 GAUGE_CALL module_kill() { return panel()->kill_elements(first_gauge_root()); }

void GAUGE_CALL module_nothing() {}

void set_chain_flags(ElementHeader* element, u32 steps, u32 bits) {
    if (ElementHeader* reached = walk_chain(element, steps)) {
        reached->image_flags |= bits;
    }
}

void clear_chain_flags(ElementHeader* element, u32 steps, u32 bits) {
    if (ElementHeader* reached = walk_chain(element, steps)) {
        reached->image_flags &= ~bits;
    }
}
