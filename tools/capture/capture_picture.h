// The written frame: where the demo's picture lies in it, the picture
// enlarged pixel by pixel, and its conversion to the encoder's planes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Every demo pixel becomes a scale x scale square; the enlarged picture sits
// at (left, top) of a width x height frame, black around it. Offsets are
// even, so the half-resolution colour of 4:2:0 starts at the picture's edge.
struct CaptureLayout {
    int32_t scale = 0;  // 0: no layout (the picture does not fit)
    int32_t width = 0;
    int32_t height = 0;
    int32_t left = 0;
    int32_t top = 0;
};

// Video sides: even (4:2:0 keeps colour per 2x2 block) and at most this.
constexpr int32_t capture_max_side = 8192;

// The frame is the picture enlarged `scale` times, nothing around it.
CaptureLayout capture_layout_scaled(int32_t picture_width, int32_t picture_height, int32_t scale);
// The largest whole scale that fits a width x height frame, centred (the
// offsets rounded down to even). Scale 0 when even scale 1 does not fit.
CaptureLayout capture_layout_fit(int32_t picture_width, int32_t picture_height, int32_t width, int32_t height);

// The 0x00RRGGBB picture enlarged into the layout's frame, black around it;
// empty when the layout cannot hold the picture.
std::vector<uint32_t> capture_enlarge(const uint32_t* pixels, int32_t width, int32_t height,
                                      const CaptureLayout& layout);

// The picture as 8-bit BT.709 limited-range Y'CbCr 4:2:0 in the layout's
// frame: the Y plane, then Cb and Cr at half width and height (yuv420p).
// Each demo pixel is converted once, exactly, and rounded to the nearest
// value; a colour sample covering several demo pixels gets the rounded mean
// of their exact values. `frame` is made anew, border drawn, when its size
// does not match the layout; passed again for the same layout it keeps its
// border and only the picture is rewritten.
// False (frame untouched) when the layout cannot hold the picture.
bool capture_yuv420(const uint32_t* pixels, int32_t width, int32_t height, const CaptureLayout& layout,
                    std::vector<uint8_t>& frame);

// Bytes of one yuv420p frame of the layout.
size_t capture_yuv420_size(const CaptureLayout& layout);
