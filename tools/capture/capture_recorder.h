// The frame and sound recorder: runs the demo on the SDL stand-in's virtual
// clock, one present every 20 ms, and hands each frame together with the
// sound played during it to the outputs.
#pragma once

#include "audio.h"
#include "capture_options.h"
#include "demo.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

constexpr int32_t capture_values_per_frame = audio_output_rate / demo_frame_rate;  // 882

// One rendered frame: its picture, as the demo drew it, and the sound of its
// 20 ms. Each output enlarges the picture as it needs.
struct CaptureFrame {
    int64_t index;              // counted from 0, fades included
    const uint32_t* pixels;     // 0x00RRGGBB, width * height, row-major
    int32_t width;
    int32_t height;
    std::span<const int16_t> sound;  // capture_values_per_frame values
};

// Where frames go: the video, the still, the sound file. Each call returns
// false after a failure and leaves the reason in error().
class CaptureSink {
public:
    explicit CaptureSink(std::string path) : file_path(std::move(path)) {}
    virtual ~CaptureSink() = default;
    CaptureSink(const CaptureSink&) = delete;
    CaptureSink& operator=(const CaptureSink&) = delete;

    virtual bool write(const CaptureFrame& frame) = 0;
    virtual bool finish() = 0;    // after the last frame: complete the file
    // Once every sink finished: put the file in place of its target. Sinks
    // that write no file have nothing to do.
    virtual bool commit() { return true; }
    virtual void abandon() = 0;   // after any failure: stop and remove the partial file

    const std::string& path() const { return file_path; }
    const std::string& error() const { return reason; }

protected:
    bool fail(std::string text)
    {
        reason = std::move(text);
        return false;
    }

private:
    std::string file_path;
    std::string reason;
};

struct CapturePlan {
    int32_t passes = 1;  // whole passes through the ring, when frames is 0
    int64_t frames = 0;  // stop after this many frames
    std::vector<VirtualKey> keys;
    bool timings = false;  // print the time of each stage at the end
};

// Starts the demo and records it. Never returns: the process ends with
// status 0 once every sink is finished and committed (after the last pass,
// the last frame asked for, or an exit key), or with 1 and a message after a
// failure or an interruption (SIGINT, SIGTERM), the partial files removed.
[[noreturn]] void capture_record(CapturePlan plan, std::vector<std::unique_ptr<CaptureSink>> sinks);

// True once SIGINT or SIGTERM asked the capture to stop.
bool capture_interrupted();
