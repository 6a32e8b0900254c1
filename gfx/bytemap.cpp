// BYTEMAP: the 8-bit buffer, its life cycle, single values, whole-map copies
// and the conversion to an Image through a palette.
#include "bytemap.h"

#include <cstdio>
#include <cstdlib>

#include "img.h"

[[maybe_unused]] static const char* const bytemap_id[] = {"CODE", "C", "Tobrenko", "20101104", "BYTEMAP"};

uint8_t bytemap_debug = 0;

namespace {

constexpr int32_t default_side = 16;

bool has_pixels(const ByteMap* map)
{
    return map && map->pixels;
}

int32_t value_count(const ByteMap* map)
{
    return map->width * map->height;
}

bool inside(const ByteMap* map, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < map->width && y < map->height;
}

}  // namespace

void bytemap_error()
{
    if (bytemap_debug) {
        puts("BYTEMAP error");
    }
}

ByteMap* bytemap_new()
{
    auto* map = static_cast<ByteMap*>(calloc(1, sizeof(ByteMap)));
    auto* pixels = static_cast<uint8_t*>(calloc(default_side * default_side, 1));
    if (!map || !pixels) {
        free(map);
        free(pixels);
        bytemap_error();
        return nullptr;
    }
    map->width = default_side;
    map->height = default_side;
    map->pixels = pixels;
    return map;
}

void bytemap_free(ByteMap** map)
{
    if (!map || !*map) {
        bytemap_error();
        return;
    }
    free((*map)->pixels);
    free(*map);
    *map = nullptr;
}

// Negative sizes and value counts beyond the signed 32-bit index range are
// refused. An empty map still gets an array, so it counts as one with values.
// A failed allocation leaves the new size without values.
void bytemap_resize(ByteMap* map, int32_t width, int32_t height)
{
    const int64_t count = int64_t{width} * height;
    if (!map || width < 0 || height < 0 || count > INT32_MAX) {
        bytemap_error();
        return;
    }
    free(map->pixels);
    map->pixels = static_cast<uint8_t*>(calloc(count > 0 ? static_cast<size_t>(count) : 1, 1));
    map->width = width;
    map->height = height;
}

void bytemap_clear(ByteMap* map)
{
    if (!has_pixels(map)) {
        bytemap_error();
        return;
    }
    for (int32_t i = value_count(map) - 1; i >= 0; i--) {
        map->pixels[i] = 0;
    }
}

uint8_t bytemap_get_pixel(const ByteMap* map, int32_t x, int32_t y)
{
    if (!has_pixels(map)) {
        bytemap_error();
        return 0;
    }
    return inside(map, x, y) ? map->pixels[y * map->width + x] : 0;
}

void bytemap_put_pixel(ByteMap* map, int32_t x, int32_t y, uint32_t value)
{
    if (!has_pixels(map)) {
        bytemap_error();
        return;
    }
    if (inside(map, x, y)) {
        map->pixels[y * map->width + x] = static_cast<uint8_t>(value);
    }
}

void bytemap_copy(const ByteMap* src, ByteMap* dst)
{
    if (!has_pixels(src) || !has_pixels(dst) || src->width != dst->width || src->height != dst->height) {
        bytemap_error();
        return;
    }
    for (int32_t i = value_count(src) - 1; i >= 0; i--) {
        dst->pixels[i] = src->pixels[i];
    }
}

ByteMap* bytemap_clone(const ByteMap* map)
{
    if (!has_pixels(map)) {
        bytemap_error();
        return nullptr;
    }
    ByteMap* clone = bytemap_new();
    if (!clone) {
        return nullptr;
    }
    bytemap_resize(clone, map->width, map->height);
    if (!clone->pixels) {
        bytemap_free(&clone);
        bytemap_error();
        return nullptr;
    }
    bytemap_copy(map, clone);
    return clone;
}

int32_t bytemap_equal(const ByteMap* a, const ByteMap* b)
{
    if (!has_pixels(a) || !has_pixels(b)) {
        bytemap_error();
        return 0;
    }
    if (a->width != b->width || a->height != b->height) {
        return 0;
    }
    const int32_t count = value_count(a);
    for (int32_t i = 0; i < count; i++) {
        if (a->pixels[i] != b->pixels[i]) {
            return 0;
        }
    }
    return 1;
}

// The Image must be as wide as the map and hold at least its rows; any
// value indexes a palette of 256 entries or more.
void bytemap_to_image(const ByteMap* map, Image* image, const Palette* palette)
{
    if (!has_pixels(map) || !image || !image->pixels || !palette || !palette->data ||
        map->width != image->width || map->height > image->height || palette->count <= 255) {
        bytemap_error();
        return;
    }
    for (int32_t i = value_count(map) - 1; i >= 0; i--) {
        image->pixels[i] = static_cast<uint32_t>(palette->data[map->pixels[i]]);
    }
}
