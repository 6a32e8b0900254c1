// Layouts, enlargement and the Y'CbCr conversion. Every value is computed
// in whole numbers from the exact BT.709 weights, so the planes do not
// depend on the encoder's own conversion or its rounding.
#include "capture_picture.h"

#include <algorithm>

namespace {

// BT.709 luma weights Kr, Kg, Kb, in ten-thousandths.
constexpr int64_t weight_unit = 10000;
constexpr int64_t weight_red = 2126;
constexpr int64_t weight_green = 7152;
constexpr int64_t weight_blue = 722;
// Limited range: luma from 16 (black) over 219 steps, each colour difference
// around 128 over 224 steps.
constexpr int64_t luma_black = 16;
constexpr int64_t luma_steps = 219;
constexpr int64_t chroma_zero = 128;
constexpr int64_t chroma_steps = 224;
constexpr int64_t full_scale = 255;

// With E = Kr R + Kg G + Kb B on 0..255:
//   Y  = 16  + 219 E / 255
//   Cb = 128 + 224 (B - E) / (255 * 2 (1 - Kb))
//   Cr = 128 + 224 (R - E) / (255 * 2 (1 - Kr))
// Each as a whole numerator over one of these denominators.
constexpr int64_t luma_denominator = full_scale * weight_unit;
constexpr int64_t blue_denominator = full_scale * 2 * (weight_unit - weight_blue);
constexpr int64_t red_denominator = full_scale * 2 * (weight_unit - weight_red);

constexpr uint8_t black_luma = luma_black;
constexpr uint8_t black_chroma = chroma_zero;

// A 4:2:0 colour sample covers a 2x2 block of video pixels.
constexpr int64_t block_pixels = 4;

int64_t red_of(uint32_t rgb)
{
    return (rgb >> 16) & 0xFF;
}

int64_t blue_of(uint32_t rgb)
{
    return rgb & 0xFF;
}

// Kr R + Kg G + Kb B, in ten-thousandths.
int64_t weighted(uint32_t rgb)
{
    return weight_red * red_of(rgb) + weight_green * ((rgb >> 8) & 0xFF) + weight_blue * blue_of(rgb);
}

// Rounded to nearest. The sums are never negative, and unsigned division by
// a constant is the cheaper one.
uint8_t rounded(int64_t numerator, uint64_t denominator)
{
    return static_cast<uint8_t>((static_cast<uint64_t>(numerator) + denominator / 2) / denominator);
}

uint8_t luma_of(uint32_t rgb)
{
    return rounded(luma_black * luma_denominator + luma_steps * weighted(rgb), luma_denominator);
}

// The colour differences as exact numerators, rounded only once they are sampled.
int64_t blue_difference(uint32_t rgb)
{
    return chroma_steps * (weight_unit * blue_of(rgb) - weighted(rgb));
}

int64_t red_difference(uint32_t rgb)
{
    return chroma_steps * (weight_unit * red_of(rgb) - weighted(rgb));
}

// The colour sample of four numerators: their mean, plus 128, rounded to nearest.
template <int64_t denominator>
uint8_t chroma_sample(int64_t sum)
{
    constexpr int64_t whole = block_pixels * denominator;
    return rounded(chroma_zero * whole + sum, whole);
}

bool holds(const CaptureLayout& layout, int32_t width, int32_t height)
{
    return width > 0 && height > 0 && layout.scale > 0 && layout.left >= 0 && layout.top >= 0 &&
           layout.width <= capture_max_side && layout.height <= capture_max_side &&
           int64_t{width} * layout.scale <= layout.width - layout.left &&
           int64_t{height} * layout.scale <= layout.height - layout.top;
}

// For each video column (or row) of the enlarged picture, the demo pixel
// it shows; an odd last video pixel (not at an even scale) repeats the last.
std::vector<int32_t> sources_of(int32_t size, int32_t scale)
{
    std::vector<int32_t> sources(static_cast<size_t>(size) * static_cast<size_t>(scale) + 1);
    for (size_t at = 0; at < sources.size(); ++at) {
        sources[at] = std::min(static_cast<int32_t>(at) / scale, size - 1);
    }
    return sources;
}

// Writes the picture, each pixel converted by `convert`, enlarged into the
// frame (layout.width wide), whose border is already drawn: each row of
// squares is drawn once, then copied.
template <typename Pixel, typename Convert>
void enlarge_into(const uint32_t* picture, int32_t width, int32_t height, const CaptureLayout& layout,
                  Convert convert, Pixel* frame)
{
    const auto stride = static_cast<size_t>(layout.width);
    const size_t wide = static_cast<size_t>(width) * static_cast<size_t>(layout.scale);
    const std::vector<int32_t> sources = sources_of(width, layout.scale);
    std::vector<Pixel> converted(static_cast<size_t>(width));
    // Plain pointers: stores through a byte pointer could change a vector's own.
    const int32_t* const columns = sources.data();
    Pixel* const values = converted.data();
    Pixel* row = frame + static_cast<size_t>(layout.top) * stride + static_cast<size_t>(layout.left);
    for (int32_t y = 0; y < height; ++y, picture += width) {
        std::transform(picture, picture + width, values, convert);
        for (size_t x = 0; x < wide; ++x) {
            row[x] = values[columns[x]];
        }
        for (int32_t copy = 1; copy < layout.scale; ++copy) {
            std::copy_n(row, wide, row + static_cast<size_t>(copy) * stride);
        }
        row += static_cast<size_t>(layout.scale) * stride;
    }
}

// One colour difference plane: each sample the rounded mean of the four
// video pixels it covers. A row of samples that covers the same demo rows as
// the one above is a copy of it.
template <int64_t denominator, int64_t (*difference)(uint32_t)>
void chroma_into(const uint32_t* picture, int32_t width, int32_t height, const CaptureLayout& layout,
                 uint8_t* plane)
{
    const auto stride = static_cast<size_t>(layout.width / 2);
    const size_t samples = (static_cast<size_t>(width) * static_cast<size_t>(layout.scale) + 1) / 2;
    const int32_t rows = (height * layout.scale + 1) / 2;
    const std::vector<int32_t> column_sources = sources_of(width, layout.scale);
    const std::vector<int32_t> line_sources = sources_of(height, layout.scale);
    std::vector<int64_t> sums(static_cast<size_t>(width));  // a demo column's two rows, summed
    const int32_t* const columns = column_sources.data();
    const int32_t* const lines = line_sources.data();
    int64_t* const pairs = sums.data();
    uint8_t* row = plane + static_cast<size_t>(layout.top / 2) * stride + static_cast<size_t>(layout.left / 2);
    for (int32_t line = 0; line < rows; ++line, row += stride) {
        const int32_t upper = lines[2 * static_cast<size_t>(line)];
        const int32_t lower = lines[2 * static_cast<size_t>(line) + 1];
        if (line > 0 && upper == lines[2 * static_cast<size_t>(line) - 2] &&
            lower == lines[2 * static_cast<size_t>(line) - 1]) {
            std::copy_n(row - stride, samples, row);
            continue;
        }
        const uint32_t* top = picture + static_cast<size_t>(upper) * static_cast<size_t>(width);
        const uint32_t* bottom = picture + static_cast<size_t>(lower) * static_cast<size_t>(width);
        for (size_t x = 0; x < sums.size(); ++x) {
            pairs[x] = difference(top[x]) + difference(bottom[x]);
        }
        for (size_t sample = 0; sample < samples; ++sample) {
            row[sample] = chroma_sample<denominator>(pairs[columns[2 * sample]] + pairs[columns[2 * sample + 1]]);
        }
    }
}

}  // namespace

CaptureLayout capture_layout_scaled(int32_t picture_width, int32_t picture_height, int32_t scale)
{
    const bool fits = scale > 0 && picture_width > 0 && picture_height > 0 &&
                      int64_t{picture_width} * scale <= capture_max_side &&
                      int64_t{picture_height} * scale <= capture_max_side;
    return fits ? CaptureLayout{scale, picture_width * scale, picture_height * scale, 0, 0} : CaptureLayout{};
}

CaptureLayout capture_layout_fit(int32_t picture_width, int32_t picture_height, int32_t width, int32_t height)
{
    if (picture_width <= 0 || picture_height <= 0 || width > capture_max_side || height > capture_max_side) {
        return {};
    }
    const int32_t scale = std::min(width / picture_width, height / picture_height);
    if (scale <= 0) {
        return {};
    }
    // Half the space left on each side, rounded down to even.
    const int32_t left = (width - picture_width * scale) / 4 * 2;
    const int32_t top = (height - picture_height * scale) / 4 * 2;
    return {scale, width, height, left, top};
}

std::vector<uint32_t> capture_enlarge(const uint32_t* pixels, int32_t width, int32_t height,
                                      const CaptureLayout& layout)
{
    if (!pixels || !holds(layout, width, height)) {
        return {};
    }
    std::vector<uint32_t> frame(static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height), 0);
    enlarge_into(pixels, width, height, layout, [](uint32_t rgb) { return rgb; }, frame.data());
    return frame;
}

size_t capture_yuv420_size(const CaptureLayout& layout)
{
    const size_t luma = static_cast<size_t>(std::max(layout.width, 0)) * static_cast<size_t>(std::max(layout.height, 0));
    return luma + luma / 2;
}

bool capture_yuv420(const uint32_t* pixels, int32_t width, int32_t height, const CaptureLayout& layout,
                    std::vector<uint8_t>& frame)
{
    const bool even = layout.width % 2 == 0 && layout.height % 2 == 0 && layout.left % 2 == 0 && layout.top % 2 == 0;
    if (!pixels || !even || !holds(layout, width, height)) {
        return false;
    }
    const size_t luma_size = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height);
    if (frame.size() != capture_yuv420_size(layout)) {
        frame.assign(capture_yuv420_size(layout), black_chroma);
        std::fill_n(frame.begin(), luma_size, black_luma);
    }
    uint8_t* const blue_plane = frame.data() + luma_size;
    uint8_t* const red_plane = blue_plane + luma_size / 4;
    enlarge_into(pixels, width, height, layout, luma_of, frame.data());
    chroma_into<blue_denominator, blue_difference>(pixels, width, height, layout, blue_plane);
    chroma_into<red_denominator, red_difference>(pixels, width, height, layout, red_plane);
    return true;
}
