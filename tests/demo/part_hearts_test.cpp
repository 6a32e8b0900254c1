// The hearts part through the SDL stand-in: the sky behind everything and the speed keys.
#include "demo_child.h"
#include "parts.h"
#include "scroll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

constexpr int32_t side = 256;

// Black down to 96 rows above the bottom, then blue, cyan and red rising by
// 8 a row toward the white bottom row.
uint32_t expected_sky(int32_t y)
{
    const int32_t up = side - 1 - y;
    const auto level = [](int32_t rows) { return static_cast<uint32_t>(255 - 8 * rows); };
    if (up < 32) {
        return level(up) << 16 | 0xFFFF;
    }
    if (up < 64) {
        return level(up - 32) << 8 | 0xFF;
    }
    return up < 96 ? level(up - 64) : 0;
}

}  // namespace

// Hearts and letters cover parts of every row, but in no row as much as the sky.
TEST(HeartsPart, EveryRowShowsItsSkyColourWhereNothingCoversIt)
{
    start_demo();
    std::vector<std::map<uint32_t, int32_t>> rows(side);
    standin_on_present(
        [](const uint32_t* pixels, int32_t, int32_t, void* user) {
            if (standin_presents() <= fade || standin_presents() % 97 != 0) {
                return;  // ten frames spread over the part
            }
            auto& counts = *static_cast<std::vector<std::map<uint32_t, int32_t>>*>(user);
            for (int32_t i = 0; i < side * side; ++i) {
                ++counts[i / side][pixels[i]];
            }
        },
        &rows);
    part_hearts_run();
    for (int32_t y = 0; y < side; ++y) {
        const auto most = std::max_element(rows[y].begin(), rows[y].end(),
                                           [](const auto& a, const auto& b) { return a.second < b.second; });
        EXPECT_EQ(most->first, expected_sky(y)) << "row " << y;
    }
}

// a and s step the speed by -1 and +1, remainder by 15 truncating toward zero, across passes.
TEST(HeartsPart, KeysAAndSChangeTheScrollSpeed)
{
    start_demo();
    ASSERT_TRUE(scroller);
    // A tap at the first frame would be lost with the fade's: taps start at the second.
    const auto tap = [](int32_t sym, int32_t times, uint64_t from) {
        for (int32_t i = 0; i < times; ++i) {
            standin_tap(from + 3 * i, sym);
        }
    };
    tap(SDLK_a, 7, fade + 2);
    part_hearts_run();
    EXPECT_EQ(scroller->speed, -1);
    const uint64_t next = standin_presents() + fade + 2;
    tap(SDLK_a, 14, next);
    tap(SDLK_s, 14, next + 100);
    standin_tap(next + 200, SDLK_SPACE);
    part_hearts_run();
    EXPECT_EQ(scroller->speed, 14);  // -1 down to -14, then 0; up from 0 to 14
}
