// BYTEMAP drawing: rectangle copies, single rows and columns, shapes, the
// fade and the value offset, on one byte per value.
#include <cstdint>

#include "bytemap.h"
#include "grid_draw.h"

void bytemap_blit(const ByteMap* src, ByteMap* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                  int32_t w, int32_t h)
{
    grid::copy_rect(src, dst, sx, sy, dx, dy, w, h, grid::put_masked, bytemap_error);
}

void bytemap_blit_spread(const ByteMap* src, ByteMap* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                         int32_t w, int32_t h, int32_t step_x, int32_t step_y)
{
    grid::copy_spread(src, dst, sx, sy, dx, dy, w, h, step_x, step_y, bytemap_error);
}

// (s >> 1) + (d >> 1) is at most 254, so it never wraps.
void bytemap_blend(const ByteMap* src, ByteMap* dst, int32_t dx, int32_t dy)
{
    grid::blend(
        src, dst, dx, dy, [](uint8_t s, uint8_t d) { return static_cast<uint8_t>((s >> 1) + (d >> 1)); },
        bytemap_error);
}

void bytemap_and(const ByteMap* src, ByteMap* dst)
{
    grid::and_into(src, dst, bytemap_error);
}

void bytemap_blit_row_wrap(const ByteMap* src, ByteMap* dst, int32_t src_row, int32_t dst_row,
                           int32_t dst_column)
{
    grid::row_wrap(src, dst, src_row, dst_row, dst_column, grid::put_masked, bytemap_error);
}

void bytemap_or_row_wrap(const ByteMap* src, ByteMap* dst, int32_t src_row, int32_t dst_row,
                         int32_t dst_column)
{
    grid::row_wrap(src, dst, src_row, dst_row, dst_column, grid::put_or, bytemap_error);
}

void bytemap_blit_column_wrap(const ByteMap* src, ByteMap* dst, int32_t src_column, int32_t dst_column,
                              int32_t dst_row)
{
    grid::column_wrap(src, dst, src_column, dst_column, dst_row, bytemap_error);
}

void bytemap_rect(ByteMap* map, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value)
{
    grid::outline(map, x, y, w, h, value, bytemap_error);
}

void bytemap_fill_rect(ByteMap* map, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value)
{
    grid::fill(map, x, y, w, h, value, bytemap_error);
}

void bytemap_circle(ByteMap* map, int32_t x, int32_t y, int32_t radius, uint32_t value)
{
    grid::circle(map, x, y, radius, value, bytemap_error);
}

void bytemap_fade(ByteMap* map, int32_t amount)
{
    const auto a = static_cast<uint8_t>(amount);
    grid::change_each(
        map, [a](uint8_t v) { return v > a ? static_cast<uint8_t>(v - a) : uint8_t{0}; }, bytemap_error);
}

// Byte arithmetic wraps: adding 255 subtracts 1, and 0 wraps to 255.
void bytemap_add_value(ByteMap* map, int32_t amount)
{
    const auto a = static_cast<uint8_t>(amount);
    grid::change_each(map, [a](uint8_t v) { return static_cast<uint8_t>(v + a); }, bytemap_error);
}
