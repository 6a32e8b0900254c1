// BYTEMAP drawing: rectangle copies, single rows and columns, shapes, the
// fade and the value offset, on one byte per value.
#include <algorithm>
#include <cstdint>

#include "bytemap.h"
#include "vec2d.h"

namespace {

bool has_pixels(const ByteMap* map)
{
    return map && map->pixels;
}

// One axis of a rectangle copy: first source and destination coordinate
// and the number of values. 64 bits, so no clipping sum can overflow.
struct Axis {
    int64_t src;
    int64_t dst;
    int64_t length;
};

// Cuts one axis to what lies inside both maps; false when nothing is left.
bool clip(Axis& axis, int32_t src_size, int32_t dst_size)
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

// As clip, with consecutive source values `step` apart in the destination.
// Source values that would land before 0 are dropped whole, so every value
// drawn lands where it would unclipped.
bool clip_spaced(Axis& axis, int64_t step, int32_t src_size, int32_t dst_size)
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

void put_masked(uint8_t& d, uint8_t s)
{
    if (s != 0) {
        d = s;
    }
}

void put_or(uint8_t& d, uint8_t s)
{
    d |= s;
}

// Top to bottom, left to right. Each source value is read just before its
// write, so a copy within one map sees what earlier steps wrote.
template <typename Combine>
void copy_rect(const ByteMap* src, ByteMap* dst, const Axis& across, const Axis& down, int64_t step_x,
               int64_t step_y, Combine combine)
{
    for (int64_t j = 0; j < down.length; j++) {
        const uint8_t* from = src->pixels + (down.src + j) * src->width + across.src;
        uint8_t* to = dst->pixels + (down.dst + j * step_y) * dst->width + across.dst;
        for (int64_t i = 0; i < across.length; i++) {
            combine(to[i * step_x], from[i]);
        }
    }
}

// One source line into one destination line of `dst_length` values from
// `start_at` (wrapped into the line) on, continuing at 0; never more than
// dst_length values.
template <typename Combine>
void wrap_line(const uint8_t* src, int32_t src_stride, int32_t src_length, uint8_t* dst, int32_t dst_stride,
               int32_t dst_length, int32_t start_at, Combine combine)
{
    const int32_t rest = start_at % dst_length;
    const int32_t start = rest < 0 ? rest + dst_length : rest;
    const int32_t first = std::min(src_length, dst_length - start);
    const int32_t last = std::min(src_length, dst_length);
    for (int32_t i = 0; i < last; i++) {
        const int32_t to = i < first ? start + i : i - first;
        combine(dst[to * dst_stride], src[i * src_stride]);
    }
}

template <typename Combine>
void row_wrap(const ByteMap* src, ByteMap* dst, int32_t src_row, int32_t dst_row, int32_t dst_column,
              Combine combine)
{
    if (!has_pixels(src) || !has_pixels(dst) || src_row < 0 || src_row >= src->height || dst_row < 0 ||
        dst_row >= dst->height || dst->width < 1) {
        bytemap_error();
        return;
    }
    wrap_line(src->pixels + src_row * src->width, 1, src->width, dst->pixels + dst_row * dst->width, 1,
              dst->width, dst_column, combine);
}

bool rect_inside(const ByteMap* map, int32_t x, int32_t y, int32_t w, int32_t h)
{
    return has_pixels(map) && x >= 0 && y >= 0 && x < map->width && y < map->height && w >= 1 && h >= 1 &&
           int64_t{x} + w <= map->width && int64_t{y} + h <= map->height;
}

void fill_line(ByteMap* map, int32_t first, int32_t count, int32_t stride, uint8_t value)
{
    for (int32_t i = 0; i < count; i++) {
        map->pixels[first + i * stride] = value;
    }
}

// Circle points outside the map are skipped without a report.
void plot(ByteMap* map, int64_t x, int64_t y, uint32_t value)
{
    if (x >= 0 && y >= 0 && x < map->width && y < map->height) {
        bytemap_put_pixel(map, static_cast<int32_t>(x), static_cast<int32_t>(y), value);
    }
}

int32_t wrapping_product(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Every value through `change`, from the last index down to 0 (bottom row
// to top, right to left).
template <typename Change>
void change_values(ByteMap* map, Change change)
{
    if (!has_pixels(map)) {
        bytemap_error();
        return;
    }
    for (int32_t i = map->width * map->height - 1; i >= 0; i--) {
        map->pixels[i] = change(map->pixels[i]);
    }
}

}  // namespace

void bytemap_blit(const ByteMap* src, ByteMap* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                  int32_t w, int32_t h)
{
    if (!has_pixels(src) || !has_pixels(dst)) {
        bytemap_error();
        return;
    }
    Axis across{sx, dx, w};
    Axis down{sy, dy, h};
    if (clip(across, src->width, dst->width) && clip(down, src->height, dst->height)) {
        copy_rect(src, dst, across, down, 1, 1, put_masked);
    }
}

void bytemap_blit_spread(const ByteMap* src, ByteMap* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                         int32_t w, int32_t h, int32_t step_x, int32_t step_y)
{
    if (!has_pixels(src) || !has_pixels(dst) || step_x < 1 || step_y < 1) {
        bytemap_error();
        return;
    }
    Axis across{sx, dx, w};
    Axis down{sy, dy, h};
    if (clip_spaced(across, step_x, src->width, dst->width) &&
        clip_spaced(down, step_y, src->height, dst->height)) {
        copy_rect(src, dst, across, down, step_x, step_y, put_masked);
    }
}

// The whole source at (dx, dy), walked from the bottom-right corner back to
// the top-left. (s >> 1) + (d >> 1) is at most 254, so it never wraps.
void bytemap_blend(const ByteMap* src, ByteMap* dst, int32_t dx, int32_t dy)
{
    if (!has_pixels(src) || !has_pixels(dst)) {
        bytemap_error();
        return;
    }
    Axis across{0, dx, src->width};
    Axis down{0, dy, src->height};
    if (!clip(across, src->width, dst->width) || !clip(down, src->height, dst->height)) {
        return;
    }
    for (int64_t j = down.length - 1; j >= 0; j--) {
        const uint8_t* from = src->pixels + (down.src + j) * src->width + across.src;
        uint8_t* to = dst->pixels + (down.dst + j) * dst->width + across.dst;
        for (int64_t i = across.length - 1; i >= 0; i--) {
            if (from[i] != 0) {
                to[i] = static_cast<uint8_t>((from[i] >> 1) + (to[i] >> 1));
            }
        }
    }
}

// A destination smaller than the source is refused rather than written
// past its end.
void bytemap_and(const ByteMap* src, ByteMap* dst)
{
    if (!has_pixels(src) || !has_pixels(dst) ||
        int64_t{dst->width} * dst->height < int64_t{src->width} * src->height) {
        bytemap_error();
        return;
    }
    for (int32_t i = src->width * src->height - 1; i >= 0; i--) {
        dst->pixels[i] &= src->pixels[i];
    }
}

void bytemap_blit_row_wrap(const ByteMap* src, ByteMap* dst, int32_t src_row, int32_t dst_row,
                           int32_t dst_column)
{
    row_wrap(src, dst, src_row, dst_row, dst_column, put_masked);
}

void bytemap_or_row_wrap(const ByteMap* src, ByteMap* dst, int32_t src_row, int32_t dst_row,
                         int32_t dst_column)
{
    row_wrap(src, dst, src_row, dst_row, dst_column, put_or);
}

void bytemap_blit_column_wrap(const ByteMap* src, ByteMap* dst, int32_t src_column, int32_t dst_column,
                              int32_t dst_row)
{
    if (!has_pixels(src) || !has_pixels(dst) || src_column < 0 || src_column >= src->width ||
        dst_column < 0 || dst_column >= dst->width || dst->height < 1) {
        bytemap_error();
        return;
    }
    wrap_line(src->pixels + src_column, src->width, src->height, dst->pixels + dst_column, dst->width,
              dst->height, dst_row, put_masked);
}

void bytemap_rect(ByteMap* map, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value)
{
    if (!rect_inside(map, x, y, w, h)) {
        bytemap_error();
        return;
    }
    const auto byte = static_cast<uint8_t>(value);
    const int32_t top_left = y * map->width + x;
    fill_line(map, top_left, w, 1, byte);
    fill_line(map, top_left + (h - 1) * map->width, w, 1, byte);
    fill_line(map, top_left, h, map->width, byte);
    fill_line(map, top_left + w - 1, h, map->width, byte);
}

void bytemap_fill_rect(ByteMap* map, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value)
{
    if (!rect_inside(map, x, y, w, h)) {
        bytemap_error();
        return;
    }
    for (int32_t row = y; row < y + h; row++) {
        fill_line(map, row * map->width + x, w, 1, static_cast<uint8_t>(value));
    }
}

// A quarter turn of sine-table offsets mirrored four ways; the right half
// sits one column left, so the outline is symmetric about x - 1/2.
void bytemap_circle(ByteMap* map, int32_t x, int32_t y, int32_t radius, uint32_t value)
{
    if (!has_pixels(map) || x < 0 || y < 0 || x >= map->width || y >= map->height || radius < 1) {
        bytemap_error();
        return;
    }
    const int32_t quarter = sine_size / 4;
    for (int32_t i = 0; i < quarter; i++) {
        const int64_t cx = wrapping_product(sine_table[(quarter + i) & sine_mask], radius) >> 15;
        const int64_t cy = wrapping_product(sine_table[i & sine_mask], radius) >> 15;
        for (const int64_t row : {y + cy, y - cy}) {
            plot(map, x + cx - 1, row, value);
            plot(map, x - cx, row, value);
        }
    }
}

void bytemap_fade(ByteMap* map, int32_t amount)
{
    const auto a = static_cast<uint8_t>(amount);
    change_values(map, [a](uint8_t v) { return v > a ? static_cast<uint8_t>(v - a) : uint8_t{0}; });
}

// Byte arithmetic wraps: adding 255 subtracts 1, and 0 wraps to 255.
void bytemap_add_value(ByteMap* map, int32_t amount)
{
    const auto a = static_cast<uint8_t>(amount);
    change_values(map, [a](uint8_t v) { return static_cast<uint8_t>(v + a); });
}
