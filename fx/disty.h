// DISTY: copies a horizontal strip onto a target bent into a vertical sine
// wave; every column moves by its own sine value and the wave travels each
// frame. The module prints nothing.
#pragma once

#include <cstdint>

#include "cursorx.h"

struct Image;

struct Disty {
    int32_t x;          // target column of the strip's column 0
    int32_t y;          // target row of the strip's top edge at zero displacement
    CursorX phase;      // angle per column (step) and drift per frame (offset step)
    int32_t amplitude;  // a column moves by (sine * amplitude) >> 16 rows
    Image* source;      // borrowed strip; drawing without one does nothing
};

Disty* disty_new();  // phase length 1024, step 16, offset step 1; amplitude 16
void disty_free(Disty** disty);
void disty_draw(Disty* disty, Image* target);
void disty_step(Disty* disty);
