// Glyph drawing: a character code picks a cell in reading order.
#include "font.h"

#include "img.h"

#include <cstdio>
#include <cstdlib>

[[gnu::used]] static const char* const font_id[] = {"CODE", "C", "Tobrenko", "20101104", "FONT"};

uint8_t font_debug = 0;

constexpr int32_t font_default_cell = 6;

void font_error()
{
    if (font_debug) {
        puts("FONT Error.");
    }
}

void font_check(const Font* font)
{
    if (!font) {
        font_error();
    }
}

void font_check_pair(const void* a, const void* b)
{
    if (!a || !b) {
        font_error();
    }
}

Font* font_new()
{
    auto* font = static_cast<Font*>(calloc(1, sizeof(Font)));
    if (!font) {
        font_error();
        return nullptr;
    }
    font->width = font_default_cell;
    font->height = font_default_cell;
    return font;
}

void font_free(Font** font)
{
    if (!font || !*font) {
        font_error();
        return;
    }
    if ((*font)->picture) {
        img_free(&(*font)->picture);
    }
    free(*font);
    *font = nullptr;
}

struct CellOrigin {
    int32_t x;
    int32_t y;
};

// Cells lie in reading order, picture width / cell width per row. Division
// truncates toward zero, so negative codes land left of or above the picture.
static CellOrigin font_cell(const Font* font, int32_t code)
{
    const int64_t n = int64_t{code} * font->width;
    const int64_t picture_width = font->picture->width;
    return {static_cast<int32_t>(n % picture_width), static_cast<int32_t>((n / picture_width) * font->height)};
}

using GlyphCopy = void (*)(const Image*, Image*, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t);

static void font_draw_char(Font* font, GlyphCopy copy)
{
    if (!font || !font->picture || font->picture->width <= 0) {
        font_error();
        return;
    }
    const CellOrigin cell = font_cell(font, font->character);
    copy(font->picture, font->target, cell.x, cell.y, font->x, font->y, font->width, font->height);
    font->x += font->width;
}

void font_put_char(Font* font)
{
    font_draw_char(font, img_blit);
}

void font_add_char(Font* font)
{
    font_draw_char(font, img_add);
}

static bool font_cell_inside(const Font* font, CellOrigin cell)
{
    const Image* picture = font->picture;
    return cell.x >= 0 && cell.y >= 0 && cell.x + font->width <= picture->width &&
           cell.y + font->height <= picture->height;
}

// Every lit pixel of big's glyph becomes one copy of small's current glyph.
// A code whose cell is not wholly inside the picture draws nothing.
void font_put_char_big(Font* big, Font* small)
{
    if (!big || !small || !big->picture || !big->target || !small->picture ||
        big->picture->width <= 0 || !big->picture->pixels) {
        font_error();
        return;
    }
    small->target = big->target;
    const CellOrigin cell = font_cell(big, big->character);
    if (font_cell_inside(big, cell)) {
        const Image* picture = big->picture;
        for (int32_t row = 0; row < big->height; ++row) {
            const uint32_t* pixel = picture->pixels + (cell.y + row) * picture->width + cell.x;
            for (int32_t column = 0; column < big->width; ++column) {
                if (pixel[column] != 0) {
                    small->x = big->x + column * small->width;
                    small->y = big->y + row * small->height;
                    font_put_char(small);
                }
            }
        }
    }
    big->x += big->width * small->width;
}

void font_print(Font* font, const char* text)
{
    if (!font || !text || !font->picture) {
        font_error();
        return;
    }
    for (const char* c = text; *c != '\0' && *c != '\n'; ++c) {
        font->character = static_cast<signed char>(*c);
        font_put_char(font);
    }
}

static void font_print_digits(Font* font, uint32_t value, int32_t digits)
{
    if (!font || !font->picture) {
        font_error();
        return;
    }
    for (int32_t shift = (digits - 1) * 4; shift >= 0; shift -= 4) {
        const int32_t digit = static_cast<int32_t>((value >> shift) & 0xF);
        font->character = digit <= 9 ? '0' + digit : 'A' + digit - 10;
        font_put_char(font);
    }
}

void font_print_hex8(Font* font, uint8_t value)
{
    font_print_digits(font, value, 2);
}

void font_print_hex16(Font* font, uint32_t value)
{
    font_print_digits(font, value, 4);
}

void font_print_hex32(Font* font, uint32_t value)
{
    font_print_digits(font, value, 8);
}
