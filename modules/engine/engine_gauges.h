// The engine instruments: twelve gauges, a pair per quantity, engine 1 and engine 2.
//
// The two gauges of a pair are drawn alike and run the same code; they differ in their
// name and the simulation variable they show (and, for FT, in the warning cell they
// keep). Each gauge is one group of plain records, filled in when the module is built by
// a helper from its quantity's row, so a pair is written down once. Within a group the
// records are declared leaf first, as the element tree hangs below the face.
#pragma once

#include "elements.h"
#include "mouse.h"
#include "simvars.h"

#include <span>

// ---- shared by all twelve gauges ----------------------------------------------------

inline constexpr u32 ENGINE_GAUGE_SIZE_MM = 100;

inline constexpr u32 ENGINE_FACE_FLAGS = 0x17;
inline constexpr u32 ENGINE_PART_FLAGS = 0x7; // needles and icons
inline constexpr u32 ENGINE_READOUT_FLAGS = 0x6;

// Panel electrics (20) and the engine instruments failure (2) drop every needle to its
// zero mark; panel electrics blank the readouts, the engine failure zeroes them.
extern FailureRecord engine_needle_failures[3];
extern FailureRecord engine_readout_failures[3];

// A needle's input, as the host refreshed it before calling the needle's callback.
inline f64 needle_input(ElementHeader* element) {
    return reinterpret_cast<NeedleElement*>(element)->variable.value;
}

// A readout's input: its first variable.
inline f64 readout_input(ElementHeader* element) {
    return reinterpret_cast<StringElement*>(element)->variables[0].value;
}

// Prints `shown`, truncated toward zero to 32 bits, into the readout's text buffer with
// `format`, and returns `shown`. The text may be longer than the readout's character
// count: values are not clamped, and the host's buffer holds any 32-bit number.
f64 print_readout(ElementHeader* readout, const char* format, f64 shown);

constexpr StaticElement engine_face(GaugeHeader& gauge, u32 bitmap, ElementHeader** children) {
    return {{ELEMENT_STATIC, bitmap, 0, 0, 0, 0, 0, 0, &gauge, nullptr, children, nullptr, ENGINE_FACE_FLAGS, 0, 0}, {}};
}

// Where a needle sits: the point on the face it turns about, and its pivot in its bitmap.
struct NeedlePlace {
    u32 bitmap;
    i32 x, y;
    i32 pivot_x, pivot_y;
};

constexpr NeedleElement engine_needle(GaugeHeader& gauge, const NeedlePlace& place, u32 variable,
                                      std::span<NonlinearityEntry> calibration, i32 max_degrees_per_tick,
                                      ValueCallback value, ElementHeader** children = nullptr) {
    return {
        {ELEMENT_NEEDLE, place.bitmap, place.x, place.y, 0, 0, place.pivot_x, place.pivot_y, &gauge, nullptr, children,
         engine_needle_failures, ENGINE_PART_FLAGS, 0, 0},
        {variable, nullptr, 0, 0, 0},
        {},
        calibration.data(),
        static_cast<u32>(calibration.size()),
        max_degrees_per_tick,
        {},
        value,
        {},
    };
}

// Icons read no variable; their callback picks the picture.
constexpr IconElement engine_icon(GaugeHeader& gauge, u32 bitmap, i32 x, i32 y, u32 pictures, ValueCallback value) {
    return {
        {ELEMENT_ICON, bitmap, x, y, 0, 0, 0, 0, &gauge, nullptr, nullptr, nullptr, ENGINE_PART_FLAGS, 0, 0},
        {0, nullptr, 0, 0, 0},
        {},
        pictures,
        {},
        value,
    };
}

constexpr GaugeHeader engine_header(const char* name, ElementHeader*& root, MouseRect* mouse_areas) {
    return {GAUGE_VERSION_700, name, &root, MODULE_LIFECYCLE, 0, ENGINE_GAUGE_SIZE_MM, {}, mouse_areas, nullptr, {}};
}

// ---- the dials: ITT, FF, TRQ and RPM ------------------------------------------------

inline constexpr u32 DIAL_NEEDLE_BITMAP = 0x1000;
inline constexpr NeedlePlace DIAL_NEEDLE = {DIAL_NEEDLE_BITMAP, 123, 129, 6, 5};

// The ITT and RPM faces carry the same marks, 0 to 120.
extern NonlinearityEntry dial_marks_0_to_120[13];

// What the two dials of one quantity share.
struct DialQuantity {
    u32 face_bitmap;
    std::span<NonlinearityEntry> calibration;
    i32 max_degrees_per_tick;
    u32 readout_characters;
    u32 help_id;               // of the one area covering the face
    ValueCallback needle_value;
    ValueCallback readout_value;
};

// One dial: a needle, and a digital readout below its pivot.
struct EngineDial {
    NeedleElement needle;
    StringElement readout;
    ElementHeader* face_children[3];
    StaticElement face;
    ElementHeader* root;
    MouseRect mouse_areas[3];
    GaugeHeader header;
};

// The dial `self` of one engine; `readout_children` hangs further elements below the
// readout (the fuel-flow icon).
constexpr EngineDial engine_dial(EngineDial& self, const char* name, u32 variable, const DialQuantity& quantity,
                                 ElementHeader** readout_children = nullptr) {
    return {
        .needle = engine_needle(self.header, DIAL_NEEDLE, variable, quantity.calibration, quantity.max_degrees_per_tick,
                                quantity.needle_value),
        .readout =
            {
                {ELEMENT_STRING, BITMAP_NONE, 84, 179, 0, 0, 0, 0, &self.header, nullptr, readout_children,
                 engine_readout_failures, ENGINE_READOUT_FLAGS, 0, 0},
                {{variable, nullptr, 0, 0, 0}, {}, {}},
                {},
                nullptr,
                0,
                82,
                30,
                {},
                0x0492F6,
                0,
                0x5C5C5C,
                {},
                "MS Serif",
                400,
                1,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXTERNALLEADING,
                quantity.readout_characters,
                {},
                quantity.readout_value,
            },
        .face_children = {&self.needle.header, &self.readout.header, nullptr},
        .face = engine_face(self.header, quantity.face_bitmap, self.face_children),
        .root = &self.face.header,
        .mouse_areas = {mouse_parent(0, 0, 0, 0, CURSOR_NONE, quantity.help_id), mouse_parent_end(), mouse_end()},
        .header = engine_header(name, self.root, self.mouse_areas),
    };
}

// The fuel-flow dial carries a fixed icon below its readout.
struct FuelFlowDial {
    IconElement icon;
    ElementHeader* readout_children[2];
    EngineDial dial;
};

// ---- the oil gauges: two needles on one face ----------------------------------------

struct OilGauge {
    IconElement icon;
    ElementHeader* needle_children[2]; // one list for both needles: the icon hangs below each
    NeedleElement left_needle;
    NeedleElement right_needle;
    ElementHeader* face_children[3];
    StaticElement face;
    ElementHeader* root;
    MouseRect mouse_areas[7];
    GaugeHeader header;
};

// ---- the FT gauges: one needle and a warning icon -----------------------------------

struct FtGauge {
    IconElement warning_icon;
    ElementHeader* needle_children[2];
    NeedleElement needle;
    ElementHeader* face_children[2];
    StaticElement face;
    ElementHeader* root;
    MouseRect mouse_areas[3];
    GaugeHeader header;
};

// ---- the twelve gauges, in the module's list order ----------------------------------

extern EngineDial itt1_indicator, itt2_indicator;
extern FuelFlowDial ff1_indicator, ff2_indicator;
extern EngineDial trq1_indicator, trq2_indicator;
extern EngineDial rpm1_indicator, rpm2_indicator;
extern OilGauge oil1_indicator, oil2_indicator;
extern FtGauge ft1_indicator, ft2_indicator;
