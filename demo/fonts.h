// The two fonts several parts share, and the frame-rate overlay.
#pragma once

struct Font;

extern Font* text_font;    // 16x16 cells: the 8x8 font picture doubled
extern Font* sprite_font;  // 32x32 cells: the sprite sheet

void demo_fonts_setup();
void demo_fonts_free();
// Two hexadecimal digits of the measured frame rate, bottom left.
void demo_draw_frame_rate();
