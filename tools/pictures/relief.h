// Relief: raised, lit and outlined shapes drawn from an inside test, and
// lines of letters laid out from the smoothed glyph outlines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "field.h"
#include "glyphs.h"

constexpr int32_t supersampling = 4;  // samples per pixel along each axis

// Pixel coordinate of the centre of a sample.
float sample_centre(int32_t sample);

struct Relief {
    float bevel;      // width of the sloping border, pixels
    bool rounded;     // quarter-round profile instead of a straight chamfer
    float steepness;  // height gained per pixel on a straight chamfer
    float rim;        // width of the dark rim around the shape, 0 for none
    Colour rim_colour;
    float gloss;
    float shininess;
};

// Face colour at a position in pixel units, relative to the drawn area.
using Paint = std::function<Colour(float x, float y)>;

// Draws the shape inside the area (left, top, width, height); `inside` and
// `paint` get coordinates relative to the area's corner.
void draw_relief(Canvas& canvas, int32_t left, int32_t top, int32_t width, int32_t height,
                 const Inside& inside, const Relief& relief, const Paint& paint);
// Draws the shape in one flat colour, antialiased.
void draw_flat(Canvas& canvas, int32_t left, int32_t top, int32_t width, int32_t height, const Inside& inside,
               Colour colour);

// Fills the whole area, averaging the colour at each sample (pixel units).
void draw_covering(Canvas& canvas, int32_t left, int32_t top, int32_t width, int32_t height,
                   const Paint& paint);
// Normal of a rectangle of the given size with chamfered edges `bevel` wide
// rising `steepness` per pixel; flat inside.
Normal chamfer_normal(float x, float y, float width, float height, float bevel, float steepness);

struct Letter {
    Field outline;
    float left;   // where glyph column 0 starts, pixels
    float top;    // where glyph row 0 starts, pixels
    float unit;   // pixels per glyph pixel
    float slant;  // rightward lean per pixel of height, for italics
};

struct Layout {
    float left;  // pen start, pixels
    float top;
    float unit;      // pixels per glyph pixel
    float slant;     // rightward lean per pixel of height
    float softness;  // corner rounding, glyph pixels
    float advance;   // width of each glyph's cell, pixels; 0 packs them proportionally
};

// Lays a line of text out. In cells of a fixed advance every glyph is
// centred; proportional lines pack the glyphs' used columns one glyph pixel
// apart, a space taking three.
std::vector<Letter> letters_line(const GlyphSet& glyphs, const std::string& text, const Layout& layout);
// Width in pixels of a proportional line, from the first used column to the last.
float letters_width(const GlyphSet& glyphs, const std::string& text, float unit);
bool letters_inside(const std::vector<Letter>& letters, float x, float y);
