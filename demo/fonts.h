// The two fonts several parts share, and the frame-rate overlay.
#pragma once

#include <cstdint>

struct Font;
struct Image;

extern Font* text_font;    // 16x16 cells: the 8x8 font picture doubled
extern Font* sprite_font;  // 32x32 cells: the sprite sheet

// A Font of square cells whose picture is an embedded PNM picture.
Font* demo_font_from_pnm(const uint8_t* pnm, int32_t cell);
// A Font of square cells whose picture is `picture` doubled in size.
Font* demo_font_doubled(const Image* picture, int32_t cell);

void demo_fonts_setup();
void demo_fonts_free();
// Two hexadecimal digits of the measured frame rate, bottom left.
void demo_draw_frame_rate();
