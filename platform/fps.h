// FPS: frame pacing at a target rate and the measured frame rate.
#pragma once

#include <cstdint>

// Times in microseconds from SDL's millisecond clock, 32-bit wrap-around.
struct FrameClock {
    int32_t target_rate;
    int32_t frame_period;
    int32_t last_tick;
    int32_t frame_time;
    int32_t frames_this_second;
    int32_t time_this_second;
    int32_t frame_rate;
    int32_t sleep_budget;
};

extern FrameClock fps_clock;

int32_t fps_now();
int32_t fps_tick();  // measures one frame, returns the frame rate
void fps_wait();     // sleeps what the budget grants
