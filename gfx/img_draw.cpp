// IMG drawing: rectangle copies, single rows and columns, shapes and the fade.
#include <algorithm>
#include <cstdint>

#include "img.h"
#include "vec2d.h"

namespace {

bool has_pixels(const Image* image)
{
    return image && image->pixels;
}

// A clipped rectangle copy: top-left corner in both Images and its size.
struct CopyRect {
    int64_t sx, sy, dx, dy, w, h;
};

// Clips one axis of a rectangle copy against both Images; false when
// nothing is left. The x and y axes are independent, so each is clipped alone.
bool clip_axis(int64_t& s, int64_t& d, int64_t& len, int32_t src_size, int32_t dst_size)
{
    if (d >= dst_size || d + len < 0 || s >= src_size || s + len < 0) {
        return false;
    }
    if (s < 0) {
        d -= s;
        len += s;
        s = 0;
    }
    if (s + len > src_size) {
        len = src_size - s;
    }
    if (d < 0) {
        len += d;
        s -= d;
        d = 0;
    }
    if (d + len > dst_size) {
        len = dst_size - d;
    }
    return len > 0;
}

// Clips one axis of a spaced copy, keeping every drawn pixel where it would
// land unclipped: leading source pixels that fall before 0 are dropped whole.
bool clip_spread_axis(int64_t& s, int64_t& d, int64_t& len, int64_t step, int32_t src_size,
                      int32_t dst_size)
{
    if (d >= dst_size || d + len * step < 0 || s >= src_size || s + len * step < 0) {
        return false;
    }
    if (s < 0) {
        len += s;
        d -= s * step;
        s = 0;
    }
    if (s + len >= src_size) {
        len = src_size - s;
    }
    if (d < 0) {
        const int64_t hidden = (-d + step - 1) / step;
        len -= hidden;
        s += hidden;
        d += hidden * step;
    }
    if (d + len * step > dst_size) {
        len = (dst_size - d) / step;
    }
    return len > 0;
}

// Walks the rectangle top to bottom, left to right, on running pixel indices.
// Reading each source pixel just before its write keeps same-Image copies
// seeing what earlier steps of the same call wrote.
template <typename Combine>
void walk_rect(const Image* src, Image* dst, const CopyRect& r, Combine combine)
{
    const auto w = static_cast<int32_t>(r.w);
    const auto h = static_cast<int32_t>(r.h);
    const uint32_t* from = src->pixels + r.sy * src->width + r.sx;
    uint32_t* to = dst->pixels + r.dy * dst->width + r.dx;
    for (int32_t j = 0; j < h; j++) {
        for (int32_t i = 0; i < w; i++) {
            combine(to[i], from[i]);
        }
        from += src->width;
        to += dst->width;
    }
}

template <typename Combine>
void copy_rect(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
               int32_t w, int32_t h, Combine combine)
{
    if (!has_pixels(src) || !has_pixels(dst)) {
        img_error();
        return;
    }
    CopyRect r{sx, sy, dx, dy, w, h};
    if (clip_axis(r.sx, r.dx, r.w, src->width, dst->width) &&
        clip_axis(r.sy, r.dy, r.h, src->height, dst->height)) {
        walk_rect(src, dst, r, combine);
    }
}

// The per-pixel rules of the copies. Each is a type of its own, so the copy
// loops are compiled for it with the rule inlined. The masked rule writes
// the old value back where the source is the key: no branch in the loop.
constexpr auto put_masked = [](uint32_t& d, uint32_t s) { d = s != 0 ? s : d; };
constexpr auto put_sum = [](uint32_t& d, uint32_t s) { d += s; };
constexpr auto put_or = [](uint32_t& d, uint32_t s) { d |= s; };

// One source line into one destination line of `dst_len` pixels, starting
// at `start` and continuing at 0; never more than dst_len pixels.
template <typename Combine>
void wrap_line(const uint32_t* src, int32_t src_stride, int32_t src_len, uint32_t* dst,
               int32_t dst_stride, int32_t dst_len, int64_t start_at, Combine combine)
{
    const auto start = static_cast<int32_t>(((start_at % dst_len) + dst_len) % dst_len);
    const int32_t first = std::min(src_len, dst_len - start);
    for (int32_t i = 0; i < first; i++) {
        combine(dst[(start + i) * dst_stride], src[i * src_stride]);
    }
    const int32_t last = std::min(src_len, dst_len);
    for (int32_t i = first; i < last; i++) {
        combine(dst[(i - first) * dst_stride], src[i * src_stride]);
    }
}

bool row_in(const Image* image, int32_t row)
{
    return row >= 0 && row < image->height;
}

bool column_in(const Image* image, int32_t column)
{
    return column >= 0 && column < image->width;
}

template <typename Combine>
void row_wrap(const Image* src, Image* dst, int32_t src_row, int32_t dst_row, int32_t dst_column,
              Combine combine)
{
    if (!has_pixels(src) || !has_pixels(dst) || !row_in(src, src_row) || !row_in(dst, dst_row) ||
        dst->width < 1) {
        img_error();
        return;
    }
    wrap_line(src->pixels + src_row * src->width, 1, src->width, dst->pixels + dst_row * dst->width,
              1, dst->width, dst_column, combine);
}

bool rect_inside(const Image* image, int32_t x, int32_t y, int32_t w, int32_t h)
{
    return has_pixels(image) && x >= 0 && y >= 0 && x < image->width && y < image->height && w >= 1 &&
           h >= 1 && int64_t{x} + w <= image->width && int64_t{y} + h <= image->height;
}

void fill_span(Image* image, int32_t first, int32_t count, int32_t stride, uint32_t colour)
{
    for (int32_t i = 0; i < count; i++) {
        image->pixels[first + i * stride] = colour;
    }
}

// Plots silently skip points outside the Image, including ones whose
// coordinates would not fit the 32-bit arguments.
void plot(Image* image, int64_t x, int64_t y, uint32_t colour)
{
    if (x >= 0 && y >= 0 && x < image->width && y < image->height) {
        image->pixels[y * image->width + x] = colour;
    }
}

// A signed 32-bit product that wraps like the hardware multiply.
int32_t mul32(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

uint32_t fade_channel(uint32_t pixel, uint32_t mask, uint32_t drop)
{
    const uint32_t channel = pixel & mask;
    return channel > drop ? channel - drop : 0;
}

}  // namespace

void img_blit(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
              int32_t h)
{
    copy_rect(src, dst, sx, sy, dx, dy, w, h, put_masked);
}

// Plain 32-bit sum: channels carry into their neighbours, nothing saturates.
void img_add(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
             int32_t h)
{
    copy_rect(src, dst, sx, sy, dx, dy, w, h, put_sum);
}

void img_blit_spread(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                     int32_t w, int32_t h, int32_t step_x, int32_t step_y)
{
    if (!has_pixels(src) || !has_pixels(dst) || step_x < 1 || step_y < 1) {
        img_error();
        return;
    }
    CopyRect r{sx, sy, dx, dy, w, h};
    if (!clip_spread_axis(r.sx, r.dx, r.w, step_x, src->width, dst->width) ||
        !clip_spread_axis(r.sy, r.dy, r.h, step_y, src->height, dst->height)) {
        return;
    }
    const int64_t dst_row_step = int64_t{step_y} * dst->width;
    int64_t src_row = r.sy * src->width + r.sx;
    int64_t dst_row = r.dy * dst->width + r.dx;
    for (int64_t j = 0; j < r.h; j++) {
        for (int64_t i = 0; i < r.w; i++) {
            put_masked(dst->pixels[dst_row + i * step_x], src->pixels[src_row + i]);
        }
        src_row += src->width;
        dst_row += dst_row_step;
    }
}

// Each non-zero source pixel becomes half of itself plus half of the
// destination per channel; the masks keep a channel's low bit from
// spilling into its neighbour and clear the top byte.
void img_blend(const Image* src, Image* dst, int32_t dx, int32_t dy)
{
    if (!has_pixels(src) || !has_pixels(dst)) {
        img_error();
        return;
    }
    if (int64_t{src->width} + dx < 1 || int64_t{src->height} + dy < 1 || dx >= dst->width ||
        dy >= dst->height) {
        return;
    }
    int32_t sx = 0, sy = 0, w = src->width, h = src->height;
    if (dx < 0) {
        sx = -dx;
        w = src->width + dx;
        dx = 0;
    }
    if (dy < 0) {
        sy = -dy;
        h = src->height + dy;
        dy = 0;
    }
    w = std::min(w, dst->width - dx);
    h = std::min(h, dst->height - dy);
    if (w <= 0 || h <= 0) {
        return;
    }
    // Bottom-right corner first, walking back to the top-left.
    int64_t si = int64_t{sy + h - 1} * src->width + sx + w - 1;
    int64_t di = int64_t{dy + h - 1} * dst->width + dx + w - 1;
    for (int32_t j = h - 1; j >= 0; j--) {
        for (int32_t i = w - 1; i >= 0; i--) {
            const uint32_t s = src->pixels[si--];
            if (s != 0) {
                dst->pixels[di] = ((s >> 1) & 0x7F7F7F) + ((dst->pixels[di] >> 1) & 0x7F7F7F);
            }
            di--;
        }
        si -= src->width - w;
        di -= dst->width - w;
    }
}

// The destination must hold at least as many pixels as the source; a
// smaller one is refused rather than written past its end.
void img_and(const Image* src, Image* dst)
{
    if (!has_pixels(src) || !has_pixels(dst) ||
        int64_t{dst->width} * dst->height < int64_t{src->width} * src->height) {
        img_error();
        return;
    }
    for (int32_t i = src->width * src->height - 1; i >= 0; i--) {
        dst->pixels[i] &= src->pixels[i];
    }
}

void img_copy_row(const Image* src, Image* dst, int32_t src_row, int32_t dst_row)
{
    if (!has_pixels(src) || !has_pixels(dst) || !row_in(src, src_row) || !row_in(dst, dst_row)) {
        img_error();
        return;
    }
    const uint32_t* from = src->pixels + src_row * src->width;
    uint32_t* to = dst->pixels + dst_row * dst->width;
    const int32_t count = std::min(src->width, dst->width);
    for (int32_t i = 0; i < count; i++) {
        to[i] = from[i];
    }
}

void img_blit_row_wrap(const Image* src, Image* dst, int32_t src_row, int32_t dst_row,
                       int32_t dst_column)
{
    row_wrap(src, dst, src_row, dst_row, dst_column, put_masked);
}

void img_or_row_wrap(const Image* src, Image* dst, int32_t src_row, int32_t dst_row,
                     int32_t dst_column)
{
    row_wrap(src, dst, src_row, dst_row, dst_column, put_or);
}

void img_blit_column_wrap(const Image* src, Image* dst, int32_t src_column, int32_t dst_column,
                          int32_t dst_row)
{
    if (!has_pixels(src) || !has_pixels(dst) || !column_in(src, src_column) ||
        !column_in(dst, dst_column) || dst->height < 1) {
        img_error();
        return;
    }
    wrap_line(src->pixels + src_column, src->width, src->height, dst->pixels + dst_column, dst->width,
              dst->height, dst_row, put_masked);
}

void img_rect(Image* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    if (!rect_inside(image, x, y, w, h)) {
        img_error();
        return;
    }
    const int32_t top_left = y * image->width + x;
    const int32_t bottom_left = top_left + (h - 1) * image->width;
    fill_span(image, top_left, w, 1, colour);
    fill_span(image, bottom_left, w, 1, colour);
    fill_span(image, top_left, h, image->width, colour);
    fill_span(image, top_left + w - 1, h, image->width, colour);
}

void img_fill_rect(Image* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    if (!rect_inside(image, x, y, w, h)) {
        img_error();
        return;
    }
    for (int32_t row = y; row < y + h; row++) {
        fill_span(image, row * image->width + x, w, 1, colour);
    }
}

// A quarter turn of sine-table offsets mirrored four ways. The right half
// sits one column left, so the outline is symmetric about x - 1/2.
void img_circle(Image* image, int32_t x, int32_t y, int32_t radius, uint32_t colour)
{
    if (!has_pixels(image) || x < 0 || y < 0 || x >= image->width || y >= image->height ||
        radius < 1) {
        img_error();
        return;
    }
    const int32_t quarter = sine_size / 4;
    int64_t last_cx = 0;
    int64_t last_cy = 0;
    for (int32_t i = 0; i < quarter; i++) {
        const int64_t cx = mul32(sine_table[(quarter + i) & sine_mask], radius) >> 15;
        const int64_t cy = mul32(sine_table[i & sine_mask], radius) >> 15;
        // Small circles repeat points; all points share one colour, so a
        // repeat would only write the same pixels again.
        if (i > 0 && cx == last_cx && cy == last_cy) {
            continue;
        }
        last_cx = cx;
        last_cy = cy;
        plot(image, x + cx - 1, y + cy, colour);
        plot(image, x - cx, y + cy, colour);
        plot(image, x + cx - 1, y - cy, colour);
        plot(image, x - cx, y - cy, colour);
    }
}

// Each channel drops by the low byte of `amount` and stops at 0; the top
// byte is cleared.
void img_fade(Image* image, int32_t amount)
{
    if (!has_pixels(image)) {
        img_error();
        return;
    }
    const uint32_t a = static_cast<uint8_t>(amount);
    uint32_t* pixels = image->pixels;
    for (int32_t i = image->width * image->height - 1; i >= 0; i--) {
        const uint32_t p = pixels[i];
        pixels[i] = fade_channel(p, 0xFF0000, a << 16) | fade_channel(p, 0x00FF00, a << 8) |
                    fade_channel(p, 0x0000FF, a);
    }
}
