#include <span>

#include "gfx_test_helpers.h"

namespace {

uint32_t rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r << 16 | g << 8 | b;
}

// Pixel-by-pixel copy of the unclipped rectangle, skipping every pixel that
// falls outside either Image.
template <typename Combine>
void reference_copy(const Image* src, Image* dst, int32_t sx, int32_t sy, int32_t dx, int32_t dy,
                    int32_t w, int32_t h, Combine combine)
{
    for (int32_t j = 0; j < h; j++) {
        for (int32_t i = 0; i < w; i++) {
            const uint32_t s = img_get_pixel(src, sx + i, sy + j);
            const bool in_src = sx + i >= 0 && sx + i < src->width && sy + j >= 0 && sy + j < src->height;
            if (in_src && dx + i >= 0 && dx + i < dst->width && dy + j >= 0 && dy + j < dst->height) {
                img_put_pixel(dst, dx + i, dy + j, combine(img_get_pixel(dst, dx + i, dy + j), s));
            }
        }
    }
}

}  // namespace

TEST(ImgCopy, BlitAndAddClipOnEverySide)
{
    ImagePtr src = make_image(6, 5, 1);
    src->pixels[7] = 0;  // keyed
    src->pixels[8] = 0xFF000000;
    const auto masked = [](uint32_t d, uint32_t s) { return s != 0 ? s : d; };
    const auto sum = [](uint32_t d, uint32_t s) { return d + s; };
    for (int32_t s : {-7, -3, 0, 2, 5, 9}) {
        for (int32_t d : {-7, -3, 0, 2, 5, 9}) {
            for (int32_t size : {0, 3, 8}) {
                ImagePtr got = make_image(8, 7, 100);
                ImagePtr want = make_image(8, 7, 100);
                img_blit(src.get(), got.get(), s, d - 2, d, s + 1, size, size - 1);
                reference_copy(src.get(), want.get(), s, d - 2, d, s + 1, size, size - 1, masked);
                img_add(src.get(), got.get(), d, s, s, d, size + 1, size);
                reference_copy(src.get(), want.get(), d, s, s, d, size + 1, size, sum);
                ASSERT_EQ(img_equal(got.get(), want.get()), 1) << s << " " << d << " " << size;
            }
        }
    }
}

TEST(ImgCopy, AddCarriesBlendHalvesAndSameImageOrder)
{
    ImagePtr src = make_image(3, 1);
    ImagePtr dst = make_image(3, 1);
    src->pixels[0] = 0x000001, dst->pixels[0] = 0x0000FF;
    src->pixels[1] = 0x010000, dst->pixels[1] = 0xFF0000;
    src->pixels[2] = 2, dst->pixels[2] = 0xFFFFFFFF;
    img_add(src.get(), dst.get(), 0, 0, 0, 0, 3, 1);
    EXPECT_EQ(row_of(dst.get(), 0), (std::vector<uint32_t>{0x100, 0x1000000, 1}));

    src->pixels[0] = rgb(255, 0, 255) | 0xFF000000, src->pixels[1] = 0;
    std::ranges::fill(std::span(dst->pixels, 3), rgb(255, 255, 255));
    img_blend(src.get(), dst.get(), -1, 0);  // source column 0 falls off the left
    EXPECT_EQ(row_of(dst.get(), 0), (std::vector<uint32_t>{rgb(255, 255, 255), rgb(127, 127, 128), rgb(255, 255, 255)}));
    img_blend(src.get(), dst.get(), 2, 0);
    EXPECT_EQ(dst->pixels[2], rgb(254, 127, 254));

    // A blit reads pixels it wrote moments before; the blend runs backward
    // and so reads only unchanged ones.
    ImagePtr blit = make_image(5, 1, 1);
    img_blit(blit.get(), blit.get(), 0, 0, 1, 0, 4, 1);
    EXPECT_EQ(row_of(blit.get(), 0), (std::vector<uint32_t>{1, 1, 1, 1, 1}));
    ImagePtr column = make_image(1, 4, 1);  // rows too go top to bottom
    img_blit(column.get(), column.get(), 0, 0, 0, 1, 1, 3);
    EXPECT_EQ(std::vector<uint32_t>(column->pixels, column->pixels + 4), (std::vector<uint32_t>{1, 1, 1, 1}));
    ImagePtr blend = make_image(4, 1);
    blend->pixels[0] = 0x40, blend->pixels[1] = 0x20, blend->pixels[2] = 0x10, blend->pixels[3] = 0x08;
    img_blend(blend.get(), blend.get(), 1, 0);
    EXPECT_EQ(row_of(blend.get(), 0), (std::vector<uint32_t>{0x40, 0x30, 0x18, 0x0C}));
}

TEST(ImgCopy, SpreadKeepsLandingPlaces)
{
    ImagePtr src = make_image(4, 2, 1);  // rows 1 0 3 4 and 5 6 7 8
    src->pixels[1] = 0;
    ImagePtr dst = make_image(10, 3);
    img_blit_spread(src.get(), dst.get(), 0, 0, -2, 0, 4, 1, 3, 1);  // lands at -2, 1, 4, 7
    img_blit_spread(src.get(), dst.get(), -1, 0, 0, 1, 3, 2, 2, 1);  // source column 0 at 2
    EXPECT_EQ(row_of(dst.get(), 0), (std::vector<uint32_t>{0, 0, 0, 0, 3, 0, 0, 4, 0, 0}));
    EXPECT_EQ(row_of(dst.get(), 1), (std::vector<uint32_t>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(row_of(dst.get(), 2), (std::vector<uint32_t>{0, 0, 5, 0, 6, 0, 0, 0, 0, 0}));

    // Overhanging the right edge keeps (width - dx) / step columns; a source
    // overhang is cut too.
    img_clear(dst.get());
    img_blit_spread(src.get(), dst.get(), 0, 1, 5, 0, 4, 5, 2, 1);
    img_blit_spread(src.get(), dst.get(), 1, 0, 0, 1, 4, 1, 2, 1);
    EXPECT_EQ(row_of(dst.get(), 0), (std::vector<uint32_t>{0, 0, 0, 0, 0, 5, 0, 6, 0, 0}));
    EXPECT_EQ(row_of(dst.get(), 1), (std::vector<uint32_t>{0, 0, 3, 0, 4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(img_errors_of([&] { img_blit_spread(src.get(), dst.get(), 0, 0, 0, 0, 2, 2, 0, 1); }), 1);
}

TEST(ImgCopy, AndRowsAndWraps)
{
    ImagePtr mask = make_image(2, 1);
    ImagePtr layer = make_image(2, 1);
    mask->pixels[1] = 0x00FF00, layer->pixels[1] = 0x123456, layer->pixels[0] = 0x777777;
    img_and(mask.get(), layer.get());
    EXPECT_EQ(row_of(layer.get(), 0), (std::vector<uint32_t>{0, 0x003400}));
    EXPECT_EQ(img_errors_of([&] { img_and(make_image(3, 1).get(), layer.get()); }), 1);

    ImagePtr src = make_image(10, 1, 1);  // 1 2 3 0 5 ... 10
    src->pixels[3] = 0;
    ImagePtr dst = make_image(8, 2, 100);
    img_copy_row(src.get(), dst.get(), 0, 0);  // no key: the 0 is copied
    img_blit_row_wrap(src.get(), dst.get(), 0, 1, 6);
    EXPECT_EQ(row_of(dst.get(), 0), (std::vector<uint32_t>{1, 2, 3, 0, 5, 6, 7, 8}));
    EXPECT_EQ(row_of(dst.get(), 1), (std::vector<uint32_t>{3, 109, 5, 6, 7, 8, 1, 2}));
    img_or_row_wrap(mask.get(), dst.get(), 0, 0, -1);  // -1 starts at the last column
    EXPECT_EQ(row_of(dst.get(), 0), (std::vector<uint32_t>{0xFF01, 2, 3, 0, 5, 6, 7, 8}));

    ImagePtr column = make_image(1, 5, 1);
    ImagePtr target = make_image(2, 3);
    img_blit_column_wrap(column.get(), target.get(), 0, 1, -1);
    EXPECT_EQ(std::vector<uint32_t>(target->pixels, target->pixels + 6), (std::vector<uint32_t>{0, 2, 0, 3, 0, 1}));
    EXPECT_EQ(img_errors_of([&] {
                  img_blit_row_wrap(src.get(), make_image(0, 1).get(), 0, 0, 0);
                  img_blit_column_wrap(column.get(), target.get(), 1, 0, 0);
                  img_copy_row(src.get(), dst.get(), 1, 0);
              }),
              3);
}

TEST(ImgShapes, RectanglesCircleAndFade)
{
    ImagePtr image = make_image(6, 5);
    img_fill_rect(image.get(), 1, 1, 3, 2, 7);
    img_rect(image.get(), 0, 0, 6, 5, 9);
    EXPECT_EQ(row_of(image.get(), 0), (std::vector<uint32_t>{9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(row_of(image.get(), 2), (std::vector<uint32_t>{9, 7, 7, 7, 0, 9}));
    EXPECT_EQ(row_of(image.get(), 3), (std::vector<uint32_t>{9, 0, 0, 0, 0, 9}));
    EXPECT_EQ(img_errors_of([&] {
                  img_fill_rect(image.get(), 2, 0, 5, 1, 1);  // x + w = width + 1
                  img_rect(image.get(), 0, 0, 0, 1, 1);
              }),
              2);
    EXPECT_EQ(image->pixels[2], 9u);

    ImagePtr disc = make_image(20, 20);
    img_circle(disc.get(), 10, 10, 1, 5);
    EXPECT_EQ(std::ranges::count(std::span(disc->pixels, 400), 5u), 2);
    EXPECT_EQ(img_get_pixel(disc.get(), 9, 10) & img_get_pixel(disc.get(), 10, 10), 5u);
    img_circle(disc.get(), 10, 10, 5, 1);
    EXPECT_EQ(img_get_pixel(disc.get(), 6, 10) + img_get_pixel(disc.get(), 10, 14), 2u);
    EXPECT_EQ(img_get_pixel(disc.get(), 10, 6) + img_get_pixel(disc.get(), 13, 10), 2u);  // offsets r - 1
    EXPECT_EQ(img_get_pixel(disc.get(), 10, 5) + img_get_pixel(disc.get(), 14, 10), 0u);
    EXPECT_EQ(img_errors_of([&] { img_circle(disc.get(), 0, 0, 3, 1); }), 0);  // clipped silently
    EXPECT_EQ(img_get_pixel(disc.get(), 0, 2), 1u);
    EXPECT_EQ(img_errors_of([&] {
                  img_circle(disc.get(), 20, 0, 3, 1);
                  img_circle(disc.get(), 5, 5, 0, 1);
              }),
              2);

    ImagePtr faded = make_image(2, 1);
    faded->pixels[0] = rgb(5, 10, 16) | 0x80000000;
    faded->pixels[1] = rgb(255, 8, 0) | 0x01000000;
    img_fade(faded.get(), 8 + 256);  // only the low byte counts
    EXPECT_EQ(row_of(faded.get(), 0), (std::vector<uint32_t>{rgb(0, 2, 8), rgb(247, 0, 0)}));
    faded->pixels[0] |= 0xFF000000;
    img_fade(faded.get(), 0);
    EXPECT_EQ(faded->pixels[0], rgb(0, 2, 8));
}
