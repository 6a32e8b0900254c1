// Shared helpers of the graphics tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "img.h"

struct ImageFree {
    void operator()(Image* image) const { img_free(&image); }
};
using ImagePtr = std::unique_ptr<Image, ImageFree>;

// A w x h Image whose pixel i holds first + i, or all 0 when first is 0.
inline ImagePtr make_image(int32_t w, int32_t h, uint32_t first = 0)
{
    ImagePtr image(img_new());
    img_resize(image.get(), w, h);
    for (int32_t i = 0; first != 0 && i < w * h; i++) {
        image->pixels[i] = first + static_cast<uint32_t>(i);
    }
    return image;
}

inline std::vector<uint32_t> row_of(const Image* image, int32_t row)
{
    return {image->pixels + row * image->width, image->pixels + (row + 1) * image->width};
}

// How many "IMG error" lines the calls print with img_debug on; -1 if
// they print anything else.
template <typename Calls>
int32_t img_errors_of(Calls calls)
{
    testing::internal::CaptureStdout();
    img_debug = 1;
    calls();
    img_debug = 0;
    const std::string out = testing::internal::GetCapturedStdout();
    std::string lines;
    while (lines.size() < out.size()) {
        lines += "IMG error\n";
    }
    return lines == out ? static_cast<int32_t>(out.size() / 10) : -1;
}

inline std::vector<int32_t> run_table(int32_t a, int32_t b)
{
    int32_t* table = img_run_table(a, b);
    std::vector<int32_t> runs(table, table + std::min(std::abs(a), std::abs(b)) + 1);
    free(table);
    return runs;
}
