// FONT: fixed-size glyph cells cut from a picture, drawn at a pen position.
// The same record serves as a text font and as a sprite sheet.
#pragma once

#include <cstdint>

struct Image;

struct Font {
    int32_t x;          // pen: left edge of the next glyph, advanced per glyph
    int32_t y;          // pen: top edge, never changed by the module
    int32_t z;
    int32_t width;      // cell width in pixels
    int32_t height;     // cell height in pixels
    int32_t depth;
    int32_t character;  // code the next drawing call draws
    Image* picture;     // owned: every cell, in reading order
    Image* target;      // borrowed: where glyphs are drawn
};

// When non-zero, refused calls print "FONT Error.". Nothing sets it.
extern uint8_t font_debug;

Font* font_new();
void font_free(Font** font);
void font_put_char(Font* font);
void font_add_char(Font* font);
void font_put_char_big(Font* big, Font* small);
void font_print(Font* font, const char* text);
void font_print_hex8(Font* font, uint8_t value);
void font_print_hex16(Font* font, uint32_t value);
void font_print_hex32(Font* font, uint32_t value);
void font_check(const Font* font);
void font_check_pair(const void* a, const void* b);
void font_error();
