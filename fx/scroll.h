// SCROLL: a horizontal text scroller. A window as wide as its target shows
// a row of glyphs cut from an endless (wrapping) text; every step moves the
// window by a signed number of pixels.
#pragma once

#include <cstdint>

struct Cursor;
struct Font;
struct Image;

struct Scroll {
    int32_t x;       // left edge of the window in the target
    int32_t y;       // top edge of the glyph row in the target
    int32_t z;       // 1 after scroll_init; not read
    int32_t width;   // window width in pixels
    int32_t height;  // the Font's cell height after scroll_init; not read
    int32_t depth;   // the Font's depth word after scroll_init; not read
    int32_t speed;   // pixels per scroll_step; positive moves the text left
    int32_t offset;  // pixel offset inside the leading glyph, 0 .. cell width
    const char* text;    // borrowed, NUL-terminated
    Cursor* cursor;      // owned: index of the leading character
    Font* font;          // borrowed after scroll_init: its pen and target are overwritten
    Image* target;       // borrowed
    Font* default_font;  // owned: the 6x6 Font a new Scroll starts with, kept until scroll_free
};

// When non-zero, refused calls print "SCROLL error". Nothing sets it.
extern uint8_t scroll_debug;

// The bytes a new Scroll's Cursor counts; it is not bound as the text.
inline constexpr char scroll_default_text[] = "A scroll's default text. ";
inline constexpr int32_t scroll_default_length = sizeof(scroll_default_text) - 1;

Scroll* scroll_new();
void scroll_init(Scroll* scroll, const char* text, Font* font, Image* target);
void scroll_step(Scroll* scroll);
void scroll_draw(Scroll* scroll);
void scroll_free(Scroll** scroll);
void scroll_error();

// The scrolling arithmetic shared with the big scroller (SCROLLXL).
// Replaces *cursor with a new Cursor over the bytes of text (step 1).
void scroll_bind_text(Cursor** cursor, const char* text);
// True when the text can be read at the cursor position.
bool scroll_ready(const char* text, const Cursor* cursor);
// offset += speed, carrying whole cells of cell_width (>= 1) into the cursor.
void scroll_advance(Cursor* cursor, int32_t* offset, int32_t speed, int32_t cell_width);
// Draws count characters of the text from the cursor on at the Font's pen,
// magnified with small as the sprite when small is given; the cursor is
// left where it was.
void scroll_draw_glyphs(const char* text, Cursor* cursor, int32_t count, Font* font, Font* small);
