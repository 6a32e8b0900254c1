// The D-shaped soap window: straight on the left, a half circle on the right.
// Two of them stacked make the B the demo swings in from the sides.
#include <algorithm>
#include <cmath>

#include "relief.h"
#include "sheets.h"

constexpr int32_t window_width = 256;
constexpr int32_t window_height = 128;

static bool d_inside(float x, float y)
{
    constexpr float left = 4.0f;
    constexpr float top = 2.0f;
    constexpr float bottom = 126.0f;
    constexpr float radius = (bottom - top) / 2.0f;
    constexpr float bow_x = 252.0f - radius;
    if (x < left || y < top || y > bottom)
        return false;
    return x <= bow_x || std::hypot(x - bow_x, y - (top + radius)) <= radius;
}

static bool pixel_inside(int32_t x, int32_t y)
{
    return d_inside(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
}

Canvas sheet_window_mask()
{
    Canvas mask = canvas_make(window_width, window_height);
    for (int32_t y = 0; y < window_height; ++y)
        for (int32_t x = 0; x < window_width; ++x)
            if (pixel_inside(x, y))
                grid_set(mask, x, y, 0xFFFFFF);
    return mask;
}

// A rounded green tube along the inside of the D's edge. It is drawn only on
// pixels of the mask, so it never shows outside the window.
Canvas sheet_window_frame()
{
    constexpr float tube = 9.0f;
    constexpr float to_pixels = 1.0f / supersampling;
    Canvas frame = canvas_make(window_width, window_height);
    const Field shape = field_rasterise(window_width, window_height, supersampling, d_inside);
    const Field depth = field_distance_inside(shape);
    Field band = field_make(shape.width, shape.height);
    for (int32_t y = 0; y < band.height; ++y)
        for (int32_t x = 0; x < band.width; ++x) {
            const float d = grid_get(depth, x, y) * to_pixels;
            if (d > 0.0f && d < tube && pixel_inside(x / supersampling, y / supersampling))
                grid_set(band, x, y, 1.0f);
        }
    canvas_draw_field(frame, 0, 0, band, supersampling, [&](int32_t x, int32_t y) {
        // Semicircular cross-section: rising from the outer edge, falling to the inner.
        const float s = grid_get(depth, x, y) * to_pixels / (tube / 2.0f) - 1.0f;
        const float slope = -s / std::sqrt(std::max(1.0f - s * s, 0.05f));
        return light_surface({0.15f, 0.75f, 0.25f}, surface_normal(depth, x, y, slope), 0.7f, 30.0f);
    });
    return frame;
}
