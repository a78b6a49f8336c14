#include "element_state.h"

#include <cstdio>

namespace host {

const char* kind_name(ElementKind kind) {
    switch (kind) {
    case ELEMENT_STATIC: return "static";
    case ELEMENT_NEEDLE: return "needle";
    case ELEMENT_STRING: return "string";
    case ELEMENT_SLIDER: return "slider";
    case ELEMENT_ICON: return "icon";
    case ELEMENT_MOVING: return "moving";
    case ELEMENT_SPRITE: return "sprite";
    }
    return "unknown";
}

namespace {
const char* failure_name(FailureAction action) {
    switch (action) {
    case FailureAction::NONE: return "";
    case FailureAction::FREEZE: return " failed:frozen";
    case FailureAction::ZERO: return " failed:zero";
    case FailureAction::HIDE: return " failed:hidden";
    }
    return "";
}
} // namespace

std::string describe(const ElementState& state) {
    const ElementHeader& element = *state.element;
    char step[16] = "-";
    if (state.step >= 0) std::snprintf(step, sizeof step, "#%d", state.step);
    char line[256];
    int used = std::snprintf(line, sizeof line, "%*s%-6s %-6s bitmap 0x%04X %s", state.depth * 2, "", step, kind_name(element.kind),
                             element.bitmap_id == BITMAP_NONE ? 0xFFFF : element.bitmap_id, state.visible ? "shown " : "hidden");
    auto append = [&](const char* format, auto... values) {
        if (used >= 0 && static_cast<std::size_t>(used) < sizeof line) {
            used += std::snprintf(line + used, sizeof line - used, format, values...);
        }
    };
    switch (element.kind) {
    case ELEMENT_NEEDLE: append(" value %.6g angle %.2f", state.value, state.needle_angle); break;
    case ELEMENT_ICON: append(" picture 0x%04X", state.picture_bitmap); break;
    case ELEMENT_STRING: append(" text \"%s\" returned %.6g", state.text.data(), state.value); break;
    case ELEMENT_SLIDER: append(" shift %.2f %.2f", state.axis_output[AXIS_X], state.axis_output[AXIS_Y]); break;
    case ELEMENT_MOVING:
        append(" x %.6g (%.4f) y %.6g (%.4f)", state.axis_value[AXIS_X], state.axis_output[AXIS_X], state.axis_value[AXIS_Y],
               state.axis_output[AXIS_Y]);
        break;
    case ELEMENT_SPRITE:
        append(" shift %.2f %.2f turn %.2f", state.axis_output[AXIS_X], state.axis_output[AXIS_Y], state.axis_output[AXIS_ROTATION]);
        break;
    case ELEMENT_STATIC: break;
    }
    append("%s", failure_name(state.failure));
    return line;
}

} // namespace host
