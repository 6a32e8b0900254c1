// The sound alone: a 16-bit mono PCM WAV file at 44100 Hz, written frame by
// frame, its sizes filled in at the end.
#pragma once

#include "capture_recorder.h"

#include <memory>
#include <string>

std::unique_ptr<CaptureSink> capture_wav_new(const std::string& path);
