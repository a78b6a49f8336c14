// "magrel": the standby magnetic (whiskey) compass. A card strip slides behind a small
// window so that the heading under the lubber line follows the compass heading. The card
// and the face exist as unlit and lit copies; the gauge callback shows the copies that
// match the panel lights.
#include "panel_services.h"
#include "simvars.h"

// ---- bitmaps ----------------------------------------------------------------------

constexpr u32 BITMAP_FACE = 0x1000;
constexpr u32 BITMAP_CARD_STRIP = 0x2000; // followed by its window, 0x2001
constexpr u32 BITMAP_LIT_FACE = 0x2002;

// ---- element chain, leaf first ------------------------------------------------------

extern GaugeHeader compass_header;
f64 GAUGE_CALL compass_card_value(ElementHeader* element);
f64 GAUGE_CALL compass_hold_value(ElementHeader* element);

// Chain steps the gauge callback shows and hides.
constexpr u32 STEP_LIT_FACE = 1;
constexpr u32 STEP_LIT_CARD = 2;
constexpr u32 STEP_CARD = 3;

// The strip's window spans 360 - heading along x; y has no variable and a constant
// callback over an empty range, so the strip never moves vertically.
constexpr f64 CARD_TRAVEL = 360.0;

FailureRecord compass_card_failures[] = {{20, 2, 0}, {0, 0, 0}};

// Both cards are the same record but for the lit flag and their place in the chain.
constexpr MovingElement compass_card(u32 image_flags, ElementHeader** next) {
    return {
        {ELEMENT_MOVING, BITMAP_CARD_STRIP, 0, 10, 0, 0, 0, 0, &compass_header, nullptr, next, compass_card_failures,
         image_flags, 0, 0},
        {VAR_COMPASS_HEADING, nullptr, 0, 0, 0}, 0, 0.0, CARD_TRAVEL, 0,
        {0, nullptr, 0, 0, 0}, 0, 0.0, 0.0, {},
        compass_card_value, compass_hold_value, {},
    };
}

constinit MovingElement compass_card_unlit = compass_card(0x3, nullptr);
ElementHeader* compass_card_unlit_next[] = {&compass_card_unlit.header, nullptr};

constinit MovingElement compass_card_lit = compass_card(IMAGE_FLAG_LIT | 0x3, compass_card_unlit_next);
ElementHeader* compass_card_lit_next[] = {&compass_card_lit.header, nullptr};

IconElement compass_lit_face = {
    {ELEMENT_ICON, BITMAP_LIT_FACE, 0, 0, 0, 0, 0, 0, &compass_header, nullptr, compass_card_lit_next, nullptr,
     IMAGE_FLAG_LIT | 0x3, 0, 0},
    {0, nullptr, 0, 0, 0}, {}, 1, {}, nullptr,
};
ElementHeader* compass_lit_face_next[] = {&compass_lit_face.header, nullptr};

StaticElement compass_face = {
    {ELEMENT_STATIC, BITMAP_FACE, 0, 0, 0, 0, 0, 0, &compass_header, nullptr, compass_lit_face_next, nullptr, 0x1, 0, 0},
    {},
};
ElementHeader* compass_root_slot[] = {&compass_face.header, nullptr};

// ---- mouse areas: none of its own, one whole-face parent ------------------------------

MouseRect compass_mouse[] = {mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0), mouse_parent_end(), mouse_end()};

// ---- gauge and module ---------------------------------------------------------------

void GAUGE_CALL compass_gauge_callback(GaugeHeader* header, u32 service, u32 extra);

GaugeHeader compass_header = {
    GAUGE_VERSION_700, "magrel", compass_root_slot, MODULE_LIFECYCLE, 0, 38, {}, compass_mouse,
    compass_gauge_callback, {},
};

LinkageRecord Linkage = {MODULE_ID, module_nothing, module_nothing, {0, 0, 0}, {&compass_header, nullptr}};

// ---- state --------------------------------------------------------------------------

ModuleVar compass_panel_lights = {VAR_PANEL_LIGHTS, nullptr, 0, 0, 0};

// ---- callbacks ----------------------------------------------------------------------

// Headings fall from left to right along the strip, so the window sits at 360 - heading.
// A heading off the card (or no heading at all, NaN) puts the window at the strip's
// start rather than handing the host a position outside the strip.
f64 GAUGE_CALL compass_card_value(ElementHeader* element) {
    const f64 heading = reinterpret_cast<MovingElement*>(element)->variable_x.value;
    const f64 position = CARD_TRAVEL - heading;
    if (!(position >= 0.0 && position <= CARD_TRAVEL)) return 0.0;
    return position;
}

f64 GAUGE_CALL compass_hold_value(ElementHeader*) { return 1.0; }

void GAUGE_CALL compass_gauge_callback(GaugeHeader* header, u32 service, u32) {
    if (service != SERVICE_UPDATE) return;
    ElementHeader* root = *header->root_slot;
    panel()->lookup_module_var(&compass_panel_lights);
    if (compass_panel_lights.value == 0.0) {
        clear_chain_flags(root, STEP_CARD, IMAGE_FLAG_HIDDEN);
        set_chain_flags(root, STEP_LIT_CARD, IMAGE_FLAG_HIDDEN);
        set_chain_flags(root, STEP_LIT_FACE, IMAGE_FLAG_HIDDEN);
    } else {
        // Any lights value but exactly 0 counts as on, including 0.5 and NaN.
        clear_chain_flags(root, STEP_LIT_FACE, IMAGE_FLAG_HIDDEN);
        clear_chain_flags(root, STEP_LIT_CARD, IMAGE_FLAG_HIDDEN);
        set_chain_flags(root, STEP_CARD, IMAGE_FLAG_HIDDEN);
    }
}
