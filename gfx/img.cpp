// IMG: the 32-bit picture buffer, its life cycle and single-pixel access.
#include "img.h"

#include <cstdio>
#include <cstdlib>

[[maybe_unused]] static const char* const img_id[] = {"CODE", "C", "Tobrenko", "20101104", "IMG"};

uint8_t img_debug = 0;

namespace {

constexpr int32_t default_side = 16;

bool has_pixels(const Image* image)
{
    return image && image->pixels;
}

int32_t pixel_count(const Image* image)
{
    return image->width * image->height;
}

bool inside(const Image* image, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < image->width && y < image->height;
}

}  // namespace

void img_error()
{
    if (img_debug) {
        puts("IMG error");
    }
}

Image* img_new()
{
    auto* image = static_cast<Image*>(calloc(1, sizeof(Image)));
    if (!image) {
        img_error();
        return nullptr;
    }
    image->width = default_side;
    image->height = default_side;
    image->pixels = static_cast<uint32_t*>(calloc(default_side * default_side, sizeof(uint32_t)));
    if (!image->pixels) {
        free(image);
        img_error();
        return nullptr;
    }
    return image;
}

void img_free(Image** image)
{
    if (!image || !*image) {
        img_error();
        return;
    }
    free((*image)->pixels);
    free(*image);
    *image = nullptr;
}

// Negative sizes and pixel counts beyond the 32-bit index range are refused:
// every drawing operation addresses pixels with a signed 32-bit index.
void img_resize(Image* image, int32_t width, int32_t height)
{
    const int64_t count = int64_t{width} * height;
    if (!image || width < 0 || height < 0 || count > INT32_MAX) {
        img_error();
        return;
    }
    free(image->pixels);
    // An empty Image still gets an array, so it counts as an Image with pixels.
    image->pixels = static_cast<uint32_t*>(calloc(count > 0 ? count : 1, sizeof(uint32_t)));
    image->width = width;
    image->height = height;
}

void img_clear(Image* image)
{
    if (!has_pixels(image)) {
        img_error();
        return;
    }
    for (int32_t i = pixel_count(image) - 1; i >= 0; i--) {
        image->pixels[i] = 0;
    }
}

uint32_t img_get_pixel(const Image* image, int32_t x, int32_t y)
{
    if (!has_pixels(image)) {
        img_error();
        return 0;
    }
    if (!inside(image, x, y)) {
        return 0;
    }
    return image->pixels[y * image->width + x];
}

void img_put_pixel(Image* image, int32_t x, int32_t y, uint32_t colour)
{
    if (!has_pixels(image)) {
        img_error();
        return;
    }
    if (inside(image, x, y)) {
        image->pixels[y * image->width + x] = colour;
    }
}

void img_copy(const Image* src, Image* dst)
{
    if (!has_pixels(src) || !has_pixels(dst) || src->width != dst->width ||
        src->height != dst->height) {
        img_error();
        return;
    }
    for (int32_t i = pixel_count(src) - 1; i >= 0; i--) {
        dst->pixels[i] = src->pixels[i];
    }
}

Image* img_clone(const Image* image)
{
    if (!has_pixels(image)) {
        img_error();
        return nullptr;
    }
    Image* clone = img_new();
    if (!clone) {
        return nullptr;
    }
    img_resize(clone, image->width, image->height);
    if (!clone->pixels) {
        img_free(&clone);
        img_error();
        return nullptr;
    }
    const int32_t count = pixel_count(image);
    for (int32_t i = 0; i < count; i++) {
        clone->pixels[i] = image->pixels[i];
    }
    return clone;
}

int32_t img_equal(const Image* a, const Image* b)
{
    if (!has_pixels(a) || !has_pixels(b)) {
        img_error();
        return 0;
    }
    if (a->width != b->width || a->height != b->height) {
        return 0;
    }
    const int32_t count = pixel_count(a);
    for (int32_t i = 0; i < count; i++) {
        if (a->pixels[i] != b->pixels[i]) {
            return 0;
        }
    }
    return 1;
}
