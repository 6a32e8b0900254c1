// RASTER: raster bars. A cyclic list of colours, one per target row, that
// fills each row with its own colour; the list can be rotated, smoothed and
// blended over a picture. Every refused call prints "RASTER error".
#pragma once

#include <cstdint>

struct Image;

struct Raster {
    int32_t count;     // number of colour entries
    int32_t position;  // entry of row 0; row y uses (position + y) mod count
    uint32_t* colours;  // owned, count entries 0x00RRGGBB
};

Raster* raster_new();  // 256 black entries, position 0
Raster* raster_clone(const Raster* raster);  // same entries, position 0
void raster_free(Raster** raster);
void raster_set_count(Raster* raster, int32_t count);  // count >= 1, entries zeroed
void raster_clear(Raster* raster);
void raster_step(Raster* raster);  // the bars move up one row
void raster_blur(Raster* raster, int32_t radius);  // radius >= 1

// Alpha runs from 0 (keep the picture) to 256 (the colour alone).
void raster_draw(const Raster* raster, Image* target);
void raster_draw_blend(const Raster* raster, Image* target, int32_t alpha);

// Pixels x0 .. x1 of row y, clipped to the target. A null target is reported
// through img_error; a row outside the target is ignored.
void raster_hline(Image* target, uint32_t colour, int32_t y, int32_t x0, int32_t x1);
void raster_hline_blend(Image* target, uint32_t colour, int32_t y, int32_t x0, int32_t x1, int32_t alpha);
