// What the host computed for one element in the last update and draw: the one place the
// command line, the trace, the tests and the renderer read.
#pragma once

#include "elements.h"

#include <array>
#include <string>

namespace host {

// What a failure record asks of its element while its condition is active.
enum class FailureAction : u32 {
    NONE = 0,   // drawn and updated as usual
    FREEZE = 1, // keeps the values of its last live update
    ZERO = 2,   // its inputs read 0 (needles at their zero mark, readouts print 0)
    HIDE = 3,   // not drawn
};

enum Axis { AXIS_X = 0, AXIS_Y = 1, AXIS_ROTATION = 2 };

struct ElementState {
    ElementHeader* element = nullptr;
    int step = -1;                 // steps from the root along first children; -1 off that chain
    int depth = 0;                 // depth in the tree (root 0)
    bool version_610 = false;

    bool visible = true;           // drawn in the last draw: not hidden, not failed away
    FailureAction failure = FailureAction::NONE;

    double value = 0;              // needle value, icon picture index, readout's returned number
    double needle_angle = 0;       // degrees clockwise the needle bitmap is turned, target
    double needle_shown_angle = 0; // after the maximum degrees per tick
    bool needle_started = false;
    u32 picture_bitmap = 0;        // the icon picture's bitmap id
    std::array<char, READOUT_TEXT_CAPACITY> text{};

    // Motion elements, per axis: the input value, and what the host makes of it (slider
    // and sprite: value x scale; moving image: position 0..1 between its limits).
    std::array<double, 3> axis_value{};
    std::array<double, 3> axis_output{};
    std::array<bool, 3> axis_moves{};
};

const char* kind_name(ElementKind kind);

// One line describing the element's state, as the command line prints it.
std::string describe(const ElementState& state);

} // namespace host
