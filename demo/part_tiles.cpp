// Drifting blue tiles, the swinging logo and the giant bouncing scroller.
#include "assets.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"
#include "scrollxl.h"
#include "vec2d.h"

#include <cstdlib>

// Built once at start-up and kept for the whole run, so the scroller goes on
// where the last pass left it. Visible outside so tests can follow them.
ScrollXL* big_scroller = nullptr;
Image* logo = nullptr;

namespace {

Font* block_font = nullptr;  // eight coloured blocks, the bricks of the giant letters

// The background grid: which tile, where its top-left tile starts, how it drifts.
struct TileGrid {
    int32_t code;
    int32_t x;
    int32_t y;
    int32_t velocity_x;
    int32_t velocity_y;
};

// A sine index and its advance per frame.
struct Swing {
    int32_t phase;
    int32_t step;
};

constexpr int32_t tile_size = 32;
constexpr int32_t tile_first = 16;  // sprite codes 16-20 are the five blue tiles
constexpr int32_t tile_kinds = 5;
constexpr int32_t block_size = 16;
constexpr int32_t scroller_speed = 15;
constexpr int32_t scroller_height = 224;  // leaves 32 pixels of hop room on a 256 screen
constexpr int32_t scroller_speed_limit = 32;

TileGrid tiles{.code = tile_first, .x = 0, .y = 0, .velocity_x = 1, .velocity_y = 1};
Swing logo_swing_x{.phase = 0, .step = 16};
Swing logo_swing_y{.phase = 233, .step = 13};
Swing hop{.phase = 0, .step = 16};

int32_t sine(int32_t phase)
{
    return sine_table[phase & sine_mask];
}

// A new tile and a new brick colour on every pass; tile first, then brick.
void part_tiles_reset()
{
    tiles.code = rand() % tile_kinds + tile_first;
    const int32_t brick = rand() & 7;
    if (block_font) {
        block_font->character = brick;
    }
}

// Now and then a new velocity in -6 .. 5: vertical draw first, then horizontal.
void tiles_change_course()
{
    if (rand() % 255 == 0) {
        tiles.velocity_y = rand() % 12 - 6;
    }
    if (rand() % 255 == 0) {
        tiles.velocity_x = rand() % 12 - 6;
    }
}

void part_tiles_draw_background()
{
    if (sprite_font) {
        sprite_font->character = tiles.code;
        sprite_font->target = screen;
        for (int32_t x = tiles.x; x < screen_width; x += tile_size) {
            for (int32_t y = tiles.y; y < screen_height; y += tile_size) {
                sprite_font->x = x;
                sprite_font->y = y;
                font_put_char(sprite_font);
            }
        }
    } else {
        demo_error();
    }
    // The grid starts one tile up and left, so a drift either way keeps the screen covered.
    tiles.x = ((tiles.x + tiles.velocity_x) & (tile_size - 1)) - tile_size;
    tiles.y = ((tiles.y + tiles.velocity_y) & (tile_size - 1)) - tile_size;
    tiles_change_course();
}

// Centred, swinging a quarter of the screen width and an eighth of its height.
void part_tiles_draw_logo()
{
    logo_swing_x.phase = (logo_swing_x.phase + logo_swing_x.step) & sine_mask;
    logo_swing_y.phase = (logo_swing_y.phase + logo_swing_y.step) & sine_mask;
    if (!logo) {
        demo_error();
        return;
    }
    logo->x = (screen_width - logo->width) / 2 + ((sine(logo_swing_x.phase) * (screen_width >> 2)) >> 15);
    logo->y = (screen_height - logo->height) / 2 + ((sine(logo_swing_y.phase) * (screen_height >> 3)) >> 15);
    img_blit(logo, screen, 0, 0, logo->x, logo->y, logo->width, logo->height);
}

// The hop phase stays in the positive half-wave, so the letters bounce off
// the bottom like a ball instead of swinging.
void part_tiles_draw_scroller()
{
    hop.phase = (hop.phase + hop.step) & (sine_mask >> 1);
    if (!big_scroller) {
        demo_error();
        return;
    }
    const int32_t room = screen_height - big_scroller->height;
    const int32_t amplitude = 2 * room;
    big_scroller->y = room + (amplitude >> 2) - ((sine(hop.phase) * amplitude) >> 15);
    scrollxl_step(big_scroller);
    scrollxl_draw(big_scroller);
}

void part_tiles_draw()
{
    part_tiles_draw_background();
    part_tiles_draw_logo();
    part_tiles_draw_scroller();
}

// a and s: faster and slower; the remainder keeps the speed in -31 .. 31 and
// lets it run below zero, which scrolls the text backwards.
void part_tiles_keys(uint8_t key)
{
    if (!big_scroller || (key != 'a' && key != 's')) {
        return;
    }
    const int32_t change = key == 'a' ? 1 : -1;
    big_scroller->speed = (big_scroller->speed + change) % scroller_speed_limit;
}

}  // namespace

void part_tiles_setup()
{
    block_font = demo_font_from_pnm(pnm_blocks, block_size);
    big_scroller = scrollxl_new();
    scrollxl_init(big_scroller, big_scroll_text, text_font, block_font, screen);
    if (big_scroller) {
        big_scroller->width = screen_width;
        big_scroller->speed = scroller_speed;
        big_scroller->height = scroller_height;
    }
    logo = img_from_pnm(pnm_logo);
}

void part_tiles_free()
{
    font_free(&block_font);
    scrollxl_free(&big_scroller);
    img_free(&logo);
}

const PartSteps part_tiles_steps = {
    .frames = 1000, .reset = part_tiles_reset, .draw = part_tiles_draw, .keys = part_tiles_keys};

void part_tiles_run()
{
    demo_run_part(part_tiles_steps);
}
