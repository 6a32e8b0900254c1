// Glyphs: the hand-drawn 8x8 font read from its text file, and smooth
// outlines grown from it for the large letters of the other pictures.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "field.h"

constexpr int32_t glyph_count = 128;
constexpr int32_t glyph_size = 8;

// Row y of code c is rows[c][y]; bit 7 is the leftmost pixel.
struct GlyphSet {
    std::array<std::array<uint8_t, glyph_size>, glyph_count> rows;
};

// Reads the font file; throws std::runtime_error naming the bad line.
GlyphSet glyphs_load(const std::string& path);
bool glyph_bit(const GlyphSet& glyphs, int32_t code, int32_t x, int32_t y);
// First and one past the last column holding a set pixel (0, 0 when empty).
int32_t glyph_left(const GlyphSet& glyphs, int32_t code);
int32_t glyph_right(const GlyphSet& glyphs, int32_t code);

// A smoothed outline of a glyph: the pixels are magnified with the Scale2x
// rule three times (diagonal steps become slopes) and softened by
// `softness` glyph pixels, so that outline_inside gives stair-free letters
// at any size, with corners the rounder the larger the softness.
Field glyph_outline(const GlyphSet& glyphs, int32_t code, float softness);
// u and v are in glyph pixels, 0 ... 8 across the cell.
bool outline_inside(const Field& outline, float u, float v);
