// The waving text page over bubbles flying toward the viewer.
#include "assets.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"
#include "stars3d.h"
#include "vec2d.h"

namespace {

Font* bubble_font = nullptr;  // eight rings, smallest (farthest) first
Stars3D* bubbles = nullptr;

// Unsigned so the endless advance wraps without overflow; only the low ten
// bits are ever used as a sine index.
struct Wave {
    uint32_t phase;
    uint32_t frame_step;
    uint32_t char_step;
};

Wave wave_x{.phase = 0, .frame_step = 31, .char_step = 67};
Wave wave_y{.phase = 0, .frame_step = 29, .char_step = 59};

constexpr int32_t bubble_size = 16;
constexpr int32_t bubble_count = 128;
constexpr int32_t grid_columns = 16;
constexpr int32_t grid_rows = 16;
constexpr int32_t cell = 16;
constexpr int32_t mark_length = 16;
constexpr uint32_t mark_colour = 0x4080F0;
constexpr uint32_t mark_fade = 0x040404;  // darker by 4 per channel per step from the corner

// Red rises to the right, green falls to the right, blue falls downward,
// each repeating every 32 pixels and never below half brightness.
uint32_t text_gradient(int32_t x, int32_t y)
{
    const uint32_t red = static_cast<uint32_t>(x) & 31;
    const uint32_t green = static_cast<uint32_t>(255 - x) & 31;
    const uint32_t blue = static_cast<uint32_t>(255 - y) & 31;
    return (red << 18) | (green << 10) | (blue << 2) | 0x808080;
}

// ANDs the gradient into the white-on-black glyphs; black stays black.
void text_font_colour()
{
    if (!text_font || !text_font->picture) {
        demo_error();
        return;
    }
    const Image* glyphs = text_font->picture;
    Image* gradient = img_new();
    img_resize(gradient, glyphs->width, glyphs->height);
    if (!gradient || !gradient->pixels) {
        demo_error();
        img_free(&gradient);
        return;
    }
    for (int32_t y = 0; y < gradient->height; ++y) {
        for (int32_t x = 0; x < gradient->width; ++x) {
            gradient->pixels[y * gradient->width + x] = text_gradient(x, y);
        }
    }
    img_and(gradient, text_font->picture);
    img_free(&gradient);
}

int32_t wave_offset(uint32_t phase)
{
    return sine_table[phase & static_cast<uint32_t>(sine_mask)] >> 12;  // -8 .. 7 pixels
}

// Both phases run on over all 256 characters, so neighbours wobble out of step.
void draw_waving_text()
{
    wave_x.phase += wave_x.frame_step;
    wave_y.phase += wave_y.frame_step;
    if (!text_font) {
        demo_error();
        return;
    }
    uint32_t a = wave_x.phase;
    uint32_t b = wave_y.phase;
    text_font->target = screen;
    for (int32_t row = 0; row < grid_rows; ++row) {
        for (int32_t column = 0; column < grid_columns; ++column) {
            text_font->character = static_cast<signed char>(grid_text[grid_columns * row + column]);
            text_font->x = wave_offset(a) + cell * column;
            text_font->y = wave_offset(b) + cell * row;
            font_put_char(text_font);
            a += wave_x.char_step;
            b += wave_y.char_step;
        }
    }
}

// An L of two arms in every corner, brightest at the corner pixel.
void draw_corner_marks()
{
    const int32_t right = screen_width - 1;
    const int32_t bottom = screen_height - 1;
    for (int32_t i = 0; i < mark_length; ++i) {
        const uint32_t colour = mark_colour - static_cast<uint32_t>(i) * mark_fade;
        img_put_pixel(screen, i, 0, colour);
        img_put_pixel(screen, 0, i, colour);
        img_put_pixel(screen, right - i, 0, colour);
        img_put_pixel(screen, right, i, colour);
        img_put_pixel(screen, i, bottom, colour);
        img_put_pixel(screen, 0, bottom - i, colour);
        img_put_pixel(screen, right - i, bottom, colour);
        img_put_pixel(screen, right, bottom - i, colour);
    }
}

void part_bubbles_draw()
{
    img_clear(screen);
    stars3d_step(bubbles);
    stars3d_draw(bubbles, screen);
    draw_waving_text();
    draw_corner_marks();
}

}  // namespace

void part_bubbles_setup()
{
    bubble_font = demo_font_from_pnm(pnm_bubbles, bubble_size);
    bubbles = stars3d_new();
    if (bubbles) {
        bubbles->font = bubble_font;
    }
    stars3d_set_count(bubbles, bubble_count);
    text_font_colour();
}

void part_bubbles_free()
{
    stars3d_free(&bubbles);
    font_free(&bubble_font);
}

const PartSteps part_bubbles_steps = {
    .frames = 1000, .reset = nullptr, .draw = part_bubbles_draw, .keys = nullptr};

void part_bubbles_run()
{
    demo_run_part(part_bubbles_steps);
}
