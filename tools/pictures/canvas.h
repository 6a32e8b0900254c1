// Canvas: the 0x00RRGGBB picture the generator draws into, colours as
// floating-point triples, and the PNM encoding of a finished picture.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "grid.h"

struct Colour {
    float r;
    float g;
    float b;
};

// Pixels are 0x00RRGGBB; 0 is the transparent colour key.
using Canvas = Grid<uint32_t>;

using PnmComments = std::array<std::string, 4>;

constexpr float turn = 6.28318531f;  // a full turn in radians

inline Canvas canvas_make(int32_t width, int32_t height)
{
    return grid_make<uint32_t>(width, height);
}

Colour colour_scale(Colour c, float factor);
Colour colour_add(Colour a, Colour b);
Colour colour_mix(Colour a, Colour b, float t);  // t = 0 gives a, 1 gives b
// A gradient through three colours as t runs from 0 over 0.5 to 1.
Colour colour_ramp(Colour first, Colour middle, Colour last, float t);
Colour colour_hue(float hue);  // fully saturated, hue in turns
// Channels are clamped to 0 ... 1 and rounded to bytes.
uint32_t colour_pack(Colour c);

// A P6 file image: "P6", the comment lines, "width height", "255", RGB bytes.
std::string pnm_encode_p6(const Canvas& canvas, const PnmComments& comments);
// A P4 file image: rows packed most significant bit first; every non-zero
// pixel becomes a set bit (white).
std::string pnm_encode_p4(const Canvas& canvas, const PnmComments& comments);
