#include "paint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace artwork {

namespace {

constexpr double DEGREES = std::numbers::pi / 180.0;

Point along(const Calibration& dial, double value, double inset) {
    const double a = dial.angle_degrees(value) * DEGREES;
    const double r = dial.radius(value) - inset;
    return {dial.needle->position_x + r * std::cos(a), dial.needle->position_y + r * std::sin(a)};
}

bool mentions(const BitmapDeclaration& bitmap, const char* word) {
    std::string what = bitmap.what;
    std::transform(what.begin(), what.end(), what.begin(), [](unsigned char c) { return std::tolower(c); });
    return what.find(word) != std::string::npos;
}

} // namespace

Point Job::origin() const {
    const BitmapUse* use = first_use();
    if (use == nullptr || use->element == use->gauge->root) return {};
    if (use->element->kind == ELEMENT_NEEDLE || use->element->kind == ELEMENT_SPRITE) return {};
    return {static_cast<double>(use->element->position_x), static_cast<double>(use->element->position_y)};
}

Calibration Job::dial() const {
    const BitmapUse* use = first_use();
    if (use == nullptr) return {};
    Calibration own = Scene::calibration_of(*use);
    if (!own.empty()) return own;
    std::vector<Calibration> tables = scene.dial_tables(use->gauge->root->bitmap_id);
    return tables.empty() ? Calibration{} : tables.front();
}

const BitmapDeclaration* Job::declaration(u32 id) const {
    for (const BitmapDeclaration& d : declarations) {
        if (d.id == id) return &d;
    }
    return nullptr;
}

std::vector<double> steps(double first, double last, double step) {
    std::vector<double> values;
    const int count = static_cast<int>(std::floor((last - first) / step + 1e-6));
    for (int i = 0; i <= count; ++i) values.push_back(first + i * step);
    return values;
}

std::string number_text(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

EvenDial even_dial(const ElementHeader* needle, double first, double last, int count, double start_degrees,
                   double turn_degrees, double radius) {
    EvenDial dial;
    for (int i = 0; i < count; ++i) {
        const double a = (start_degrees + turn_degrees * i / (count - 1)) * DEGREES;
        dial.entries.push_back({static_cast<i32>(std::lround(needle->position_x + radius * std::cos(a))),
                                static_cast<i32>(std::lround(needle->position_y + radius * std::sin(a))),
                                first + (last - first) * i / (count - 1), {}});
    }
    return dial;
}

DialDesign design_from_table(const Calibration& dial) {
    DialDesign design;
    for (u32 i = 0; i < dial.count; ++i) {
        design.major.push_back(dial.table[i].value);
        design.numerals.push_back({dial.table[i].value, number_text(dial.table[i].value)});
    }
    return design;
}

void draw_dial(Canvas& canvas, const Calibration& dial, const DialDesign& design, std::uint32_t ink) {
    cairo_t* cr = canvas.cr();
    for (const Arc& arc : design.arcs) {
        cairo_new_path(cr);
        const int samples = 48;
        for (int i = 0; i <= samples; ++i) {
            Point p = along(dial, arc.from + (arc.to - arc.from) * i / samples, arc.inset + arc.width / 2);
            if (i == 0) cairo_move_to(cr, p.x, p.y);
            else cairo_line_to(cr, p.x, p.y);
        }
        canvas.colour(arc.colour);
        cairo_set_line_width(cr, arc.width);
        cairo_stroke(cr);
    }
    for (double v : design.minor) canvas.line(along(dial, v, 0), along(dial, v, design.minor_length), 2, ink);
    for (double v : design.major) canvas.line(along(dial, v, 0), along(dial, v, design.major_length), 3, ink);
    for (double v : design.red_lines) canvas.line(along(dial, v, -1), along(dial, v, design.major_length + 3), 4, ARC_RED);
    for (const Numeral& n : design.numerals) {
        canvas.text(along(dial, n.value, design.numeral_inset), n.text, design.numeral_size, ink);
    }
}

double draw_instrument_body(Canvas& canvas, Point centre, double outer_radius) {
    canvas.bezel(centre, outer_radius, outer_radius - 9);
    canvas.disc(centre, outer_radius - 9, DIAL_BLACK);
    return outer_radius - 9;
}

void draw_pointer(Canvas& canvas, Point pivot, double tip_length, double tail_length, double half_width,
                  std::uint32_t fill, std::uint32_t hub) {
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, pivot.x - tail_length, pivot.y - half_width * 0.8);
    cairo_line_to(cr, pivot.x + tip_length * 0.72, pivot.y - half_width);
    cairo_line_to(cr, pivot.x + tip_length, pivot.y);
    cairo_line_to(cr, pivot.x + tip_length * 0.72, pivot.y + half_width);
    cairo_line_to(cr, pivot.x - tail_length, pivot.y + half_width * 0.8);
    cairo_close_path(cr);
    canvas.colour(fill);
    cairo_fill_preserve(cr);
    canvas.colour(0x505050);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    canvas.disc(pivot, std::max(2.0, half_width * 1.6), hub);
}

double needle_reach(const Job& job) {
    const BitmapUse* use = job.first_use();
    const ElementHeader* e = use->element;
    const double room = job.bitmap.width - 1 - e->offset_x;
    Calibration dial = Scene::calibration_of(*use);
    if (dial.empty()) return std::max(1.0, static_cast<double>(e->offset_y));
    std::vector<double> radii;
    for (u32 i = 0; i < dial.count; ++i) radii.push_back(dial.radius(dial.table[i].value));
    std::nth_element(radii.begin(), radii.begin() + radii.size() / 2, radii.end());
    return std::min(room, radii[radii.size() / 2]);
}

void draw_face_markings(Canvas& canvas, const Job& job, u32 face_id, const std::vector<DialDesign>& dials,
                        const std::vector<FaceText>& texts, std::uint32_t ink, Point origin) {
    cairo_save(canvas.cr());
    cairo_translate(canvas.cr(), -origin.x, -origin.y);
    const std::vector<Calibration> tables = job.scene.dial_tables(face_id);
    for (std::size_t i = 0; i < tables.size() && i < dials.size(); ++i) {
        DialDesign design = dials[i];
        if (ink != 0) {
            for (Arc& arc : design.arcs) arc.colour = ink;
        }
        draw_dial(canvas, tables[i], design, ink != 0 ? ink : MARK_WHITE);
    }
    for (const FaceText& t : texts) canvas.text(t.at, t.text, t.size, ink != 0 ? ink : t.colour, t.font);
    cairo_restore(canvas.cr());
}

void draw_readout_windows(Canvas& canvas, const Job& job) {
    for (const BitmapUse& use : job.uses()) {
        for (const ElementHeader* e : use.gauge->elements) {
            if (e->kind != ELEMENT_STRING) continue;
            auto* readout = reinterpret_cast<const StringElement*>(e);
            const double x = e->position_x, y = e->position_y, bw = readout->width, bh = readout->height;
            canvas.rect(x - 3, y - 3, bw + 6, bh + 6, BEZEL_LIGHT);
            canvas.rect(x - 1, y - 1, bw + 2, bh + 2, PAINT_BLACK);
        }
    }
}

void draw_dial_face(Canvas& canvas, const Job& job, const std::vector<DialDesign>& dials, const std::vector<FaceText>& texts) {
    const double w = job.bitmap.width, h = job.bitmap.height;
    draw_instrument_body(canvas, {w / 2, h / 2}, std::min(w, h) / 2);
    draw_readout_windows(canvas, job);
    draw_face_markings(canvas, job, job.bitmap.id, dials, texts, 0, {});
}

const ElementHeader* element_showing(const Scene& scene, u32 id) {
    const std::vector<BitmapUse>& uses = scene.uses(id);
    return uses.empty() ? nullptr : uses.front().element;
}

Point position_of(const ElementHeader* element) {
    return element == nullptr ? Point{} : Point{static_cast<double>(element->position_x), static_cast<double>(element->position_y)};
}

SpriteGeometry sprite_geometry(const Job& job) {
    const ElementHeader* e = job.first_use()->element;
    auto* sprite = reinterpret_cast<const SpriteElement*>(e);
    const double scale = std::isfinite(sprite->texture_scale_x) && sprite->texture_scale_x > 0 ? sprite->texture_scale_x : 1.0;
    const Point centre{static_cast<double>(e->offset_x), static_cast<double>(e->offset_y)};
    double radius = std::min({centre.x, centre.y, job.bitmap.width - centre.x, job.bitmap.height - centre.y});
    if (const BitmapDeclaration* window = job.declaration(job.bitmap.id + 1)) {
        radius = std::min(radius, std::min(window->width, window->height) / 2.0 / scale);
    }
    return {centre, radius, scale};
}

Point sprite_centre_on_face(const Job& job, u32 sprite_id) {
    const ElementHeader* sprite = element_showing(job.scene, sprite_id);
    const BitmapDeclaration* window = job.declaration(sprite_id + 1);
    if (sprite == nullptr || window == nullptr) return {job.bitmap.width / 2.0, job.bitmap.height / 2.0};
    return {sprite->position_x + window->width / 2.0, sprite->position_y + window->height / 2.0};
}

double strip_pixel(const Job& job, bool vertical, double value, double index) {
    auto* moving = reinterpret_cast<const MovingElement*>(job.first_use()->element);
    const double minimum = vertical ? moving->minimum_y : moving->minimum_x;
    const double maximum = vertical ? moving->maximum_y : moving->maximum_x;
    const BitmapDeclaration* window = job.declaration(job.bitmap.id + 1);
    const double strip = vertical ? job.bitmap.height : job.bitmap.width;
    const double shown = window == nullptr ? strip : (vertical ? window->height : window->width);
    const double position = maximum == minimum ? 0 : (value - minimum) / (maximum - minimum);
    return std::max(0.0, strip - shown) * position + index;
}

void draw_knob(Canvas& canvas, Point centre, double radius, const std::string& label) {
    canvas.disc(centre, radius + 2, 0x101012);
    cairo_pattern_t* shade = cairo_pattern_create_radial(centre.x - radius * 0.4, centre.y - radius * 0.4, 1, centre.x, centre.y, radius);
    cairo_pattern_add_color_stop_rgb(shade, 0, 0.42, 0.43, 0.45);
    cairo_pattern_add_color_stop_rgb(shade, 1, 0.12, 0.12, 0.13);
    cairo_new_path(canvas.cr());
    cairo_arc(canvas.cr(), centre.x, centre.y, radius, 0, 2 * std::numbers::pi);
    cairo_set_source(canvas.cr(), shade);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(shade);
    for (int i = 0; i < 24; ++i) {
        const double a = i * 15 * DEGREES;
        canvas.line({centre.x + (radius - 3) * std::cos(a), centre.y + (radius - 3) * std::sin(a)},
                    {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)}, 1.2, 0x0E0E10);
    }
    if (!label.empty()) canvas.text({centre.x, centre.y + radius + 9}, label, 10, MARK_WHITE);
}

RgbImage paint_generic_face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Calibration dial = job.dial();
    Point centre{job.bitmap.width / 2.0, job.bitmap.height / 2.0};
    if (!dial.empty()) centre = {static_cast<double>(dial.needle->position_x), static_cast<double>(dial.needle->position_y)};
    const double outer = std::min({centre.x, centre.y, job.bitmap.width - centre.x, job.bitmap.height - centre.y});
    draw_instrument_body(canvas, centre, outer);
    if (!dial.empty()) draw_dial(canvas, dial, design_from_table(dial), MARK_WHITE);
    canvas.disc(centre, 6, BEZEL_LIGHT);
    return canvas.image();
}

RgbImage paint_generic_needle(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const ElementHeader* e = job.first_use()->element;
    const Point pivot{e->offset_x + 0.5, e->offset_y + 0.5};
    const double reach = needle_reach(job);
    const bool upright = Scene::calibration_of(*job.first_use()).empty();
    if (upright) {
        cairo_translate(canvas.cr(), pivot.x, pivot.y);
        cairo_rotate(canvas.cr(), -std::numbers::pi / 2);
        cairo_translate(canvas.cr(), -pivot.x, -pivot.y);
    }
    const double half = std::max(1.0, std::min(job.bitmap.height / 2.0 - 1, job.bitmap.width / 2.0 - 1) * 0.45);
    const double tail = std::min(upright ? job.bitmap.height - 1 - pivot.y : pivot.x, reach * 0.25);
    draw_pointer(canvas, pivot, reach, std::max(0.0, tail), upright ? std::min(half, job.bitmap.width / 4.0) : half,
                 MARK_WHITE, 0x2A2A2A);
    return canvas.image();
}

RgbImage paint_companion(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    const ElementHeader* strip_or_texture = element_showing(job.scene, job.bitmap.id - 1);
    if (strip_or_texture != nullptr && strip_or_texture->kind == ELEMENT_SPRITE) {
        cairo_save(canvas.cr());
        cairo_translate(canvas.cr(), w / 2, h / 2);
        cairo_scale(canvas.cr(), w / 2, h / 2);
        cairo_arc(canvas.cr(), 0, 0, 1, 0, 2 * std::numbers::pi);
        cairo_restore(canvas.cr());
        canvas.colour(0xC8C8C8);
        cairo_fill(canvas.cr());
    } else {
        canvas.rect(0, 0, w, h, 0xC8C8C8);
    }
    return canvas.image();
}

RgbImage paint_lamp(const Job& job, const std::vector<std::uint32_t>& picture_colours, const std::string& label) {
    const BitmapUse* use = job.first_use();
    const int picture = use == nullptr ? 0 : use->picture;
    const std::uint32_t glass = picture_colours[std::min<std::size_t>(picture, picture_colours.size() - 1)];
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const Point c{job.bitmap.width / 2.0, job.bitmap.height / 2.0};
    const double r = std::min(c.x, c.y);
    canvas.disc(c, r, BEZEL);
    canvas.disc(c, r - 2, 0x3A3C40);
    cairo_pattern_t* shine = cairo_pattern_create_radial(c.x - r * 0.3, c.y - r * 0.3, 0, c.x, c.y, r - 3);
    const double red = ((glass >> 16) & 0xFF) / 255.0, green = ((glass >> 8) & 0xFF) / 255.0, blue = (glass & 0xFF) / 255.0;
    cairo_pattern_add_color_stop_rgb(shine, 0, std::min(1.0, red + 0.35), std::min(1.0, green + 0.35), std::min(1.0, blue + 0.35));
    cairo_pattern_add_color_stop_rgb(shine, 1, red * 0.7, green * 0.7, blue * 0.7);
    cairo_new_path(canvas.cr());
    cairo_arc(canvas.cr(), c.x, c.y, r - 3.5, 0, 2 * std::numbers::pi);
    cairo_set_source(canvas.cr(), shine);
    cairo_fill(canvas.cr());
    cairo_pattern_destroy(shine);
    if (!label.empty()) canvas.text(c, label, r * 0.65, picture == 0 ? 0x6A5A40 : 0x1A1408);
    return canvas.image();
}

RgbImage paint_flag(const Job& job, const std::string& label) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    canvas.stripes(0, 0, w, h, std::max(4.0, std::min(w, h) / 3), FLAG_RED, 0xF4F4F0);
    if (!label.empty()) {
        const bool upright = h > w * 2;
        const double size = std::min(upright ? w : h, 16.0) * 0.8;
        canvas.rect(upright ? 1 : w / 2 - label.size() * size * 0.35, upright ? h / 2 - label.size() * size * 0.6 : 1,
                    upright ? w - 2 : label.size() * size * 0.7, upright ? label.size() * size * 1.2 : h - 2, FLAG_RED);
        if (upright) {
            for (std::size_t i = 0; i < label.size(); ++i) {
                canvas.text({w / 2, h / 2 + (i - (label.size() - 1) / 2.0) * size * 1.15}, std::string(1, label[i]),
                            size, 0xF4F4F0);
            }
        } else {
            canvas.text({w / 2, h / 2}, label, size, 0xF4F4F0);
        }
    }
    return canvas.image();
}

RgbImage paint_label_plate(const Job& job, const std::string& label) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    canvas.rect(0, 0, w, h, BEZEL);
    canvas.rect(1, 1, w - 2, h - 2, 0x232427);
    if (!label.empty()) canvas.text({w / 2, h / 2}, label, std::min(h * 0.6, w / (label.size() * 0.6 + 1)), MARK_WHITE);
    return canvas.image(PAINT_BLACK);
}

RgbImage paint_generic(const Job& job) {
    if (job.scene.is_companion(job.bitmap.id)) return paint_companion(job);
    const BitmapUse* use = job.first_use();
    if (use == nullptr) return paint_label_plate(job, "");
    switch (use->element->kind) {
    case ELEMENT_STATIC: return paint_generic_face(job);
    case ELEMENT_NEEDLE: return paint_generic_needle(job);
    case ELEMENT_ICON:
        if (mentions(job.bitmap, "lamp")) return paint_lamp(job, {0x3A2A10, LAMP_AMBER, 0xFFF0C0});
        if (mentions(job.bitmap, "flag")) return paint_flag(job, "");
        return paint_label_plate(job, "");
    default: break;
    }
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    canvas.rect(0, 0, job.bitmap.width, job.bitmap.height, 0x6A6C70);
    return canvas.image();
}

RgbImage paint(const std::string& module, const Job& job) {
    for (const ModulePainters* set : {&engine_painters(), &primary_flight_painters(), &radio_altimeter_painters(),
                                      &compass_painters(), &attitude_director_painters(), &situation_indicator_painters()}) {
        if (module != set->module) continue;
        for (const auto& [id, painter] : set->painters) {
            if (id == job.bitmap.id) return painter(job);
        }
    }
    return paint_generic(job);
}

} // namespace artwork
