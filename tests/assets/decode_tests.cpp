// The embedded pictures decode to their sizes with the program's own PNM
// reader, and every byte of their pixel data is read (ASan guards the ends);
// pictures and texts are as stored in tests/reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "assets.h"
#include "img.h"
#include "reference_sets.h"

TEST(AssetDecode, EveryPictureDecodesToItsSize)
{
    struct Case {
        const uint8_t* bytes;
        int32_t width;
        int32_t height;
        bool one_bit;
    };
    const Case cases[] = {
        {pnm_font, 128, 144, true},    {pnm_sprites, 512, 256, false},    {pnm_blocks, 128, 16, false},
        {pnm_bubbles, 128, 16, false}, {pnm_logo, 256, 128, false},       {pnm_frame, 256, 128, false},
        {pnm_mask, 256, 128, true},
    };
    for (const Case& c : cases) {
        Image* image = img_from_pnm(c.bytes);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, c.width);
        EXPECT_EQ(image->height, c.height);
        const uint32_t* begin = image->pixels;
        const uint32_t* end = begin + static_cast<size_t>(image->width) * image->height;
        if (c.one_bit) {
            EXPECT_TRUE(std::all_of(begin, end, [](uint32_t p) { return p == 0 || p == 0xFFFFFF; }));
            EXPECT_TRUE(std::any_of(begin, end, [](uint32_t p) { return p == 0xFFFFFF; }));
        }
        img_free(&image);
    }
}

TEST(AssetFont, GlyphsSitInTheirCodes)
{
    Image* font = img_from_pnm(pnm_font);
    ASSERT_NE(font, nullptr);
    std::set<std::vector<bool>> shapes;
    for (int32_t code = 0; code < 16 * 18; ++code) {
        std::vector<bool> shape;
        for (int32_t i = 0; i < 64; ++i) {
            shape.push_back(img_get_pixel(font, code % 16 * 8 + i % 8, code / 16 * 8 + i / 8) != 0);
        }
        const bool drawn = std::ranges::find(shape, true) != shape.end();
        EXPECT_EQ(drawn, (code > 32 && code < 128) || code == 10 || code == 13) << "code " << code;
        if (drawn) {
            shapes.insert(shape);
        }
    }
    EXPECT_EQ(shapes.size(), 97u);
    img_free(&font);
}

TEST(AssetDecode, PicturesAndTextsAreAsStored)
{
    EXPECT_EQ(reference_changes(reference_read(reference_path("assets.txt")), reference_assets()),
              std::vector<std::string>{});
}
