// CURSORX remainders and DISTY's sine columns with their wrap at the bottom.
#include "cursorx.h"
#include "disty.h"
#include "gfx_test_helpers.h"
#include "vec2d.h"

TEST(CursorX, RemaindersStayNonNegativeForNegativeValuesAndSteps)
{
    CursorX* c = cursorx_new();
    EXPECT_EQ(cursorx_set(c, -1), 1023);
    EXPECT_EQ(cursorx_set(c, 2049), 1);
    c->step = -3;
    cursorx_set(c, 0);
    EXPECT_EQ(cursorx_step(c), 1021);
    EXPECT_EQ(cursorx_set_offset(c, -5), 1024 - 3 - 5);
    c->offset_step = -1020;
    cursorx_rotate(c);
    EXPECT_EQ(c->offset, 1023);
    EXPECT_EQ(c->position, 1020);
    c->offset_step = 3000;  // more than two turns: 4023 - 3 * 1024
    cursorx_rotate(c);
    EXPECT_EQ(c->offset, 951);

    cursorx_set_length(c, -5);  // ignored
    cursorx_set_length(c, 100);
    EXPECT_EQ(c->offset, 51);
    cursorx_reset(c, 250);
    EXPECT_EQ(c->position, 50);
    cursorx_set_length(c, 0);  // an empty range keeps the position
    cursorx_step(c);
    cursorx_rotate(c);
    EXPECT_EQ(c->position, 50);

    cursorx_setup(c, 10, 13, -2, -4, 5);
    EXPECT_EQ(c->offset, 3);
    EXPECT_EQ(c->position, 9);
    CursorX* twin = cursorx_clone(c);
    EXPECT_EQ(twin->position, 0);
    twin->position = 4;
    cursorx_copy(c, twin);
    EXPECT_EQ(twin->position, 4);
    EXPECT_EQ(cursorx_step(twin), (-4 + 5 + 3) % 10);

    EXPECT_EQ(cursorx_set(nullptr, 77), 77);
    EXPECT_EQ(cursorx_clone(nullptr), nullptr);
    cursorx_free(&twin);
    cursorx_free(&c);
    EXPECT_EQ(c, nullptr);
}

TEST(Disty, EachColumnMovesByItsOwnSineEntryAndWrapsAtTheBottom)
{
    Disty* wave = disty_new();
    ImagePtr strip = make_image(64, 1, 1);
    ImagePtr screen = make_image(64, 256, 1000);
    wave->source = strip.get();
    wave->y = 100;
    wave->amplitude = 128;
    disty_draw(wave, screen.get());
    for (int32_t k = 0; k < 64; k++) {
        const int32_t entry = 16 * (k + 1) % 1024;  // the last column uses entry 0
        const int32_t row = 100 + ((sine_table[entry] * 128) >> 16);
        ASSERT_EQ(img_get_pixel(screen.get(), k, row), static_cast<uint32_t>(1 + k)) << k;
    }
    EXPECT_EQ(wave->phase.counter, 64 * 16);
    wave->phase.offset_step = -3;
    disty_step(wave);
    EXPECT_EQ(wave->phase.offset, 1021);

    // A flat 3 x 3 strip one row above the top of a 2 x 4 target.
    screen = make_image(2, 4, 100);
    strip = make_image(3, 3, 1);
    strip->pixels[4] = 0;  // transparent
    wave->source = strip.get();
    wave->amplitude = 0;
    wave->y = -1;
    EXPECT_EQ(img_errors_of([&] { disty_draw(wave, screen.get()); }), 0);
    const uint32_t column_0[] = {4, 7, 104, 1};  // strip row 0 lands on the last row
    const uint32_t column_1[] = {101, 8, 105, 2};
    for (int32_t y = 0; y < 4; y++) {
        EXPECT_EQ(img_get_pixel(screen.get(), 0, y), column_0[y]) << y;
        EXPECT_EQ(img_get_pixel(screen.get(), 1, y), column_1[y]) << y;
    }
    disty_free(&wave);
    EXPECT_EQ(wave, nullptr);
}
