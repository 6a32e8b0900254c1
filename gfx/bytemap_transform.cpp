// BYTEMAP transforms: nearest-neighbour scaling and rotation.
#include <cstdint>
#include <cstdlib>

#include "bytemap.h"
#include "img.h"
#include "vec2d.h"

namespace {

bool has_pixels(const ByteMap* map)
{
    return map && map->pixels;
}

// The run tables of both axes. Where the source side is the shorter, run k
// is how many destination values source value k becomes; where it is the
// longer, how many source values destination value k stands for.
struct Runs {
    int32_t* across;
    int32_t* down;
};

void release(Runs& runs)
{
    free(runs.across);
    free(runs.down);
}

// Source row starting at index si spread over the destination row at di.
void stretch_row(const ByteMap* src, int64_t si, ByteMap* dst, int64_t di, const int32_t* runs)
{
    for (int32_t k = 0; k < src->width; k++) {
        for (int32_t n = 0; n < runs[k]; n++) {
            dst->pixels[di++] = src->pixels[si + k];
        }
    }
}

// Destination row ending at index di filled right to left: each value is the
// last source value of its run. Returns the source index left behind, the
// last value of the row above.
int64_t squeeze_row(const ByteMap* src, int64_t si, ByteMap* dst, int64_t di, const int32_t* runs)
{
    for (int32_t k = dst->width - 1; k >= 0; k--) {
        dst->pixels[di--] = src->pixels[si];
        si -= runs[k];
    }
    return si;
}

// Repeats the destination row just written `times` more times; forward
// copies downward, backward copies upward from the row below.
void repeat_row(ByteMap* dst, int64_t& di, int32_t times, bool forward)
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
void scale_wider(const ByteMap* src, ByteMap* dst, const Runs& runs)
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

// Narrower: backward from the last values, so the last source row and
// column always survive. A taller destination repeats each squeezed row
// upward; a shorter one skips the rest of each run of source rows.
void scale_narrower(const ByteMap* src, ByteMap* dst, const Runs& runs)
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

int32_t wrap_angle(int64_t angle)
{
    return static_cast<int32_t>((angle % sine_size + sine_size) % sine_size);
}

// A sine-table factor times a distance, scaled back by 2^15. The product
// wraps like the hardware multiply.
int32_t turned(int32_t factor, int32_t distance)
{
    return static_cast<int32_t>(static_cast<uint32_t>(factor) * static_cast<uint32_t>(distance)) >> 15;
}

}  // namespace

void bytemap_scale(const ByteMap* src, ByteMap* dst)
{
    if (!has_pixels(src) || !has_pixels(dst) || dst->width < 0 || dst->height < 0) {
        bytemap_error();
        return;
    }
    if (dst->width == 0 || dst->height == 0) {
        return;
    }
    if (src->width <= 0 || src->height <= 0) {
        bytemap_error();
        return;
    }
    Runs runs{img_run_table(src->width, dst->width), img_run_table(src->height, dst->height)};
    if (!runs.across || !runs.down) {
        release(runs);
        bytemap_error();
        return;
    }
    if (src->width <= dst->width) {
        scale_wider(src, dst, runs);
    } else {
        scale_narrower(src, dst, runs);
    }
    release(runs);
}

// A new map 92667/65536 (just under the square root of 2) times the source
// size, holding the source turned about its centre; uncovered values are 0.
ByteMap* bytemap_rotate(const ByteMap* src, int32_t angle)
{
    if (!has_pixels(src)) {
        bytemap_error();
        return nullptr;
    }
    const auto width = static_cast<int32_t>((92667 * int64_t{src->width}) >> 16);
    const auto height = static_cast<int32_t>((92667 * int64_t{src->height}) >> 16);
    ByteMap* out = bytemap_new();
    if (!out) {
        return nullptr;
    }
    bytemap_resize(out, width, height);
    if (!out->pixels || out->width != width || out->height != height) {
        bytemap_free(&out);
        bytemap_error();
        return nullptr;
    }
    // The sine of -angle and the negated cosine of angle.
    const int32_t s = sine_table[wrap_angle(sine_size - wrap_angle(angle))];
    const int32_t c = sine_table[wrap_angle(sine_size - wrap_angle(int64_t{angle} + 256))];
    for (int32_t v = height - 1; v >= 0; v--) {
        for (int32_t u = width - 1; u >= 0; u--) {
            const int32_t du = u - width / 2;
            const int32_t dv = v - height / 2;
            const int32_t x = src->width / 2 + turned(c, du) - turned(s, dv);
            const int32_t y = src->height / 2 + turned(s, du) + turned(c, dv);
            bytemap_put_pixel(out, u, v, bytemap_get_pixel(src, x, y));
        }
    }
    return out;
}
