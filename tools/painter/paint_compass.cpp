// The pictures of the whiskey compass: the case with its lubber marks, the lit marks and
// the card strip.
#include "paint.h"

#include <cmath>

namespace artwork {

namespace {

constexpr u32 FACE = 0x1000;
constexpr u32 CARD_STRIP = 0x2000;
constexpr u32 LIT_FACE = 0x2002;

constexpr std::uint32_t CARD_COLOUR = 0x1E1E21;
constexpr double DEGREES_PER_TICK = 5;

// The card's band on the face, from the strip element's position and height.
struct CardBand {
    double top, bottom, middle_x;
};

CardBand card_band(const Job& job) {
    const ElementHeader* card = element_showing(job.scene, CARD_STRIP);
    const BitmapDeclaration* strip = job.declaration(CARD_STRIP);
    const double top = card == nullptr ? 10 : card->position_y;
    return {top, top + (strip == nullptr ? 30 : strip->height), job.bitmap.width / 2.0};
}

// Lubber marks above and below the card window, pointing at the card's middle.
void draw_lubber_marks(Canvas& canvas, const CardBand& band, std::uint32_t ink) {
    cairo_t* cr = canvas.cr();
    cairo_new_path(cr);
    cairo_move_to(cr, band.middle_x, band.top + 2);
    cairo_line_to(cr, band.middle_x - 4, band.top - 6);
    cairo_line_to(cr, band.middle_x + 4, band.top - 6);
    cairo_close_path(cr);
    cairo_move_to(cr, band.middle_x, band.bottom - 2);
    cairo_line_to(cr, band.middle_x - 4, band.bottom + 6);
    cairo_line_to(cr, band.middle_x + 4, band.bottom + 6);
    cairo_close_path(cr);
    canvas.colour(ink);
    cairo_fill(cr);
}

RgbImage face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double w = job.bitmap.width, h = job.bitmap.height;
    const CardBand band = card_band(job);
    canvas.rect(0, 0, w, h, 0x2A2B2E);
    canvas.rect(1, 1, w - 2, h - 2, 0x333539);
    canvas.rect(2, band.top - 1, w - 4, band.bottom - band.top + 2, PAINT_BLACK);
    draw_lubber_marks(canvas, band, 0xE8E0D0);
    for (Point screw : {Point{5, 5}, Point{w - 5, 5}, Point{5, h - 5}, Point{w - 5, h - 5}}) canvas.disc(screw, 2, 0x55575C);
    return canvas.image();
}

RgbImage lit_face(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    draw_lubber_marks(canvas, card_band(job), LIT_INK);
    return canvas.image();
}

// Headings fall from left to right; the gauge hands over 360 - heading, so heading h
// sits under the window's middle where the strip shows the value 360 - h.
RgbImage card_strip(const Job& job) {
    Canvas canvas(job.bitmap.width, job.bitmap.height);
    const double h = job.bitmap.height;
    canvas.rect(0, 0, job.bitmap.width, h, CARD_COLOUR);
    const BitmapDeclaration* window = job.declaration(job.bitmap.id + 1);
    const double index = (window == nullptr ? job.bitmap.width : window->width) / 2.0;
    static const char* const NAMES[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
    const double pixels_per_degree = strip_pixel(job, false, 1, 0);
    const double first = -std::ceil(index / pixels_per_degree / DEGREES_PER_TICK) * DEGREES_PER_TICK;
    for (double value = first; strip_pixel(job, false, value, index) < job.bitmap.width + 20; value += DEGREES_PER_TICK) {
        const double x = strip_pixel(job, false, value, index);
        const int heading = ((360 - static_cast<int>(std::lround(value))) % 360 + 360) % 360;
        const bool labelled = heading % 30 == 0;
        canvas.line({x, 0}, {x, labelled ? 7.0 : (heading % 10 == 0 ? 5.0 : 3.5)}, 1.3, MARK_WHITE);
        if (labelled) {
            const bool cardinal = heading % 90 == 0;
            canvas.text({x, h / 2 + 4}, NAMES[heading / 30], cardinal ? 14 : 12, cardinal ? 0xFFFFFF : MARK_WHITE);
        }
    }
    return canvas.image();
}

} // namespace

const ModulePainters& compass_painters() {
    static const ModulePainters painters{"Quistral",
                                         {
                                             {FACE, face},
                                             {CARD_STRIP, card_strip},
                                             {LIT_FACE, lit_face},
                                         }};
    return painters;
}

} // namespace artwork
