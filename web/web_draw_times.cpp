// The drawing benchmark: spans sorted by the part the ring is running.
#include "web_draw_times.h"

#include "ring.h"

#include <emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr double us_per_ms = 1000;

struct DrawTimes {
    double frame_end_ms = -1;  // the last music step's end, -1 after a present
    uint64_t frames = 0;       // fps_ticks so far
    std::array<std::vector<float>, ring_size> draw_us;
};

DrawTimes draw;

}  // namespace

void web_draw_times_drawn()
{
    draw.frames += 1;
    if (draw.frame_end_ms >= 0 && ring_running >= 0 && ring_running < ring_size) {
        const double drawn_us = (emscripten_get_now() - draw.frame_end_ms) * us_per_ms;
        draw.draw_us[static_cast<size_t>(ring_running)].push_back(static_cast<float>(drawn_us));
    }
}

void web_draw_times_present()
{
    draw.frame_end_ms = -1;
}

void web_draw_times_frame_end()
{
    draw.frame_end_ms = emscripten_get_now();
}

// ---- Calls from the page ----

extern "C" {

// Frames drawn so far (fps_ticks), for the page's frame-rate measurement.
EMSCRIPTEN_KEEPALIVE double web_frames()
{
    return static_cast<double>(draw.frames);
}

// Median drawing time in µs of the part at `index` in the ring, or -1.
EMSCRIPTEN_KEEPALIVE double web_draw_median_us(uint32_t index)
{
    if (index >= ring_size || draw.draw_us[index].empty()) {
        return -1;
    }
    std::vector<float> times = draw.draw_us[index];
    const auto middle = times.begin() + static_cast<ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    return *middle;
}

EMSCRIPTEN_KEEPALIVE uint32_t web_draw_count(uint32_t index)
{
    return index < ring_size ? static_cast<uint32_t>(draw.draw_us[index].size()) : 0;
}

EMSCRIPTEN_KEEPALIVE uint32_t web_part_count()
{
    return ring_size;
}

// The name of the part at `index` in the ring, or null.
EMSCRIPTEN_KEEPALIVE const char* web_part_name(uint32_t index)
{
    return index < ring_size ? ring_parts[index].name : nullptr;
}

}  // extern "C"
