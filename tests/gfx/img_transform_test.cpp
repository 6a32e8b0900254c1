#include "gfx_test_helpers.h"

namespace {

// The source index shown at destination index d along one axis. Growing,
// source k covers the next runs[k] places; shrinking, destination d stands
// for runs[d] source places and shows the last of them, or the first when
// the pass runs forward.
int32_t source_of(int32_t d, int32_t src_len, int32_t dst_len, bool forward)
{
    const std::vector<int32_t> runs = run_table(src_len, dst_len);
    int32_t start = 0;
    int32_t k = 0;
    if (src_len <= dst_len) {
        for (; start + runs[k] <= d; k++) {
            start += runs[k];
        }
        return k;
    }
    for (; k < d; k++) {
        start += runs[k];
    }
    return forward ? start : start + runs[d] - 1;
}

void expect_scaled(int32_t sw, int32_t sh, int32_t dw, int32_t dh)
{
    ImagePtr src = make_image(sw, sh, 1);
    ImagePtr dst = make_image(dw, dh, 0xDEAD0000);
    img_scale(src.get(), dst.get());
    for (int32_t v = 0; v < dh; v++) {
        for (int32_t u = 0; u < dw; u++) {
            const int32_t x = source_of(u, sw, dw, false);
            const int32_t y = source_of(v, sh, dh, sw <= dw);  // rows go backward when the width shrinks
            ASSERT_EQ(img_get_pixel(dst.get(), u, v), img_get_pixel(src.get(), x, y))
                << sw << "x" << sh << " to " << dw << "x" << dh << " at " << u << "," << v;
        }
    }
}

}  // namespace

TEST(ImgScale, AllFourPassesMatchRunTableReference)
{
    expect_scaled(3, 2, 7, 5);  // grow both
    expect_scaled(3, 7, 8, 3);  // wider, shorter
    expect_scaled(9, 7, 4, 3);  // shrink both
    expect_scaled(9, 3, 4, 8);  // narrower, taller

    ImagePtr two = make_image(2, 1);
    img_scale(make_image(5, 1, 1).get(), two.get());
    EXPECT_EQ(row_of(two.get(), 0), (std::vector<uint32_t>{3, 5}));
    EXPECT_EQ(img_errors_of([&] { img_scale(make_image(0, 4).get(), two.get()); }), 1);
    EXPECT_EQ(two->pixels[0], 3u);
}

TEST(ImgRotate, SizeHalfTurnAndQuarterTurn)
{
    ImagePtr wide = make_image(100, 50, 1);
    ImagePtr turned(img_rotate(wide.get(), 0));
    ASSERT_NE(turned, nullptr);
    EXPECT_EQ(turned->width * 1000 + turned->height, 141070);
    // At angle 0 the cosine is -32766: offsets d >= 0 map to -d, negative ones
    // to -d - 1 (the shift rounds down); the margins stay 0.
    EXPECT_EQ(img_get_pixel(turned.get(), 70, 35), img_get_pixel(wide.get(), 50, 25));
    EXPECT_EQ(img_get_pixel(turned.get(), 72, 36), img_get_pixel(wide.get(), 48, 24));
    EXPECT_EQ(img_get_pixel(turned.get(), 0, 0), 0u);

    ImagePtr marked = make_image(20, 20);
    img_put_pixel(marked.get(), 13, 10, 9);
    ImagePtr quarter(img_rotate(marked.get(), 256));
    ImagePtr same(img_rotate(marked.get(), 256 - 1024 * 3));
    EXPECT_EQ(img_get_pixel(quarter.get(), 14, 17), 9u);
    EXPECT_EQ(img_equal(quarter.get(), same.get()), 1);
}
