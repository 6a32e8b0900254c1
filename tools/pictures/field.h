// Field: a grid of floats used as a supersampled coverage mask or a distance
// map, with the shading helpers that turn shapes into lit, antialiased art.
#pragma once

#include <cstdint>
#include <functional>

#include "canvas.h"

using Field = Grid<float>;

struct Normal {
    float x;
    float y;
    float z;
};

// Sample coordinates in pixel units (a sample centre lies at (i + 0.5) / scale).
using Inside = std::function<bool(float x, float y)>;
// Colour of one sample, given in sample coordinates.
using Shader = std::function<Colour(int32_t x, int32_t y)>;

inline Field field_make(int32_t width, int32_t height)
{
    return grid_make<float>(width, height);
}
// Bilinear read at continuous coordinates, sample i centred on i + 0.5.
float field_sample(const Field& field, float x, float y);
Field field_blur(const Field& field, float sigma);

// A width × height pixel area sampled scale × scale times per pixel:
// 1 where the sample centre is inside, 0 elsewhere.
Field field_rasterise(int32_t width, int32_t height, int32_t scale, const Inside& inside);
// Euclidean distance, in samples, from each inside sample (value >= 0.5) to
// the nearest outside one; outside samples get 0.
Field field_distance_inside(const Field& mask);
// Distance from each outside sample to the nearest inside one; 0 inside.
Field field_distance_outside(const Field& mask);

// Normal of a surface that rises with slope `slope` away from the edge
// described by a distance map (slope 0 gives a flat face).
Normal surface_normal(const Field& distance, int32_t x, int32_t y, float slope);
// Slope of a rounded (quarter-circle) bevel of the given width at distance d.
float pillow_slope(float d, float width);
// Lit colour of a surface point: a flat face keeps `base`, faces toward the
// top-left light get brighter, faces away darker; `gloss` adds a highlight.
Colour light_surface(Colour base, Normal n, float gloss, float shininess);

// Draws a supersampled shape over the canvas at (left, top): each pixel
// blends from its old colour toward the average of its covered samples'
// colours by the fraction covered. A touched pixel never ends up 0, so it
// cannot turn transparent.
void canvas_draw_field(Canvas& canvas, int32_t left, int32_t top, const Field& coverage, int32_t scale,
                       const Shader& shade);
