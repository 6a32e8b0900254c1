// The benchmark drives each part's reset and draw directly after demo_init,
// for as many frames as the part runs in the demo, and times the draw and
// display_present of every frame apart. The present goes through the SDL
// stand-in, so it includes the stand-in's reading and hashing of the frame.
#include "capture_benchmark.h"

#include "demo.h"
#include "display.h"
#include "ring.h"
#include "sdl_standin.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

void print_row(const char* name, std::vector<double>& times)
{
    if (times.empty()) {
        printf("%-8s  draws nothing yet\n", name);
        return;
    }
    std::sort(times.begin(), times.end());
    const double mean = std::accumulate(times.begin(), times.end(), 0.0) / static_cast<double>(times.size());
    printf("%-8s %7zu %10.1f %10.1f %10.0f\n", name, times.size(), times[times.size() / 2], times.back(),
           mean > 0 ? 1e6 / mean : 0.0);
}

constexpr int32_t own_present_runs = 1000;

// display_present alone at the given scale, the stand-in not reading the window back.
std::vector<double> own_present_times(int32_t scale)
{
    standin_set_read_back(false);
    display_set_scale(scale);
    display_set_mode(display, screen_width, screen_height);
    std::vector<double> times;
    for (int32_t run = 0; run < own_present_runs; ++run) {
        const Clock::time_point start = Clock::now();
        display_present(display, screen);
        times.push_back(microseconds(start, Clock::now()));
    }
    return times;
}

std::vector<double> memcpy_times(size_t bytes)
{
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    std::vector<double> times;
    for (int32_t run = 0; run < own_present_runs; ++run) {
        const Clock::time_point start = Clock::now();
        std::memcpy(to.data(), from.data(), bytes);
        times.push_back(microseconds(start, Clock::now()));
        from[static_cast<size_t>(run) % bytes] = to[bytes - 1 - static_cast<size_t>(run) % bytes];
    }
    return times;
}

void print_own_present_rows()
{
    constexpr int32_t scale = 4;
    printf("present alone (stand-in not reading back), at x1 and x%d, and a memcpy of the x%d window's bytes\n",
           scale, scale);
    std::vector<double> unscaled = own_present_times(1);
    std::vector<double> scaled = own_present_times(scale);
    std::vector<double> copies =
        memcpy_times(static_cast<size_t>(screen_width * scale) * static_cast<size_t>(screen_height * scale) * 4);
    print_row("x1", unscaled);
    print_row("x4", scaled);
    print_row("memcpy", copies);
}

}  // namespace

int capture_benchmark()
{
    demo_init();
    printf("%dx%d frames, unpaced, not encoded; microseconds per frame\n", screen_width, screen_height);
    printf("%-8s %7s %10s %10s %10s\n", "part", "frames", "median", "worst", "frames/s");
    std::vector<double> presents;
    for (const RingPart& part : ring_parts) {
        const PartSteps& steps = *part.steps;
        if (steps.reset) {
            steps.reset();
        }
        std::vector<double> draws;
        for (int32_t frame = 0; frame <= steps.frames; ++frame) {
            const Clock::time_point start = Clock::now();
            if (steps.draw) {
                steps.draw();
            }
            const Clock::time_point drawn = Clock::now();
            display_present(display, screen);
            presents.push_back(microseconds(drawn, Clock::now()));
            if (steps.draw) {
                draws.push_back(microseconds(start, drawn));
            }
        }
        print_row(part.name, draws);
    }
    print_row("present", presents);
    print_own_present_rows();
    return 0;
}
