// IMG drawing: rectangle copies, single rows and columns, shapes and the fade.
#include <algorithm>
#include <cstdint>

#include "grid_draw.h"
#include "img.h"

namespace {

constexpr auto put_sum = [](uint32_t& d, uint32_t s) { d += s; };

// Half of each channel of both pixels; the masks keep a channel's low bit
// from spilling into its neighbour and clear the top byte.
constexpr auto mix_halves = [](uint32_t s, uint32_t d) { return ((s >> 1) & 0x7F7F7F) + ((d >> 1) & 0x7F7F7F); };

uint32_t fade_channel(uint32_t pixel, uint32_t mask, uint32_t drop)
{
    const uint32_t channel = pixel & mask;
    return channel > drop ? channel - drop : 0;
}

}  // namespace

void img_blit(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
              int32_t h)
{
    grid::copy_rect(src, dst, sx, sy, dx, dy, w, h, grid::put_masked, img_error);
}

// Plain 32-bit sum: channels carry into their neighbours, nothing saturates.
void img_add(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
             int32_t h)
{
    grid::copy_rect(src, dst, sx, sy, dx, dy, w, h, put_sum, img_error);
}

void img_blit_spread(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                     int32_t w, int32_t h, int32_t step_x, int32_t step_y)
{
    grid::copy_spread(src, dst, sx, sy, dx, dy, w, h, step_x, step_y, img_error);
}

void img_blend(const Image* src, Image* dst, int32_t dx, int32_t dy)
{
    grid::blend(src, dst, dx, dy, mix_halves, img_error);
}

void img_and(const Image* src, Image* dst)
{
    grid::and_into(src, dst, img_error);
}

void img_copy_row(const Image* src, Image* dst, int32_t src_row, int32_t dst_row)
{
    if (!grid::has_pixels(src) || !grid::has_pixels(dst) || !grid::row_in(src, src_row) ||
        !grid::row_in(dst, dst_row)) {
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
    grid::row_wrap(src, dst, src_row, dst_row, dst_column, grid::put_masked, img_error);
}

void img_or_row_wrap(const Image* src, Image* dst, int32_t src_row, int32_t dst_row,
                     int32_t dst_column)
{
    grid::row_wrap(src, dst, src_row, dst_row, dst_column, grid::put_or, img_error);
}

void img_blit_column_wrap(const Image* src, Image* dst, int32_t src_column, int32_t dst_column,
                          int32_t dst_row)
{
    grid::column_wrap(src, dst, src_column, dst_column, dst_row, img_error);
}

void img_rect(Image* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    grid::outline(image, x, y, w, h, colour, img_error);
}

void img_fill_rect(Image* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour)
{
    grid::fill(image, x, y, w, h, colour, img_error);
}

void img_circle(Image* image, int32_t x, int32_t y, int32_t radius, uint32_t colour)
{
    grid::circle(image, x, y, radius, colour, img_error);
}

// Each channel drops by the low byte of `amount` and stops at 0; the top
// byte is cleared.
void img_fade(Image* image, int32_t amount)
{
    const uint32_t a = static_cast<uint8_t>(amount);
    grid::change_each(
        image,
        [a](uint32_t p) {
            return fade_channel(p, 0xFF0000, a << 16) | fade_channel(p, 0x00FF00, a << 8) |
                   fade_channel(p, 0x0000FF, a);
        },
        img_error);
}
