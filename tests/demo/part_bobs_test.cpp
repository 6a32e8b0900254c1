// The frame-rate overlay over the bobs, run through the SDL stand-in.
#include "demo_child.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"
#include "vec2d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

TEST(FrameRateOverlay, BottomLeftCornerShowsTheMeasuredRateInHex)
{
    start_demo();
    standin_tap(fade + 1, SDLK_8);
    part_bobs_run();
    ASSERT_EQ(switches[0] & 1, 1);
    const auto& frame = standin_last_frame();
    const Image* glyphs = text_font->picture;
    int32_t lit = 0;
    for (int32_t digit = 0; digit < 2; ++digit) {
        const int32_t code = "32"[digit];  // 50 frames per second
        const int32_t cell_x = (code * 16) % glyphs->width;
        const int32_t cell_y = (code * 16) / glyphs->width * 16;
        for (int32_t y = 0; y < 16; ++y) {
            for (int32_t x = 0; x < 16; ++x) {
                const uint32_t glyph = img_get_pixel(glyphs, cell_x + x, cell_y + y);
                if (glyph != 0) {
                    ++lit;
                    ASSERT_EQ(frame[(screen_height - 16 + y) * screen_width + digit * 16 + x], glyph);
                }
            }
        }
    }
    EXPECT_GT(lit, 20);
}

// The first frame of a pass puts the bobs where the drawn phases and steps
// say: for each of the four waves its phase, then its frame step, then its
// step from bob to bob; then the number of bobs.
TEST(PartBobs, FirstFrameFollowsTheDrawnPhasesAndSteps)
{
    start_demo();
    srand(1234);
    int32_t draws[13];
    for (int32_t& draw : draws) {
        draw = rand();
    }
    srand(1234);
    part_bobs_steps.reset();
    img_clear(screen);
    part_bobs_steps.draw();
    const std::vector<uint32_t> drawn(screen->pixels, screen->pixels + screen_width * screen_height);
    ASSERT_NE(std::count(drawn.begin(), drawn.end(), 0u), static_cast<std::ptrdiff_t>(drawn.size()));

    img_clear(screen);
    constexpr int32_t masks[] = {63, 63, 31, 31}, bases[] = {7, 7, 3, 3};
    int32_t phase[4], bob_step[4];
    for (int32_t wave = 0; wave < 4; ++wave) {
        const int32_t* drawn_for = draws + 3 * wave;
        phase[wave] = (drawn_for[0] & 1023) + (drawn_for[1] & masks[wave]) + bases[wave];  // one frame on
        bob_step[wave] = (drawn_for[2] & masks[wave]) + bases[wave];
    }
    const int32_t w = screen_width - 32, h = screen_height - 32;
    const auto at = [&](int32_t wave, int32_t bob, int32_t amplitude) {
        return (sine_table[(phase[wave] + bob * bob_step[wave]) & 1023] * amplitude) >> 15;
    };
    for (int32_t bob = 0; bob < (draws[12] & 63) + 3; ++bob) {
        sprite_font->x = at(0, bob, w >> 1) + (w >> 1) + at(2, bob, w >> 2);
        sprite_font->y = at(1, bob, h >> 1) + (h >> 1) + at(3, bob, h >> 2);
        font_add_char(sprite_font);
    }
    EXPECT_EQ(std::vector<uint32_t>(screen->pixels, screen->pixels + screen_width * screen_height), drawn);
}
