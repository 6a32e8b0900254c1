// Grid: a width × height array of values in rows, the common form of the
// generator's pictures and sample fields. Reads outside give zero; writes
// outside are dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

template <typename T>
struct Grid {
    int32_t width;
    int32_t height;
    std::vector<T> values;  // row-major, value (x, y) at y * width + x
};

template <typename T>
Grid<T> grid_make(int32_t width, int32_t height)
{
    return Grid<T>{width, height,
                   std::vector<T>(static_cast<size_t>(width) * static_cast<size_t>(height), T{})};
}

template <typename T>
bool grid_contains(const Grid<T>& grid, int32_t x, int32_t y)
{
    return x >= 0 && y >= 0 && x < grid.width && y < grid.height;
}

template <typename T>
T grid_get(const Grid<T>& grid, int32_t x, int32_t y)
{
    if (!grid_contains(grid, x, y))
        return T{};
    return grid.values[static_cast<size_t>(y) * static_cast<size_t>(grid.width) + static_cast<size_t>(x)];
}

// The value converts to the grid's type, so literals need no suffix.
template <typename T>
void grid_set(Grid<T>& grid, int32_t x, int32_t y, std::type_identity_t<T> value)
{
    if (grid_contains(grid, x, y))
        grid.values[static_cast<size_t>(y) * static_cast<size_t>(grid.width) + static_cast<size_t>(x)] =
            value;
}
