// Keyboard polling, scripted keys and frame pacing on the virtual clock.
#include "display.h"
#include "fps.h"
#include "keyboard.h"
#include "sdl_standin.h"
#include "virtual_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

uint8_t poll_key(Keyboard* keyboard)
{
    keyboard_poll(keyboard);
    return keyboard->keys[0];
}

void start_clock(int32_t target_rate)
{
    standin_reset();
    fps_clock = FrameClock{};
    fps_clock.target_rate = target_rate;
}

}  // namespace

TEST(Keyboard, KeepsTheLowByteOfTheLastKeyPressed)
{
    Display* display = display_current();
    display_free(&display);
    standin_reset();
    EXPECT_EQ(keyboard_new(), nullptr);  // no Display yet
    display_new();
    Keyboard* keyboard = keyboard_new();
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard_new(), keyboard);

    standin_key(0, SDLK_a, true);
    standin_key(0, SDLK_b, true);
    EXPECT_EQ(poll_key(keyboard), 'b');
    standin_tap(0, SDLK_c);  // the release is due one present later
    EXPECT_EQ(poll_key(keyboard), 'c');
    SDL_UpdateRect(nullptr, 0, 0, 0, 0);  // not the window: no present
    EXPECT_EQ(poll_key(keyboard), 'c');

    standin_key(0, SDLK_d, true);
    standin_key(0, SDLK_d, false);
    EXPECT_EQ(poll_key(keyboard), 0);
    standin_key(0, SDLK_F2, true);
    EXPECT_EQ(poll_key(keyboard), 27);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    standin_push_event(0, quit);
    EXPECT_EQ(poll_key(keyboard), 27);
    standin_key(0, SDLK_WORLD_0, true);  // 160: the whole low byte
    EXPECT_EQ(poll_key(keyboard), 160);

    keyboard_free(&keyboard);
    EXPECT_EQ(keyboard, nullptr);
    keyboard_free(&keyboard);
    keyboard_poll(nullptr);
}

// Given out of frame order: each key is pressed once its frame has been
// presented, keys of one frame in the order given, and held until the next
// key is pressed; a negative frame or symbol is skipped.
TEST(VirtualClock, ScriptedKeysArePressedAfterTheirFramesAndHeldUntilTheNext)
{
    VirtualClock clock{};
    const VirtualKey keys[] = {{5, 'b'}, {2, 'a'}, {-1, 'x'}, {2, 'c'}, {7, -1}, {9, 'q'}};
    virtual_clock_press_keys(&clock, keys);
    std::vector<std::string> seen;
    for (int32_t present = 0; present < 12; ++present) {
        for (SDL_Event event; virtual_clock_poll_event(&clock, &event);) {
            const char sign = event.type == SDL_KEYDOWN && event.key.state == SDL_PRESSED ? '+' : '-';
            seen.push_back(std::to_string(clock.presents) + sign + static_cast<char>(event.key.keysym.sym));
        }
        virtual_clock_present(&clock);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"3+a", "3-a", "3+c", "6-c", "6+b", "10-b", "10+q"}));
}

TEST(Fps, SettlesAtFiftyWithOneSleepOfTwentyMillisecondsPerFrame)
{
    start_clock(50);
    std::vector<int32_t> rates;
    for (int32_t frame = 0; frame < 150; ++frame) {
        rates.push_back(fps_tick());
        fps_wait();
    }
    EXPECT_EQ(rates[49], 0);  // the rate changes once a measured second is complete
    EXPECT_EQ(rates[50], 50);
    EXPECT_EQ(rates.back(), 50);
    EXPECT_EQ(standin_delays(), std::vector<uint32_t>(150, 20));
    EXPECT_EQ(standin_now_us(), 150u * 20000u);
}

TEST(Fps, TargetBelowOneAndSubMillisecondBudgets)
{
    start_clock(-5);
    fps_tick();
    EXPECT_EQ(fps_clock.frame_period, 1000000);
    start_clock(50);
    fps_clock.frame_period = 20000;
    fps_clock.frame_time = 19500;
    fps_wait();
    fps_wait();
    EXPECT_EQ(standin_delays(), (std::vector<uint32_t>{0, 1}));
    EXPECT_EQ(fps_clock.sleep_budget, 1000);
    fps_clock.frame_time = 30000;
    fps_wait();
    EXPECT_EQ(fps_clock.sleep_budget, 0);
    EXPECT_EQ(standin_delays().size(), 2u);
}

TEST(Fps, MicrosecondClockWrapsAfterThirtyTwoBits)
{
    start_clock(50);
    standin_set_now_us(4294960ull * 1000);  // 7.3 ms before the 2^32 µs wrap
    fps_tick();
    SDL_Delay(20);
    EXPECT_GT(fps_now(), 0);
    fps_tick();
    EXPECT_EQ(fps_clock.frame_time, 20000);
    EXPECT_EQ(fps_clock.last_tick, fps_now());
}
