// Spinning hearts rising over the sky with the waving scroll text. Four
// layers of hearts float upward at four speeds over a fixed gradient; the
// pink scroll text is drawn into its own strip and copied onto the screen
// bent into a travelling sine wave.
#include "assets.h"
#include "disty.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"
#include "raster.h"
#include "scroll.h"
#include "stars.h"

#include <cstdlib>
#include <initializer_list>

// The 64-frame spin strips of the four hearts, largest first, and the
// scroller; the tests read them too. The strips, like the scroll font and
// canvas and the wave below, live until the process ends: shutdown keeps them.
Font* heart_strip_1 = nullptr;
Font* heart_strip_2 = nullptr;
Font* heart_strip_3 = nullptr;
Font* heart_strip_4 = nullptr;
Scroll* scroller = nullptr;

namespace {

Stars* hearts_1 = nullptr;  // farthest: many small hearts, slowest
Stars* hearts_2 = nullptr;
Stars* hearts_3 = nullptr;
Stars* hearts_4 = nullptr;  // nearest: few large hearts, fastest
Font* scroll_font = nullptr;
Image* scroll_canvas = nullptr;
Disty* wave = nullptr;
Raster* sky = nullptr;

constexpr int32_t heart_cell = 32;
constexpr int32_t spin_frames = 64;
constexpr int32_t letter_cell = 64;
constexpr int32_t scroll_start_speed = 6;
constexpr int32_t scroll_speed_limit = 15;  // speeds stay in -14 .. 14
constexpr int32_t gradient_run = 32;        // rows per part of the sky gradient

// One layer of hearts: the sprite cell it spins, how much darker the heart
// gets as it turns edge-on, its rise per frame and its number of hearts.
struct HeartLayer {
    int32_t cell_x;
    int32_t darkening;
    int32_t velocity_y;
    int32_t count;
};

constexpr HeartLayer largest_hearts = {224, 4, -262144, 8};
constexpr HeartLayer large_hearts = {160, 5, -196608, 16};
constexpr HeartLayer small_hearts = {96, 5, -131072, 32};
constexpr HeartLayer smallest_hearts = {32, 5, -65536, 64};

// Frame k squeezes the heart to |spin_table[k]| columns, centred in its
// cell and darkened by the columns it lost.
void heart_frame_draw(const Image* cell, Image* strip, int32_t k, int32_t darkening)
{
    const int32_t width = std::abs(spin_table[k]);
    Image* frame = img_new();
    img_resize(frame, width, heart_cell);
    img_scale(cell, frame);
    img_fade(frame, (heart_cell - width) * darkening);
    img_blit(frame, strip, 0, 0, (heart_cell - width) / 2, heart_cell * k, heart_cell, heart_cell);
    img_free(&frame);
}

// The heart in the top row of the sprite sheet at cell_x, turning about its
// vertical axis in 64 frames stacked downward.
Font* heart_strip_new(const HeartLayer& layer)
{
    Font* strip = font_new();
    if (!strip) {
        demo_error();
        return nullptr;
    }
    strip->width = heart_cell;
    strip->height = heart_cell;
    strip->picture = img_new();
    img_resize(strip->picture, heart_cell, heart_cell * spin_frames);
    Image* cell = img_new();
    img_resize(cell, heart_cell, heart_cell);
    img_blit(sprite_font ? sprite_font->picture : nullptr, cell, layer.cell_x, 0, 0, 0, heart_cell,
             heart_cell);
    for (int32_t k = 0; k < spin_frames; ++k) {
        heart_frame_draw(cell, strip->picture, k, layer.darkening);
    }
    img_free(&cell);
    return strip;
}

// Creating the layer and setting its count both draw random positions.
Stars* heart_layer_new(const HeartLayer& layer, Font* strip)
{
    Stars* hearts = stars_new();
    if (!hearts) {
        demo_error();
        return nullptr;
    }
    hearts->width = screen_width;
    hearts->height = screen_height;
    hearts->velocity_y = layer.velocity_y;
    stars_set_count(hearts, layer.count);
    hearts->font = strip;
    return hearts;
}

Disty* wave_new(int32_t height)
{
    Disty* bend = disty_new();
    if (!bend) {
        demo_error();
        return nullptr;
    }
    bend->amplitude = height / 2;
    bend->phase.offset_step = -3;
    bend->phase.step = 1;
    bend->x = 0;
    bend->source = scroll_canvas;
    bend->y = height / 2 - letter_cell;
    return bend;
}

// Colour of the sky row `rows_up` rows above the bottom: white fading to
// cyan, cyan to blue, then blue to black.
uint32_t sky_colour(int32_t rows_up)
{
    const auto k = static_cast<uint32_t>(rows_up % gradient_run);
    switch (rows_up / gradient_run) {
    case 0: return 0xFFFFFF - k * 0x080000;
    case 1: return 0x00FFFF - k * 0x000800;
    default: return 0x0000FF - k * 8;
    }
}

// The bottom 96 rows hold the gradient; the rows above stay black.
Raster* sky_new(int32_t height)
{
    Raster* gradient = raster_new();
    raster_set_count(gradient, height);
    if (!gradient || !gradient->colours) {
        return gradient;
    }
    for (int32_t rows_up = 0; rows_up < 3 * gradient_run && rows_up < height; ++rows_up) {
        gradient->colours[height - 1 - rows_up] = sky_colour(rows_up);
    }
    return gradient;
}

void part_hearts_draw()
{
    raster_draw(sky, screen);
    for (Stars* hearts : {hearts_1, hearts_2, hearts_3, hearts_4}) {
        stars_step(hearts);
        stars_draw(hearts, screen);
    }
    img_clear(scroll_canvas);
    scroll_step(scroller);
    scroll_draw(scroller);
    disty_draw(wave, screen);
    disty_step(wave);
}

// a slows the text down and s speeds it up; rem truncates toward zero, so
// the speed runs backwards down to -14.
void part_hearts_keys(uint8_t key)
{
    if (!scroller || (key != 'a' && key != 's')) {
        return;
    }
    const int32_t change = key == 'a' ? -1 : 1;
    scroller->speed = (scroller->speed + change) % scroll_speed_limit;
}

}  // namespace

void part_hearts_setup()
{
    heart_strip_1 = heart_strip_new(largest_hearts);
    heart_strip_2 = heart_strip_new(large_hearts);
    heart_strip_3 = heart_strip_new(small_hearts);
    heart_strip_4 = heart_strip_new(smallest_hearts);
    hearts_4 = heart_layer_new(largest_hearts, heart_strip_1);
    hearts_3 = heart_layer_new(large_hearts, heart_strip_2);
    hearts_2 = heart_layer_new(small_hearts, heart_strip_3);
    hearts_1 = heart_layer_new(smallest_hearts, heart_strip_4);
    // The sprite sheet doubled, so each pink letter is 64 x 64.
    scroll_font = demo_font_doubled(sprite_font ? sprite_font->picture : nullptr, letter_cell);
    scroll_canvas = img_new();
    img_resize(scroll_canvas, screen_width, letter_cell);
    scroller = scroll_new();
    scroll_init(scroller, hearts_scroll_text, scroll_font, scroll_canvas);
    if (scroller) {
        scroller->speed = scroll_start_speed;
    }
    wave = wave_new(screen_height);
    sky = sky_new(screen_height);
}

void part_hearts_free()
{
    stars_free(&hearts_4);
    stars_free(&hearts_3);
    stars_free(&hearts_2);
    stars_free(&hearts_1);
    scroll_free(&scroller);
    raster_free(&sky);
}

const PartSteps part_hearts_steps = {
    .frames = 1000, .reset = nullptr, .draw = part_hearts_draw, .keys = part_hearts_keys};

void part_hearts_run()
{
    demo_run_part(part_hearts_steps);
}
