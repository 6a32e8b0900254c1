// Perspective starfield drawn with sprites.
#include "stars3d.h"

#include "font.h"
#include "img.h"

#include <cstdio>
#include <cstdlib>

[[gnu::used]] static const char* const stars3d_id[] = {"CODE", "C", "Tobrenko", "20101104", "STARS3D"};

uint8_t stars3d_debug = 0;

namespace {

constexpr int32_t default_extent = 256;
constexpr int32_t default_velocity_z = -3 * 65536;
constexpr int32_t default_count = 16;
constexpr int32_t respawn_spread = 16;  // reborn points start 0 .. 15 units from the far face

int32_t wrapping_add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t to_fixed(int32_t whole)
{
    return static_cast<int32_t>(static_cast<uint32_t>(whole) << 16);
}

bool box_valid(const Stars3D* stars)
{
    return stars->width >= 1 && stars->height >= 1 && stars->depth >= 1;
}

// Whole parts round toward minus infinity (arithmetic shift).
bool inside_box(const Stars3D* stars, const Stars3DPoint& point)
{
    const int32_t x = point.x >> 16;
    const int32_t y = point.y >> 16;
    const int32_t z = point.z >> 16;
    return x >= 0 && y >= 0 && z >= 0 && x < stars->width && y < stars->height && z < stars->depth;
}

bool can_project(const Stars3D* stars, const Image* target)
{
    return stars && stars->points && target && target->pixels;
}

// Takes the box size from the target and calls visit(screen x, screen y, dz)
// for every point from the last to the first. Points on the viewer's plane
// (dz = 0) have no projection and are skipped. The quotient truncates
// toward zero; 64-bit intermediates keep extreme fields from overflowing.
template <typename Visit>
void project_points(Stars3D* stars, const Image* target, Visit visit)
{
    stars->width = target->width;
    stars->height = target->height;
    const int64_t half_width = stars->width >> 1;
    const int64_t half_height = stars->height >> 1;
    const int64_t d = stars->depth;
    for (int32_t i = stars->count - 1; i >= 0; --i) {
        const Stars3DPoint& point = stars->points[i];
        const int64_t dz = d + (point.z >> 16);
        if (dz == 0) {
            continue;
        }
        const int64_t screen_x = d * ((point.x >> 16) - half_width) / dz + half_width + stars->x;
        const int64_t screen_y = d * ((point.y >> 16) - half_height) / dz + half_height + stars->y;
        visit(screen_x, screen_y, dz);
    }
}

}  // namespace

void stars3d_error()
{
    if (stars3d_debug) {
        puts("STARS3D error");
    }
}

Stars3D* stars3d_new()
{
    auto* stars = static_cast<Stars3D*>(calloc(1, sizeof(Stars3D)));
    if (!stars) {
        stars3d_error();
        return nullptr;
    }
    stars->width = default_extent;
    stars->height = default_extent;
    stars->depth = default_extent;
    stars->velocity_z = default_velocity_z;
    stars3d_set_count(stars, default_count);
    return stars;
}

void stars3d_free(Stars3D** stars)
{
    if (!stars || !*stars) {
        stars3d_error();
        return;
    }
    free((*stars)->points);
    free(*stars);
    *stars = nullptr;
}

// On allocation failure count keeps the new value and the array stays missing.
void stars3d_set_count(Stars3D* stars, int32_t count)
{
    if (!stars || count < 1) {
        stars3d_error();
        return;
    }
    free(stars->points);
    stars->count = count;
    stars->points = static_cast<Stars3DPoint*>(calloc(static_cast<size_t>(count), sizeof(Stars3DPoint)));
    if (!stars->points) {
        stars3d_error();
        return;
    }
    stars3d_reset(stars);
}

// Three rand calls per point, X then Y then Z, from the last point to the first.
void stars3d_reset(Stars3D* stars)
{
    if (!stars || !stars->points || !box_valid(stars)) {
        stars3d_error();
        return;
    }
    for (int32_t i = stars->count - 1; i >= 0; --i) {
        Stars3DPoint& point = stars->points[i];
        point.x = to_fixed(rand() % stars->width);
        point.y = to_fixed(rand() % stars->height);
        point.z = to_fixed(rand() % stars->depth);
    }
}

void stars3d_respawn(Stars3D* stars, int32_t index)
{
    if (!stars || !stars->points || index < 0 || index >= stars->count || !box_valid(stars)) {
        stars3d_error();
        return;
    }
    Stars3DPoint& point = stars->points[index];
    point.x = to_fixed(rand() % stars->width);
    point.y = to_fixed(rand() % stars->height);
    point.z = to_fixed(stars->depth - rand() % respawn_spread);
}

void stars3d_step(Stars3D* stars)
{
    if (!stars || !stars->points) {
        stars3d_error();
        return;
    }
    for (int32_t i = 0; i < stars->count; ++i) {
        Stars3DPoint& point = stars->points[i];
        point.x = wrapping_add(point.x, stars->velocity_x);
        point.y = wrapping_add(point.y, stars->velocity_y);
        point.z = wrapping_add(point.z, stars->velocity_z);
        if (!inside_box(stars, point)) {
            stars3d_respawn(stars, i);
        }
    }
}

// The sprite's top-left corner sits at the projected point; sprite 7 - (dz
// bits 5..7) makes the near points the largest sprites of the sheet.
void stars3d_draw(Stars3D* stars, Image* target)
{
    if (!can_project(stars, target) || !stars->font) {
        stars3d_error();
        return;
    }
    Font* font = stars->font;
    font->target = target;
    project_points(stars, target, [font](int64_t screen_x, int64_t screen_y, int64_t dz) {
        font->character = 7 - static_cast<int32_t>((dz & 224) >> 5);
        font->x = static_cast<int32_t>(screen_x);
        font->y = static_cast<int32_t>(screen_y);
        font_put_char(font);
    });
}

void stars3d_plot(Stars3D* stars, Image* target)
{
    if (!can_project(stars, target)) {
        stars3d_error();
        return;
    }
    project_points(stars, target, [target](int64_t screen_x, int64_t screen_y, int64_t dz) {
        if (screen_x >= 0 && screen_y >= 0 && screen_x < target->width && screen_y < target->height) {
            const uint32_t grey = static_cast<uint32_t>(~dz & 255);
            target->pixels[screen_y * target->width + screen_x] = grey * 0x010101u;
        }
    });
}
