// RASTER: per-row colour lists drawn, blended and smoothed.
#include "raster.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "img.h"

[[gnu::used]] static const char* const raster_id[] = {"CODE", "C", "Tobrenko", "20101104", "RASTER"};

namespace {

constexpr int32_t default_count = 256;
constexpr int32_t opaque = 256;

// Printed on every refused call: the module has no switch to silence it.
void raster_error()
{
    puts("RASTER error");
}

bool has_colours(const Raster* raster)
{
    return raster && raster->colours && raster->count >= 1;
}

bool has_pixels(const Image* image)
{
    return image && image->pixels;
}

uint32_t* new_colours(int32_t count)
{
    return static_cast<uint32_t*>(calloc(static_cast<size_t>(count), sizeof(uint32_t)));
}

// Each channel weighs alpha / 256 of the colour against the rest of the old
// pixel; every product stays below 2^32, and the byte above red ends up 0.
uint32_t blend(uint32_t old, uint32_t colour, uint32_t alpha)
{
    const uint32_t keep = opaque - alpha;
    const uint32_t red = (((old & 0xFF0000) * keep + (colour & 0xFF0000) * alpha) >> 8) & 0xFF0000;
    const uint32_t green = (((old & 0xFF00) * keep + (colour & 0xFF00) * alpha) >> 8) & 0xFF00;
    const uint32_t blue = ((old & 0xFF) * keep + (colour & 0xFF) * alpha) >> 8;
    return red | green | blue;
}

// The pixels of row y from x0 to x1 after clipping; empty when the row is
// outside or nothing is left.
struct Span {
    uint32_t* first;
    int32_t length;
};

Span clip_span(Image* target, int32_t y, int32_t x0, int32_t x1)
{
    const int32_t from = std::max(x0, 0);
    const int32_t to = std::min(x1, target->width - 1);
    if (y < 0 || y >= target->height || from > to) {
        return {nullptr, 0};
    }
    return {target->pixels + int64_t{y} * target->width + from, to - from + 1};
}

// Row by row with the colour list's entries in turn, starting at position.
template <typename DrawRow>
void draw_rows(const Raster* raster, Image* target, DrawRow draw_row)
{
    int32_t entry = raster->position % raster->count;
    if (entry < 0) {
        entry += raster->count;
    }
    for (int32_t y = 0; y < target->height; y++) {
        draw_row(raster->colours[entry], y);
        entry = entry + 1 < raster->count ? entry + 1 : 0;
    }
}

int32_t channel(uint32_t colour, int32_t shift)
{
    return static_cast<int32_t>((colour >> shift) & 0xFF);
}

// Upper neighbours wrap around the end of the list; lower neighbours are
// mirrored at its start (index |i - k|).
uint32_t blurred(const uint32_t* colours, int32_t count, int32_t i, int32_t radius)
{
    uint32_t result = 0;
    for (const int32_t shift : {16, 8, 0}) {
        int64_t sum = 2 * channel(colours[i], shift);
        for (int64_t k = radius; k >= 1; k--) {
            const int64_t lower = i - k < 0 ? k - i : i - k;
            sum += channel(colours[(i + k) % count], shift) + channel(colours[lower % count], shift);
        }
        result |= static_cast<uint32_t>(sum / (2 * (int64_t{radius} + 1))) << shift;
    }
    return result;
}

}  // namespace

Raster* raster_new()
{
    auto* raster = static_cast<Raster*>(calloc(1, sizeof(Raster)));
    uint32_t* colours = new_colours(default_count);
    if (!raster || !colours) {
        free(raster);
        free(colours);
        raster_error();
        return nullptr;
    }
    raster->count = default_count;
    raster->colours = colours;
    return raster;
}

Raster* raster_clone(const Raster* raster)
{
    if (!has_colours(raster)) {
        raster_error();
        return nullptr;
    }
    Raster* clone = raster_new();
    if (!clone) {
        return nullptr;
    }
    raster_set_count(clone, raster->count);
    if (clone->count != raster->count) {
        raster_free(&clone);
        return nullptr;
    }
    std::copy_n(raster->colours, raster->count, clone->colours);
    return clone;
}

void raster_free(Raster** raster)
{
    if (!raster || !*raster) {
        raster_error();
        return;
    }
    free((*raster)->colours);
    free(*raster);
    *raster = nullptr;
}

// The new list is allocated before the old one is dropped, so a refused
// count or a failed allocation leaves the Raster as it was.
void raster_set_count(Raster* raster, int32_t count)
{
    uint32_t* colours = raster && count >= 1 ? new_colours(count) : nullptr;
    if (!colours) {
        raster_error();
        return;
    }
    free(raster->colours);
    raster->colours = colours;
    raster->count = count;
    raster->position = 0;
}

void raster_clear(Raster* raster)
{
    if (!has_colours(raster)) {
        raster_error();
        return;
    }
    std::fill_n(raster->colours, raster->count, 0u);
}

void raster_step(Raster* raster)
{
    if (!raster) {
        raster_error();
        return;
    }
    const int64_t next = int64_t{raster->position} + 1;
    raster->position = next >= raster->count ? 0 : static_cast<int32_t>(next);
}

// Every entry is computed from the old list before any is replaced.
void raster_blur(Raster* raster, int32_t radius)
{
    uint32_t* smoothed = has_colours(raster) && radius >= 1 ? new_colours(raster->count) : nullptr;
    if (!smoothed) {
        raster_error();
        return;
    }
    for (int32_t i = raster->count - 1; i >= 0; i--) {
        smoothed[i] = blurred(raster->colours, raster->count, i, radius);
    }
    std::copy_n(smoothed, raster->count, raster->colours);
    free(smoothed);
}

void raster_draw(const Raster* raster, Image* target)
{
    if (!has_colours(raster) || !has_pixels(target)) {
        raster_error();
        return;
    }
    draw_rows(raster, target,
              [target](uint32_t colour, int32_t y) { raster_hline(target, colour, y, 0, target->width - 1); });
}

void raster_draw_blend(const Raster* raster, Image* target, int32_t alpha)
{
    if (!has_colours(raster) || !has_pixels(target) || alpha < 0 || alpha > opaque) {
        raster_error();
        return;
    }
    draw_rows(raster, target, [target, alpha](uint32_t colour, int32_t y) {
        raster_hline_blend(target, colour, y, 0, target->width - 1, alpha);
    });
}

void raster_hline(Image* target, uint32_t colour, int32_t y, int32_t x0, int32_t x1)
{
    if (!has_pixels(target)) {
        img_error();
        return;
    }
    const Span span = clip_span(target, y, x0, x1);
    std::fill_n(span.first, span.length, colour);
}

void raster_hline_blend(Image* target, uint32_t colour, int32_t y, int32_t x0, int32_t x1, int32_t alpha)
{
    if (!has_pixels(target) || alpha < 0 || alpha > opaque) {
        img_error();
        return;
    }
    const Span span = clip_span(target, y, x0, x1);
    for (int32_t i = 0; i < span.length; i++) {
        span.first[i] = blend(span.first[i], colour, static_cast<uint32_t>(alpha));
    }
}
