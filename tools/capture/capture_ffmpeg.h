// The video writer. Each frame is converted here to BT.709 Y'CbCr 4:2:0
// planes in the layout and sent through a pipe to ffmpeg, which encodes them
// to H.264 in a temporary file while the sound goes to a temporary WAV file;
// at the end further ffmpeg runs measure and encode the sound as AAC and
// put picture and sound into the MP4. (One ffmpeg reading picture
// and sound from two pipes stalls: it opens its inputs one after the other
// and waits for sound before it reads more than the first frame.)
#pragma once

#include "capture_picture.h"
#include "capture_recorder.h"

#include <memory>
#include <string>

// With `normalise`, the sound track is measured and brought to
// capture_loudness_target with true peaks at most capture_peak_ceiling.
std::unique_ptr<CaptureSink> capture_video_new(const std::string& path, bool normalise, const CaptureLayout& layout);

constexpr double capture_loudness_target = -16;  // LUFS, integrated
constexpr double capture_peak_ceiling = -1;      // dBTP
