// The additive bobs and the frame-rate overlay, run through the SDL stand-in.
#include "demo_child.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

uint32_t brightest_channel(const std::vector<uint32_t>& frame)
{
    uint32_t brightest = 0;
    for (uint32_t pixel : frame) {
        brightest = std::max({brightest, pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF});
    }
    return brightest;
}

}  // namespace

// Both passes start from the black of the fade; only the path differs.
TEST(PartBobs, FirstFrameOfEachPassIsAFaintDottedPathOfItsOwn)
{
    start_demo();
    std::vector<std::vector<uint32_t>> firsts;
    for (int32_t pass = 0; pass < 2; ++pass) {
        standin_tap(standin_presents() + fade + 1, SDLK_SPACE);
        part_bobs_run();
        const auto& frame = firsts.emplace_back(standin_last_frame());
        const auto lit = std::count_if(frame.begin(), frame.end(), [](uint32_t p) { return p != 0; });
        EXPECT_GT(lit, 0);
        EXPECT_LT(lit, static_cast<long>(frame.size() / 2));
        EXPECT_LE(brightest_channel(frame), 40u);  // a few dark balls of at most 5 per channel each
    }
    EXPECT_NE(firsts[0], firsts[1]);
}

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
