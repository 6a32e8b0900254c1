// The benchmark drives each part's reset and draw directly after demo_init,
// for as many frames as the part runs in the demo, and times the draw and
// display_present of every frame apart. The present goes through the SDL
// stand-in, so it includes the stand-in's reading and hashing of the frame.
#include "capture_benchmark.h"

#include "capture_recorder.h"
#include "demo.h"
#include "display.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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

}  // namespace

int capture_benchmark()
{
    demo_init();
    printf("%dx%d frames, unpaced, not encoded; microseconds per frame\n", screen_width, screen_height);
    printf("%-8s %7s %10s %10s %10s\n", "part", "frames", "median", "worst", "frames/s");
    std::vector<double> presents;
    for (const CapturePart& part : capture_ring) {
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
    return 0;
}
