// BYTEMAP: the 8-bit twin of the Image. Values are grey levels, palette
// indices or masks; the record, life cycle, drawing rules and error
// convention are those of the IMG module with one byte per pixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "palette.h"

struct Image;

// Value (x, y) is byte y * width + x. The value 0 is the colour key that
// masked copies skip.
struct ByteMap {
    int32_t x;  // placement header shared with Image; no BYTEMAP operation uses it
    int32_t y;
    int32_t z;
    int32_t width;
    int32_t height;
    int32_t depth;
    uint8_t* pixels;  // owned, width * height bytes
};

// When non-zero, refused calls print "BYTEMAP error". Nothing in the program sets it.
extern uint8_t bytemap_debug;

// Life cycle and single values. Value arguments are stored as their low byte.
ByteMap* bytemap_new();  // 16 x 16, all 0
void bytemap_free(ByteMap** map);
void bytemap_resize(ByteMap* map, int32_t width, int32_t height);
void bytemap_clear(ByteMap* map);
uint8_t bytemap_get_pixel(const ByteMap* map, int32_t x, int32_t y);
void bytemap_put_pixel(ByteMap* map, int32_t x, int32_t y, uint32_t value);
void bytemap_copy(const ByteMap* src, ByteMap* dst);
ByteMap* bytemap_clone(const ByteMap* map);
int32_t bytemap_equal(const ByteMap* a, const ByteMap* b);
void bytemap_add_value(ByteMap* map, int32_t amount);  // every value += low byte, mod 256
// Image pixel i = palette entry (value i); same widths, a palette of 256 or more.
void bytemap_to_image(const ByteMap* map, Image* image, const Palette* palette);
void bytemap_error();

// Copies, clipped like their IMG twins. Source and destination may be the same.
void bytemap_blit(const ByteMap* src, ByteMap* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                  int32_t w, int32_t h);
void bytemap_blit_spread(const ByteMap* src, ByteMap* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                         int32_t w, int32_t h, int32_t step_x, int32_t step_y);
void bytemap_blend(const ByteMap* src, ByteMap* dst, int32_t dx, int32_t dy);  // (s >> 1) + (d >> 1)
void bytemap_and(const ByteMap* src, ByteMap* dst);
void bytemap_blit_row_wrap(const ByteMap* src, ByteMap* dst, int32_t src_row, int32_t dst_row,
                           int32_t dst_column);
void bytemap_or_row_wrap(const ByteMap* src, ByteMap* dst, int32_t src_row, int32_t dst_row,
                         int32_t dst_column);
void bytemap_blit_column_wrap(const ByteMap* src, ByteMap* dst, int32_t src_column, int32_t dst_column,
                              int32_t dst_row);

// Shapes, fade and transforms.
void bytemap_rect(ByteMap* map, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value);
void bytemap_fill_rect(ByteMap* map, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value);
void bytemap_circle(ByteMap* map, int32_t x, int32_t y, int32_t radius, uint32_t value);
void bytemap_fade(ByteMap* map, int32_t amount);  // v = max(0, v - low byte of amount)
void bytemap_scale(const ByteMap* src, ByteMap* dst);
ByteMap* bytemap_rotate(const ByteMap* src, int32_t angle);

// The run and line tables of img_run_table and img_line_points: allocated
// with calloc, released by the caller with free.
int32_t* bytemap_run_table(int32_t a, int32_t b);
int32_t* bytemap_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// PNM codec (P1-P6 read as grey, binary P5 written) and the "BYTEMAP{ P3 }"
// text form, whose values stand as the blue samples.
// bytemap_from_pnm is for pictures built into a program: it takes no length
// and reads as far as the header says, so it must only see complete data.
// bytemap_from_pnm_bytes is for bytes from elsewhere: the same reader and the
// same results on complete data, none when the data ends early or never
// completes the header, and nothing is read past `size`.
ByteMap* bytemap_from_pnm(const uint8_t* data);
ByteMap* bytemap_from_pnm_bytes(const uint8_t* data, size_t size);
ByteMap* bytemap_load_pnm(const char* path);
int32_t bytemap_save_pnm(const ByteMap* map, const char* path);
char* bytemap_to_text(const ByteMap* map);  // caller frees with free
ByteMap* bytemap_from_text(const char* text);
int32_t bytemap_find_text(const char* text, const char* search);
