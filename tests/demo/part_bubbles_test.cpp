// The waving text page over 3D bubbles, run through the SDL stand-in.
#include "assets.h"
#include "demo_child.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"
#include "vec2d.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t cell = 16;

// Lit glyph pixels of the last visible character of the page that do not
// show in the frame where the wave puts it after `frames` frames. Nothing is
// drawn over that character but the corner marks on the screen's edges,
// which are left out.
int32_t last_character_misplaced(const std::vector<uint32_t>& frame, uint32_t frames)
{
    int32_t k = 255;
    while (k > 0 && grid_text[k] == ' ') {
        --k;
    }
    const uint32_t a = 31 * frames + 67 * static_cast<uint32_t>(k);
    const uint32_t b = 29 * frames + 59 * static_cast<uint32_t>(k);
    const int32_t pen_x = (sine_table[a & 1023] >> 12) + cell * (k % 16);
    const int32_t pen_y = (sine_table[b & 1023] >> 12) + cell * (k / 16);
    const int32_t n = grid_text[k] * cell;
    const Image* glyphs = text_font->picture;
    int32_t misplaced = 0;
    for (int32_t y = 0; y < cell; ++y) {
        for (int32_t x = 0; x < cell; ++x) {
            const int32_t sx = pen_x + x, sy = pen_y + y;
            const uint32_t lit = img_get_pixel(glyphs, n % glyphs->width + x, n / glyphs->width * cell + y);
            if (lit != 0 && sx > 0 && sy > 0 && sx < screen_width - 1 && sy < screen_height - 1) {
                misplaced += frame[static_cast<size_t>(sy * screen_width + sx)] != lit;
            }
        }
    }
    return misplaced;
}

}  // namespace

TEST(PartBubbles, CornerMarksAndTheWaveHoldAcrossTwoPasses)
{
    start_demo();
    for (uint32_t pass = 1; pass <= 2; ++pass) {
        part_bubbles_run();
        const auto& frame = standin_last_frame();
        const int32_t w = screen_width, h = screen_height;
        auto at = [&](int32_t x, int32_t y) { return frame[static_cast<size_t>(y * w + x)]; };
        for (int32_t i = 0; i < 16; ++i) {
            const uint32_t step = 4 * static_cast<uint32_t>(i);
            const uint32_t colour = (0x40 - step) << 16 | (0x80 - step) << 8 | (0xF0 - step);
            for (uint32_t pixel : {at(i, 0), at(0, i), at(w - 1 - i, 0), at(w - 1, i), at(i, h - 1),
                                   at(0, h - 1 - i), at(w - 1 - i, h - 1), at(w - 1, h - 1 - i)}) {
                ASSERT_EQ(pixel, colour) << "pass " << pass << ", step " << i;
            }
        }
        // The phases are never reset, so the second pass waves on from the first.
        EXPECT_EQ(last_character_misplaced(frame, 1001 * pass), 0) << "pass " << pass;
    }
}
