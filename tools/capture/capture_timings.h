// Where a capture's time goes, for --timings: the wall-clock and processor
// seconds of each stage, added up over the whole capture.
#pragma once

#include <cerrno>
#include <cstdint>

enum class CaptureStep : uint8_t {
    drawing,     // the demo's own code between two frames: drawing, music, keys
    conversion,  // the picture to enlarged Y'CbCr planes
    pipe,        // handing the planes to ffmpeg: waiting while it is busy, and the copy
    encoder,     // ffmpeg's H.264 encoding: its processor time; wall: waiting for it after the last frame
    sound,       // the sound file, its loudness, the AAC and putting picture and sound together
};

// A moment: the wall clock and this thread's processor time, in seconds.
struct CaptureMoment {
    double wall;
    double cpu;
};

CaptureMoment capture_moment();
// Adds the time from `since` to now to the stage.
void capture_timings_add_since(CaptureStep step, const CaptureMoment& since);
// Adds measured seconds to the stage.
void capture_timings_add(CaptureStep step, double wall, double cpu);
// Processor seconds of the child processes that ended so far.
double capture_children_cpu();

// Runs `work` and adds its wall time and this thread's processor time to
// the stage; errno stays as `work` left it.
template <typename Work>
auto capture_timed(CaptureStep step, Work&& work)
{
    const CaptureMoment start = capture_moment();
    const auto result = work();
    const int reason = errno;
    capture_timings_add_since(step, start);
    errno = reason;
    return result;
}

// Runs `work`, which waits for child processes, and adds its wall time and
// the processor time of the children it waited for to the stage.
template <typename Work>
auto capture_timed_children(CaptureStep step, Work&& work)
{
    const double wall = capture_moment().wall;
    const double children = capture_children_cpu();
    const auto result = work();
    capture_timings_add(step, capture_moment().wall - wall, capture_children_cpu() - children);
    return result;
}

// Prints a table of the stages to standard error, with the whole run's wall
// time since `start` and the processor time of the program and its children.
void capture_timings_print(const CaptureMoment& start, int64_t frames);
