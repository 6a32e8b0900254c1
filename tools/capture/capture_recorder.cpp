// The recorder. Every present costs 20 ms of virtual time on the stand-in's
// clock, so the frame limiter always finds a frame exactly one period long
// and never sleeps, fades included: the clock after k presents is k * 20 ms,
// and the audio callback has by then produced at least the k * 882 values
// played during those frames. A frame is therefore handed on one present
// late, when its 20 ms of sound are complete: frame k gets values
// 882 k ... 882 (k + 1) - 1 of the recorded stream.
#include "capture_recorder.h"

#include "capture_timings.h"
#include "demo.h"
#include "ring.h"
#include "sdl_standin.h"
#include "virtual_clock.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

struct Progress {
    double shown = 0;  // wall clock of the last progress line
    int64_t total = 0;  // expected frames; keys may end the run sooner
    bool terminal = false;
};

struct Recorder {
    CapturePlan plan;
    std::vector<std::unique_ptr<CaptureSink>> sinks;
    std::vector<uint32_t> pending;  // the last frame shown, waiting for its sound
    int32_t pending_width = 0;
    int32_t pending_height = 0;
    bool has_pending = false;
    int64_t delivered = 0;
    bool ending = false;
    std::array<int16_t, capture_values_per_frame> sound{};
    Progress progress;
    CaptureMoment started{};
    CaptureMoment drawing_since{};  // the end of the last present
};

Recorder recorder;
volatile std::sig_atomic_t interrupted = 0;

void note_interrupt(int)
{
    interrupted = 1;
}

// On a terminal the progress line is rewritten in place; a log gets a line now and then.
const char* line_start()
{
    return recorder.progress.terminal ? "\r\033[K" : "";
}

// Prints the message, abandons every sink (removing what they wrote) and ends with status 1.
[[noreturn]] void give_up(const std::string& message)
{
    recorder.ending = true;
    fprintf(stderr, "%skelp4090-capture: %s\n", line_start(), interrupted ? "interrupted" : message.c_str());
    for (const auto& sink : recorder.sinks) {
        sink->abandon();
    }
    _exit(EXIT_FAILURE);
}

double seconds_running()
{
    return capture_moment().wall - recorder.started.wall;
}

double frames_per_second()
{
    const double elapsed = seconds_running();
    return elapsed > 0 ? static_cast<double>(recorder.delivered) / elapsed : 0;
}

void progress_show()
{
    Progress& progress = recorder.progress;
    const double now = capture_moment().wall;
    if (now - progress.shown < (progress.terminal ? 0.25 : 5.0)) {
        return;
    }
    progress.shown = now;
    const double rate = frames_per_second();
    const int64_t left = std::max<int64_t>(progress.total - recorder.delivered, 0);
    const auto seconds_left = static_cast<long long>(rate > 0 ? static_cast<double>(left) / rate : 0);
    fprintf(stderr, "%skelp4090-capture: frame %lld of %lld, %.1f frames/s, %lld:%02lld left%s", line_start(),
            static_cast<long long>(recorder.delivered), static_cast<long long>(progress.total), rate,
            seconds_left / 60, seconds_left % 60, progress.terminal ? "" : "\n");
}

void progress_summary()
{
    fprintf(stderr, "%skelp4090-capture: %lld frames (%.2f s of video) in %.1f s, %.1f frames/s\n", line_start(),
            static_cast<long long>(recorder.delivered), static_cast<double>(recorder.delivered) / demo_frame_rate,
            seconds_running(), frames_per_second());
}

void keep(const uint32_t* pixels, int32_t width, int32_t height)
{
    recorder.pending.assign(pixels, pixels + static_cast<size_t>(width) * static_cast<size_t>(height));
    recorder.pending_width = width;
    recorder.pending_height = height;
    recorder.has_pending = true;
}

// The values played during frame `index`; silence where the device made none.
std::span<const int16_t> sound_of_frame(int64_t index)
{
    const std::vector<int16_t>& stream = standin_audio();
    const size_t first = std::min(static_cast<size_t>(index) * capture_values_per_frame, stream.size());
    const size_t count = std::min(stream.size() - first, recorder.sound.size());
    const auto copied = std::copy_n(stream.begin() + static_cast<ptrdiff_t>(first), count, recorder.sound.begin());
    std::fill(copied, recorder.sound.end(), int16_t{0});
    return recorder.sound;
}

void deliver_pending()
{
    if (!recorder.has_pending) {
        return;
    }
    const CaptureFrame frame{recorder.delivered, recorder.pending.data(), recorder.pending_width,
                             recorder.pending_height, sound_of_frame(recorder.delivered)};
    for (const auto& sink : recorder.sinks) {
        if (!sink->write(frame)) {
            give_up(sink->error());
        }
    }
    recorder.has_pending = false;
    recorder.delivered += 1;
    progress_show();
}

// Called with every present; the clock still stands at the frame's start.
void on_present(const uint32_t* pixels, int32_t width, int32_t height, void*)
{
    capture_timings_add_since(CaptureStep::drawing, recorder.drawing_since);
    if (interrupted) {
        give_up("interrupted");
    }
    deliver_pending();
    if (recorder.plan.frames && recorder.delivered >= recorder.plan.frames) {
        exit(EXIT_SUCCESS);
    }
    keep(pixels, width, height);
    recorder.drawing_since = capture_moment();
}

// Runs at every exit, including the demo's own exit(0) after an exit key.
void finish_at_exit()
{
    if (recorder.ending) {
        return;
    }
    deliver_pending();
    recorder.ending = true;
    if (recorder.delivered == 0) {
        give_up("no frame was rendered");
    }
    for (const auto& sink : recorder.sinks) {
        if (!sink->finish()) {
            give_up(sink->error());
        }
    }
    // Only a capture that ran to its end replaces the targets.
    if (interrupted) {
        give_up("interrupted");
    }
    for (const auto& sink : recorder.sinks) {
        if (!sink->commit()) {
            give_up(sink->error());
        }
    }
    progress_summary();
    if (recorder.plan.timings) {
        capture_timings_print(recorder.started, recorder.delivered);
    }
    for (const auto& sink : recorder.sinks) {
        if (!sink->path().empty()) {
            fprintf(stderr, "kelp4090-capture: wrote %s\n", sink->path().c_str());
        }
    }
}

// Without SA_RESTART, so a wait for ffmpeg returns and can stop it.
void catch_interrupts()
{
    struct sigaction action {};
    action.sa_handler = note_interrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

bool capture_interrupted()
{
    return interrupted != 0;
}

void capture_record(CapturePlan plan, std::vector<std::unique_ptr<CaptureSink>> sinks)
{
    recorder.plan = std::move(plan);
    recorder.sinks = std::move(sinks);
    recorder.started = capture_moment();
    recorder.drawing_since = recorder.started;
    recorder.progress.shown = recorder.started.wall;
    recorder.progress.total = recorder.plan.frames ? recorder.plan.frames
                                                   : recorder.plan.passes * ring_pass_frames();
    recorder.progress.terminal = isatty(STDERR_FILENO) != 0;
    virtual_clock_pace(standin_clock(), demo_frame_rate);
    virtual_clock_press_keys(standin_clock(), recorder.plan.keys);
    standin_on_present(on_present, nullptr);
    atexit(finish_at_exit);
    demo_init();
    // Ctrl+C removes the partial files instead of leaving them behind.
    catch_interrupts();
    if (recorder.plan.frames) {
        for (;;) {
            ring_run_pass();  // until on_present reaches the frame count
        }
    }
    for (int32_t pass = 0; pass < recorder.plan.passes; ++pass) {
        ring_run_pass();
    }
    exit(EXIT_SUCCESS);
}
