// Element records: the drawing elements a gauge's tree is made of.
//
// Every element starts with an `ElementHeader`; the kind field says which record follows.
// Fields marked "host" are zero in the module's data and belong to the host at run time.
// Positions are pixels on the gauge face (the root element's bitmap).
#pragma once

#include "gauge.h"

#include <cstring>

#pragma pack(push, 4)

struct FailureRecord;
struct NonlinearityEntry;

enum ElementKind : u32 {
    ELEMENT_STATIC = 0,
    ELEMENT_NEEDLE = 1,
    ELEMENT_STRING = 2,
    ELEMENT_SLIDER = 3,
    ELEMENT_ICON = 4,
    ELEMENT_MOVING = 5,
    ELEMENT_SPRITE = 6,
};

inline constexpr u32 BITMAP_NONE = 0xFFFFFFFF;

inline constexpr u32 IMAGE_FLAG_LIT = 0x4000;
inline constexpr u32 IMAGE_FLAG_HIDDEN = 0x40000000;

struct ElementHeader {
    ElementKind kind;
    u32 bitmap_id;
    i32 position_x, position_y;    // needle: the point it turns about
    i32 previous_x, previous_y;    // host
    i32 offset_x, offset_y;        // needle pivot in its bitmap; sprite texture centre
    GaugeHeader* gauge;            // the gauge owning the element
    ElementHeader* previous;       // host
    ElementHeader** next_elements; // NULL-terminated list of children, or NULL
    FailureRecord* failures;       // terminated by a record with key 0, or NULL
    u32 image_flags;
    u32 special_flags;
    u32 reserved;
};

// A simulation variable binding; the host fills `value` when it refreshes the record.
struct ModuleVar {
    u32 id;        // 0 = no variable
    void* pointer; // host
    u32 type;      // host
    f64 value;
    f64 old_value; // host
};

// One calibration point: at `value` the needle points from its position to (x, y).
struct NonlinearityEntry {
    i32 x, y;
    f64 value;
    u32 host[2];
};

// Ties an element to one of the host's failure conditions; a list ends with key 0.
struct FailureRecord {
    u32 key;
    u32 action;
    u32 reserved;
};

using ValueCallback = f64(GAUGE_CALL*)(ElementHeader* element);

struct StaticElement {
    ElementHeader header;
    u32 host[9];
};

struct NeedleElement {
    ElementHeader header;
    ModuleVar variable;
    u32 host_23_28[6];
    NonlinearityEntry* calibration;
    u32 calibration_count;
    i32 max_degrees_per_tick;
    u32 host_32_56[25];
    ValueCallback callback;
    u32 host_58_59[2];
};

// Room the host gives every readout: the longest text any callback writes (a signed
// 32-bit number with a one-character prefix) and its NUL, with margin.
inline constexpr std::size_t READOUT_TEXT_CAPACITY = 32;

struct StringElement {
    ElementHeader header;
    ModuleVar variables[3];        // the first is the readout's input
    u32 host_37_46[10];
    char* text;                    // host: the buffer the callback writes into
    u32 host_48;
    u32 width, height;             // text box, pixels
    u32 host_51_52[2];
    u32 text_colour;               // 0x00BBGGRR
    u32 background_colour;
    u32 highlight_colour;
    u32 host_56_62[7];
    char font_name[32];
    u32 font_weight;
    u32 character_set;
    u32 text_format;               // DrawText format bits
    u32 max_characters;
    u32 host_75_78[4];
    ValueCallback callback;
};

inline constexpr u32 DT_CENTER = 0x1;
inline constexpr u32 DT_RIGHT = 0x2;
inline constexpr u32 DT_VCENTER = 0x4;
inline constexpr u32 DT_BOTTOM = 0x8;
inline constexpr u32 DT_SINGLELINE = 0x20;
inline constexpr u32 DT_EXTERNALLEADING = 0x200;

struct IconElement {
    ElementHeader header;
    ModuleVar variable;
    u32 words_23_28[6];
    u32 picture_count;             // picture k is bitmap id + k
    u32 words_30_33[4];
    ValueCallback callback;        // returns the picture index
};

// Motion elements: one input per axis, from a bound variable, an axis callback, or both.
struct SliderElement {
    ElementHeader header;
    ModuleVar variable_x;
    u32 host_23;
    f64 scale_x;                   // pixels per unit of input
    u32 host_26;
    ModuleVar variable_y;
    u32 host_34;
    f64 scale_y;
    u32 host_37_48[12];
};

// A window of the companion bitmap's size sliding along a strip between two limits.
struct MovingElement {
    ElementHeader header;
    ModuleVar variable_x;
    u32 host_23;
    f64 minimum_x, maximum_x;
    u32 host_28;
    ModuleVar variable_y;
    u32 host_36;
    f64 minimum_y, maximum_y;
    u32 host_41_61[21];
    ValueCallback callback_x;
    ValueCallback callback_y;
    u32 host_64_67[4];
};

// A texture shifted and turned about its centre (the header's offset).
struct SpriteElement {
    ElementHeader header;
    ModuleVar variable_x;
    u32 host_23;
    f64 scale_x;
    ModuleVar variable_y;
    u32 host_33;
    f64 scale_y;
    ModuleVar variable_rotation;
    u32 host_43;
    f64 scale_rotation;
    f32 texture_scale_x, texture_scale_y;
    u32 host_48_79[32];
    ValueCallback callback_x;
    ValueCallback callback_y;
    ValueCallback callback_rotation;
    u32 host_83_88[6];
};

// The older generation's records, used by the radio altimeter gauge.
using NeedleCallback610 = f64(GAUGE_CALL*)(u32, u32);
using IconCallback610 = f64(GAUGE_CALL*)(u32);

struct StaticElement610 {
    ElementHeader header;
    void* bitmap_record;           // host: its record of the loaded face bitmap
    u32 host_17_20[4];
};

struct NeedleElement610 {
    ElementHeader header;
    ModuleVar variable;
    u32 host_23;
    NeedleCallback610 callback;
    u32 host_25_26[2];
    u32 legacy_27_28[2];           // 15 and 52, passed to the host unchanged
    NonlinearityEntry* calibration;
    u32 calibration_count;
    i32 max_degrees_per_tick;
    u32 host_32_56[25];
};

struct IconElement610 {
    ElementHeader header;
    ModuleVar variable;
    IconCallback610 callback;
    u32 host_24_28[5];
    u32 picture_count;             // picture k is bitmap id + 3k
    u32 words_30_34[5];
};

#pragma pack(pop)

static_assert(sizeof(ElementHeader) == record_size(15, 4));
static_assert(offsetof(ElementHeader, image_flags) == record_size(12, 4));
static_assert(sizeof(ModuleVar) == record_size(7, 1));
static_assert(offsetof(ModuleVar, value) == record_size(3, 1));
static_assert(sizeof(NonlinearityEntry) == 24 && sizeof(FailureRecord) == 12);
static_assert(sizeof(StaticElement) == record_size(24, 4));
static_assert(sizeof(NeedleElement) == record_size(59, 7));
static_assert(offsetof(NeedleElement, calibration) == record_size(28, 5));
static_assert(offsetof(NeedleElement, callback) == record_size(56, 6));
static_assert(sizeof(StringElement) == record_size(79, 9));
static_assert(offsetof(StringElement, text) == record_size(46, 7));
static_assert(offsetof(StringElement, font_name) == record_size(62, 8));
static_assert(offsetof(StringElement, callback) == record_size(78, 8));
static_assert(sizeof(IconElement) == record_size(34, 6));
static_assert(offsetof(IconElement, picture_count) == record_size(28, 5));
static_assert(sizeof(SliderElement) == record_size(48, 6));
static_assert(offsetof(SliderElement, scale_y) == record_size(34, 6));
static_assert(sizeof(MovingElement) == record_size(67, 8));
static_assert(offsetof(MovingElement, minimum_y) == record_size(36, 6));
static_assert(offsetof(MovingElement, callback_x) == record_size(61, 6));
static_assert(sizeof(SpriteElement) == record_size(88, 10));
static_assert(offsetof(SpriteElement, scale_rotation) == record_size(43, 7));
static_assert(offsetof(SpriteElement, texture_scale_x) == record_size(45, 7));
static_assert(offsetof(SpriteElement, callback_x) == record_size(79, 7));
static_assert(sizeof(StaticElement610) == record_size(20, 5));
static_assert(sizeof(NeedleElement610) == record_size(56, 7));
static_assert(offsetof(NeedleElement610, callback) == record_size(23, 5));
// Word 29 onwards as in version 700; on 64-bit the callback before it is wider.
static_assert(offsetof(NeedleElement610, calibration) == record_size(28, 6));
static_assert(offsetof(NeedleElement610, max_degrees_per_tick) == record_size(30, 7));
static_assert(sizeof(IconElement610) == record_size(34, 6));
static_assert(offsetof(IconElement610, picture_count) == record_size(28, 6));
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ElementHeader) == 60 && sizeof(ModuleVar) == 28 && sizeof(NeedleElement) == 236);
#endif

// Walks `steps` elements along the first entry of each next-element list and sets (or
// clears) `bits` in the image flags of the element reached. When the chain ends first,
// nothing changes.
void set_chain_flags(ElementHeader* element, u32 steps, u32 bits);
void clear_chain_flags(ElementHeader* element, u32 steps, u32 bits);

// A variable read as a signed 32-bit integer: the first four bytes of its value field.
inline i32 module_var_i32(const ModuleVar& var) {
    i32 value;
    std::memcpy(&value, &var.value, sizeof value);
    return value;
}
