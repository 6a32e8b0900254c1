// Additive bobs: a chain of dark balls on a Lissajous path of two sine
// pairs, added to a screen that is never cleared. The sums wrap from one
// channel into the next, so often-hit pixels cycle through all colours.
#include "font.h"
#include "fonts.h"
#include "parts.h"
#include "vec2d.h"

#include <cstdlib>

namespace {

// One sine wave of the path: its phase, its advance per frame and per bob.
struct BobWave {
    int32_t phase;
    int32_t frame_step;
    int32_t bob_step;
};

BobWave wave_x1{};  // large horizontal
BobWave wave_y1{};  // large vertical
BobWave wave_x2{};  // small horizontal
BobWave wave_y2{};  // small vertical
int32_t bob_count = 0;

constexpr int32_t bob_code = 23;  // the very dark ball of the sprite sheet
constexpr int32_t bob_size = 32;

// Phase first, then both steps: the order of the draws fixes every later frame.
BobWave bob_wave_draw(int32_t step_mask, int32_t step_base)
{
    BobWave wave{};
    wave.phase = rand() & 1023;
    wave.frame_step = (rand() & step_mask) + step_base;
    wave.bob_step = (rand() & step_mask) + step_base;
    return wave;
}

void part_bobs_setup()
{
    wave_x1 = bob_wave_draw(63, 7);
    wave_y1 = bob_wave_draw(63, 7);
    wave_x2 = bob_wave_draw(31, 3);
    wave_y2 = bob_wave_draw(31, 3);
    bob_count = (rand() & 63) + 3;
}

void bob_wave_advance(BobWave& wave)
{
    wave.phase = (wave.phase + wave.frame_step) & 1023;
}

int32_t bob_offset(int32_t phase, int32_t amplitude)
{
    return (sine_table[phase] * amplitude) >> 15;
}

void part_bobs_draw()
{
    if (!sprite_font) {
        demo_error();
        return;
    }
    sprite_font->character = bob_code;
    sprite_font->target = screen;
    const int32_t w = screen_width - bob_size;
    const int32_t h = screen_height - bob_size;
    bob_wave_advance(wave_x1);
    bob_wave_advance(wave_y1);
    bob_wave_advance(wave_x2);
    bob_wave_advance(wave_y2);
    int32_t p1 = wave_x1.phase, q1 = wave_y1.phase, p2 = wave_x2.phase, q2 = wave_y2.phase;
    for (int32_t bob = 0; bob < bob_count; ++bob) {
        sprite_font->x = bob_offset(p1, w >> 1) + (w >> 1) + bob_offset(p2, w >> 2);
        sprite_font->y = bob_offset(q1, h >> 1) + (h >> 1) + bob_offset(q2, h >> 2);
        font_add_char(sprite_font);
        p1 = (p1 + wave_x1.bob_step) & 1023;
        q1 = (q1 + wave_y1.bob_step) & 1023;
        p2 = (p2 + wave_x2.bob_step) & 1023;
        q2 = (q2 + wave_y2.bob_step) & 1023;
    }
}

}  // namespace

const PartSteps part_bobs_steps = {.frames = 800, .reset = part_bobs_setup, .draw = part_bobs_draw, .keys = nullptr};

void part_bobs_run()
{
    demo_run_part(part_bobs_steps);
}
