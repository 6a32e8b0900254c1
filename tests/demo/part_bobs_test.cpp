// The frame-rate overlay over the bobs, run through the SDL stand-in.
#include "demo_child.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"

#include <gtest/gtest.h>

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
