// The benchmark drives each part's reset and draw directly after demo_init,
// for as many frames as the part runs in the demo, and times the draw and
// display_present of every frame apart (the browser page's ?benchmark runs
// the same loop). The present goes through the SDL stand-in, so it includes
// the stand-in's reading and hashing of the frame.
#include "capture_benchmark.h"

#include "benchmark.h"
#include "demo.h"
#include "display.h"
#include "sdl_standin.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t own_present_runs = 1000;

// display_present alone at the given scale, the stand-in not reading the window back.
std::vector<double> own_present_times(int32_t scale)
{
    standin_set_read_back(false);
    display_set_scale(scale);
    display_set_mode(display, screen_width, screen_height);
    std::vector<double> times;
    for (int32_t run = 0; run < own_present_runs; ++run) {
        const BenchmarkClock::time_point start = BenchmarkClock::now();
        display_present(display, screen);
        times.push_back(benchmark_us(start, BenchmarkClock::now()));
    }
    return times;
}

std::vector<double> memcpy_times(size_t bytes)
{
    std::vector<uint8_t> from(bytes, 1), to(bytes);
    std::vector<double> times;
    for (int32_t run = 0; run < own_present_runs; ++run) {
        const BenchmarkClock::time_point start = BenchmarkClock::now();
        std::memcpy(to.data(), from.data(), bytes);
        times.push_back(benchmark_us(start, BenchmarkClock::now()));
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
    benchmark_print_row("x1", unscaled);
    benchmark_print_row("x4", scaled);
    benchmark_print_row("memcpy", copies);
}

}  // namespace

int capture_benchmark()
{
    demo_init();
    std::vector<double> presents = benchmark_parts();
    benchmark_print_row("present", presents);
    print_own_present_rows();
    return 0;
}
