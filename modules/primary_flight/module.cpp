// The module record of the primary flight instruments, the published switch block and
// the lighting helpers the gauges share.
#include "primary_flight.h"

LinkageRecord Linkage = {
    MODULE_ID, module_nothing, module_nothing, {0, 0, 0},
    {&vsi_header, &asi_header, &alt_header, &clock_header, &attitude_header, nullptr},
};

CbExists2Block cb_exists2_block = {0, 0, 0, 0, 0};

void show_steps(ElementHeader* root, ChainSteps steps) {
    for (u32 step : steps) clear_chain_flags(root, step, IMAGE_FLAG_HIDDEN);
}

void hide_steps(ElementHeader* root, ChainSteps steps) {
    for (u32 step : steps) set_chain_flags(root, step, IMAGE_FLAG_HIDDEN);
}

void show_lit_or_unlit(ElementHeader* root, bool lit, ChainSteps lit_steps, ChainSteps unlit_steps) {
    show_steps(root, lit ? lit_steps : unlit_steps);
    hide_steps(root, lit ? unlit_steps : lit_steps);
}

bool panel_lights_on(ModuleVar& lights) {
    panel()->lookup_module_var(&lights);
    return lights.value != 0.0;
}
