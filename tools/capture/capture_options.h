// Command line of kelp4090-capture: what to render and where to write it.
#pragma once

#include "capture_picture.h"
#include "virtual_clock.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CaptureOptions {
    std::string output;        // -o: the video, or the still with --frame
    std::string wav;           // --wav: the sound alone
    int32_t passes = 1;        // whole passes through the ring of parts
    int64_t frames = 0;        // --frames: stop after this many; 0 = whole passes
    int64_t still_frame = -1;  // --frame: the one frame to write as a picture
    // Nearest-neighbour enlargement. Even, so that every 2x2 block of the
    // video's half-resolution colour lies inside one of the demo's pixels.
    int32_t scale = 4;
    // --fit: the video's size, the picture at the largest scale that fits; 0: not asked.
    int32_t fit_width = 0;
    int32_t fit_height = 0;
    // Pressed after their frames, each held until the next one is pressed.
    std::vector<VirtualKey> keys;
    bool normalise = true;     // bring the video's sound to a standard loudness
    bool timings = false;      // print the time of each stage at the end
    bool benchmark = false;
    bool help = false;
};

constexpr int32_t capture_max_scale = 8;
// The stand-in keeps the whole sound in memory (about 5 MB a minute).
constexpr int32_t capture_max_passes = 10;
constexpr int64_t capture_max_frames = 100000;

// Fills `options` from the arguments. Returns false with a one-line reason
// in `error` (naming the argument) when they make no sense.
bool capture_parse_options(int argc, const char* const* argv, CaptureOptions& options, std::string& error);
// Reads a --keys list, FRAME:KEY,... (KEY: space, esc or one character),
// into `keys` as given; false with a one-line reason in `error`.
bool capture_parse_keys(std::string_view list, std::vector<VirtualKey>& keys, std::string& error);
const char* capture_usage();
// Where the picture lies in the written frames: --fit, or else --scale.
CaptureLayout capture_options_layout(const CaptureOptions& options);
// The file name's extension in lower case, without the dot; "" when it has none.
std::string capture_extension(const std::string& path);
// True when the name asks for a still picture rather than a video.
bool capture_is_still_name(const std::string& path);
