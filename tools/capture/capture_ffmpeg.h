// The video writer. The frames go through a pipe to ffmpeg, which encodes
// them to H.264 in a temporary file while the sound goes to a temporary
// WAV file; at the end a second ffmpeg run copies the picture and encodes
// the sound as AAC into the MP4. (One ffmpeg reading picture and sound from
// two pipes stalls: it opens its inputs one after the other and waits for
// sound before it reads more than the first frame.)
#pragma once

#include "capture_recorder.h"

#include <memory>
#include <string>

std::unique_ptr<CaptureSink> capture_video_new(const std::string& path);
