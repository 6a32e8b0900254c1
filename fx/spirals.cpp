// Turning spiral point clouds.
#include "spirals.h"

#include "img.h"
#include "vec2d.h"

#include <cstdio>
#include <cstdlib>

[[gnu::used]] static const char* const spirals_id[] = {"CODE", "C", "Tobrenko", "20101104", "SPIRALS"};

uint8_t spirals_debug = 0;

namespace {

constexpr int32_t default_centre = 128;
constexpr int32_t default_side = 256;
constexpr int32_t default_limit = 256;
constexpr uint32_t default_colour = 0xFFFFFF;
constexpr int32_t default_count = 16;
// New angles are drawn modulo 1023, one less than the table length, so
// they lie in 0 .. 1022.
constexpr int32_t respawn_angle_range = 1023;
constexpr int32_t quarter_turn = 256;

bool area_valid(const Spirals* spirals)
{
    return spirals->width >= 1 && spirals->height >= 1;
}

int32_t wrap_angle(int32_t angle, int32_t step)
{
    const int64_t wrapped = (int64_t{angle} + step) % sine_size;
    return static_cast<int32_t>(wrapped < 0 ? wrapped + sine_size : wrapped);
}

// One swing of a point: centre + (sine x radius) >> 16, arithmetic shift.
int64_t swing(int32_t centre, int32_t angle, int32_t radius)
{
    return centre + ((int64_t{sine_table[angle & sine_mask]} * radius) >> 16);
}

}  // namespace

void spirals_error()
{
    if (spirals_debug) {
        puts("SPIRALS error");
    }
}

Spirals* spirals_new()
{
    auto* spirals = static_cast<Spirals*>(calloc(1, sizeof(Spirals)));
    if (!spirals) {
        spirals_error();
        return nullptr;
    }
    spirals->x = default_centre;
    spirals->y = default_centre;
    spirals->width = default_side;
    spirals->height = default_side;
    spirals->angle_step_a = 1;
    spirals->angle_step_b = 1;
    spirals->radius_step = 1;
    spirals->radius_limit = default_limit;
    spirals->colour = default_colour;
    spirals_set_count(spirals, default_count);
    if (!spirals->points) {
        free(spirals);
        return nullptr;
    }
    return spirals;
}

void spirals_free(Spirals** spirals)
{
    if (!spirals || !*spirals) {
        spirals_error();
        return;
    }
    free((*spirals)->points);
    free(*spirals);
    *spirals = nullptr;
}

// On allocation failure count keeps the new value and the array stays missing.
void spirals_set_count(Spirals* spirals, int32_t count)
{
    if (!spirals || count < 1) {
        spirals_error();
        return;
    }
    free(spirals->points);
    spirals->count = count;
    spirals->points = static_cast<SpiralsPoint*>(calloc(static_cast<size_t>(count), sizeof(SpiralsPoint)));
    if (!spirals->points) {
        spirals_error();
        return;
    }
    spirals_respawn_all(spirals);
}

// Two rand calls: the angle, then the radius in 0 .. 3 * width / 2 - 1.
void spirals_respawn(Spirals* spirals, int32_t index)
{
    if (!spirals || !spirals->points || index < 0 || index >= spirals->count || !area_valid(spirals)) {
        spirals_error();
        return;
    }
    SpiralsPoint& point = spirals->points[index];
    point.a = rand() % respawn_angle_range;
    point.b = (point.a + quarter_turn) % sine_size;
    point.radius = rand() % static_cast<int32_t>(int64_t{spirals->width} * 3 / 2);
}

void spirals_respawn_all(Spirals* spirals)
{
    if (!spirals || !spirals->points || !area_valid(spirals)) {
        spirals_error();
        return;
    }
    for (int32_t i = 0; i < spirals->count; ++i) {
        spirals_respawn(spirals, i);
    }
}

// A point past the limit is reborn at once, so its new values are the ones
// drawn next.
void spirals_step(Spirals* spirals)
{
    if (!spirals || !spirals->points) {
        spirals_error();
        return;
    }
    for (int32_t i = 0; i < spirals->count; ++i) {
        SpiralsPoint& point = spirals->points[i];
        point.a = wrap_angle(point.a, spirals->angle_step_a);
        point.b = wrap_angle(point.b, spirals->angle_step_b);
        // 32-bit wrap-around sum, as the radius has no upper bound of its own.
        point.radius = static_cast<int32_t>(static_cast<uint32_t>(point.radius) +
                                            static_cast<uint32_t>(spirals->radius_step));
        if (point.radius > spirals->radius_limit) {
            spirals_respawn(spirals, i);
        }
    }
}

// Nothing is cleared: the caller decides whether trails remain.
void spirals_draw(Spirals* spirals)
{
    Image* target = spirals ? spirals->target : nullptr;
    if (!spirals || !spirals->points || !target || !target->pixels) {
        spirals_error();
        return;
    }
    spirals->width = target->width;
    spirals->height = target->height;
    for (int32_t i = 0; i < spirals->count; ++i) {
        const SpiralsPoint& point = spirals->points[i];
        const int64_t px = swing(spirals->x, point.a, point.radius);
        const int64_t py = swing(spirals->y, point.b, point.radius);
        if (px >= 0 && py >= 0 && px < target->width && py < target->height) {
            target->pixels[py * target->width + px] = spirals->colour;
        }
    }
}
