// IMG transforms: nearest-neighbour scaling and rotation.
#include <cstdint>
#include <cstdlib>

#include "img.h"
#include "vec2d.h"

namespace {

bool has_pixels(const Image* image)
{
    return image && image->pixels;
}

// Enlarging a row: source pixel k fills the next runs[k] destination pixels.
void expand_row(const Image* src, int64_t si, Image* dst, int64_t di, const int32_t* runs)
{
    for (int32_t k = 0; k < src->width; k++, si++) {
        for (int32_t n = 0; n < runs[k]; n++) {
            dst->pixels[di++] = src->pixels[si];
        }
    }
}

// Shrinking a row, right to left from the last pixels si and di.
// Destination pixel k takes the current source pixel, then the source steps
// back over the runs[k] pixels it stands for. Returns the source index left
// behind: the last pixel of the row above.
int64_t shrink_row(const Image* src, int64_t si, Image* dst, int64_t di, const int32_t* runs)
{
    for (int32_t k = dst->width - 1; k >= 0; k--) {
        dst->pixels[di--] = src->pixels[si];
        si -= runs[k];
    }
    return si;
}

// Copies the finished destination row into the next `rows` rows: downward
// with step +1 (di just past the row) or upward with step -1 (di just
// before it). Returns the index after the last pixel written.
int64_t repeat_row(Image* dst, int64_t di, int32_t rows, int32_t step)
{
    const int64_t finished = -int64_t{step} * dst->width;
    for (int64_t n = int64_t{rows} * dst->width; n > 0; n--, di += step) {
        dst->pixels[di] = dst->pixels[di + finished];
    }
    return di;
}

// The width grows: forward from the first pixels. A growing height repeats
// each expanded row downward; a shrinking one shows the first source row of
// each run and skips the rest.
void scale_forward(const Image* src, Image* dst, const int32_t* tx, const int32_t* ty)
{
    const bool fewer_rows = src->height > dst->height;
    const int32_t rows = fewer_rows ? dst->height : src->height;
    int64_t si = 0;
    int64_t di = 0;
    for (int32_t r = 0; r < rows; r++) {
        expand_row(src, si, dst, di, tx);
        si += src->width;
        di += dst->width;
        if (fewer_rows) {
            si += int64_t{ty[r] - 1} * src->width;
        } else {
            di = repeat_row(dst, di, ty[r] - 1, 1);
        }
    }
}

// The width shrinks: backward from the last pixels, so the last source row
// and column always survive. A shrinking height skips back over the rest of
// each run of source rows; a growing one repeats each row upward.
void scale_backward(const Image* src, Image* dst, const int32_t* tx, const int32_t* ty)
{
    const bool fewer_rows = src->height > dst->height;
    const int32_t rows = fewer_rows ? dst->height : src->height;
    int64_t si = int64_t{src->width} * src->height - 1;
    int64_t di = int64_t{dst->width} * dst->height - 1;
    for (int32_t r = rows - 1; r >= 0; r--) {
        si = shrink_row(src, si, dst, di, tx);
        di -= dst->width;
        if (fewer_rows) {
            si -= int64_t{ty[r] - 1} * src->width;
        } else {
            di = repeat_row(dst, di, ty[r] - 1, -1);
        }
    }
}

// Angle wrapped into 0 ... sine_size - 1.
int32_t wrap_angle(int64_t angle)
{
    return static_cast<int32_t>(((angle % sine_size) + sine_size) % sine_size);
}

// A signed 32-bit product that wraps like the hardware multiply.
int32_t mul32(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace

void img_scale(const Image* src, Image* dst)
{
    if (!has_pixels(src) || !has_pixels(dst) || dst->width < 0 || dst->height < 0) {
        img_error();
        return;
    }
    if (dst->width == 0 || dst->height == 0) {
        return;
    }
    if (src->width <= 0 || src->height <= 0) {
        img_error();
        return;
    }
    int32_t* tx = img_run_table(src->width, dst->width);
    int32_t* ty = img_run_table(src->height, dst->height);
    if (!tx || !ty) {
        free(tx);
        free(ty);
        img_error();
        return;
    }
    if (src->width <= dst->width) {
        scale_forward(src, dst, tx, ty);
    } else {
        scale_backward(src, dst, tx, ty);
    }
    free(tx);
    free(ty);
}

// The result is 92667/65536 (just under the square root of 2) times the
// source size, so the turned picture fits; uncovered pixels stay 0.
Image* img_rotate(const Image* src, int32_t angle)
{
    if (!has_pixels(src)) {
        img_error();
        return nullptr;
    }
    const int64_t width = (92667 * int64_t{src->width}) >> 16;
    const int64_t height = (92667 * int64_t{src->height}) >> 16;
    Image* out = img_new();
    if (!out) {
        return nullptr;
    }
    img_resize(out, static_cast<int32_t>(width), static_cast<int32_t>(height));
    if (!out->pixels || out->width != width || out->height != height) {
        img_free(&out);
        img_error();
        return nullptr;
    }
    // The sine of -angle and the negated cosine of angle.
    const int32_t s = sine_table[wrap_angle(sine_size - wrap_angle(angle))];
    const int32_t c = sine_table[wrap_angle(sine_size - wrap_angle(int64_t{angle} + 256))];
    const int32_t half_w = out->width / 2;
    const int32_t half_h = out->height / 2;
    for (int32_t v = out->height - 1; v >= 0; v--) {
        for (int32_t u = out->width - 1; u >= 0; u--) {
            const int32_t du = u - half_w;
            const int32_t dv = v - half_h;
            const int32_t x = src->width / 2 + (mul32(c, du) >> 15) - (mul32(s, dv) >> 15);
            const int32_t y = src->height / 2 + (mul32(s, du) >> 15) + (mul32(c, dv) >> 15);
            img_put_pixel(out, u, v, img_get_pixel(src, x, y));
        }
    }
    return out;
}
