// IMG tables: Bresenham run tables for the scaler and point lists of lines.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "img.h"

namespace {

int64_t magnitude(int64_t value)
{
    return value < 0 ? -value : value;
}

// Counters and coordinates are 32-bit; longer runs and lines are refused.
constexpr int64_t longest_run = INT32_MAX - 1;
constexpr int64_t most_points = (INT32_MAX - 1) / 2;

}  // namespace

// Distributes the longer length M over the shorter m + 1 counters: the first
// m counters hold the runs (summing to M, as even as integers allow, the
// first never shorter than another) and the last holds 1.
int32_t* img_run_table(int32_t a, int32_t b)
{
    const int64_t longer = std::max(magnitude(a), magnitude(b));
    const int64_t shorter = std::min(magnitude(a), magnitude(b));
    if (longer > longest_run) {
        return nullptr;
    }
    auto* runs = static_cast<int32_t*>(calloc(shorter + 1, sizeof(int32_t)));
    if (!runs) {
        return nullptr;
    }
    int64_t error = longer;
    int64_t index = 0;
    for (int64_t step = 0; step <= longer; step++) {
        error -= shorter;
        runs[index]++;
        if (error <= 0) {
            error += longer;
            index++;
        }
    }
    return runs;
}

// Walks the longer axis one point at a time and steps the shorter axis
// whenever the error runs out; both end points are included.
int32_t* img_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const int64_t dx = int64_t{x1} - x0;
    const int64_t dy = int64_t{y1} - y0;
    const int32_t step_x = dx < 0 ? -1 : 1;
    const int32_t step_y = dy < 0 ? -1 : 1;
    const bool steep = magnitude(dx) <= magnitude(dy);
    const int64_t major = steep ? magnitude(dy) : magnitude(dx);
    const int64_t minor = steep ? magnitude(dx) : magnitude(dy);
    const int64_t count = major + 1;
    if (count > most_points) {
        return nullptr;
    }
    auto* table = static_cast<int32_t*>(calloc(2 * count + 1, sizeof(int32_t)));
    if (!table) {
        return nullptr;
    }
    table[0] = static_cast<int32_t>(2 * count);
    int64_t x = x0;
    int64_t y = y0;
    // The axis that advances at every point and the one the error steps.
    int64_t& along = steep ? y : x;
    int64_t& across = steep ? x : y;
    const int32_t step_along = steep ? step_y : step_x;
    const int32_t step_across = steep ? step_x : step_y;
    int64_t error = major >> 1;
    for (int64_t i = 0; i < count; i++) {
        table[1 + 2 * i] = static_cast<int32_t>(x);
        table[2 + 2 * i] = static_cast<int32_t>(y);
        error -= minor;
        along += step_along;
        if (error <= 0) {
            error += major;
            across += step_across;
        }
    }
    return table;
}
