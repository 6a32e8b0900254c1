// The frame loop of every part, run through the SDL stand-in: fades, frame
// budgets, keys, pacing and the exit path.
#include "demo_child.h"
#include "display.h"
#include "fps.h"
#include "img.h"
#include "parts.h"
#include "ring.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Exits leave through exit(0); report the presents seen so the parent can check them.
void report_presents_at_exit()
{
    atexit([] { fprintf(stderr, "presents %llu\n", static_cast<unsigned long long>(standin_presents())); });
}

uint64_t presents_of(void (*part)())
{
    const uint64_t before = standin_presents();
    part();
    return standin_presents() - before;
}

}  // namespace

TEST(FrameLoop, FadeTakesTheScreenToBlackIn32Presents)
{
    start_demo();
    img_fill_rect(screen, 0, 0, screen_width, screen_height, 0xFFFFFF);
    demo_fade_out();
    EXPECT_EQ(standin_presents(), fade);
    for (uint32_t pixel : standin_last_frame()) {
        ASSERT_EQ(pixel, 0u);
    }
}

TEST(FrameLoop, SpaceEndsThePartAfterTheCurrentFrameEvenWhenPressedDuringTheFade)
{
    start_demo();
    standin_key(5, SDLK_SPACE, true);
    standin_key(fade + 20, SDLK_SPACE, false);
    EXPECT_EQ(presents_of(part_tiles_run), fade + 1);
    standin_tap(standin_presents() + fade + 100, SDLK_SPACE);
    EXPECT_EQ(presents_of(part_spirals_run), fade + 100);
    EXPECT_EQ(part_flags, 0u);
    EXPECT_EQ(presents_of(part_hearts_run), fade + 1001);
}

TEST(FrameLoop, KeyHeldOrTappedActsOnce)
{
    start_demo();
    standin_key(fade + 10, SDLK_8, true);  // held for twenty frames
    standin_key(fade + 30, SDLK_8, false);
    uint64_t at = fade + 30;
    for (int32_t sym : {SDLK_4, SDLK_5, SDLK_2, SDLK_1, SDLK_o}) {
        standin_tap(at += 10, sym);
    }
    part_bobs_run();
    EXPECT_EQ(std::vector(std::begin(switches), std::end(switches)), std::vector<uint8_t>({3, 0, 0, 0}));
    EXPECT_EQ(display_option, 1);
}

// Frames 2-100 and 301-801 sleep, paying back the drawing time (the first measures the whole fade and
// sleeps nothing); key 9 runs the 200 between at full speed.
TEST(FrameLoop, PacedAtFiftyFramesPerSecondBySleepingUnlessKeyNineAsksForFullSpeed)
{
    start_demo();
    standin_set_present_cost_us(5000);
    standin_tap(fade + 100, SDLK_9);
    standin_tap(fade + 300, SDLK_9);
    part_bobs_run();
    EXPECT_EQ(fps_clock.frame_rate, 50);
    EXPECT_EQ(switches[0] & 2, 2);
    const auto& delays = standin_delays();
    ASSERT_EQ(delays.size(), 99u + 501u);
    EXPECT_EQ(std::vector(delays.end() - 500, delays.end()), std::vector<uint32_t>(500, 15));
}

// Each quit key from its own part of the ring, after SPACE ended the ones before.
TEST(FrameLoopExit, QuitKeysFromAnyPartFadeOutAndExitWithStatusZeroAndNoLeak)
{
    constexpr int32_t quit_keys[ring_size] = {SDLK_q, 'Q', SDLK_ESCAPE, SDLK_F2, SDLK_q};
    for (size_t quit_part = 0; quit_part < ring_parts.size(); ++quit_part) {
        const uint64_t presents = quit_part * (fade + 5) + fade + 20 + fade;
        EXPECT_EXIT(
            {
                start_demo();
                report_presents_at_exit();
                for (size_t part = 0; part <= quit_part; ++part) {
                    const uint64_t start = standin_presents() + fade;
                    const bool quits = part == quit_part;
                    standin_tap(start + (quits ? 20 : 5), quits ? quit_keys[part] : int32_t{SDLK_SPACE});
                    ring_parts[part].run();
                }
            },
            testing::ExitedWithCode(0), "presents " + std::to_string(presents) + "\n")
            << "quit in part " << quit_part + 1;
    }
}

TEST(FrameLoopExit, WindowThatCannotOpenStopsWithAMessage)
{
    EXPECT_EXIT(
        {
            standin_reset();
            standin_fail_video(true);
            demo_init();
        },
        testing::ExitedWithCode(EXIT_FAILURE), "KELP4090: cannot open a window");
}
