// Giant-letter scroller built from sprites.
#include "scrollxl.h"

#include "cursor.h"
#include "font.h"
#include "img.h"
#include "scroll.h"

#include <cstdio>
#include <cstdlib>

[[gnu::used]] static const char* const scrollxl_id[] = {"CODE", "C", "Tobrenko", "20101104", "SCROLLXL"};

uint8_t scrollxl_debug = 0;

namespace {

constexpr int32_t init_speed = 8;

// Pixels per letter, or 0 when the Fonts give no usable advance.
int32_t letter_advance(const ScrollXL* scroller)
{
    const Font* big = scroller->big_font;
    const Font* small = scroller->small_font;
    if (!big || !small || big->width < 1 || small->width < 1) {
        return 0;
    }
    const int64_t advance = int64_t{big->width} * small->width;
    return advance <= INT32_MAX ? static_cast<int32_t>(advance) : 0;
}

}  // namespace

void scrollxl_error()
{
    if (scrollxl_debug) {
        puts("SCROLLXL error");
    }
}

ScrollXL* scrollxl_new()
{
    auto* scroller = static_cast<ScrollXL*>(calloc(1, sizeof(ScrollXL)));
    if (!scroller) {
        scrollxl_error();
        return nullptr;
    }
    scroller->speed = 1;
    scroller->cursor = cursor_new();
    if (!scroller->cursor) {
        free(scroller);
        scrollxl_error();
        return nullptr;
    }
    cursor_set(scroller->cursor, scroll_default_length, 1);
    return scroller;
}

void scrollxl_free(ScrollXL** scroller)
{
    if (!scroller || !*scroller) {
        scrollxl_error();
        return;
    }
    cursor_free(&(*scroller)->cursor);
    free(*scroller);
    *scroller = nullptr;
}

// An empty text has no letter to show and is refused.
void scrollxl_init(ScrollXL* scroller, const char* text, Font* big, Font* small, Image* target)
{
    if (!scroller || !text || !big || !small || !target || text[0] == '\0') {
        scrollxl_error();
        return;
    }
    scroll_bind_text(&scroller->cursor, text);
    scroller->text = text;
    scroller->x = 0;
    scroller->y = 0;
    scroller->z = 1;
    scroller->width = target->width;
    scroller->height = big->height;
    scroller->depth = big->depth;
    scroller->small_font = small;
    scroller->big_font = big;
    scroller->target = target;
    scroller->offset = 0;
    scroller->speed = init_speed;
}

void scrollxl_step(ScrollXL* scroller)
{
    const int32_t advance = scroller ? letter_advance(scroller) : 0;
    if (advance == 0 || !scroll_ready(scroller->text, scroller->cursor)) {
        scrollxl_error();
        return;
    }
    scroll_advance(scroller->cursor, &scroller->offset, scroller->speed, advance);
}

void scrollxl_draw(ScrollXL* scroller)
{
    const int32_t advance = scroller ? letter_advance(scroller) : 0;
    if (advance == 0 || !scroll_ready(scroller->text, scroller->cursor) || !scroller->target) {
        scrollxl_error();
        return;
    }
    Font* big = scroller->big_font;
    big->target = scroller->target;
    big->y = scroller->y;
    big->x = scroller->x - scroller->offset;
    scroller->small_font->target = scroller->target;
    scroll_draw_glyphs(scroller->text, scroller->cursor, scroller->width / advance + 2, big,
                       scroller->small_font);
}
