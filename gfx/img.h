// IMG: the 32-bit picture buffer, its drawing and compositing operations,
// the run and line tables, and the PNM codec.
#pragma once

#include <cstddef>
#include <cstdint>

// Pixels are 0x00RRGGBB, row-major, pixel (x, y) at y * width + x.
// The value 0 is the colour key that masked copies skip.
struct Image {
    int32_t x;  // placement header shared with Font and the scrollers;
    int32_t y;  // x and y are free for the owner, no IMG operation uses them
    int32_t z;
    int32_t width;
    int32_t height;
    int32_t depth;
    uint32_t* pixels;  // owned, width * height words
};

// When non-zero, refused calls print "IMG error". Nothing in the program sets it.
extern uint8_t img_debug;

// Life cycle and single pixels.
Image* img_new();
void img_free(Image** image);
void img_resize(Image* image, int32_t width, int32_t height);
void img_clear(Image* image);
uint32_t img_get_pixel(const Image* image, int32_t x, int32_t y);
void img_put_pixel(Image* image, int32_t x, int32_t y, uint32_t colour);
void img_copy(const Image* src, Image* dst);
Image* img_clone(const Image* image);
int32_t img_equal(const Image* a, const Image* b);
void img_error();

// Rectangle copies, clipped against both Images. Source and destination
// may be the same Image.
void img_blit(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
              int32_t h);
void img_add(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy, int32_t w,
             int32_t h);
void img_blit_spread(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                     int32_t w, int32_t h, int32_t step_x, int32_t step_y);
void img_blend(const Image* src, Image* dst, int32_t dx, int32_t dy);
void img_and(const Image* src, Image* dst);

// Single rows and columns; the wrap copies continue at the destination's start.
void img_copy_row(const Image* src, Image* dst, int32_t src_row, int32_t dst_row);
void img_blit_row_wrap(const Image* src, Image* dst, int32_t src_row, int32_t dst_row,
                       int32_t dst_column);
void img_or_row_wrap(const Image* src, Image* dst, int32_t src_row, int32_t dst_row,
                     int32_t dst_column);
void img_blit_column_wrap(const Image* src, Image* dst, int32_t src_column, int32_t dst_column,
                          int32_t dst_row);

// Shapes, fade and transforms.
void img_rect(Image* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void img_fill_rect(Image* image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void img_circle(Image* image, int32_t x, int32_t y, int32_t radius, uint32_t colour);
void img_fade(Image* image, int32_t amount);
void img_scale(const Image* src, Image* dst);
Image* img_rotate(const Image* src, int32_t angle);

// Tables allocated with calloc; the caller releases them with free.
// Run table: min(|a|, |b|) + 1 counters distributing the longer length over the shorter.
int32_t* img_run_table(int32_t a, int32_t b);
// Line table: element 0 holds 2n, then x0, y0, x1, y1, ... of the n points.
int32_t* img_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// PNM codec (P1-P6 read, binary P6 written) and the "IMG{ P3 }" text form.
// img_from_pnm is for the pictures built into the program: it takes no length
// and reads as far as the header says, so it must only see complete data.
// img_from_pnm_bytes is for bytes from elsewhere: the same reader and the same
// results on complete data, none when the data ends early or never completes
// the header, and nothing is read past `size`.
Image* img_from_pnm(const uint8_t* data);
Image* img_from_pnm_bytes(const uint8_t* data, size_t size);
Image* img_load_pnm(const char* path);
int32_t img_save_pnm(const Image* image, const char* path);
char* img_to_text(const Image* image);  // caller frees with free
Image* img_from_text(const char* text);
int32_t img_find_text(const char* text, const char* search);
