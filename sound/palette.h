// PALETTE: a Sample of 256 colours 0x00RRGGBB, blue in the lowest byte.
#pragma once

#include "sample.h"

using Palette = Sample;

constexpr int32_t palette_size = 256;

Palette* palette_new();  // 256 entries, all black
void palette_free(Palette** palette);
void palette_rotate_right(Palette* palette, int32_t amount);
void palette_rotate_left(Palette* palette, int32_t amount);
