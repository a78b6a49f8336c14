// Mouse areas: a flat list that nests parents and children, read up to `MOUSE_END`.
#pragma once

#include "gauge.h"

#pragma pack(push, 4)

enum MouseEntryType : u32 {
    MOUSE_END = 0,
    MOUSE_PARENT = 1,
    MOUSE_CHILD = 2,
    MOUSE_PARENT_END = 3,
};

// Cursor codes; -1 leaves the cursor to the host.
inline constexpr i32 CURSOR_NONE = -1;
inline constexpr i32 CURSOR_NORMAL = 0;
inline constexpr i32 CURSOR_INCREASE = 1;
inline constexpr i32 CURSOR_DECREASE = 2;
inline constexpr i32 CURSOR_SELECT = 5;

// Mouse flags: which actions call the area's function.
inline constexpr u32 MOUSE_FLAG_CLICK = 0x20000000;
inline constexpr u32 MOUSE_FLAG_REPEAT = 0x00200000;

using MouseFunction = u32(GAUGE_CALL*)(u32, u32);

struct MouseRect {
    MouseEntryType type;
    i32 x, y, width, height;       // (0, 0, 0, 0) on a parent covers the whole gauge
    i32 cursor;
    u32 help_id;                   // a host help text, 0 = none
    u32 flags;
    u32 event_id;
    MouseFunction function;        // returns 0
    u32 data;
};

#pragma pack(pop)

static_assert(sizeof(MouseRect) == record_size(11, 1));
static_assert(offsetof(MouseRect, function) == record_size(9, 0));
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(MouseRect) == 44);
#endif

// List-building shorthands: every entry of every list in the system has event id and
// data 0.
constexpr MouseRect mouse_parent(i32 x, i32 y, i32 w, i32 h, i32 cursor, u32 help_id,
                                 u32 flags = 0, MouseFunction function = nullptr) {
    return {MOUSE_PARENT, x, y, w, h, cursor, help_id, flags, 0, function, 0};
}
constexpr MouseRect mouse_child(i32 x, i32 y, i32 w, i32 h, i32 cursor, u32 flags,
                                MouseFunction function, u32 help_id = 0) {
    return {MOUSE_CHILD, x, y, w, h, cursor, help_id, flags, 0, function, 0};
}
constexpr MouseRect mouse_parent_end() {
    return {MOUSE_PARENT_END, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, 0};
}
constexpr MouseRect mouse_end() {
    return {MOUSE_END, 0, 0, 0, 0, CURSOR_NONE, 0, 0, 0, nullptr, 0};
}
