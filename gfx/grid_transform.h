// Internal to the IMG and BYTEMAP modules: nearest-neighbour scaling over
// run tables and rotation about the centre, over the record type.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "grid.h"
#include "img.h"
#include "vec2d.h"

namespace grid {

// The run tables of both axes. Where the source side is the shorter, run k
// is how many destination pixels source pixel k becomes; where it is the
// longer, how many source pixels destination pixel k stands for.
struct Runs {
    int32_t* across;
    int32_t* down;
};

inline void release(Runs& runs)
{
    free(runs.across);
    free(runs.down);
}

// Source row starting at index si spread over the destination row at di.
template <typename Grid>
void stretch_row(const Grid* src, int64_t si, Grid* dst, int64_t di, const int32_t* runs)
{
    for (int32_t k = 0; k < src->width; k++) {
        for (int32_t n = 0; n < runs[k]; n++) {
            dst->pixels[di++] = src->pixels[si + k];
        }
    }
}

// Destination row ending at index di filled right to left: each pixel is the
// last source pixel of its run. Returns the source index left behind, the
// last pixel of the row above.
template <typename Grid>
int64_t squeeze_row(const Grid* src, int64_t si, Grid* dst, int64_t di, const int32_t* runs)
{
    for (int32_t k = dst->width - 1; k >= 0; k--) {
        dst->pixels[di--] = src->pixels[si];
        si -= runs[k];
    }
    return si;
}

// Repeats the destination row just written `times` more times; forward
// copies downward, backward copies upward from the row below.
template <typename Grid>
void repeat_row(Grid* dst, int64_t& di, int32_t times, bool forward)
{
    const int64_t width = dst->width;
    for (int64_t n = times * width; n > 0; n--) {
        if (forward) {
            dst->pixels[di] = dst->pixels[di - width];
            di++;
        } else {
            dst->pixels[di] = dst->pixels[di + width];
            di--;
        }
    }
}

// Wider (or as wide): forward, row by row. A taller destination repeats each
// source row; a shorter one shows the first source row of each run.
template <typename Grid>
void scale_wider(const Grid* src, Grid* dst, const Runs& runs)
{
    int64_t di = 0;
    if (src->height <= dst->height) {
        for (int32_t r = 0; r < src->height; r++) {
            stretch_row(src, int64_t{r} * src->width, dst, di, runs.across);
            di += dst->width;
            repeat_row(dst, di, runs.down[r] - 1, true);
        }
        return;
    }
    int64_t si = 0;
    for (int32_t r = 0; r < dst->height; r++, di += dst->width) {
        stretch_row(src, si, dst, di, runs.across);
        si += int64_t{runs.down[r]} * src->width;
    }
}

// Narrower: backward from the last pixels, so the last source row and
// column always survive. A taller destination repeats each squeezed row
// upward; a shorter one skips the rest of each run of source rows.
template <typename Grid>
void scale_narrower(const Grid* src, Grid* dst, const Runs& runs)
{
    int64_t si = int64_t{src->width} * src->height - 1;
    int64_t di = int64_t{dst->width} * dst->height - 1;
    const bool taller = src->height <= dst->height;
    for (int32_t r = (taller ? src->height : dst->height) - 1; r >= 0; r--) {
        si = squeeze_row(src, si, dst, di, runs.across);
        di -= dst->width;
        if (taller) {
            repeat_row(dst, di, runs.down[r] - 1, false);
        } else {
            si -= int64_t{runs.down[r] - 1} * src->width;
        }
    }
}

// An empty destination is left alone; an empty source has nothing to show.
template <typename Grid>
void scale(const Grid* src, Grid* dst, Report report)
{
    if (!has_pixels(src) || !has_pixels(dst) || dst->width < 0 || dst->height < 0) {
        report();
        return;
    }
    if (dst->width == 0 || dst->height == 0) {
        return;
    }
    if (src->width <= 0 || src->height <= 0) {
        report();
        return;
    }
    Runs runs{img_run_table(src->width, dst->width), img_run_table(src->height, dst->height)};
    if (!runs.across || !runs.down) {
        release(runs);
        report();
        return;
    }
    if (src->width <= dst->width) {
        scale_wider(src, dst, runs);
    } else {
        scale_narrower(src, dst, runs);
    }
    release(runs);
}

constexpr int32_t wrap_angle(int64_t angle)
{
    return static_cast<int32_t>((angle % sine_size + sine_size) % sine_size);
}

// A new grid 92667/65536 (just under the square root of 2) times the source
// size, so the turned picture fits; uncovered pixels stay 0.
template <typename Grid>
Grid* rotate(const Grid* src, int32_t angle, Report report)
{
    if (!has_pixels(src)) {
        report();
        return nullptr;
    }
    const auto width = static_cast<int32_t>((92667 * int64_t{src->width}) >> 16);
    const auto height = static_cast<int32_t>((92667 * int64_t{src->height}) >> 16);
    Grid* out = create<Grid>(report);
    if (!out) {
        return nullptr;
    }
    resize(out, width, height, report);
    if (!out->pixels || out->width != width || out->height != height) {
        destroy(&out, report);
        report();
        return nullptr;
    }
    // The sine of -angle and the negated cosine of angle.
    const int32_t s = sine_table[wrap_angle(sine_size - wrap_angle(angle))];
    const int32_t c = sine_table[wrap_angle(sine_size - wrap_angle(int64_t{angle} + 256))];
    for (int32_t v = height - 1; v >= 0; v--) {
        for (int32_t u = width - 1; u >= 0; u--) {
            const int32_t du = u - width / 2;
            const int32_t dv = v - height / 2;
            const int32_t x = src->width / 2 + sine_product(c, du) - sine_product(s, dv);
            const int32_t y = src->height / 2 + sine_product(s, du) + sine_product(c, dv);
            put(out, u, v, get(src, x, y, report), report);
        }
    }
    return out;
}

}  // namespace grid
