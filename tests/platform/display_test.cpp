// The display through the SDL stand-in: opening, presenting at every window
// format, the three present paths, and flip against update.
#include "display.h"
#include "gfx_test_helpers.h"
#include "sdl_standin.h"

namespace {

// Every pixel of the top-left 256 x 256 different, so a shifted or skewed row
// shows; a larger image starts with the same pixels.
ImagePtr patterned_image(int32_t width, int32_t height)
{
    ImagePtr image = make_image(width, height);
    for (int32_t i = 0; i < width * height; ++i) {
        image->pixels[i] = (static_cast<uint32_t>(i % width + i / width * 256) * 0x9E3779u) & 0xFFFFFF;
    }
    return image;
}

ImagePtr filled_image(int32_t width, int32_t height, uint32_t colour)
{
    ImagePtr image = make_image(width, height);
    std::fill_n(image->pixels, width * height, colour);
    return image;
}

std::vector<uint32_t> pixels_of(const Image* image)
{
    return {image->pixels, image->pixels + image->width * image->height};
}

// A new window on a fresh stand-in; the old Display goes first, as its
// window surface does not outlive the reset.
Display* fresh_display()
{
    Display* old = display_current();
    display_free(&old);
    standin_reset();
    display_set_scale(1);
    return display_new();
}

void note_surfaces(const uint32_t*, int32_t, int32_t, void* surfaces)
{
    *static_cast<int32_t*>(surfaces) = standin_surfaces();
}

}  // namespace

TEST(Display, OpensOneCaptionedWindowReopensItAtOtherSizesAndFreesIt)
{
    Display* display = fresh_display();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(std::vector({display->width, display->height, display->pixel_depth}), std::vector({256, 256, 32}));
    EXPECT_STREQ(standin_caption(), "KELP4090");
    EXPECT_EQ(display_new(), display);
    Display stranger{};
    EXPECT_EQ(display_check(&stranger), nullptr);

    display_set_mode(display, 320, 200);
    display_set_mode(display, -1, 200);
    display_set_mode(&stranger, 64, 64);
    EXPECT_EQ(std::vector({display->width, display->height}), std::vector({320, 200}));
    display_present(display, patterned_image(320, 200).get());
    standin_fail_video(true);  // a failed mode keeps the size but shows nothing
    display_set_mode(display, 128, 128);
    EXPECT_EQ(display->width, 320);
    display_present(display, patterned_image(320, 200).get());
    EXPECT_EQ(standin_presents(), 1u);

    display_option = 1;
    display_free(&display);
    EXPECT_EQ(display, nullptr);
    EXPECT_EQ(display_current(), nullptr);
    display_free(&display);
    display_free(nullptr);
    standin_reset();
    standin_set_video_depth(16);
    display = display_new();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->pixel_depth, 16);
    EXPECT_EQ(display_option, 0);
    display_free(&display);
    standin_fail_video(true);
    display = display_new();
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->width, 0);
}

TEST(DisplayPresent, CopiesExactlyAt32BitsRefusesOtherSizesAndLendsAnImageForOnePresent)
{
    Display* display = fresh_display();
    const ImagePtr image = patterned_image(256, 256);
    display_present(display, image.get());
    EXPECT_EQ(standin_flips(), 0u);  // no double buffer: a whole-window update
    EXPECT_EQ(standin_last_frame(), pixels_of(image.get()));
    display_present(display, filled_image(255, 256, 0xFFFFFF).get());
    display_present(display, filled_image(256, 255, 0xFFFFFF).get());
    display_present(nullptr, image.get());
    display_present(display, nullptr);
    EXPECT_EQ(standin_presents(), 1u);

    const ImagePtr lent = filled_image(256, 256, 0x123456);
    display_present_direct(display, lent.get());
    EXPECT_EQ(standin_last_frame(), pixels_of(lent.get()));
    display_present(display, image.get());  // into the window's own pixels again, not the lent ones
    EXPECT_EQ(standin_last_frame(), pixels_of(image.get()));
    EXPECT_EQ(pixels_of(lent.get()), pixels_of(filled_image(256, 256, 0x123456).get()));
}

TEST(DisplayPresent, OtherWindowFormatsGoThroughTheConversion)
{
    constexpr uint32_t pure[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFFFF00, 0x00FFFF};
    constexpr uint32_t grey = 0x808080;
    for (int32_t depth : {16, 8}) {
        fresh_display();
        standin_set_video_depth(depth);
        Display* display = display_current();
        display_set_mode(display, 256, 256);
        ASSERT_EQ(display->pixel_depth, depth);
        ImagePtr image = filled_image(256, 256, grey);
        std::copy(std::begin(pure), std::end(pure), image->pixels);
        int32_t surfaces_when_shown = 0;
        standin_on_present(note_surfaces, &surfaces_when_shown);
        display_present(display, image.get());
        ASSERT_EQ(standin_presents(), 1u);
        EXPECT_EQ(standin_blits(), 1u) << depth << " bits";
        EXPECT_EQ(surfaces_when_shown, 1) << "the temporaries outlive the present at " << depth << " bits";
        EXPECT_EQ(standin_surfaces(), 1);
        const std::vector<uint32_t>& frame = standin_last_frame();
        for (size_t i = 0; i < std::size(pure); ++i) {
            EXPECT_EQ(frame[i], pure[i]) << depth << " bits, colour " << i;
        }
        for (int32_t shift : {16, 8, 0}) {  // 2 to 6 bits a channel keep grey within a step
            EXPECT_NEAR((frame.back() >> shift) & 0xFF, 0x80, 0x2B) << depth << " bits";
        }
    }
}

TEST(DisplayPresent, ConvertedShowsTheTopLeftOfALargerImageAndOnlyTheAreaOfASmaller)
{
    Display* display = fresh_display();
    standin_grant_doublebuf(true);  // a double-buffered window flips on every path
    display_set_mode(display, 256, 256);
    display_present_converted(display, patterned_image(300, 280).get());
    EXPECT_EQ(standin_last_frame(), pixels_of(patterned_image(256, 256).get()));

    display_present(display, filled_image(256, 256, 0x0000FF).get());
    display_present_converted(display, filled_image(100, 50, 0xFF0000).get());
    std::vector<uint32_t> expected(256 * 256, 0x0000FF);
    for (int32_t y = 0; y < 50; ++y) {
        std::fill_n(expected.begin() + y * 256, 100, 0xFF0000);
    }
    EXPECT_EQ(standin_last_frame(), expected);
    display_present_direct(display, patterned_image(256, 256).get());
    EXPECT_EQ(standin_presents(), 4u);
    EXPECT_EQ(standin_flips(), 4u);
}

// The window's width x height frame at `scale` from `left`, `top`, reduced
// with nearest neighbour; empty if any block is not of one colour.
std::vector<uint32_t> reduced_window(int32_t window_width, int32_t scale, int32_t left, int32_t top, int32_t width,
                                     int32_t height)
{
    const std::vector<uint32_t>& window = standin_last_frame();
    std::vector<uint32_t> reduced;
    for (int32_t y = 0; y < height * scale; ++y) {
        for (int32_t x = 0; x < width * scale; ++x) {
            const uint32_t pixel = window[(top + y) * window_width + left + x];
            const uint32_t corner = window[(top + y / scale * scale) * window_width + left + x / scale * scale];
            if (pixel != corner) {
                return {};
            }
            if (x % scale == 0 && y % scale == 0) {
                reduced.push_back(pixel);
            }
        }
    }
    return reduced;
}

// 32-bit windows of whole-byte channels take the exact frame without a
// conversion; at scale 3 every pixel of every layout becomes a block.
TEST(DisplayScale, EveryWindowLayoutShowsTheFrameAndEveryPixelAsABlock)
{
    struct Layout {
        int32_t depth;
        uint32_t red, green, blue;
        int32_t row_padding;
    };
    constexpr Layout layouts[] = {
        {32, 0xFF0000, 0x00FF00, 0x0000FF, 0},        // the Image's own layout: one block
        {32, 0xFF0000, 0x00FF00, 0x0000FF, 12},       // the same with longer rows: row by row
        {32, 0x0000FF, 0x00FF00, 0xFF0000, 0},        // red in the lowest byte
        {32, 0xFF000000, 0x00FF0000, 0x0000FF00, 0},  // the unused byte at the bottom
        {32, 0x0000FF, 0x00FF00, 0xFF0000, 12},       // and rows longer than the frame's
        {16, 0, 0, 0, 0},
        {8, 0, 0, 0, 0},
    };
    const ImagePtr image = patterned_image(256, 256);
    for (const Layout& layout : layouts) {
        Display* display = fresh_display();
        standin_set_video_depth(layout.depth);
        standin_set_video_masks(layout.red, layout.green, layout.blue);
        standin_set_video_row_padding(layout.row_padding);
        display_set_mode(display, 256, 256);
        if (layout.depth == 32) {
            display_present_direct(display, filled_image(256, 256, 0x123456).get());
            EXPECT_EQ(standin_last_frame().back(), 0x123456u) << std::hex << layout.red;
        }
        display_present(display, image.get());
        const std::vector<uint32_t> unscaled = standin_last_frame();
        if (layout.depth == 32) {
            EXPECT_EQ(unscaled, pixels_of(image.get())) << std::hex << layout.red << " " << layout.row_padding;
        }
        display_set_scale(3);
        display_set_mode(display, 256, 256);
        EXPECT_EQ(display->width, 256);
        display_present(display, image.get());
        ASSERT_EQ(standin_last_frame().size(), 768u * 768u) << layout.depth;
        EXPECT_EQ(reduced_window(768, 3, 0, 0, 256, 256), unscaled) << layout.depth << " bits " << layout.red;
        EXPECT_EQ(standin_conversions(), layout.depth == 32 ? 0u : 2u);
        EXPECT_EQ(standin_blits(), layout.depth == 32 ? 0u : 1u);  // SDL's blit unscaled, our own pass at 3
    }
}

// The window's pixels left and right of a frame centred at 4x in 1280 x 1024.
std::vector<uint32_t> fullscreen_sides()
{
    std::vector<uint32_t> sides;
    const std::vector<uint32_t>& window = standin_last_frame();
    for (size_t row = 0; row < window.size(); row += 1280) {
        sides.insert(sides.end(), window.begin() + row, window.begin() + row + 128);
        sides.insert(sides.end(), window.begin() + row + 1152, window.begin() + row + 1280);
    }
    return sides;
}

TEST(DisplayScale, FullscreenTakesTheBestModeCentredOnBlackOrOpensNothing)
{
    const ImagePtr image = patterned_image(256, 256);
    for (int32_t depth : {16, 32}) {  // the frame through SDL's conversion, then our own pass
        fresh_display();
        standin_set_video_depth(depth);
        standin_set_fullscreen_modes({{0, 0, 1280, 1024}, {0, 0, 1152, 1100}, {0, 0, 800, 600}});
        display_set_scale(display_fullscreen);
        display_set_mode(display_current(), 256, 256);  // x4 fits both larger modes; the first is larger
        display_present(display_current(), image.get());
        ASSERT_EQ(standin_last_frame().size(), 1280u * 1024u);
        EXPECT_EQ(fullscreen_sides(), std::vector<uint32_t>(2 * 128 * 1024, 0)) << depth << " bits";
    }
    Display* display = display_current();
    EXPECT_EQ(reduced_window(1280, 4, 128, 0, 256, 256), pixels_of(image.get()));

    standin_set_fullscreen_modes({{0, 0, 1152, 1100}, {0, 0, 800, 600}});
    display_set_mode(display, 256, 256);  // centred down the screen too
    display_present(display, image.get());
    EXPECT_EQ(reduced_window(1152, 4, 64, 38, 256, 256), pixels_of(image.get()));

    display_set_scale(display_max_scale + 1);  // refused: fullscreen stays asked for
    display_set_scale(-1);
    standin_set_fullscreen_modes({{0, 0, 320, 200}});
    display_set_mode(display, 256, 256);
    EXPECT_EQ(display->width, 256);  // the record keeps its size, the window is gone
    EXPECT_STREQ(SDL_GetError(), "no fullscreen display mode of at least 256x256");
    display_present(display, image.get());
    EXPECT_EQ(standin_presents(), 2u);

    display_set_scale(display_max_scale);  // wider than SDL's surfaces can be
    display_set_mode(display, 5000, 256);
    EXPECT_STREQ(SDL_GetError(), "no window of 5000x256 at scale 8");
}
