// Horizontal text scroller over a wrapping text.
#include "scroll.h"

#include "cursor.h"
#include "font.h"
#include "img.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

[[gnu::used]] static const char* const scroll_id[] = {"CODE", "C", "Tobrenko", "20101104", "SCROLL"};

uint8_t scroll_debug = 0;

namespace {

// Sums that may pass the 32-bit range wrap around instead of overflowing.
int32_t wrapping_add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

bool has_cell(const Font* font)
{
    return font && font->width >= 1;
}

}  // namespace

void scroll_error()
{
    if (scroll_debug) {
        puts("SCROLL error");
    }
}

Scroll* scroll_new()
{
    auto* scroll = static_cast<Scroll*>(calloc(1, sizeof(Scroll)));
    if (!scroll) {
        scroll_error();
        return nullptr;
    }
    scroll->speed = 1;
    scroll->cursor = cursor_new();
    scroll->default_font = font_new();
    if (!scroll->cursor || !scroll->default_font) {
        scroll_free(&scroll);
        scroll_error();
        return nullptr;
    }
    cursor_set(scroll->cursor, scroll_default_length, 1);
    scroll->font = scroll->default_font;
    return scroll;
}

void scroll_free(Scroll** scroll)
{
    if (!scroll || !*scroll) {
        scroll_error();
        return;
    }
    cursor_free(&(*scroll)->cursor);
    if ((*scroll)->default_font) {
        font_free(&(*scroll)->default_font);
    }
    free(*scroll);
    *scroll = nullptr;
}

// An empty text has no character to show and is refused.
void scroll_init(Scroll* scroll, const char* text, Font* font, Image* target)
{
    if (!scroll || !text || !font || !target || text[0] == '\0') {
        scroll_error();
        return;
    }
    scroll_bind_text(&scroll->cursor, text);
    scroll->text = text;
    scroll->x = 0;
    scroll->y = 0;
    scroll->z = 1;
    scroll->width = target->width;
    scroll->height = font->height;
    scroll->depth = font->depth;
    scroll->font = font;
    scroll->target = target;
}

void scroll_step(Scroll* scroll)
{
    if (!scroll || !scroll_ready(scroll->text, scroll->cursor) || !has_cell(scroll->font)) {
        scroll_error();
        return;
    }
    scroll_advance(scroll->cursor, &scroll->offset, scroll->speed, scroll->font->width);
}

void scroll_draw(Scroll* scroll)
{
    if (!scroll || !scroll_ready(scroll->text, scroll->cursor) || !scroll->target ||
        !has_cell(scroll->font)) {
        scroll_error();
        return;
    }
    Font* font = scroll->font;
    font->x = scroll->x - scroll->offset;
    font->y = scroll->y;
    font->target = scroll->target;
    scroll_draw_glyphs(scroll->text, scroll->cursor, scroll->width / font->width + 2, font, nullptr);
}

void scroll_bind_text(Cursor** cursor, const char* text)
{
    cursor_free(cursor);
    *cursor = cursor_new();
    const size_t length = std::min<size_t>(strlen(text), INT32_MAX);
    cursor_set(*cursor, static_cast<int32_t>(length), 1);
}

bool scroll_ready(const char* text, const Cursor* cursor)
{
    return text && cursor && cursor->position >= 0 && cursor->position < cursor->length;
}

// Division and remainder truncate toward zero; a backward move lands the
// offset in 1 .. cell_width, so an exact cell boundary keeps offset = cell_width.
void scroll_advance(Cursor* cursor, int32_t* offset, int32_t speed, int32_t cell_width)
{
    const int32_t moved = wrapping_add(*offset, speed);
    if (moved >= cell_width) {
        cursor->step = moved / cell_width;
        cursor_step(cursor);
        *offset = moved % cell_width;
    } else if (moved < 0) {
        cursor->step = wrapping_add(moved / cell_width, -1);
        cursor_step(cursor);
        *offset = moved % cell_width + cell_width;
    } else {
        *offset = moved;
    }
}

void scroll_draw_glyphs(const char* text, Cursor* cursor, int32_t count, Font* font, Font* small)
{
    cursor_save(cursor);
    cursor->step = 1;
    for (int32_t i = 0; i < count; ++i) {
        font->character = static_cast<signed char>(text[cursor->position]);
        if (small) {
            font_put_char_big(font, small);
        } else {
            font_put_char(font);
        }
        cursor_step(cursor);
    }
    cursor_restore(cursor);
}
