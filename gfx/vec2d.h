// VEC2D: a two-component integer vector and the shared sine table.
#pragma once

#include <cstdint>

struct Vec2D {
    int32_t x;
    int32_t y;
};

// 1024 entries per turn, peak 32766. sin(a) = sine_table[a & sine_mask],
// cos(a) = sine_table[(a + 256) & sine_mask]; scale products back with >> 15.
extern const int16_t sine_table[1024];
extern const int32_t sine_size;  // 1024
extern const int32_t sine_mask;  // 1023

Vec2D* vec2d_new();
Vec2D* vec2d_clone(const Vec2D* v);
void vec2d_copy(const Vec2D* src, Vec2D* dst);
int32_t vec2d_equal(const Vec2D* a, const Vec2D* b);
void vec2d_free(Vec2D** v);
