#include "relief.h"

#include <algorithm>
#include <cmath>

constexpr float to_pixels = 1.0f / supersampling;

float sample_centre(int32_t sample)
{
    return (static_cast<float>(sample) + 0.5f) * to_pixels;
}

void draw_flat(Canvas& canvas, int32_t left, int32_t top, int32_t width, int32_t height, const Inside& inside,
               Colour colour)
{
    const Field mask = field_rasterise(width, height, supersampling, inside);
    canvas_draw_field(canvas, left, top, mask, supersampling, [colour](int32_t, int32_t) { return colour; });
}

static float relief_slope(const Relief& relief, float distance)
{
    if (relief.rounded)
        return relief.steepness * pillow_slope(distance, relief.bevel);
    return distance < relief.bevel ? relief.steepness : 0.0f;
}

void draw_covering(Canvas& canvas, int32_t left, int32_t top, int32_t width, int32_t height,
                   const Paint& paint)
{
    const Field full = field_rasterise(width, height, supersampling, [](float, float) { return true; });
    canvas_draw_field(canvas, left, top, full, supersampling,
                      [&](int32_t x, int32_t y) { return paint(sample_centre(x), sample_centre(y)); });
}

Normal chamfer_normal(float x, float y, float width, float height, float bevel, float steepness)
{
    const float edges[4] = {x, y, width - x, height - y};
    const int32_t nearest = static_cast<int32_t>(std::min_element(edges, edges + 4) - edges);
    if (edges[nearest] >= bevel)
        return {0.0f, 0.0f, 1.0f};
    const float rise[4][2] = {{-steepness, 0.0f}, {0.0f, -steepness}, {steepness, 0.0f}, {0.0f, steepness}};
    const float length = std::sqrt(steepness * steepness + 1.0f);
    return {rise[nearest][0] / length, rise[nearest][1] / length, 1.0f / length};
}

void draw_relief(Canvas& canvas, int32_t left, int32_t top, int32_t width, int32_t height,
                 const Inside& inside, const Relief& relief, const Paint& paint)
{
    const Field mask = field_rasterise(width, height, supersampling, inside);
    if (relief.rim > 0.0f) {
        const Field gap = field_distance_outside(mask);
        Field rim = field_make(mask.width, mask.height);
        for (size_t i = 0; i < rim.values.size(); ++i)
            rim.values[i] = gap.values[i] > 0.0f && gap.values[i] * to_pixels <= relief.rim ? 1.0f : 0.0f;
        const Colour colour = relief.rim_colour;
        canvas_draw_field(canvas, left, top, rim, supersampling,
                          [colour](int32_t, int32_t) { return colour; });
    }
    // Exact distances of a sampled shape step by whole samples; a light blur
    // keeps the normals taken from them free of ripples.
    const Field depth = field_blur(field_distance_inside(mask), 2.0f);
    canvas_draw_field(canvas, left, top, mask, supersampling, [&](int32_t x, int32_t y) {
        const float slope = relief_slope(relief, grid_get(depth, x, y) * to_pixels);
        const Normal normal = surface_normal(depth, x, y, slope);
        const Colour face = paint(sample_centre(x), sample_centre(y));
        return light_surface(face, normal, relief.gloss, relief.shininess);
    });
}

// Proportional lines: a glyph takes its used columns plus one of spacing; a
// blank glyph (space) takes three plus one.
constexpr float proportional_gap = 1.0f;
constexpr float blank_width = 3.0f;

static float used_columns(const GlyphSet& glyphs, int32_t code)
{
    return static_cast<float>(glyph_right(glyphs, code) - glyph_left(glyphs, code));
}

float letters_width(const GlyphSet& glyphs, const std::string& text, float unit)
{
    float width = -proportional_gap;
    for (char c : text) {
        const float used = used_columns(glyphs, static_cast<unsigned char>(c));
        width += (used > 0.0f ? used : blank_width) + proportional_gap;
    }
    return text.empty() ? 0.0f : width * unit;
}

std::vector<Letter> letters_line(const GlyphSet& glyphs, const std::string& text, const Layout& layout)
{
    const bool proportional = layout.advance <= 0.0f;
    std::vector<Letter> letters;
    float pen = layout.left;
    for (char c : text) {
        const int32_t code = static_cast<unsigned char>(c);
        const float first = static_cast<float>(glyph_left(glyphs, code));
        const float used = used_columns(glyphs, code);
        const float width = used > 0.0f ? used : blank_width;
        const float start = proportional ? pen : pen + (layout.advance - width * layout.unit) * 0.5f;
        if (used > 0.0f)
            letters.push_back({glyph_outline(glyphs, code, layout.softness), start - first * layout.unit,
                               layout.top, layout.unit, layout.slant});
        pen += proportional ? (width + proportional_gap) * layout.unit : layout.advance;
    }
    return letters;
}

bool letters_inside(const std::vector<Letter>& letters, float x, float y)
{
    for (const Letter& letter : letters) {
        const float v = (y - letter.top) / letter.unit;
        const float lean = (static_cast<float>(glyph_size) - v) * letter.unit * letter.slant;
        const float u = (x - letter.left - lean) / letter.unit;
        if (u > -1.0f && v > -1.0f && u < glyph_size + 1.0f && v < glyph_size + 1.0f &&
            outline_inside(letter.outline, u, v))
            return true;
    }
    return false;
}
