// The soap-window part through the SDL stand-in: repeatable frames, the
// colour walk seen in the window colour, and the windows' swing coming to
// rest, also on the second pass through the ring.
#include "assets.h"
#include "demo.h"
#include "demo_child.h"
#include "img.h"
#include "parts.h"
#include "sdl_standin.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <unordered_map>
#include <vector>

namespace {

constexpr uint64_t fade = 32;
constexpr uint64_t part_frames = 1251;
constexpr int32_t side = 256;
constexpr int32_t half = side / 2;

using Frame = std::vector<uint32_t>;

// Copies of the frames presented at the wanted present numbers.
struct FrameGrab {
    std::set<uint64_t> wanted;
    std::map<uint64_t, Frame> frames;
};

void grab_frame(const uint32_t* pixels, int32_t width, int32_t height, void* user)
{
    auto* grab = static_cast<FrameGrab*>(user);
    if (grab->wanted.count(standin_presents())) {
        grab->frames[standin_presents()].assign(pixels, pixels + width * height);
    }
}

void start_demo(FrameGrab& grab)
{
    standin_reset();
    demo_init();
    standin_on_present(grab_frame, &grab);
}

// True when every rim pixel of the window, placed at (x, top), that lands
// on the screen is there unchanged.
bool rim_at(const Frame& frame, const Image& rim, int32_t x, int32_t top)
{
    for (int32_t j = 0; j < rim.height; ++j) {
        for (int32_t i = 0; i < rim.width; ++i) {
            const uint32_t pixel = rim.pixels[j * rim.width + i];
            if (pixel && x + i >= 0 && x + i < side && frame[(top + j) * side + x + i] != pixel) {
                return false;
            }
        }
    }
    return true;
}

bool windows_at(const Frame& frame, const Image& rim, int32_t upper_x, int32_t lower_x)
{
    return rim_at(frame, rim, upper_x, 0) && rim_at(frame, rim, lower_x, half);
}

// The window colour covers far more of the frame than any circle, rim
// shade or spiral trail colour.
uint32_t window_colour(const Frame& frame)
{
    std::unordered_map<uint32_t, int32_t> counts;
    for (uint32_t pixel : frame) {
        counts[pixel] += pixel != 0;
    }
    uint32_t best = 0;
    int32_t best_count = 0;
    for (const auto& [pixel, count] : counts) {
        if (count > best_count) {
            best = pixel;
            best_count = count;
        }
    }
    return best;
}

uint32_t channel(uint32_t colour, int32_t shift)
{
    return (colour >> shift) & 0xFF;
}

}  // namespace

TEST(SpiralsPart, FramesAreTheSameAtEveryRun)
{
    const auto run = [] {
        FrameGrab grab;
        start_demo(grab);
        part_spirals_run();
        return std::vector<uint64_t>{standin_frames_hash(), standin_presents()};
    };
    const std::vector<uint64_t> first = run_in_child(run);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[1], fade + part_frames);
    EXPECT_EQ(first, run_in_child(run));
}

// The walk starts at red 0 (velocity 0x8000), green 0x800000 falling by
// 49153 and blue 0x400000 rising by 0x4000 per frame.
TEST(SpiralsPart, WindowColourFollowsTheColourWalk)
{
    FrameGrab grab;
    for (uint64_t k = 1; k <= 17; ++k) {
        grab.wanted.insert(fade + k);
    }
    for (uint64_t k = 128; k <= 640; k += 128) {  // both windows at x = 0
        grab.wanted.insert(fade + k);
    }
    start_demo(grab);
    part_spirals_run();
    EXPECT_EQ(window_colour(grab.frames[fade + 1]), 0x007F40u);  // red bounced and stayed 0
    uint32_t red = 0;
    for (int32_t k = 1; k <= 17; ++k) {
        const uint32_t colour = window_colour(grab.frames[fade + k]);
        EXPECT_GE(channel(colour, 16), red) << "frame " << k;  // rising after the bounce
        red = channel(colour, 16);
        EXPECT_EQ(channel(colour, 8), static_cast<uint32_t>((0x800000 - 49153 * k) >> 16)) << "frame " << k;
        EXPECT_EQ(channel(colour, 0), static_cast<uint32_t>((0x400000 + 0x4000 * k) >> 16)) << "frame " << k;
    }
    EXPECT_GT(red, 0u);  // at least 4096 per frame for 16 frames
    for (int32_t k = 128; k <= 640; k += 128) {
        EXPECT_EQ(channel(window_colour(grab.frames[fade + k]), 0), static_cast<uint32_t>(0x40 + k / 4));
    }
}

TEST(SpiralsPart, WindowsRestAfter1024FramesAndOnlySpiralTrailsShowBeside)
{
    Image* rim = img_from_pnm(pnm_frame);
    Image* mask = img_from_pnm(pnm_mask);
    ASSERT_TRUE(rim && mask);
    FrameGrab grab;
    grab.wanted = {fade + 1023, fade + 1024, fade + part_frames};
    start_demo(grab);
    part_spirals_run();
    EXPECT_TRUE(windows_at(grab.frames[fade + 1023], *rim, -1, 0));  // swing 1, negative sine
    EXPECT_FALSE(windows_at(grab.frames[fade + 1023], *rim, 0, 0));
    EXPECT_TRUE(windows_at(grab.frames[fade + 1024], *rim, 0, 0));
    const Frame& last = grab.frames[fade + part_frames];
    EXPECT_TRUE(windows_at(last, *rim, 0, 0));
    int32_t trail_pixels = 0;
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            if (mask->pixels[(y % half) * side + x] == 0) {
                ASSERT_EQ(channel(last[y * side + x], 16), 0u) << x << "," << y;
                trail_pixels += last[y * side + x] != 0;
            }
        }
    }
    EXPECT_GT(trail_pixels, 100);
    img_free(&rim);
    img_free(&mask);
}

// The swings restart at 2 x 256 while the phases and the frame parity go on:
// after 1251 frames the upper phase is 908, so frame 29 of the next pass has
// both windows at x = 0, and the odd parity brings rest one frame earlier.
TEST(SpiralsPart, SecondPassContinuesPhasesAndParity)
{
    Image* rim = img_from_pnm(pnm_frame);
    ASSERT_TRUE(rim);
    const uint64_t second = fade + part_frames + fade;
    FrameGrab grab;
    grab.wanted = {second + 29, second + 1022, second + 1023};
    start_demo(grab);
    part_spirals_run();
    part_spirals_run();
    EXPECT_TRUE(windows_at(grab.frames[second + 29], *rim, 0, 0));
    EXPECT_TRUE(windows_at(grab.frames[second + 1022], *rim, -1, 0));
    EXPECT_TRUE(windows_at(grab.frames[second + 1023], *rim, 0, 0));
    img_free(&rim);
}
