// The soap-window part through the SDL stand-in: the colour walk seen in the
// window colour, and the swing coming to rest on both passes through the ring.
#include "assets.h"
#include "demo_child.h"
#include "img.h"
#include "parts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

constexpr uint64_t part_frames = 1251;
constexpr int32_t side = 256;

using Frames = std::map<uint64_t, std::vector<uint32_t>>;

struct Grab {
    std::set<uint64_t> wanted;
    Frames frames;
};

// Runs the part `passes` times from a fresh start, keeping the frames shown
// at the wanted present counts.
Frames run_spirals(const std::set<uint64_t>& wanted, int32_t passes)
{
    Grab grab{wanted, {}};
    start_demo();
    standin_on_present(
        [](const uint32_t* pixels, int32_t width, int32_t height, void* user) {
            auto* keep = static_cast<Grab*>(user);
            if (keep->wanted.count(standin_presents())) {
                keep->frames[standin_presents()].assign(pixels, pixels + width * height);
            }
        },
        &grab);
    for (int32_t pass = 0; pass < passes; ++pass) {
        part_spirals_run();
    }
    return grab.frames;
}

// True when every rim pixel of the upper window at upper_x and the lower one
// at lower_x shows unchanged where it lands on the screen.
bool windows_at(const std::vector<uint32_t>& frame, const Image* rim, int32_t upper_x, int32_t lower_x)
{
    for (int32_t y = 0; y < side; ++y) {
        const int32_t left = y < side / 2 ? upper_x : lower_x;
        for (int32_t i = std::max(0, -left); i < std::min(side, side - left); ++i) {
            const uint32_t pixel = rim->pixels[(y % (side / 2)) * side + i];
            if (pixel && frame[y * side + left + i] != pixel) {
                return false;
            }
        }
    }
    return true;
}

// The window colour covers far more of the frame than any circle, rim shade
// or spiral trail colour.
uint32_t window_colour(const std::vector<uint32_t>& frame)
{
    std::unordered_map<uint32_t, int32_t> counts;
    std::pair<uint32_t, int32_t> best{0, 0};
    for (uint32_t pixel : frame) {
        const int32_t count = pixel ? ++counts[pixel] : 0;
        best = count > best.second ? std::pair{pixel, count} : best;
    }
    return best.first;
}

}  // namespace

// One run of two passes. The colour walk starts at red 0 (velocity 0x8000),
// green 0x800000 falling by 49153 and blue 0x400000 rising by 0x4000 a frame.
// The swings restart at 2 x 256 while the phases and the frame parity go on.
// First pass: swing 1 and a negative sine put the upper window at -1 in frame
// 1023; rest from 1024. Second pass: the upper phase starts at 908, so frame
// 29 has both windows at 0, and the odd parity brings rest a frame earlier.
TEST(SpiralsPart, ColourWalksAndWindowsComeToRestOnBothPasses)
{
    Image* rim = img_from_pnm(pnm_frame);
    ASSERT_TRUE(rim);
    const uint64_t second = 2 * fade + part_frames;
    const std::set<uint64_t> wanted{fade + 1,           fade + 17,   fade + 1023,   fade + 1024,
                                    fade + part_frames, second + 29, second + 1022, second + 1023};
    Frames frames = run_spirals(wanted, 2);
    EXPECT_EQ(window_colour(frames[fade + 1]), 0x007F40u);  // red turned round and stayed 0
    const uint32_t seventeenth = window_colour(frames[fade + 17]);
    EXPECT_EQ(seventeenth & 0xFFFF, 0x7344u);  // green 0x800000 - 17 x 49153, blue 0x400000 + 17 x 0x4000
    EXPECT_GT(seventeenth >> 16, 0u);           // red rising by at least 4096 a frame since frame 2
    EXPECT_TRUE(windows_at(frames[fade + 1023], rim, -1, 0));
    EXPECT_FALSE(windows_at(frames[fade + 1023], rim, 0, 0));
    EXPECT_TRUE(windows_at(frames[fade + 1024], rim, 0, 0));
    EXPECT_TRUE(windows_at(frames[fade + part_frames], rim, 0, 0));
    EXPECT_TRUE(windows_at(frames[second + 29], rim, 0, 0));
    EXPECT_TRUE(windows_at(frames[second + 1022], rim, -1, 0));
    EXPECT_TRUE(windows_at(frames[second + 1023], rim, 0, 0));
    img_free(&rim);
}
