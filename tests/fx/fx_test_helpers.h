// Shared helpers of the effect tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "font.h"
#include "img.h"

// A Font over a picture of `count` cells of cell_w x cell_h, `columns` to a
// row, in which every pixel of cell k holds first + k.
inline Font* cell_font(int32_t cell_w, int32_t cell_h, int32_t columns, int32_t count, uint32_t first)
{
    Font* font = font_new();
    font->picture = img_new();
    img_resize(font->picture, cell_w * columns, cell_h * ((count + columns - 1) / columns));
    for (int32_t y = 0; y < font->picture->height; ++y) {
        for (int32_t x = 0; x < font->picture->width; ++x) {
            img_put_pixel(font->picture, x, y, first + static_cast<uint32_t>(y / cell_h * columns + x / cell_w));
        }
    }
    font->width = cell_w;
    font->height = cell_h;
    return font;
}

inline Image* image_of(int32_t w, int32_t h)
{
    Image* image = img_new();
    img_resize(image, w, h);
    return image;
}

// What the calls print with the module's debug byte set for their duration.
template <typename Calls>
std::string printed_with(uint8_t& debug, Calls calls)
{
    testing::internal::CaptureStdout();
    debug = 1;
    calls();
    debug = 0;
    return testing::internal::GetCapturedStdout();
}
