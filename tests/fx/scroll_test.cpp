// Cursor wrapping, the scroll window arithmetic and the glyphs the scrollers draw.
#include "cursor.h"
#include "fx_test_helpers.h"
#include "scroll.h"
#include "scrollxl.h"

namespace {

// A font one cell wide and 128 cells high whose cell for code k holds the
// value k, so a target row reads back as the text drawn into it.
Font* strip_font(int32_t cell_width, int32_t cell_height)
{
    return cell_font(cell_width, cell_height, 1, 128, 0);
}

// Row y of the target as characters: the pixel value as a glyph code, '.' for 0.
std::string row_of(const Image* target, int32_t y = 0)
{
    std::string row;
    for (int32_t x = 0; x < target->width; ++x) {
        const uint32_t pixel = target->pixels[y * target->width + x];
        row += pixel ? static_cast<char>(pixel) : '.';
    }
    return row;
}

}  // namespace

TEST(Cursor, StepIsTheModuloForAnyStep)
{
    Cursor* cursor = cursor_new();
    cursor_set(cursor, 5, 12);
    cursor_step(cursor);
    EXPECT_EQ(cursor->position, 2);
    cursor->step = -8;
    cursor_step(cursor);
    EXPECT_EQ(cursor->position, 4);
    cursor->length = 0;  // an empty range leaves the position alone
    cursor_step(cursor);
    EXPECT_EQ(cursor->position, 4);
    cursor_free(&cursor);
    EXPECT_EQ(cursor, nullptr);
}

TEST(Scroll, StepCarriesWholeCellsBothWaysAndDrawShowsTheWindow)
{
    Font* font = strip_font(4, 1);
    Image* target = image_of(20, 1);
    Scroll* scroll = scroll_new();
    scroll_init(scroll, "ABCDE", font, target);
    scroll->width = 8;  // 8 / 4 + 2 = 4 glyphs, the rest of the target stays black
    auto step = [&](int32_t speed) {
        scroll->speed = speed;
        scroll_step(scroll);
        img_clear(target);
        scroll_draw(scroll);
        return row_of(target);
    };
    EXPECT_EQ(step(-1), "EAAAABBBBCCCC.......");  // first character wraps back to the last
    EXPECT_EQ(step(9), "CCCCDDDDEEEEAAAA....");   // past two cells at once
    EXPECT_EQ(step(-8), "AAAABBBBCCCC........");  // exact boundary backwards: offset = cell width
    EXPECT_EQ(scroll->offset, 4);
    EXPECT_EQ(scroll->cursor->position, 4);
    EXPECT_EQ(step(3), "ABBBBCCCCDDDD.......");
    EXPECT_EQ(step(0), "ABBBBCCCCDDDD.......");

    scroll_init(scroll, "AB", font, target);  // a short text repeats across the window
    scroll->offset = 0;
    scroll_draw(scroll);
    EXPECT_EQ(row_of(target), "AAAABBBBAAAABBBBAAAA");

    EXPECT_EQ(printed_with(scroll_debug, [&] {
                  scroll_init(scroll, "", font, target);
                  scroll->text = nullptr;
                  scroll_step(scroll);
              }),
              "SCROLL error\nSCROLL error\n");
    EXPECT_EQ(scroll->offset, 0);
    scroll_free(&scroll);
    EXPECT_EQ(scroll, nullptr);
    img_free(&target);
    font_free(&font);
}

TEST(ScrollXL, LettersAreBuiltFromSpritesAndStepByTheLetterAdvance)
{
    Font* big = strip_font(2, 2);  // letter shapes: 'A' lit on its diagonal, ' ' blank, 'B' full
    img_clear(big->picture);
    img_put_pixel(big->picture, 0, 'A' * 2, 1);
    img_put_pixel(big->picture, 1, 'A' * 2 + 1, 1);
    img_fill_rect(big->picture, 0, 'B' * 2, 2, 2, 1);
    Font* small = strip_font(2, 1);  // sprite "79"
    img_put_pixel(small->picture, 0, 0, '7');
    img_put_pixel(small->picture, 1, 0, '9');
    Image* target = image_of(16, 2);
    ScrollXL* scroller = scrollxl_new();
    scrollxl_init(scroller, "A B", big, small, target);
    scroller->width = 8;  // 8 / (2 x 2) + 2 = 4 letters
    scroller->speed = 3;
    scrollxl_step(scroller);
    scrollxl_step(scroller);  // 6 pixels: one letter on, offset 2
    EXPECT_EQ(scroller->cursor->position, 1);
    scrollxl_draw(scroller);
    EXPECT_EQ(row_of(target, 0), "..797979........");
    EXPECT_EQ(row_of(target, 1), "..7979..79......");
    scroller->speed = -6;  // back to an exact boundary: two letters back, offset 4
    scrollxl_step(scroller);
    EXPECT_EQ(scroller->cursor->position, 2);
    EXPECT_EQ(scroller->offset, 4);

    scroller->small_font = nullptr;
    EXPECT_EQ(printed_with(scrollxl_debug, [&] { scrollxl_step(scroller); }), "SCROLLXL error\n");
    EXPECT_EQ(scroller->offset, 4);
    scrollxl_free(&scroller);
    img_free(&target);
    font_free(&small);
    font_free(&big);
}
