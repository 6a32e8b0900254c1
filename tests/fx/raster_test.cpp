// Row colours, blending arithmetic, the blur's wrap and mirror, and the
// "RASTER error" line of every refused call.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fx_test_helpers.h"
#include "raster.h"

namespace {

using Colours = std::vector<uint32_t>;

Raster* make_raster(const Colours& colours)
{
    Raster* raster = raster_new();
    raster_set_count(raster, static_cast<int32_t>(colours.size()));
    std::copy(colours.begin(), colours.end(), raster->colours);
    return raster;
}

// Replaces the Raster by its blurred list and frees it.
Colours blurred(Raster* raster, int32_t radius)
{
    raster_blur(raster, radius);
    Colours result(raster->colours, raster->colours + raster->count);
    raster_free(&raster);
    return result;
}

Image* make_image(int32_t w, int32_t h, uint32_t fill)
{
    Image* image = image_of(w, h);
    std::fill_n(image->pixels, w * h, fill);
    return image;
}

// The colour filling row y, or -1 when the row holds more than one.
int64_t row_colour(const Image* image, int32_t y)
{
    const uint32_t* row = image->pixels + y * image->width;
    return std::all_of(row, row + image->width, [row](uint32_t p) { return p == row[0]; }) ? row[0] : -1;
}

}  // namespace

TEST(Raster, RowsTakeEntriesFromThePositionOnAndRepeatTheList)
{
    Colours entries(480);
    for (uint32_t i = 0; i < 480; i++) {
        entries[i] = 0x10000 + i;
    }
    Raster* raster = make_raster(entries);
    Image* screen = make_image(640, 480, 7);
    raster->position = 10;
    raster_draw(raster, screen);
    EXPECT_EQ(row_colour(screen, 0), 0x10000 + 10);
    EXPECT_EQ(row_colour(screen, 469), 0x10000 + 479);
    EXPECT_EQ(row_colour(screen, 470), 0x10000);
    raster->position = 479;
    raster_step(raster);
    EXPECT_EQ(raster->position, 0);
    img_resize(screen, 2, 481);  // taller than the list: it repeats
    raster_draw(raster, screen);
    EXPECT_EQ(row_colour(screen, 480), 0x10000);
    raster_free(&raster);
    img_free(&screen);
}

TEST(Raster, BlendWeighsEachChannelByAlphaWithinTheClippedRow)
{
    Image* image = make_image(4, 2, 0);
    raster_hline_blend(image, 0xFFFFFF, 0, -5, 4 + 5, 128);
    EXPECT_EQ(row_colour(image, 0), 0x7F7F7F);
    // (0x10, 0x20, 0x30) * 192/256 + (0xF0, 0xE0, 0xD0) * 64/256, per channel.
    const uint32_t olds[] = {0xAB102030, 0xFF123456, 0xFF123456};
    const uint32_t colours[] = {0x12F0E0D0, 0xABCDEF, 0xFFABCDEF};
    const int32_t alphas[] = {64, 0, 256};
    const uint32_t wants[] = {0x485058, 0x123456, 0xABCDEF};
    for (int32_t i = 0; i < 3; i++) {
        image->pixels[4 + i] = olds[i];
        raster_hline_blend(image, colours[i], 1, i, i, alphas[i]);
        EXPECT_EQ(image->pixels[4 + i], wants[i]) << i;
    }
    EXPECT_EQ(image->pixels[7], 0u);

    raster_hline(image, 5, 1, 2, 1);  // x0 > x1, then a row below the last
    raster_hline(image, 5, 2, 0, 3);
    EXPECT_EQ(image->pixels[6], 0xABCDEFu);

    Raster* raster = make_raster({0xFFFFFF, 0});
    raster->position = 1;
    raster_draw_blend(raster, image, 256);
    EXPECT_EQ(row_colour(image, 0), 0);
    EXPECT_EQ(row_colour(image, 1), 0xFFFFFF);
    raster_free(&raster);
    img_free(&image);
}

TEST(Raster, BlurWrapsUpperNeighboursAndMirrorsLowerOnes)
{
    EXPECT_EQ(blurred(make_raster({0, 0, 255, 0}), 1), (Colours{0, 63, 127, 63}));
    // Radius 2 on red: entry 0 mirrors to 2 and 1, entry 3 wraps to 0 and 1.
    EXPECT_EQ(blurred(make_raster({0, 0, 0xFF0000, 0}), 2), (Colours{85 << 16, 42 << 16, 85 << 16, 42 << 16}));
    // Channels are smoothed apart; the byte above red is dropped.
    EXPECT_EQ(blurred(make_raster({0xFF00FF00, 0x0000FF10}), 1), (Colours{0xFF08, 0xFF08}));
}

TEST(Raster, EveryRefusedCallPrintsItsLine)
{
    Raster* raster = make_raster({1, 2});
    Image* image = make_image(2, 2, 0);
    Image no_pixels{};
    Raster* none = nullptr;
    testing::internal::CaptureStdout();
    raster_draw(nullptr, image);
    raster_draw(raster, nullptr);
    raster_draw(raster, &no_pixels);
    raster_draw_blend(raster, image, 257);
    raster_blur(raster, 0);
    raster_clear(nullptr);
    raster_step(nullptr);
    raster_set_count(raster, 0);
    EXPECT_EQ(raster_clone(nullptr), nullptr);
    raster_free(&none);
    raster_free(nullptr);
    std::string eleven;
    while (eleven.size() < 11 * 13) {
        eleven += "RASTER error\n";
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), eleven);
    EXPECT_EQ(raster->count, 2);

    // The row operations report a missing target through IMG, under its switch.
    testing::internal::CaptureStdout();
    img_debug = 1;
    raster_hline(nullptr, 1, 0, 0, 1);
    raster_hline_blend(nullptr, 1, 0, 0, 1, 10);
    raster_hline(image, 1, 9, 0, 1);
    img_debug = 0;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "IMG error\nIMG error\n");
    raster_free(&raster);
    img_free(&image);
}
