// IMG: the 32-bit picture buffer, its life cycle and single-pixel access.
#include "img.h"

#include <cstdio>

#include "grid.h"

[[gnu::used]] static const char* const img_id[] = {"CODE", "C", "Tobrenko", "20101104", "IMG"};

uint8_t img_debug = 0;

void img_error()
{
    if (img_debug) {
        puts("IMG error");
    }
}

Image* img_new()
{
    return grid::create<Image>(img_error);
}

void img_free(Image** image)
{
    grid::destroy(image, img_error);
}

void img_resize(Image* image, int32_t width, int32_t height)
{
    grid::resize(image, width, height, img_error);
}

void img_clear(Image* image)
{
    grid::clear(image, img_error);
}

uint32_t img_get_pixel(const Image* image, int32_t x, int32_t y)
{
    return grid::get(image, x, y, img_error);
}

void img_put_pixel(Image* image, int32_t x, int32_t y, uint32_t colour)
{
    grid::put(image, x, y, colour, img_error);
}

void img_copy(const Image* src, Image* dst)
{
    grid::copy(src, dst, img_error);
}

Image* img_clone(const Image* image)
{
    return grid::clone(image, img_error);
}

int32_t img_equal(const Image* a, const Image* b)
{
    return grid::equal(a, b, img_error);
}
