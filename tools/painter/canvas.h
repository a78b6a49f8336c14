// A cairo drawing surface in face or bitmap pixels, and its conversion to the RGB
// picture a bitmap is written from.
#pragma once

#include "dib.h"
#include "scene.h"

#include <cairo.h>

#include <cstdint>
#include <string>

namespace artwork {

// Colours as 0xRRGGBB. Pure black is the transparent colour of everything drawn over a
// face, so visible black paint is never quite black.
inline constexpr std::uint32_t TRANSPARENT = 0x000000;
inline constexpr std::uint32_t PAINT_BLACK = 0x0B0B0C;
inline constexpr std::uint32_t DIAL_BLACK = 0x161618;
inline constexpr std::uint32_t BEZEL = 0x2C2D30;
inline constexpr std::uint32_t BEZEL_LIGHT = 0x4A4C50;
inline constexpr std::uint32_t MARK_WHITE = 0xF2F2EA;
inline constexpr std::uint32_t LIT_INK = 0xFFD9A0;     // dial markings under the panel lights
inline constexpr std::uint32_t ARC_GREEN = 0x18B838;
inline constexpr std::uint32_t ARC_YELLOW = 0xF0D020;
inline constexpr std::uint32_t ARC_RED = 0xE02018;
inline constexpr std::uint32_t ARC_WHITE = 0xF4F4F4;
inline constexpr std::uint32_t LAMP_AMBER = 0xFFB020;
inline constexpr std::uint32_t FLAG_RED = 0xD8261C;

enum class Font { BOLD, CONDENSED, CONDENSED_BOLD };

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void colour(std::uint32_t rgb, double alpha = 1.0);
    void fill_all(std::uint32_t rgb);
    void disc(Point centre, double radius, std::uint32_t rgb);
    void ring(Point centre, double radius, double width, std::uint32_t rgb);
    void line(Point from, Point to, double width, std::uint32_t rgb);
    void rect(double x, double y, double w, double h, std::uint32_t rgb);
    // A shiny metal disc: the bezel of a round instrument.
    void bezel(Point centre, double outer, double inner);
    // Text centred on `at`; `turn_degrees` turns it about that point.
    void text(Point at, const std::string& text, double size, std::uint32_t rgb, Font font = Font::CONDENSED_BOLD,
              double turn_degrees = 0);
    // Hatching of diagonal stripes over a rectangle, the "not valid" pattern of flags.
    void stripes(double x, double y, double w, double h, double pitch, std::uint32_t a, std::uint32_t b);

    // The picture, laid over `background`; pixels left transparent keep `background`.
    // Visible paint that would come out pure black becomes near black.
    RgbImage image(std::uint32_t background = TRANSPARENT) const;

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

} // namespace artwork
