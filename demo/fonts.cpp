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

// The 8x8 glyphs doubled to 16x16 so the text reads well on the screen.
static Font* demo_text_font_new()
{
    Image* glyphs = img_from_pnm(pnm_font);
    Font* font = font_new();
    if (font && glyphs) {
        font->picture = img_new();
        img_resize(font->picture, 2 * glyphs->width, 2 * glyphs->height);
        img_scale(glyphs, font->picture);
        font->width = text_cell;
        font->height = text_cell;
    }
    img_free(&glyphs);
    return font;
}

static Font* demo_sprite_font_new()
{
    Font* font = font_new();
    if (font) {
        font->picture = img_from_pnm(pnm_sprites);
        font->width = sprite_cell;
        font->height = sprite_cell;
    }
    return font;
}

void demo_fonts_setup()
{
    text_font = demo_text_font_new();
    sprite_font = demo_sprite_font_new();
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
