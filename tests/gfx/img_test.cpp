#include "gfx_test_helpers.h"

TEST(ImgBuffer, NewResizeAndPixels)
{
    ImagePtr image(img_new());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width * 100 + image->height, 1616);
    img_put_pixel(image.get(), 3, 2, 0xFF123456);
    EXPECT_EQ(image->pixels[2 * 16 + 3], 0xFF123456u);  // the whole word, top byte too
    for (auto [x, y] : {std::pair{-1, 0}, {16, 0}, {0, 16}, {0, -1}}) {
        img_put_pixel(image.get(), x, y, 7);
        EXPECT_EQ(img_get_pixel(image.get(), x, y), 0u);
    }
    EXPECT_EQ(img_get_pixel(image.get(), 15, 0), 0u);  // (16, 0) did not wrap to the next row

    img_resize(image.get(), 320, 200);
    EXPECT_EQ(img_get_pixel(image.get(), 3, 2), 0u);
    img_put_pixel(image.get(), 319, 199, 9);
    EXPECT_EQ(image->pixels[320 * 200 - 1], 9u);
    img_resize(image.get(), -1, 5);  // refused, like a count past 32 bits
    img_resize(image.get(), 65536, 65536);
    EXPECT_EQ(image->width * 1000 + image->height, 320200);
}

TEST(ImgBuffer, CopyCloneAndEqual)
{
    ImagePtr a = make_image(2, 2, 1);
    a->x = 5;
    ImagePtr clone(img_clone(a.get()));
    EXPECT_EQ(clone->x, 0);
    EXPECT_EQ(img_equal(a.get(), clone.get()), 1);
    clone->pixels[3] ^= 1;
    EXPECT_EQ(img_equal(a.get(), clone.get()), 0);
    img_copy(a.get(), clone.get());
    EXPECT_EQ(img_equal(a.get(), clone.get()), 1);

    ImagePtr square = make_image(16, 16, 1000);
    EXPECT_EQ(img_errors_of([&] { img_copy(make_image(16, 17, 1).get(), square.get()); }), 1);
    EXPECT_EQ(square->pixels[0], 1000u);
}

TEST(ImgBuffer, ErrorsPrintOnlyWithDebugAndGiveNeutralResults)
{
    ImagePtr image = make_image(4, 4, 1);
    ImagePtr before(img_clone(image.get()));
    Image* none = nullptr;
    EXPECT_EQ(img_errors_of([&] {
                  EXPECT_EQ(img_get_pixel(image.get(), 4, 0), 0u);
                  EXPECT_EQ(img_equal(image.get(), make_image(4, 5).get()), 0);
                  img_blit(image.get(), image.get(), 0, 0, 4, 0, 2, 2);  // clipped away
              }),
              0);
    EXPECT_EQ(img_errors_of([&] {
                  img_free(&none);
                  EXPECT_EQ(img_get_pixel(nullptr, 0, 0), 0u);
                  img_copy(nullptr, image.get());
                  EXPECT_EQ(img_equal(image.get(), nullptr), 0);
                  img_add(image.get(), nullptr, 0, 0, 0, 0, 2, 2);
                  img_blit_row_wrap(image.get(), nullptr, 0, 0, 0);
                  img_fill_rect(nullptr, 0, 0, 1, 1, 1);
                  EXPECT_EQ(img_rotate(nullptr, 0), nullptr);
              }),
              8);
    EXPECT_EQ(img_equal(image.get(), before.get()), 1);

    testing::internal::CaptureStdout();
    img_clear(nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
