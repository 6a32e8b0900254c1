// BENCHMARK: the parts' reset and drawing straight after start-up, each
// drawing and each present timed apart on the steady clock.
#include "benchmark.h"

#include "demo.h"
#include "display.h"
#include "ring.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

double benchmark_us(BenchmarkClock::time_point from, BenchmarkClock::time_point to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

void benchmark_print_row(const char* name, std::vector<double>& times)
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

std::vector<double> benchmark_parts()
{
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
            const BenchmarkClock::time_point start = BenchmarkClock::now();
            if (steps.draw) {
                steps.draw();
            }
            const BenchmarkClock::time_point drawn = BenchmarkClock::now();
            display_present(display, screen);
            presents.push_back(benchmark_us(drawn, BenchmarkClock::now()));
            if (steps.draw) {
                draws.push_back(benchmark_us(start, drawn));
            }
        }
        benchmark_print_row(part.name, draws);
    }
    return presents;
}
