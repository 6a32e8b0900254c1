// The sixteen stored sounds of the music, a house kit of a quarter of a
// second each, synthesised at build time by tools/waves.
#pragma once

#include <cstdint>

#include "sample.h"

extern Sample wave_table[16];
extern const int32_t wave_count;
