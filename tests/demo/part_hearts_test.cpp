// The hearts part through the SDL stand-in: repeatable frames, the sky
// behind everything, the spin strips built at start-up and the speed keys.
#include "assets.h"
#include "demo.h"
#include "demo_child.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"
#include "scroll.h"
#include "sdl_standin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

extern Font* heart_strip_1;
extern Font* heart_strip_2;
extern Font* heart_strip_3;
extern Font* heart_strip_4;
extern Scroll* scroller;

namespace {

constexpr uint64_t fade = 32;
constexpr int32_t side = 256;
constexpr int32_t cell = 32;

void start_demo()
{
    standin_reset();
    demo_init();
}

// Rows that no heart or letter covers show this colour: black down to 96
// rows above the bottom, then blue, cyan and white rising by 8 a row.
uint32_t expected_sky(int32_t y)
{
    const int32_t up = side - 1 - y;
    const auto rising = [](int32_t rows) { return static_cast<uint32_t>(255 - 8 * rows); };
    if (up < 32) {
        return rising(up) << 16 | 0xFFFF;
    }
    if (up < 64) {
        return rising(up - 32) << 8 | 0xFF;
    }
    return up < 96 ? rising(up - 64) : 0;
}

// Of the 32 x 32 frame k of a one-cell-wide picture.
int32_t brightest_channel(const Image* picture, int32_t k)
{
    uint32_t brightest = 0;
    for (int32_t i = k * cell * cell; i < (k + 1) * cell * cell; ++i) {
        const uint32_t p = picture->pixels[i];
        brightest = std::max({brightest, p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF});
    }
    return static_cast<int32_t>(brightest);
}

}  // namespace

TEST(HeartsPart, FramesAreTheSameAtEveryRun)
{
    const auto run = [] {
        start_demo();
        part_hearts_run();
        return std::vector<uint64_t>{standin_frames_hash(), standin_presents()};
    };
    const std::vector<uint64_t> first = run_in_child(run);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1], fade + 1001);
    EXPECT_EQ(first, run_in_child(run));
}

TEST(HeartsPart, EveryRowShowsItsSkyColourWhereNothingCoversIt)
{
    start_demo();
    std::vector<std::map<uint32_t, int32_t>> row_counts(side);
    standin_on_present(
        [](const uint32_t* pixels, int32_t, int32_t, void* user) {
            if (standin_presents() > fade && standin_presents() % 97 == 0) {
                auto& counts = *static_cast<std::vector<std::map<uint32_t, int32_t>>*>(user);
                for (int32_t i = 0; i < side * side; ++i) {
                    ++counts[i / side][pixels[i]];
                }
            }
        },
        &row_counts);
    part_hearts_run();
    for (int32_t y = 0; y < side; ++y) {
        const auto most = std::max_element(row_counts[y].begin(), row_counts[y].end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        EXPECT_EQ(most->first, expected_sky(y)) << "row " << y;
    }
}

// Frame k of a strip is the heart squeezed to |spin_table[k]| columns,
// centred, darker by 4 (largest heart) or 5 per lost column.
TEST(HeartsPart, SpinStripsSqueezeTheHeartsFromTheTopRowOfTheSpriteSheet)
{
    start_demo();
    const Font* strips[] = {heart_strip_1, heart_strip_2, heart_strip_3, heart_strip_4};
    const int32_t cell_x[] = {224, 160, 96, 32};
    const int32_t darkening[] = {4, 5, 5, 5};
    Image* heart = img_new();
    img_resize(heart, cell, cell);
    for (int32_t s = 0; s < 4; ++s) {
        ASSERT_TRUE(strips[s] && strips[s]->picture);
        const Image* strip = strips[s]->picture;
        img_clear(heart);
        img_blit(sprite_font->picture, heart, cell_x[s], 0, 0, 0, cell, cell);
        for (int32_t k = 0; k < 64; ++k) {
            const int32_t width = std::abs(spin_table[k]);
            const int32_t left = (cell - width) / 2;
            int32_t lit_columns = 0;
            for (int32_t x = 0; x < cell; ++x) {
                bool lit = false;
                for (int32_t y = k * cell; y < (k + 1) * cell; ++y) {
                    lit = lit || img_get_pixel(strip, x, y) != 0;
                    ASSERT_EQ(img_get_pixel(strip, x, y), img_get_pixel(strip, x, (y + 32 * cell) % (64 * cell)));
                }
                EXPECT_TRUE(!lit || (x >= left && x < left + width)) << s << " frame " << k << " column " << x;
                lit_columns += lit;
            }
            EXPECT_GE(lit_columns, s == 0 ? width - 1 : 1) << s << " frame " << k;
            const int32_t fade_amount = (cell - width) * darkening[s];
            EXPECT_LE(brightest_channel(strip, k), std::max(0, brightest_channel(heart, 0) - fade_amount));
            if (width == cell) {
                EXPECT_TRUE(std::equal(heart->pixels, heart->pixels + cell * cell, strip->pixels + k * cell * cell));
            }
        }
    }
    img_free(&heart);
}

// a and s step the speed by -1 and +1, remainder by 15 truncating toward
// zero; only this part reads them, and the speed carries over to the next pass.
TEST(HeartsPart, KeysAAndSChangeTheScrollSpeed)
{
    start_demo();
    ASSERT_TRUE(scroller);
    standin_tap(fade + 3, SDLK_a);
    standin_tap(fade + 6, SDLK_SPACE);
    part_spirals_run();
    EXPECT_EQ(scroller->speed, 6);
    // A press and its release seen by the same poll are lost, so the first
    // tap waits for the second frame.
    const uint64_t start = standin_presents() + fade + 2;
    for (uint64_t i = 0; i < 7; ++i) {
        standin_tap(start + 3 * i, SDLK_a);
    }
    part_hearts_run();
    EXPECT_EQ(scroller->speed, -1);
    const uint64_t next = standin_presents() + fade + 2;
    for (uint64_t i = 0; i < 14; ++i) {
        standin_tap(next + 3 * i, SDLK_a);
    }
    for (uint64_t i = 0; i < 14; ++i) {
        standin_tap(next + 100 + 3 * i, SDLK_s);
    }
    standin_tap(next + 200, SDLK_SPACE);
    part_hearts_run();
    EXPECT_EQ(scroller->speed, 14);  // -1 down to -14, then 0; up from 0 to 14
}
