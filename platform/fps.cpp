// FPS: paces the frames at the target rate by sleeping a budget that
// settles where a frame lasts one period, and counts the frames of each
// measured second.
#include "fps.h"

#include <SDL.h>

[[gnu::used]] static const char* const fps_id[] = {"CODE", "C", "Tobrenko", "20101104", "FPS"};

FrameClock fps_clock{};

namespace {

constexpr int32_t us_per_second = 1000000;
constexpr int32_t us_per_ms = 1000;
constexpr int32_t last_us_of_second = us_per_second - 1;

// The clock wraps after 2^32 µs, so sums and differences of its times wrap too.
int32_t wrap_add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t wrap_sub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

}  // namespace

int32_t fps_now()
{
    return static_cast<int32_t>(SDL_GetTicks() * static_cast<uint32_t>(us_per_ms));
}

int32_t fps_tick()
{
    FrameClock& clock = fps_clock;
    if (clock.target_rate < 1) {
        clock.target_rate = 1;
    }
    clock.frame_period = us_per_second / clock.target_rate;
    const int32_t now = fps_now();
    clock.frame_time = wrap_sub(now, clock.last_tick);
    clock.last_tick = now;
    const int32_t second_so_far = wrap_add(clock.time_this_second, clock.frame_time);
    if (second_so_far <= last_us_of_second) {
        clock.time_this_second = second_so_far;
        clock.frames_this_second = wrap_add(clock.frames_this_second, 1);
        return clock.frame_rate;
    }
    // A second is complete; this frame opens the next one and the overshoot is dropped.
    clock.frame_rate = clock.frames_this_second;
    clock.frames_this_second = 1;
    clock.time_this_second = 0;
    return clock.frame_rate;
}

// Frames shorter than the period add their shortfall to the budget, longer
// ones take their excess away; the sleep itself shows up in the next frame time.
void fps_wait()
{
    FrameClock& clock = fps_clock;
    if (clock.frame_time <= clock.frame_period) {
        clock.sleep_budget = wrap_add(clock.sleep_budget, wrap_sub(clock.frame_period, clock.frame_time));
    } else {
        clock.sleep_budget = wrap_sub(clock.sleep_budget, wrap_sub(clock.frame_time, clock.frame_period));
        if (clock.sleep_budget <= 0) {
            clock.sleep_budget = 0;
        }
    }
    if (clock.sleep_budget > 0) {
        SDL_Delay(static_cast<Uint32>(clock.sleep_budget / us_per_ms));
    }
}
