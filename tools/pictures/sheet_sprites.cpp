// The 512x256 sprite sheet: 32x32 cells, 16 per row, in code order.
#include <algorithm>
#include <cmath>

#include "relief.h"
#include "sheets.h"

constexpr int32_t cell = 32;
constexpr int32_t cells_per_row = 16;

static int32_t cell_left(int32_t code)
{
    return code % cells_per_row * cell;
}

static int32_t cell_top(int32_t code)
{
    return code / cells_per_row * cell;
}

// Sizes 10, 13, ... 31 pixels for the eight growing hearts and stars.
static float growing_size(int32_t step)
{
    return 10.0f + 3.0f * static_cast<float>(step);
}

// The heart curve (x^2 + y^2 - 1)^3 <= x^2 y^3, y pointing up: 2.28 wide,
// from y = -1 at the tip to about 1.24 at the top of the lobes.
static bool heart_inside(float x, float y)
{
    const float r = x * x + y * y - 1.0f;
    return r * r * r <= x * x * y * y * y;
}

static void draw_heart(Canvas& sheet, int32_t code, float size)
{
    constexpr float centre = cell / 2.0f;
    const float units = 2.28f / size;
    const Inside inside = [=](float x, float y) {
        return heart_inside((x - centre) * units, (centre - y) * units + 0.12f);
    };
    const Relief candy{size * 0.3f, true, 1.0f, 0.0f, {}, 0.9f, 28.0f};
    const Paint paint = [=](float, float y) {
        const float t = std::clamp((y - centre) / size + 0.5f, 0.0f, 1.0f);
        return colour_mix({1.0f, 0.35f, 0.55f}, {0.75f, 0.0f, 0.12f}, t);
    };
    draw_relief(sheet, cell_left(code), cell_top(code), cell, cell, inside, candy, paint);
}

// Five-pointed star, point up, outer radius 1, inner radius 0.45.
static bool star_inside(float x, float y)
{
    constexpr int32_t corners = 10;
    float px[corners];
    float py[corners];
    for (int32_t i = 0; i < corners; ++i) {
        const float radius = i % 2 == 0 ? 1.0f : 0.45f;
        const float angle = turn * static_cast<float>(i) / corners;
        px[i] = radius * std::sin(angle);
        py[i] = -radius * std::cos(angle);
    }
    bool inside = false;
    for (int32_t i = 0, j = corners - 1; i < corners; j = i++)
        if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
            inside = !inside;
    return inside;
}

static void draw_star(Canvas& sheet, int32_t code, float size)
{
    constexpr float centre = cell / 2.0f;
    const float radius = size / 2.0f;
    // The star reaches 1 above its centre but only cos 36 degrees below.
    const float lift = (1.0f - std::cos(turn / 10.0f)) / 2.0f;
    const Inside inside = [=](float x, float y) {
        return star_inside((x - centre) / radius, (y - centre) / radius - lift);
    };
    const Relief facets{size, false, 0.7f, 0.0f, {}, 0.5f, 20.0f};
    const Paint paint = [](float, float) { return Colour{1.0f, 0.8f, 0.2f}; };
    draw_relief(sheet, cell_left(code), cell_top(code), cell, cell, inside, facets, paint);
}

// Normal of a sphere of the given radius seen from above, at an offset from
// its centre.
static Normal sphere_normal(float dx, float dy, float radius)
{
    const float nx = dx / radius;
    const float ny = dy / radius;
    return {nx, ny, std::sqrt(std::max(0.0f, 1.0f - nx * nx - ny * ny))};
}

static Normal tilted(float x, float y)
{
    const float length = std::sqrt(x * x + y * y + 1.0f);
    return {x / length, y / length, 1.0f / length};
}

// A raised plate with chamfered edges; neighbouring plates meet in a seam.
static Colour tile_plate(float x, float y)
{
    const Colour face = colour_mix({0.35f, 0.55f, 1.0f}, {0.12f, 0.22f, 0.7f}, (x + y) / (2.0f * cell));
    return light_surface(face, chamfer_normal(x, y, cell, cell, 3.0f, 1.0f), 0.3f, 30.0f);
}

// Four-sided pyramids on a diamond lattice: one in the middle, quarters of
// the next ones in the corners.
static Colour tile_diamonds(float x, float y)
{
    constexpr float half = cell / 2.0f;
    float dx = x - half;
    float dy = y - half;
    const bool middle = std::abs(dx) + std::abs(dy) <= half;
    if (!middle) {
        dx = x < half ? x : x - cell;
        dy = y < half ? y : y - cell;
    }
    const float rise = 0.6f;
    const Normal normal = tilted(dx < 0 ? -rise : rise, dy < 0 ? -rise : rise);
    const Colour base = middle ? Colour{0.2f, 0.4f, 0.95f} : Colour{0.1f, 0.18f, 0.55f};
    return light_surface(base, normal, 0.4f, 20.0f);
}

// A dome in the middle of a brushed plate with quarter rivets in the corners.
static Colour tile_dome(float x, float y)
{
    constexpr float half = cell / 2.0f;
    constexpr float dome = 10.0f;
    constexpr float rivet = 3.5f;
    const float brushed = 0.9f + 0.1f * std::sin(turn * 4.0f * y / cell);
    const Colour plate = colour_scale({0.15f, 0.25f, 0.6f}, brushed);
    const float dx = x - half;
    const float dy = y - half;
    const float r = std::sqrt(dx * dx + dy * dy);
    const float cx = x < half ? x : x - cell;
    const float cy = y < half ? y : y - cell;
    const float corner = std::sqrt(cx * cx + cy * cy);
    if (r < dome)
        return light_surface({0.35f, 0.6f, 1.0f}, sphere_normal(dx, dy, dome), 0.8f, 30.0f);
    if (corner < rivet)
        return light_surface({0.3f, 0.45f, 0.85f}, sphere_normal(cx, cy, rivet), 0.6f, 20.0f);
    // The dome casts a soft shadow on the plate around it.
    const float shade = std::clamp(0.55f + 0.45f * (r - dome) / 3.0f, 0.55f, 1.0f);
    return colour_scale(plate, shade);
}

// Rippling water: sums of waves with whole periods per tile, mapped through
// a deep-to-light blue ramp with bright caustic lines.
static Colour tile_water(float x, float y)
{
    const float a = turn / cell;
    const float wave = std::sin(a * x) + std::sin(a * (x + 2.0f * y)) + std::sin(a * (2.0f * x - y) + 1.0f);
    const float t = (wave + 3.0f) / 6.0f;
    const Colour deep = colour_mix({0.05f, 0.1f, 0.35f}, {0.15f, 0.4f, 0.85f}, t);
    const float caustic = std::exp(-std::pow(std::sin(a * 2.0f * (x + y) + wave * 1.3f) * 3.0f, 2.0f));
    return colour_mix(deep, {0.6f, 0.85f, 1.0f}, 0.6f * caustic);
}

// Blue bricks, 16x8, every other row shifted by half a brick.
static Colour tile_bricks(float x, float y)
{
    constexpr float brick_w = 16.0f;
    constexpr float brick_h = 8.0f;
    const int32_t row = static_cast<int32_t>(y / brick_h);
    const float shifted = x + (row % 2 == 1 ? brick_w / 2.0f : 0.0f);
    const float bx = std::fmod(shifted, brick_w);
    const float by = y - static_cast<float>(row) * brick_h;
    constexpr float mortar = 0.8f;
    if (std::min({bx, by, brick_w - bx, brick_h - by}) < mortar)
        return {0.3f, 0.35f, 0.5f};
    const int32_t brick = row * 2 + static_cast<int32_t>(shifted / brick_w) % 2;
    constexpr float tints[8] = {1.0f, 0.85f, 0.95f, 0.8f, 0.9f, 1.05f, 0.85f, 0.95f};
    const Colour face = colour_scale({0.2f, 0.3f, 0.8f}, tints[brick]);
    const Normal normal =
        chamfer_normal(bx - mortar, by - mortar, brick_w - 2 * mortar, brick_h - 2 * mortar, 1.2f, 1.0f);
    return light_surface(face, normal, 0.2f, 20.0f);
}

constexpr float ball_radius = 15.0f;

static bool ball_inside(float x, float y)
{
    const float dx = x - cell / 2.0f;
    const float dy = y - cell / 2.0f;
    return dx * dx + dy * dy < ball_radius * ball_radius;
}

// A ball filling the cell, coloured from its surface normal.
static void draw_ball(Canvas& sheet, int32_t code, const std::function<Colour(Normal)>& shade)
{
    const Field mask = field_rasterise(cell, cell, supersampling, ball_inside);
    canvas_draw_field(sheet, cell_left(code), cell_top(code), mask, supersampling, [&](int32_t x, int32_t y) {
        const float dx = sample_centre(x) - cell / 2.0f;
        const float dy = sample_centre(y) - cell / 2.0f;
        return shade(sphere_normal(dx, dy, ball_radius));
    });
}

static Colour shiny_ball(Colour base, Normal n)
{
    // Light bounced off the ground brightens the lower-right rim a little.
    const float bounce = 0.3f * std::max(0.0f, n.x + n.y) * (1.0f - n.z);
    return colour_add(light_surface(base, n, 0.9f, 40.0f), colour_scale(base, bounce));
}

// The bob is added to the screen dozens of times a frame, so it is a ball of
// channel values 1 ... 5: lit side 5, shadow side 1, outside exactly 0.
static Colour dark_bob(Normal n)
{
    const float light = std::min(light_surface({1, 1, 1}, n, 0.0f, 1.0f).r / 1.4f, 1.0f);
    return colour_scale({1.0f + 3.0f * light, 1.0f + 4.0f * light, 1.0f + 4.0f * light}, 1.0f / 255.0f);
}

// Chrome: pale sky above a dark horizon line, light ground below.
static Colour chrome(float t)
{
    if (t < 0.5f)
        return colour_mix({0.9f, 0.97f, 1.0f}, {0.25f, 0.45f, 0.85f}, t * 2.0f);
    return colour_mix({0.08f, 0.15f, 0.45f}, {0.7f, 0.88f, 1.0f}, (t - 0.5f) * 2.0f);
}

// Codes 24 ... 31 together hold one 256x32 italic chrome signature.
static void draw_signature(Canvas& sheet, const GlyphSet& glyphs)
{
    constexpr int32_t first = 24;
    constexpr int32_t width = 8 * cell;
    constexpr float unit = 2.75f;
    constexpr float slant = 0.2f;
    const std::string name = "Tidepool 2010";
    const float top = (cell - glyph_size * unit) / 2.0f;
    const float left = (width - letters_width(glyphs, name, unit) - slant * glyph_size * unit) / 2.0f;
    const std::vector<Letter> letters = letters_line(glyphs, name, {left, top, unit, slant, 0.3f, 0.0f});
    const Relief metal{1.2f, true, 1.0f, 1.0f, {0.02f, 0.03f, 0.15f}, 0.6f, 20.0f};
    draw_relief(
        sheet, cell_left(first), cell_top(first), width, cell,
        [&](float x, float y) { return letters_inside(letters, x, y); }, metal,
        [=](float, float y) { return chrome(std::clamp((y - top) / (7.0f * unit), 0.0f, 1.0f)); });
}

// Pink letters: glyph pixels of 3.75 pixels, rounded and glossy with a dark
// plum rim, so they stay crisp when the sheet is magnified twice.
static void draw_pink_letter(Canvas& sheet, const GlyphSet& glyphs, int32_t code)
{
    constexpr float unit = 3.75f;
    const std::vector<Letter> letter =
        letters_line(glyphs, std::string(1, static_cast<char>(code)), {0.0f, 1.0f, unit, 0.0f, 0.35f, cell});
    const Relief candy{1.6f, true, 1.0f, 1.1f, {0.25f, 0.0f, 0.18f}, 0.5f, 16.0f};
    const Paint pink = [](float, float y) {
        const float t = std::clamp(y / (7.0f * unit), 0.0f, 1.0f);
        return colour_ramp({1.0f, 0.8f, 0.95f}, {1.0f, 0.42f, 0.78f}, {0.8f, 0.1f, 0.5f}, t);
    };
    draw_relief(
        sheet, cell_left(code), cell_top(code), cell, cell,
        [&](float x, float y) { return letters_inside(letter, x, y); }, candy, pink);
}

Canvas sheet_sprites(const GlyphSet& glyphs)
{
    Canvas sheet = canvas_make(cells_per_row * cell, 8 * cell);
    for (int32_t step = 0; step < 8; ++step) {
        draw_heart(sheet, step, growing_size(step));
        draw_star(sheet, 8 + step, growing_size(step));
    }
    const Paint tiles[5] = {tile_plate, tile_diamonds, tile_dome, tile_water, tile_bricks};
    for (int32_t i = 0; i < 5; ++i)
        draw_covering(sheet, cell_left(16 + i), cell_top(16 + i), cell, cell, tiles[i]);
    draw_ball(sheet, 21, [](Normal n) { return shiny_ball({0.15f, 0.75f, 0.2f}, n); });
    draw_ball(sheet, 22, [](Normal n) { return shiny_ball({1.0f, 0.93f, 0.55f}, n); });
    draw_ball(sheet, 23, dark_bob);
    draw_signature(sheet, glyphs);
    for (int32_t code = 32; code < 128; ++code)
        draw_pink_letter(sheet, glyphs, code);
    return sheet;
}
