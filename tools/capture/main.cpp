// kelp4090-capture: renders the demo, picture and music, into a video, a
// still or a sound file at exactly 50 frames per second, on the SDL
// stand-in's virtual clock, with no display and no sound card.
#include "capture_benchmark.h"
#include "capture_ffmpeg.h"
#include "capture_options.h"
#include "capture_recorder.h"
#include "capture_still.h"
#include "capture_wav.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int usage_error = 2;

}  // namespace

int main(int argc, char** argv)
{
    CaptureOptions options;
    std::string error;
    if (!capture_parse_options(argc, argv, options, error)) {
        fprintf(stderr, "kelp4090-capture: %s (see --help)\n", error.c_str());
        return usage_error;
    }
    if (options.help) {
        fputs(capture_usage(), stdout);
        return EXIT_SUCCESS;
    }
    if (options.benchmark) {
        return capture_benchmark();
    }
    // A dead ffmpeg then shows as a failed write with a message, not as a silent end.
    signal(SIGPIPE, SIG_IGN);
    std::vector<std::unique_ptr<CaptureSink>> sinks;
    const CaptureLayout layout = capture_options_layout(options);
    if (!options.output.empty()) {
        sinks.push_back(options.still_frame >= 0 ? capture_still_new(options.output, options.still_frame, layout)
                                                 : capture_video_new(options.output, options.normalise, layout));
    }
    if (!options.wav.empty()) {
        sinks.push_back(capture_wav_new(options.wav));
    }
    capture_record({options.passes, options.frames, options.keys, options.timings}, std::move(sinks));
}
