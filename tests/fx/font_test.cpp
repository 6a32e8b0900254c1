// Glyph location, pen movement, the magnified glyph and the hex printers.
#include "fx_test_helpers.h"

namespace {

// A 4x2-cell font of 2x2 cells whose cell k is filled with the value k + 1,
// drawn into a 16x4 target.
struct TestFont {
    Font* font = cell_font(2, 2, 4, 8, 1);
    Image* target = image_of(16, 4);

    TestFont() { font->target = target; }
    ~TestFont()
    {
        font_free(&font);
        img_free(&target);
    }
};

}  // namespace

TEST(Font, CodePicksCellsInReadingOrderAndThePenAdvances)
{
    TestFont t;
    t.font->character = 5;  // second row, second cell
    font_put_char(t.font);
    EXPECT_EQ(img_get_pixel(t.target, 1, 1), 6u);
    EXPECT_EQ(t.font->x, 2);

    t.font->character = -1;  // left of the picture: nothing drawn, pen still moves
    font_put_char(t.font);
    EXPECT_EQ(img_get_pixel(t.target, 2, 0), 0u);
    t.font->character = 8;  // below the picture
    font_put_char(t.font);
    EXPECT_EQ(t.font->x, 6);

    t.font->x = 15;  // clipped at the right edge
    t.font->character = 0;
    font_put_char(t.font);
    EXPECT_EQ(img_get_pixel(t.target, 15, 1), 1u);
    EXPECT_EQ(t.font->x, 17);
}

TEST(Font, AdditiveGlyphSumsWithWrap)
{
    TestFont t;
    img_put_pixel(t.target, 0, 0, 0xFFFFFFFF);
    t.font->character = 2;
    font_add_char(t.font);
    t.font->x = 0;
    font_add_char(t.font);
    EXPECT_EQ(img_get_pixel(t.target, 0, 0), 0xFFFFFFFFu + 3u + 3u);
    EXPECT_EQ(img_get_pixel(t.target, 1, 1), 6u);
}

TEST(Font, PrintStopsAtNewlineAndHexDrawsUpperCaseDigits)
{
    Font* font = cell_font(1, 1, 128, 128, 0);  // one-pixel cells: code c lights column c
    font->target = image_of(16, 1);
    auto line = [&] {
        std::string drawn;
        for (int32_t x = 0; x < font->x; ++x) {
            drawn += static_cast<char>(img_get_pixel(font->target, x, 0));
        }
        font->x = 0;
        img_clear(font->target);
        return drawn;
    };
    font_print(font, "Hi!\nno");
    EXPECT_EQ(line(), "Hi!");
    font_print(font, "\nx");
    EXPECT_EQ(line(), "");
    font_print_hex8(font, 0x3C);
    EXPECT_EQ(line(), "3C");
    font_print_hex16(font, 0x10000 + 0xAB);
    EXPECT_EQ(line(), "00AB");
    font_print_hex32(font, 0xDEADBEEF);
    EXPECT_EQ(line(), "DEADBEEF");
    img_free(&font->target);
    font_free(&font);
    EXPECT_EQ(font, nullptr);
}

TEST(Font, BigGlyphPlacesOneSmallGlyphPerLitPixel)
{
    TestFont small;
    Font* big = cell_font(2, 2, 1, 1, 0);
    img_put_pixel(big->picture, 1, 0, 0x123456);  // only the top-right pixel is lit
    big->target = small.target;
    big->x = 4;
    small.font->character = 7;
    font_put_char_big(big, small.font);
    EXPECT_EQ(img_get_pixel(small.target, 6, 0), 8u);
    EXPECT_EQ(img_get_pixel(small.target, 4, 0), 0u);
    EXPECT_EQ(img_get_pixel(small.target, 6, 2), 0u);
    EXPECT_EQ(big->x, 8);

    big->character = 5;  // cell outside the picture: nothing drawn, pen moves
    font_put_char_big(big, small.font);
    EXPECT_EQ(big->x, 12);
    font_free(&big);
}

TEST(Font, RefusedCallsReportOnlyWithTheDebugByte)
{
    font_put_char(nullptr);
    Font* empty = font_new();
    font_print(empty, "x");
    EXPECT_EQ(empty->x, 0);
    EXPECT_EQ(printed_with(font_debug, [&] {
                  font_print(empty, nullptr);
                  font_check_pair(empty, nullptr);
              }),
              "FONT Error.\nFONT Error.\n");
    font_free(&empty);
}
