// The 1-bit font picture and the two 128x16 sprite strips.
#include <algorithm>
#include <cmath>

#include "relief.h"
#include "sheets.h"

Canvas sheet_font(const GlyphSet& glyphs)
{
    constexpr int32_t per_row = 16;
    constexpr int32_t rows = 18;  // codes 128 ... 287 stay empty
    Canvas sheet = canvas_make(per_row * glyph_size, rows * glyph_size);
    for (int32_t code = 0; code < glyph_count; ++code)
        for (int32_t y = 0; y < glyph_size; ++y)
            for (int32_t x = 0; x < glyph_size; ++x)
                if (glyph_bit(glyphs, code, x, y))
                    grid_set(sheet, code % per_row * glyph_size + x, code / per_row * glyph_size + y,
                             0xFFFFFF);
    return sheet;
}

constexpr int32_t strip_cell = 16;

// White, red, orange, yellow-green, green, cyan, magenta, pink.
constexpr Colour block_colours[8] = {
    {0.9f, 0.9f, 0.95f}, {0.9f, 0.1f, 0.1f}, {1.0f, 0.55f, 0.1f},   {0.65f, 0.9f, 0.1f},
    {0.1f, 0.8f, 0.2f},  {0.1f, 0.8f, 0.9f}, {0.85f, 0.15f, 0.85f}, {1.0f, 0.5f, 0.7f},
};

// Bevelled 16x16 blocks: a lit top-left chamfer, a shadowed bottom-right one
// and a face that darkens slightly toward the bottom. The ambient light keeps
// every pixel above black.
Canvas sheet_blocks()
{
    Canvas sheet = canvas_make(8 * strip_cell, strip_cell);
    constexpr float size = static_cast<float>(strip_cell);
    for (int32_t block = 0; block < 8; ++block) {
        const Colour base = block_colours[block];
        draw_covering(sheet, block * strip_cell, 0, strip_cell, strip_cell, [base](float x, float y) {
            const Normal normal = chamfer_normal(x, y, size, size, 2.5f, 1.0f);
            return light_surface(colour_scale(base, 1.05f - 0.2f * y / size), normal, 0.35f, 25.0f);
        });
    }
    return sheet;
}

// Soap bubbles seen from afar to close up: thin cyan rings, brighter where
// the light from the top left strikes them, with a glint on the larger ones.
Canvas sheet_bubbles()
{
    Canvas sheet = canvas_make(8 * strip_cell, strip_cell);
    constexpr float centre = strip_cell / 2.0f;
    for (int32_t step = 0; step < 8; ++step) {
        const float radius = 1.6f + 0.85f * static_cast<float>(step);
        const float thickness = 0.9f + 0.1f * static_cast<float>(step);
        const float glint = radius * 0.45f;
        const Inside ring = [=](float x, float y) {
            const float r = std::hypot(x - centre, y - centre);
            const float g = std::hypot(x - centre + glint, y - centre + glint);
            return std::abs(r - radius + thickness / 2.0f) < thickness / 2.0f ||
                   (step >= 3 && g < 0.35f + 0.1f * step);
        };
        const Field mask = field_rasterise(strip_cell, strip_cell, supersampling, ring);
        canvas_draw_field(sheet, step * strip_cell, 0, mask, supersampling, [=](int32_t sx, int32_t sy) {
            const float dx = sample_centre(sx) - centre;
            const float dy = sample_centre(sy) - centre;
            const float toward_light = -(dx + dy) / (std::hypot(dx, dy) * 1.4142f + 0.001f);
            const float bright = std::hypot(dx, dy) < radius - thickness ? 1.0f : 0.6f + 0.4f * toward_light;
            return colour_mix({0.05f, 0.45f, 0.6f}, {0.7f, 1.0f, 1.0f}, std::clamp(bright, 0.0f, 1.0f));
        });
    }
    return sheet;
}
