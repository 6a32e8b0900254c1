// SCROLLXL: a scroller of giant letters. Every lit pixel of a letter's glyph
// in the big Font is drawn as one sprite of the small Font, so a letter is
// (big cell width x small cell width) pixels wide.
#pragma once

#include <cstdint>

struct Cursor;
struct Font;
struct Image;

struct ScrollXL {
    int32_t x;       // left edge of the window in the target
    int32_t y;       // top edge of the letters in the target
    int32_t z;       // 1 after scrollxl_init; not read
    int32_t width;   // window width in pixels
    int32_t height;  // the big Font's cell height after scrollxl_init; not read
    int32_t depth;   // the big Font's depth word after scrollxl_init; not read
    int32_t speed;   // pixels per scrollxl_step; positive moves the text left
    int32_t offset;  // pixel offset inside the leading letter, 0 .. letter advance
    const char* text;  // borrowed, NUL-terminated
    Cursor* cursor;    // owned: index of the leading character
    Font* big_font;    // borrowed: letter shapes, pixels only tested for zero
    Font* small_font;  // borrowed: its current character is the sprite drawn
    Image* target;     // borrowed
};

// When non-zero, refused calls print "SCROLLXL error". Nothing sets it.
extern uint8_t scrollxl_debug;

ScrollXL* scrollxl_new();
void scrollxl_init(ScrollXL* scroller, const char* text, Font* big, Font* small, Image* target);
void scrollxl_step(ScrollXL* scroller);
void scrollxl_draw(ScrollXL* scroller);
void scrollxl_free(ScrollXL** scroller);
void scrollxl_error();
