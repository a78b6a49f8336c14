// OIL1_Indicator and OIL2_Indicator: two needles on one face. The right-hand needle reads
// 0 to 141 on a scale marked downwards, the left-hand one 0 to 20000. Neither is clamped.
// The pointer rests over either half of the face show that half's help text.
#include "engine_gauges.h"

inline constexpr u32 OIL_FACE_BITMAP = 0x1500;
inline constexpr u32 OIL_ICON_BITMAP = 0x1510;
inline constexpr u32 OIL_NEEDLE_BITMAP = 0x1520;
inline constexpr u32 OIL_LEFT_HELP_ID = 0xAB4E;
inline constexpr u32 OIL_RIGHT_HELP_ID = 0xAB4F;

namespace {
f64 GAUGE_CALL oil_right_needle_value(ElementHeader* needle);
f64 GAUGE_CALL oil_left_needle_value(ElementHeader* needle);
f64 GAUGE_CALL oil_icon_value(ElementHeader* icon);

// Listed from the top of the scale down; 141 and 125 share a point.
NonlinearityEntry oil_right_marks[6] = {
    {211, 95, 141, {}}, {211, 95, 125, {}}, {230, 121, 100, {}}, {236, 167, 40, {}}, {223, 193, 20, {}}, {207, 208, 0, {}},
};
NonlinearityEntry oil_left_marks[4] = {
    {93, 210, 0, {}}, {64, 149, 15000, {}}, {75, 114, 19400, {}}, {94, 93, 20000, {}},
};

constexpr NeedlePlace OIL_RIGHT_NEEDLE = {OIL_NEEDLE_BITMAP, 171, 149, 1, 7};
constexpr NeedlePlace OIL_LEFT_NEEDLE = {OIL_NEEDLE_BITMAP, 135, 149, 1, 7};

// The variables each engine's needles show.
struct OilVariables {
    u32 right;
    u32 left;
};

constexpr OilGauge oil_gauge(OilGauge& self, const char* name, OilVariables variables) {
    return {
        .icon = engine_icon(self.header, OIL_ICON_BITMAP, 107, 28, 1, oil_icon_value),
        .needle_children = {&self.icon.header, nullptr},
        // The right-hand scale runs downwards, so its needle's turn limit is negative.
        .left_needle = engine_needle(self.header, OIL_LEFT_NEEDLE, variables.left, oil_left_marks, 1,
                                     oil_left_needle_value, self.needle_children),
        .right_needle = engine_needle(self.header, OIL_RIGHT_NEEDLE, variables.right, oil_right_marks, -3,
                                      oil_right_needle_value, self.needle_children),
        .face_children = {&self.right_needle.header, &self.left_needle.header, nullptr},
        .face = engine_face(self.header, OIL_FACE_BITMAP, self.face_children),
        .root = &self.face.header,
        .mouse_areas =
            {
                mouse_parent(0, 0, 0, 0, CURSOR_NONE, 0),
                mouse_parent(19, 18, 135, 266, CURSOR_NONE, OIL_LEFT_HELP_ID),
                mouse_parent_end(),
                mouse_parent(155, 18, 135, 266, CURSOR_NONE, OIL_RIGHT_HELP_ID),
                mouse_parent_end(),
                mouse_parent_end(),
                mouse_end(),
            },
        .header = engine_header(name, self.root, self.mouse_areas),
    };
}
} // namespace

constinit OilGauge oil1_indicator =
    oil_gauge(oil1_indicator, "OIL1_Indicator", {VAR_ENG1_OIL_RIGHT_SCALE, VAR_ENG1_OIL_LEFT_SCALE});
constinit OilGauge oil2_indicator =
    oil_gauge(oil2_indicator, "OIL2_Indicator", {VAR_ENG2_OIL_RIGHT_SCALE, VAR_ENG2_OIL_LEFT_SCALE});

namespace {
f64 GAUGE_CALL oil_right_needle_value(ElementHeader* needle) {
    return needle_input(needle) * 0.09259259259259259;
}

f64 GAUGE_CALL oil_left_needle_value(ElementHeader* needle) {
    return needle_input(needle);
}

f64 GAUGE_CALL oil_icon_value(ElementHeader*) {
    return 0;
}
} // namespace
