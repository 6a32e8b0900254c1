// Internal to the IMG and BYTEMAP modules: clipping of rectangle copies
// against their source and destination, one axis at a time.
#pragma once

#include <algorithm>
#include <cstdint>

namespace grid {

// One axis of a rectangle copy: first source and destination coordinate
// and the number of pixels. 64 bits, so no clipping sum can overflow.
struct Axis {
    int64_t src;
    int64_t dst;
    int64_t length;
};

// Cuts one axis to what lies inside both grids; false when nothing is left.
inline bool clip(Axis& axis, int32_t src_size, int32_t dst_size)
{
    if (axis.dst >= dst_size || axis.dst + axis.length < 0 || axis.src >= src_size ||
        axis.src + axis.length < 0) {
        return false;
    }
    if (axis.src < 0) {
        axis.dst -= axis.src;
        axis.length += axis.src;
        axis.src = 0;
    }
    axis.length = std::min(axis.length, src_size - axis.src);
    if (axis.dst < 0) {
        axis.length += axis.dst;
        axis.src -= axis.dst;
        axis.dst = 0;
    }
    axis.length = std::min(axis.length, dst_size - axis.dst);
    return axis.length > 0;
}

// As clip, with consecutive source pixels `step` apart in the destination.
// Source pixels that would land before 0 are dropped whole, so every pixel
// drawn lands where it would unclipped.
inline bool clip_spaced(Axis& axis, int64_t step, int32_t src_size, int32_t dst_size)
{
    if (axis.dst >= dst_size || axis.dst + axis.length * step < 0 || axis.src >= src_size ||
        axis.src + axis.length * step < 0) {
        return false;
    }
    if (axis.src < 0) {
        axis.length += axis.src;
        axis.dst -= axis.src * step;
        axis.src = 0;
    }
    axis.length = std::min(axis.length, src_size - axis.src);
    if (axis.dst < 0) {
        const int64_t dropped = (step - 1 - axis.dst) / step;
        axis.length -= dropped;
        axis.src += dropped;
        axis.dst += dropped * step;
    }
    if (axis.dst + axis.length * step > dst_size) {
        axis.length = (dst_size - axis.dst) / step;
    }
    return axis.length > 0;
}

}  // namespace grid
