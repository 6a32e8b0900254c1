// Internal to the IMG and BYTEMAP modules: the life cycle and single-pixel
// access both records share, written once over the record type.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <type_traits>

namespace grid {

// An Image or a ByteMap: the same record with 32-bit or 8-bit pixels.
template <typename Grid>
using PixelOf = std::remove_pointer_t<decltype(Grid::pixels)>;

// The owning module's error report ("IMG error" or "BYTEMAP error").
using Report = void (*)();

constexpr int32_t default_side = 16;

template <typename Grid>
bool has_pixels(const Grid* grid)
{
    return grid && grid->pixels;
}

template <typename Grid>
int32_t pixel_count(const Grid* grid)
{
    return grid->width * grid->height;
}

// 64-bit coordinates, so points computed past the 32-bit range are simply outside.
template <typename Grid>
bool inside(const Grid* grid, int64_t x, int64_t y)
{
    return x >= 0 && y >= 0 && x < grid->width && y < grid->height;
}

// A sine-table factor times a distance, scaled back by 2^15. The product
// wraps like the hardware multiply, computed unsigned so it is defined.
constexpr int32_t sine_product(int32_t factor, int32_t distance)
{
    return static_cast<int32_t>(static_cast<uint32_t>(factor) * static_cast<uint32_t>(distance)) >> 15;
}

template <typename Grid>
Grid* create(Report report)
{
    auto* grid = static_cast<Grid*>(calloc(1, sizeof(Grid)));
    auto* pixels = static_cast<PixelOf<Grid>*>(calloc(default_side * default_side, sizeof(PixelOf<Grid>)));
    if (!grid || !pixels) {
        free(grid);
        free(pixels);
        report();
        return nullptr;
    }
    grid->width = default_side;
    grid->height = default_side;
    grid->pixels = pixels;
    return grid;
}

template <typename Grid>
void destroy(Grid** grid, Report report)
{
    if (!grid || !*grid) {
        report();
        return;
    }
    free((*grid)->pixels);
    free(*grid);
    *grid = nullptr;
}

// Negative sizes and pixel counts beyond the signed 32-bit index range are
// refused: every operation addresses pixels with a signed 32-bit index. An
// empty grid still gets an array, so it counts as one with pixels; a failed
// allocation leaves the new size without pixels.
template <typename Grid>
void resize(Grid* grid, int32_t width, int32_t height, Report report)
{
    const int64_t count = int64_t{width} * height;
    if (!grid || width < 0 || height < 0 || count > INT32_MAX) {
        report();
        return;
    }
    free(grid->pixels);
    grid->pixels =
        static_cast<PixelOf<Grid>*>(calloc(count > 0 ? static_cast<size_t>(count) : 1, sizeof(PixelOf<Grid>)));
    grid->width = width;
    grid->height = height;
}

template <typename Grid>
void clear(Grid* grid, Report report)
{
    if (!has_pixels(grid)) {
        report();
        return;
    }
    for (int32_t i = pixel_count(grid) - 1; i >= 0; i--) {
        grid->pixels[i] = 0;
    }
}

template <typename Grid>
PixelOf<Grid> get(const Grid* grid, int32_t x, int32_t y, Report report)
{
    if (!has_pixels(grid)) {
        report();
        return 0;
    }
    return inside(grid, x, y) ? grid->pixels[y * grid->width + x] : 0;
}

// The value is stored as the pixel type holds it: a ByteMap keeps the low byte.
template <typename Grid>
void put(Grid* grid, int32_t x, int32_t y, uint32_t value, Report report)
{
    if (!has_pixels(grid)) {
        report();
        return;
    }
    if (inside(grid, x, y)) {
        grid->pixels[y * grid->width + x] = static_cast<PixelOf<Grid>>(value);
    }
}

template <typename Grid>
void copy(const Grid* src, Grid* dst, Report report)
{
    if (!has_pixels(src) || !has_pixels(dst) || src->width != dst->width || src->height != dst->height) {
        report();
        return;
    }
    for (int32_t i = pixel_count(src) - 1; i >= 0; i--) {
        dst->pixels[i] = src->pixels[i];
    }
}

template <typename Grid>
Grid* clone(const Grid* grid, Report report)
{
    if (!has_pixels(grid)) {
        report();
        return nullptr;
    }
    Grid* twin = create<Grid>(report);
    if (!twin) {
        return nullptr;
    }
    resize(twin, grid->width, grid->height, report);
    if (!twin->pixels) {
        destroy(&twin, report);
        report();
        return nullptr;
    }
    copy(grid, twin, report);
    return twin;
}

template <typename Grid>
int32_t equal(const Grid* a, const Grid* b, Report report)
{
    if (!has_pixels(a) || !has_pixels(b)) {
        report();
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

}  // namespace grid
