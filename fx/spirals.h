// SPIRALS: a cloud of single pixels turning around a common centre while
// their radius grows, so that together they trace spiral arms. A point
// whose radius passes the limit is reborn at a random angle and radius.
#pragma once

#include <cstdint>

struct Image;

struct SpiralsPoint {
    int32_t a;       // sine-table index of the horizontal swing, 0 .. 1023
    int32_t b;       // sine-table index of the vertical swing, 0 .. 1023
    int32_t radius;  // the point lies about radius / 2 pixels from the centre
};

struct Spirals {
    int32_t x;       // centre in the target, pixels
    int32_t y;
    int32_t z;       // not used
    int32_t width;   // target width, set by spirals_draw; sets the respawn radius range
    int32_t height;  // target height, set by spirals_draw
    int32_t depth;   // not used
    Image* target;   // borrowed, set by the caller
    int32_t angle_step_a;
    int32_t angle_step_b;
    int32_t radius_step;
    int32_t radius_limit;  // a point whose radius exceeds it is respawned
    uint32_t colour;       // 0x00RRGGBB of every pixel
    int32_t count;
    SpiralsPoint* points;  // owned, count entries
};

// When non-zero, refused calls print "SPIRALS error". Nothing sets it.
extern uint8_t spirals_debug;

Spirals* spirals_new();  // centre (128, 128), 16 respawned points
void spirals_set_count(Spirals* spirals, int32_t count);
void spirals_respawn(Spirals* spirals, int32_t index);
void spirals_respawn_all(Spirals* spirals);
void spirals_step(Spirals* spirals);
void spirals_draw(Spirals* spirals);
void spirals_free(Spirals** spirals);
void spirals_error();
