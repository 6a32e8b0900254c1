// The logo: KELP over 4090 in chiselled gold block letters.
#include <algorithm>
#include <cmath>

#include "relief.h"
#include "sheets.h"

// Block letters live in a 48x56 box: stems 15 wide, bars 13 high.
constexpr float box_width = 48.0f;
constexpr float box_height = 56.0f;
constexpr float stem = 15.0f;
constexpr float bar = 13.0f;

// Signed distance to a box with rounded corners; negative inside.
static float box(float x, float y, float left, float top, float right, float bottom, float radius = 2.0f)
{
    const float qx = std::abs(x - (left + right) / 2.0f) - ((right - left) / 2.0f - radius);
    const float qy = std::abs(y - (top + bottom) / 2.0f) - ((bottom - top) / 2.0f - radius);
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

// Signed distance to a thick line from (ax, ay) to (bx, by).
static float segment(float x, float y, float ax, float ay, float bx, float by, float half_width)
{
    const float dx = bx - ax;
    const float dy = by - ay;
    const float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(x - ax - t * dx, y - ay - t * dy) - half_width;
}

// A diagonal arm, cut off square where it leaves the letter's box.
static float arm(float x, float y, float ax, float ay, float bx, float by)
{
    return std::max(segment(x, y, ax, ay, bx, by, stem / 2.0f), box(x, y, 0, 0, box_width, box_height, 0));
}

// Signed distance to one of the letters of KELP 4090: unions (min) of stems,
// bars and arms, with holes cut out (max with the negated hole).
static float block_letter(char letter, float x, float y)
{
    constexpr float w = box_width;
    constexpr float h = box_height;
    const float left_stem = box(x, y, 0, 0, stem, h);
    switch (letter) {
        case 'K':
            return std::min({left_stem, arm(x, y, 12, 36, 52, -4), arm(x, y, 24, 25, 54, 62)});
        case 'E':
            return std::min({left_stem, box(x, y, 0, 0, w, bar),
                             box(x, y, 0, (h - bar) / 2, w - 8, (h + bar) / 2), box(x, y, 0, h - bar, w, h)});
        case 'L':
            return std::min(left_stem, box(x, y, 0, h - bar, w, h));
        case 'P':  // stem and a bowl with rounded right corners
            return std::min(left_stem, std::max(box(x, y, 0, 0, w, 36, 15),
                                                -box(x, y, stem, bar - 1, w - stem, 36 - bar + 1, 4)));
        case '4':
            return std::min({box(x, y, 29, 0, 29 + stem, h), box(x, y, 0, 33, w, 33 + bar),
                             std::max(segment(x, y, 36, 3, 5, 38, stem / 2.0f), -x)});
        case '0':
            return std::max(box(x, y, 0, 0, w, h, 16), -box(x, y, stem, bar, w - stem, h - bar, 6));
        case '9':  // a rounded block less the bowl's hole and the gap left of the tail
            return std::max({box(x, y, 0, 0, w, h, 16), -box(x, y, stem, bar - 2, w - stem, 23, 5),
                             -box(x, y, -1, 32, w - stem, h - bar, 0)});
        default:
            return 1.0f;
    }
}

// KELP above 4090, each letter centred in a cell `cell` pixels wide.
static bool logo_inside(float x, float y, float top, float line_gap, float cell)
{
    const std::string lines[2] = {"KELP", "4090"};
    for (int32_t line = 0; line < 2; ++line) {
        const float v = y - top - static_cast<float>(line) * line_gap;
        if (v < 0.0f || v > box_height)
            continue;
        const float column = x / cell;
        if (column < 0.0f || column >= 4.0f)
            continue;
        const int32_t index = static_cast<int32_t>(column);
        const float u = x - static_cast<float>(index) * cell - (cell - box_width) / 2.0f;
        if (block_letter(lines[line][static_cast<size_t>(index)], u, v) <= 0.0f)
            return true;
    }
    return false;
}

// Gold from pale yellow at the top of a letter row to deep amber below.
static Colour gold(float t)
{
    return colour_ramp({1.0f, 0.98f, 0.6f}, {1.0f, 0.82f, 0.1f}, {0.85f, 0.45f, 0.0f}, t);
}

Canvas sheet_logo()
{
    constexpr int32_t width = 256;
    constexpr int32_t height = 128;
    constexpr float top = 3.0f;
    constexpr float line_gap = 64.0f;
    constexpr float shadow = 4.0f;
    Canvas logo = canvas_make(width, height);
    const Inside inside = [](float x, float y) {
        return logo_inside(x, y, top, line_gap, width / 4.0f);
    };
    draw_flat(logo, 0, 0, width, height, [&](float x, float y) { return inside(x - shadow, y - shadow); },
              {0.14f, 0.08f, 0.02f});
    const Relief chisel{5.0f, false, 1.0f, 1.5f, {0.3f, 0.14f, 0.0f}, 0.5f, 30.0f};
    draw_relief(logo, 0, 0, width, height, inside, chisel, [](float, float y) {
        const float row_top = y < top + line_gap - 2.0f ? top : top + line_gap;
        return gold(std::clamp((y - row_top) / box_height, 0.0f, 1.0f));
    });
    return logo;
}
