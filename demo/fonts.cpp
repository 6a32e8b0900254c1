// The shared text font and sprite sheet, built once at start-up.
#include "fonts.h"

#include "assets.h"
#include "demo.h"
#include "font.h"
#include "fps.h"
#include "img.h"

Font* text_font = nullptr;
Font* sprite_font = nullptr;

constexpr int32_t text_cell = 16;
constexpr int32_t sprite_cell = 32;

Font* demo_font_from_pnm(const uint8_t* pnm, int32_t cell)
{
    Font* font = font_new();
    if (font) {
        font->picture = img_from_pnm(pnm);
        font->width = cell;
        font->height = cell;
    }
    return font;
}

Font* demo_font_doubled(const Image* picture, int32_t cell)
{
    Font* font = font_new();
    if (!font || !picture) {
        demo_error();
        return font;
    }
    font->picture = img_new();
    img_resize(font->picture, 2 * picture->width, 2 * picture->height);
    img_scale(picture, font->picture);
    font->width = cell;
    font->height = cell;
    return font;
}

void demo_fonts_setup()
{
    // The 8x8 glyphs doubled to 16x16 so the text reads well on the screen.
    Image* glyphs = img_from_pnm(pnm_font);
    text_font = demo_font_doubled(glyphs, text_cell);
    img_free(&glyphs);
    sprite_font = demo_font_from_pnm(pnm_sprites, sprite_cell);
}

void demo_fonts_free()
{
    font_free(&text_font);
    font_free(&sprite_font);
}

void demo_draw_frame_rate()
{
    if (!text_font) {
        demo_error();
        return;
    }
    text_font->x = 0;
    text_font->y = screen_height - text_font->height;
    text_font->target = screen;
    font_print_hex8(text_font, static_cast<uint8_t>(fps_clock.frame_rate));
}
