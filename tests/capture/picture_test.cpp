// The written frame: layouts, the enlarged picture and its Y'CbCr planes,
// against the textbook BT.709 limited-range values.
#include "capture_picture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t black = 0x000000, white = 0xFFFFFF, red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF,
                   yellow = 0xFFFF00, cyan = 0x00FFFF;

struct Planes {
    std::vector<uint8_t> y, cb, cr;
};

// The three planes of a yuv420p frame, each row by row.
Planes split(const std::vector<uint8_t>& frame, const CaptureLayout& layout)
{
    const size_t luma = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height);
    return {{frame.begin(), frame.begin() + static_cast<ptrdiff_t>(luma)},
            {frame.begin() + static_cast<ptrdiff_t>(luma), frame.begin() + static_cast<ptrdiff_t>(luma * 5 / 4)},
            {frame.begin() + static_cast<ptrdiff_t>(luma * 5 / 4), frame.end()}};
}

Planes convert(const std::vector<uint32_t>& picture, int32_t width, int32_t height, const CaptureLayout& layout)
{
    std::vector<uint8_t> frame;
    EXPECT_TRUE(capture_yuv420(picture.data(), width, height, layout, frame));
    EXPECT_EQ(frame.size(), capture_yuv420_size(layout));
    return split(frame, layout);
}

using Bytes = std::vector<uint8_t>;

}  // namespace

TEST(CapturePicture, PrimariesGetTheTextbookValuesOneColourSampleEachAtAnEvenScale)
{
    const std::vector<uint32_t> picture = {black, white, red, green, blue, yellow};
    const Planes planes = convert(picture, 3, 2, capture_layout_scaled(3, 2, 2));
    EXPECT_EQ(planes.y, (Bytes{16, 16, 235, 235, 63, 63, 16, 16, 235, 235, 63, 63,
                               173, 173, 32, 32, 219, 219, 173, 173, 32, 32, 219, 219}));
    EXPECT_EQ(planes.cb, (Bytes{128, 128, 102, 42, 240, 16}));
    EXPECT_EQ(planes.cr, (Bytes{128, 128, 240, 26, 118, 138}));
}

TEST(CapturePicture, ColourSamplesAcrossPixelsAreTheRoundedMeanOfExactValues)
{
    // One sample over black, black, blue and cyan: the exact mean is
    // (162.42, 97.43); rounding each pixel first would give (163, 98).
    const Planes single = convert({black, black, blue, cyan}, 2, 2, capture_layout_scaled(2, 2, 1));
    EXPECT_EQ(single.y, (Bytes{16, 16, 32, 188}));
    EXPECT_EQ(single.cb, Bytes{162});
    EXPECT_EQ(single.cr, Bytes{97});

    // At 3x the middle samples straddle two or four demo pixels.
    const Planes odd = convert({red, green, blue, white}, 2, 2, capture_layout_scaled(2, 2, 3));
    EXPECT_EQ(odd.cb, (Bytes{102, 72, 42, 171, 128, 85, 240, 184, 128}));
    EXPECT_EQ(odd.cr, (Bytes{240, 133, 26, 179, 128, 77, 118, 123, 128}));
}

TEST(CapturePicture, FitPicksTheLargestWholeScaleCentredOnEvenOffsets)
{
    struct Case {
        int32_t width, height, scale, left, top;
    };
    const std::vector<Case> cases = {
        {1920, 1080, 4, 448, 28}, {3840, 2160, 8, 896, 56}, {1024, 1024, 4, 0, 0},
        {256, 256, 1, 0, 0},      {514, 300, 1, 128, 22},   {255, 4000, 0, 0, 0},
    };
    for (const Case& test : cases) {
        const CaptureLayout layout = capture_layout_fit(256, 256, test.width, test.height);
        EXPECT_EQ(layout.scale, test.scale) << test.width << "x" << test.height;
        EXPECT_EQ(layout.left, test.left) << test.width << "x" << test.height;
        EXPECT_EQ(layout.top, test.top) << test.width << "x" << test.height;
    }
}

TEST(CapturePicture, BorderIsBlackAndAReusedFrameShowsOnlyTheNewPicture)
{
    // 2x2 at 3x in 12x6: the 6x6 picture starts at column 2 (3 rounded down to even).
    const CaptureLayout layout = capture_layout_fit(2, 2, 12, 6);
    ASSERT_EQ(layout.left, 2);
    std::vector<uint8_t> frame;
    ASSERT_TRUE(capture_yuv420(std::vector<uint32_t>(4, white).data(), 2, 2, layout, frame));
    ASSERT_TRUE(capture_yuv420(std::vector<uint32_t>{red, red, red, red}.data(), 2, 2, layout, frame));
    const Planes planes = split(frame, layout);
    for (size_t row = 0; row < 6; ++row) {
        EXPECT_EQ(Bytes(planes.y.begin() + static_cast<ptrdiff_t>(row * 12), planes.y.begin() + static_cast<ptrdiff_t>(row * 12 + 12)),
                  (Bytes{16, 16, 63, 63, 63, 63, 63, 63, 16, 16, 16, 16}))
            << "row " << row;
    }
    EXPECT_EQ(planes.cb, (Bytes{128, 102, 102, 102, 128, 128, 128, 102, 102, 102, 128, 128,
                                128, 102, 102, 102, 128, 128}));

    const std::vector<uint32_t> still = capture_enlarge(std::vector<uint32_t>(4, white).data(), 2, 2, layout);
    ASSERT_EQ(still.size(), 72u);
    EXPECT_EQ(still[1], black);
    EXPECT_EQ(still[2], white);
    EXPECT_EQ(still[8], black);

    // A picture the layout cannot hold leaves the frame as it was.
    EXPECT_FALSE(capture_yuv420(std::vector<uint32_t>(9, white).data(), 3, 3, layout, frame));
    EXPECT_EQ(split(frame, layout).y, planes.y);
    EXPECT_TRUE(capture_enlarge(std::vector<uint32_t>(9, white).data(), 3, 3, layout).empty());
}
