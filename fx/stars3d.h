// STARS3D: a perspective starfield. Points in a box of space (16.16 fixed
// point) move with one common velocity, are projected onto the target and
// drawn as sprites chosen by depth; a point leaving the box is reborn at
// random at the far face.
#pragma once

#include <cstdint>

struct Font;
struct Image;

struct Stars3DPoint {
    int32_t x;  // 16.16 fixed point
    int32_t y;
    int32_t z;  // grows away from the viewer
};

struct Stars3D {
    int32_t x;       // projection centre: offset from the target's centre, pixels
    int32_t y;
    int32_t z;       // not used
    int32_t width;   // box extent along X; stars3d_draw sets it to the target width
    int32_t height;  // box extent along Y; stars3d_draw sets it to the target height
    int32_t depth;   // box extent along Z and the viewer distance
    int32_t velocity_x;  // 16.16, added to every point each step
    int32_t velocity_y;
    int32_t velocity_z;
    Font* font;  // borrowed sprite sheet: sprite 7 for the nearest points, 0 for the farthest
    int32_t count;
    Stars3DPoint* points;  // owned, count entries
};

// When non-zero, refused calls print "STARS3D error". Nothing sets it.
extern uint8_t stars3d_debug;

Stars3D* stars3d_new();  // box 256^3, velocity z -3.0, 16 random points
void stars3d_set_count(Stars3D* stars, int32_t count);
void stars3d_reset(Stars3D* stars);
void stars3d_respawn(Stars3D* stars, int32_t index);
void stars3d_step(Stars3D* stars);
void stars3d_draw(Stars3D* stars, Image* target);
void stars3d_plot(Stars3D* stars, Image* target);  // one grey pixel per point: near bright, far dark
void stars3d_free(Stars3D** stars);
void stars3d_error();
