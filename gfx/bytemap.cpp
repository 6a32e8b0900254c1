// BYTEMAP: the 8-bit buffer, its life cycle, single values, whole-map copies
// and the conversion to an Image through a palette.
#include "bytemap.h"

#include <cstdio>

#include "grid.h"
#include "img.h"

[[gnu::used]] static const char* const bytemap_id[] = {"CODE", "C", "Tobrenko", "20101104", "BYTEMAP"};

uint8_t bytemap_debug = 0;

void bytemap_error()
{
    if (bytemap_debug) {
        puts("BYTEMAP error");
    }
}

ByteMap* bytemap_new()
{
    return grid::create<ByteMap>(bytemap_error);
}

void bytemap_free(ByteMap** map)
{
    grid::destroy(map, bytemap_error);
}

void bytemap_resize(ByteMap* map, int32_t width, int32_t height)
{
    grid::resize(map, width, height, bytemap_error);
}

void bytemap_clear(ByteMap* map)
{
    grid::clear(map, bytemap_error);
}

uint8_t bytemap_get_pixel(const ByteMap* map, int32_t x, int32_t y)
{
    return grid::get(map, x, y, bytemap_error);
}

void bytemap_put_pixel(ByteMap* map, int32_t x, int32_t y, uint32_t value)
{
    grid::put(map, x, y, value, bytemap_error);
}

void bytemap_copy(const ByteMap* src, ByteMap* dst)
{
    grid::copy(src, dst, bytemap_error);
}

ByteMap* bytemap_clone(const ByteMap* map)
{
    return grid::clone(map, bytemap_error);
}

int32_t bytemap_equal(const ByteMap* a, const ByteMap* b)
{
    return grid::equal(a, b, bytemap_error);
}

// The Image must be as wide as the map and hold at least its rows; any
// value indexes a palette of 256 entries or more.
void bytemap_to_image(const ByteMap* map, Image* image, const Palette* palette)
{
    if (!grid::has_pixels(map) || !grid::has_pixels(image) || !palette || !palette->data ||
        map->width != image->width || map->height > image->height || palette->count <= 255) {
        bytemap_error();
        return;
    }
    for (int32_t i = grid::pixel_count(map) - 1; i >= 0; i--) {
        image->pixels[i] = static_cast<uint32_t>(palette->data[map->pixels[i]]);
    }
}
