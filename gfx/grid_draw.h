// Internal to the IMG and BYTEMAP modules: the walks of the copies, wraps,
// shapes and per-pixel passes, over the record and a per-pixel rule.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "copy_clip.h"
#include "grid.h"
#include "vec2d.h"

namespace grid {

// Copy rules. The masked rule writes the old value back where the source is
// the key: no branch in the loop.
constexpr auto put_masked = [](auto& d, auto s) { d = s != 0 ? s : d; };
constexpr auto put_or = [](auto& d, auto s) { d |= s; };

// Top to bottom, left to right, consecutive source pixels `step_x` apart in
// the destination and rows `step_y` apart. Each source pixel is read just
// before its write, so a copy within one grid sees what earlier steps wrote.
template <typename Grid, typename Combine>
void copy_axes(const Grid* src, Grid* dst, const Axis& across, const Axis& down, int64_t step_x, int64_t step_y,
               Combine combine)
{
    for (int64_t j = 0; j < down.length; j++) {
        const auto* from = src->pixels + (down.src + j) * src->width + across.src;
        auto* to = dst->pixels + (down.dst + j * step_y) * dst->width + across.dst;
        for (int64_t i = 0; i < across.length; i++) {
            combine(to[i * step_x], from[i]);
        }
    }
}

template <typename Grid, typename Combine>
void copy_rect(const Grid* src, Grid* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w, int32_t h,
               Combine combine, Report report)
{
    if (!has_pixels(src) || !has_pixels(dst)) {
        report();
        return;
    }
    Axis across{sx, dx, w};
    Axis down{sy, dy, h};
    if (clip(across, src->width, dst->width) && clip(down, src->height, dst->height)) {
        copy_axes(src, dst, across, down, 1, 1, combine);
    }
}

template <typename Grid>
void copy_spread(const Grid* src, Grid* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
                 int32_t h, int32_t step_x, int32_t step_y, Report report)
{
    if (!has_pixels(src) || !has_pixels(dst) || step_x < 1 || step_y < 1) {
        report();
        return;
    }
    Axis across{sx, dx, w};
    Axis down{sy, dy, h};
    if (clip_spaced(across, step_x, src->width, dst->width) &&
        clip_spaced(down, step_y, src->height, dst->height)) {
        copy_axes(src, dst, across, down, step_x, step_y, put_masked);
    }
}

// The whole source at (dx, dy), walked from the bottom-right corner back to
// the top-left; each non-zero source pixel s turns d into mix(s, d).
template <typename Grid, typename Mix>
void blend(const Grid* src, Grid* dst, int32_t dx, int32_t dy, Mix mix, Report report)
{
    if (!has_pixels(src) || !has_pixels(dst)) {
        report();
        return;
    }
    Axis across{0, dx, src->width};
    Axis down{0, dy, src->height};
    if (!clip(across, src->width, dst->width) || !clip(down, src->height, dst->height)) {
        return;
    }
    for (int64_t j = down.length - 1; j >= 0; j--) {
        const auto* from = src->pixels + (down.src + j) * src->width + across.src;
        auto* to = dst->pixels + (down.dst + j) * dst->width + across.dst;
        for (int64_t i = across.length - 1; i >= 0; i--) {
            if (from[i] != 0) {
                to[i] = mix(from[i], to[i]);
            }
        }
    }
}

// A destination smaller than the source is refused rather than written
// past its end.
template <typename Grid>
void and_into(const Grid* src, Grid* dst, Report report)
{
    if (!has_pixels(src) || !has_pixels(dst) ||
        int64_t{dst->width} * dst->height < int64_t{src->width} * src->height) {
        report();
        return;
    }
    for (int32_t i = pixel_count(src) - 1; i >= 0; i--) {
        dst->pixels[i] &= src->pixels[i];
    }
}

// One source line into one destination line of `dst_length` pixels, from
// `start_at` (wrapped into the line) on, continuing at 0; never more than
// dst_length pixels.
template <typename Pixel, typename Combine>
void wrap_line(const Pixel* src, int32_t src_stride, int32_t src_length, Pixel* dst, int32_t dst_stride,
               int32_t dst_length, int32_t start_at, Combine combine)
{
    const int32_t rest = start_at % dst_length;
    const int32_t start = rest < 0 ? rest + dst_length : rest;
    const int32_t first = std::min(src_length, dst_length - start);
    for (int32_t i = 0; i < first; i++) {
        combine(dst[(start + i) * dst_stride], src[i * src_stride]);
    }
    const int32_t last = std::min(src_length, dst_length);
    for (int32_t i = first; i < last; i++) {
        combine(dst[(i - first) * dst_stride], src[i * src_stride]);
    }
}

template <typename Grid>
bool row_in(const Grid* grid, int32_t row)
{
    return row >= 0 && row < grid->height;
}

template <typename Grid>
bool column_in(const Grid* grid, int32_t column)
{
    return column >= 0 && column < grid->width;
}

template <typename Grid, typename Combine>
void row_wrap(const Grid* src, Grid* dst, int32_t src_row, int32_t dst_row, int32_t dst_column, Combine combine,
              Report report)
{
    if (!has_pixels(src) || !has_pixels(dst) || !row_in(src, src_row) || !row_in(dst, dst_row) ||
        dst->width < 1) {
        report();
        return;
    }
    wrap_line(src->pixels + src_row * src->width, 1, src->width, dst->pixels + dst_row * dst->width, 1,
              dst->width, dst_column, combine);
}

template <typename Grid>
void column_wrap(const Grid* src, Grid* dst, int32_t src_column, int32_t dst_column, int32_t dst_row,
                 Report report)
{
    if (!has_pixels(src) || !has_pixels(dst) || !column_in(src, src_column) || !column_in(dst, dst_column) ||
        dst->height < 1) {
        report();
        return;
    }
    wrap_line(src->pixels + src_column, src->width, src->height, dst->pixels + dst_column, dst->width,
              dst->height, dst_row, put_masked);
}

template <typename Grid>
bool rect_inside(const Grid* grid, int32_t x, int32_t y, int32_t w, int32_t h)
{
    return has_pixels(grid) && inside(grid, x, y) && w >= 1 && h >= 1 && int64_t{x} + w <= grid->width &&
           int64_t{y} + h <= grid->height;
}

template <typename Pixel>
void fill_span(Pixel* pixels, int32_t first, int32_t count, int32_t stride, Pixel value)
{
    for (int32_t i = 0; i < count; i++) {
        pixels[first + i * stride] = value;
    }
}

template <typename Grid>
void outline(Grid* grid, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value, Report report)
{
    if (!rect_inside(grid, x, y, w, h)) {
        report();
        return;
    }
    const auto pixel = static_cast<PixelOf<Grid>>(value);
    const int32_t top_left = y * grid->width + x;
    fill_span(grid->pixels, top_left, w, 1, pixel);
    fill_span(grid->pixels, top_left + (h - 1) * grid->width, w, 1, pixel);
    fill_span(grid->pixels, top_left, h, grid->width, pixel);
    fill_span(grid->pixels, top_left + w - 1, h, grid->width, pixel);
}

template <typename Grid>
void fill(Grid* grid, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value, Report report)
{
    if (!rect_inside(grid, x, y, w, h)) {
        report();
        return;
    }
    const auto pixel = static_cast<PixelOf<Grid>>(value);
    for (int32_t row = y; row < y + h; row++) {
        fill_span(grid->pixels, row * grid->width + x, w, 1, pixel);
    }
}

// Points outside the grid are skipped without a report.
template <typename Grid>
void plot(Grid* grid, int64_t x, int64_t y, PixelOf<Grid> value)
{
    if (inside(grid, x, y)) {
        grid->pixels[y * grid->width + x] = value;
    }
}

// A quarter turn of sine-table offsets mirrored four ways. The right half
// sits one column left, so the outline is symmetric about x - 1/2.
template <typename Grid>
void circle(Grid* grid, int32_t x, int32_t y, int32_t radius, uint32_t value, Report report)
{
    if (!has_pixels(grid) || !inside(grid, x, y) || radius < 1) {
        report();
        return;
    }
    const auto pixel = static_cast<PixelOf<Grid>>(value);
    const int32_t quarter = sine_size / 4;
    int64_t last_cx = 0;
    int64_t last_cy = 0;
    for (int32_t i = 0; i < quarter; i++) {
        const int64_t cx = sine_product(sine_table[(quarter + i) & sine_mask], radius);
        const int64_t cy = sine_product(sine_table[i & sine_mask], radius);
        // Small circles repeat points; all points share one value, so a
        // repeat would only write the same pixels again.
        if (i > 0 && cx == last_cx && cy == last_cy) {
            continue;
        }
        last_cx = cx;
        last_cy = cy;
        for (const int64_t row : {y + cy, y - cy}) {
            plot(grid, x + cx - 1, row, pixel);
            plot(grid, x - cx, row, pixel);
        }
    }
}

// Every pixel through `change`, from the last index down to 0 (bottom row
// to top, right to left).
template <typename Grid, typename Change>
void change_each(Grid* grid, Change change, Report report)
{
    if (!has_pixels(grid)) {
        report();
        return;
    }
    for (int32_t i = pixel_count(grid) - 1; i >= 0; i--) {
        grid->pixels[i] = change(grid->pixels[i]);
    }
}

}  // namespace grid
