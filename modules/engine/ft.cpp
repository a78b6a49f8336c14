// FT1_Indicator and FT2_Indicator: both show the one FT variable on a 0 to 100 dial that
// stands for -25 to 55. Near either end of the dial each gauge switches its icon to the
// warning picture; each keeps its own warning cell.
#include "engine_gauges.h"

inline constexpr u32 FT_FACE_BITMAP = 0x1600;
inline constexpr u32 FT_ICON_BITMAP = 0x1610; // 0x1611: the warning picture
inline constexpr u32 FT_NEEDLE_BITMAP = 0x1620;

namespace {
f64 GAUGE_CALL ft1_needle_value(ElementHeader* needle);
f64 GAUGE_CALL ft1_icon_value(ElementHeader* icon);
f64 GAUGE_CALL ft2_needle_value(ElementHeader* needle);
f64 GAUGE_CALL ft2_icon_value(ElementHeader* icon);

NonlinearityEntry ft_marks[3] = {{27, 146, 0, {}}, {94, 72, 50, {}}, {161, 146, 100, {}}};

constexpr NeedlePlace FT_NEEDLE = {FT_NEEDLE_BITMAP, 94, 139, 5, 5};

// What differs between the two FT gauges: the callbacks bound to their own warning cell.
struct FtCallbacks {
    ValueCallback needle_value;
    ValueCallback icon_value;
};

constexpr FtGauge ft_gauge(FtGauge& self, const char* name, FtCallbacks callbacks) {
    return {
        .warning_icon = engine_icon(self.header, FT_ICON_BITMAP, 43, 8, 2, callbacks.icon_value),
        .needle_children = {&self.warning_icon.header, nullptr},
        .needle = engine_needle(self.header, FT_NEEDLE, VAR_FT_VALUE, ft_marks, 1, callbacks.needle_value,
                                self.needle_children),
        .face_children = {&self.needle.header, nullptr},
        .face = engine_face(self.header, FT_FACE_BITMAP, self.face_children),
        .root = &self.face.header,
        .mouse_areas = {mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0), mouse_parent_end(), mouse_end()},
        .header = engine_header(name, self.root, self.mouse_areas),
    };
}
} // namespace

constinit FtGauge ft1_indicator = ft_gauge(ft1_indicator, "FT1_Indicator", {ft1_needle_value, ft1_icon_value});
constinit FtGauge ft2_indicator = ft_gauge(ft2_indicator, "FT2_Indicator", {ft2_needle_value, ft2_icon_value});

namespace {
// 1 while the gauge's needle stands in a warning band, as its last update left it.
i32 ft1_warning = 0;
i32 ft2_warning = 0;

// Dial position 0 to 100 for an FT value; sets `warning` when the position lies outside
// 10 to 90.
f64 ft(f64 value, i32& warning) {
    f64 position;
    if (!(value > -25)) {
        position = 0;
    } else if (!(value < 55)) {
        position = 100;
    } else {
        position = (value + 25) * 1.25;
    }
    warning = position < 10 || position > 90 ? 1 : 0;
    return position;
}

f64 GAUGE_CALL ft1_needle_value(ElementHeader* needle) {
    return ft(needle_input(needle), ft1_warning);
}

f64 GAUGE_CALL ft1_icon_value(ElementHeader*) {
    return ft1_warning;
}

f64 GAUGE_CALL ft2_needle_value(ElementHeader* needle) {
    return ft(needle_input(needle), ft2_warning);
}

f64 GAUGE_CALL ft2_icon_value(ElementHeader*) {
    return ft2_warning;
}
} // namespace
