// STARS: a flat starfield. Points in 16.16 fixed point drift with one common
// velocity; a point that leaves the field re-enters at random on the edge it
// moves away from. Points are drawn as frames of a 64-frame sprite strip
// picked by their height. The module prints nothing.
#pragma once

#include <cstdint>

#include "vec2d.h"

struct Font;
struct Image;

struct Stars {
    int32_t x;  // placement header shared with Image; x, y, z, depth unused
    int32_t y;
    int32_t z;
    int32_t width;   // field size; stars_draw and stars_plot take the target's
    int32_t height;
    int32_t depth;
    int32_t velocity_x;  // 16.16, added to every point each step
    int32_t velocity_y;
    uint32_t colour;  // pixel colour of stars_plot
    Font* font;       // borrowed sprite strip, 32x32 cells
    int32_t count;
    Vec2D* points;  // owned, count entries, 16.16
};

// 256 x 256 field, velocity (0, 1.0), white, 16 random points. Null when the
// record can't be allocated; without points when only the array can't be.
Stars* stars_new();
void stars_free(Stars** stars);
void stars_set_count(Stars* stars, int32_t count);
void stars_reset(Stars* stars);
void stars_respawn(Stars* stars, int32_t index);
void stars_step(Stars* stars);
void stars_draw(Stars* stars, Image* target);
void stars_plot(Stars* stars, Image* target);
