// Runs Debian's ffmpeg as a child process and checks how every run ends.
#include "capture_ffmpeg.h"

#include "capture_file.h"
#include "capture_timings.h"
#include "capture_wav.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

std::string temporary_file(const char* suffix, std::string& error)
{
    const char* directory = getenv("TMPDIR");
    const std::string folder = directory && *directory ? directory : "/tmp";
    std::string name = folder + "/kelp4090-capture-XXXXXX" + suffix;
    const int fd = mkstemps(name.data(), static_cast<int>(strlen(suffix)));
    if (fd < 0) {
        error = "cannot create a temporary file in " + folder + ": " + strerror(errno);
        return "";
    }
    close(fd);
    return name;
}

// ffmpeg with `input` as its standard input (or nothing to read) and `log`
// as its standard error (or the capture's own), or -1.
// It runs in a process group of its own, so Ctrl+C reaches only the capture,
// which then stops it and removes what it wrote.
pid_t spawn_ffmpeg(const Arguments& arguments, int input, int log, std::string& error)
{
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) {
        posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    if (log >= 0) {
        posix_spawn_file_actions_adddup2(&actions, log, STDERR_FILENO);
    }
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failure = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failure) {
        error = std::string("cannot start ffmpeg: ") + strerror(failure) + " (make installs it)";
        return -1;
    }
    return pid;
}

// Waits for ffmpeg to end; an interruption stops it.
int wait_for(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
        if (capture_interrupted()) {
            kill(pid, SIGTERM);
        }
    }
    return status;
}

bool succeeded(int status)
{
    return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string describe(int status)
{
    if (status < 0) {
        return "lost track of it";
    }
    return WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                             : "killed by signal " + std::to_string(WTERMSIG(status));
}

bool write_all(int fd, const uint8_t* data, size_t size)
{
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// "file:" keeps names that start with a dash or hold a colon from being read as options or protocols.
std::string file_url(const std::string& path)
{
    return "file:" + path;
}

// Runs ffmpeg to its end, its log kept in `log` when given. On failure
// `error` holds `failure` and how ffmpeg ended.
bool run_ffmpeg(const Arguments& arguments, const std::string& failure, std::string* log, std::string& error)
{
    int ends[2] = {-1, -1};
    if (log && pipe2(ends, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe from ffmpeg: ") + strerror(errno);
        return false;
    }
    const pid_t pid = spawn_ffmpeg(arguments, -1, ends[1], error);
    if (log) {
        close(ends[1]);
        char buffer[4096];
        for (ssize_t got = 0; (got = read(ends[0], buffer, sizeof buffer)) != 0;) {
            if (got > 0) {
                log->append(buffer, static_cast<size_t>(got));
            } else if (errno != EINTR) {
                break;
            }
        }
        close(ends[0]);
    }
    if (pid < 0) {
        return false;
    }
    const int status = wait_for(pid);
    if (!succeeded(status)) {
        error = failure + " (" + describe(status) + ")";
    }
    return succeeded(status);
}

// x264 for enlarged pixel art, tuned for fidelity (psnr: no psychovisual
// trade of accuracy for apparent detail) and for speed:
// - 4x4 transforms only: at 4x and 8x each one covers a single demo pixel,
//   a flat block that costs one coefficient; 8x8 ones straddle pixel edges
//   and cost more bits and time;
// - intra 4x4 and whole-block motion partitions only;
// - no deblocking: the demo's edges are meant to be sharp, and smoothing
//   them costs time and fidelity;
// - diamond motion search with two subpixel refinement steps (with one the
//   file grows by a fifth), and the macroblock tree over ten frames of
//   lookahead, which keeps the static backgrounds of the later parts sharp;
// - colour kept at a lower quantiser than brightness: it loses most in 4:2:0.
constexpr const char* x264_parameters =
    "no-8x8dct=1:partitions=i4x4:no-deblock=1:me=dia:subme=2:mbtree=1:rc-lookahead=10:chroma-qp-offset=-2";

// The planes arrive ready for the encoder (yuv420p, BT.709, limited range),
// so ffmpeg converts nothing; the stream is tagged so that players decode
// the colours as they were converted.
Arguments encode_arguments(const CaptureLayout& layout, const std::string& video)
{
    return {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
            "-f", "rawvideo", "-pixel_format", "yuv420p",
            "-video_size", std::to_string(layout.width) + "x" + std::to_string(layout.height),
            "-framerate", std::to_string(demo_frame_rate), "-i", "pipe:0",
            "-c:v", "libx264", "-preset", "superfast", "-tune", "psnr", "-crf", "17", "-x264-params", x264_parameters,
            "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv",
            "-f", "mp4", file_url(video)};
}

// The sound alone as AAC, through `filters` when there are any.
Arguments sound_arguments(const std::string& wav, const std::string& filters, const std::string& sound)
{
    Arguments arguments = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y", "-i", file_url(wav)};
    if (!filters.empty()) {
        arguments.insert(arguments.end(), {"-af", filters});
    }
    // At 128 kbit/s for one channel the constant-quantiser coder comes as
    // close to the PCM as the default one and takes a quarter of its time.
    arguments.insert(arguments.end(),
                     {"-c:a", "aac", "-aac_coder", "fast", "-b:a", "128k", "-f", "mp4", file_url(sound)});
    return arguments;
}

Arguments mux_arguments(const std::string& video, const std::string& sound, const std::string& output)
{
    return {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
            "-i", file_url(video), "-i", file_url(sound), "-map", "0:v", "-map", "1:a",
            "-c", "copy", "-movflags", "+faststart", "-f", "mp4", file_url(output)};
}

struct Loudness {
    double integrated;  // LUFS
    double true_peak;   // dBTP
};

constexpr double unmeasurable_lufs = -70;  // all below the absolute gate: silence, or under 0.4 s
constexpr double loudness_tolerance = 0.3;  // LU
constexpr double gain_tolerance = 0.1;       // LU, on the limited PCM, before AAC adds its own
constexpr double aac_overshoot = 2.5;        // dB the AAC encoder may add to the limited peaks
constexpr double peak_margin = 0.2;          // dB kept below the ceiling when a peak passed it
constexpr double lowest_limit = -24;         // dBFS, the least alimiter takes
constexpr double least_slope = 0.1;          // LU of loudness per dB of gain, however hard the limiter works
constexpr int32_t gain_attempts = 6;
constexpr int32_t normalise_attempts = 4;

// ffmpeg's ebur128 summary of the file's sound after `filters` (none: as it
// is): "I: -35.1 LUFS", then "Peak: -14.1 dBFS" for the true peak.
bool measure_loudness(const std::string& file, const std::string& filters, Loudness& loudness, std::string& error)
{
    const std::string meter = "ebur128=peak=true:framelog=verbose";
    std::string log;
    if (!run_ffmpeg({"ffmpeg", "-nostdin", "-hide_banner", "-nostats", "-i", file_url(file), "-af",
                     filters.empty() ? meter : filters + "," + meter, "-f", "null", "-"},
                    "ffmpeg failed while measuring the sound", &log, error)) {
        return false;
    }
    const size_t summary = log.rfind("Summary:");
    const size_t integrated = summary == std::string::npos ? summary : log.find("I:", summary);
    const size_t peak = summary == std::string::npos ? summary : log.find("Peak:", summary);
    if (integrated == std::string::npos || peak == std::string::npos) {
        error = "ffmpeg did not report the loudness of the sound";
        return false;
    }
    loudness = {strtod(log.c_str() + integrated + 2, nullptr), strtod(log.c_str() + peak + 5, nullptr)};
    return true;
}

std::string level_filters(double gain, double limit)
{
    char filters[128];
    snprintf(filters, sizeof filters, "volume=%.2fdB,alimiter=limit=%.4f:level=false:latency=true", gain,
             std::pow(10.0, std::max(limit, lowest_limit) / 20));
    return filters;
}

// Sets `gain` so that the sound, amplified and limited, reaches the loudness
// `aim`: measured on the PCM, which costs a fraction of an AAC encoding.
// The limiter takes more loudness the higher the gain, so each step divides
// what is missing by the loudness the last step bought per dB (secant method),
// starting from the unlimited sound, where loudness follows the gain.
bool find_gain(const std::string& wav, double unlimited, double aim, double& gain, double limit, std::string& error)
{
    double tried = 0;
    double reached = unlimited;
    for (int32_t attempt = 0; attempt < gain_attempts; ++attempt) {
        Loudness limited{};
        if (!measure_loudness(wav, level_filters(gain, limit), limited, error)) {
            return false;
        }
        const double missing = aim - limited.integrated;
        if (std::abs(missing) <= gain_tolerance) {
            break;
        }
        const double slope = gain != tried ? (limited.integrated - reached) / (gain - tried) : 1;
        tried = gain;
        reached = limited.integrated;
        gain += missing / std::clamp(slope, least_slope, 1.0);
    }
    return true;
}

// The demo's music is quiet and peaky (about -35 LUFS with peaks 21 dB above
// that), so one gain that reaches the target loudness would push its peaks
// past full scale. The gain is applied and a limiter holds the few peaks
// above the ceiling; the gain that makes up for what the limiter takes is
// found on the PCM, and what AAC adds to the peaks or takes from the
// loudness is measured on the encoded sound and corrected.
bool encode_normalised(const std::string& wav, const std::string& sound, std::string& error)
{
    Loudness unlimited{};
    if (!measure_loudness(wav, "", unlimited, error)) {
        return false;
    }
    if (unlimited.integrated <= unmeasurable_lufs) {
        return run_ffmpeg(sound_arguments(wav, "", sound), "ffmpeg failed while encoding the sound", nullptr, error);
    }
    double aim = capture_loudness_target;
    double gain = aim - unlimited.integrated;
    double limit = capture_peak_ceiling - aac_overshoot;
    for (int32_t attempt = 0; attempt < normalise_attempts; ++attempt) {
        Loudness encoded{};
        if (!find_gain(wav, unlimited.integrated, aim, gain, limit, error) ||
            !run_ffmpeg(sound_arguments(wav, level_filters(gain, limit), sound),
                        "ffmpeg failed while encoding the sound", nullptr, error) ||
            !measure_loudness(sound, "", encoded, error)) {
            return false;
        }
        const double missing = capture_loudness_target - encoded.integrated;
        const double over = encoded.true_peak - capture_peak_ceiling;
        if (std::abs(missing) <= loudness_tolerance && over <= 0) {
            break;
        }
        aim += std::abs(missing) > loudness_tolerance ? missing : 0;
        limit -= over > 0 ? over + peak_margin : 0;
    }
    return true;
}

class VideoSink final : public CaptureSink {
public:
    VideoSink(const std::string& path, bool normalise, const CaptureLayout& layout)
        : CaptureSink(path), normalise(normalise), layout(layout)
    {
    }

    bool write(const CaptureFrame& frame) override
    {
        if (encoder < 0 && !start()) {
            return false;
        }
        if (!capture_timed(CaptureStep::conversion,
                           [&] { return capture_yuv420(frame.pixels, frame.width, frame.height, layout, planes); })) {
            return fail("the picture does not fit the video's size");
        }
        if (!capture_timed(CaptureStep::pipe, [&] { return write_all(pipe_fd, planes.data(), planes.size()); })) {
            return encoder_lost();
        }
        return capture_timed(CaptureStep::sound, [&] { return sound->write(frame); }) || fail(sound->error());
    }

    bool finish() override
    {
        if (encoder < 0) {
            return fail("no frame reached ffmpeg");
        }
        close_pipe();
        const int encoded =
            capture_timed_children(CaptureStep::encoder, [this] { return wait_for(std::exchange(encoder, -1)); });
        if (!succeeded(encoded)) {
            return fail("ffmpeg failed while encoding the video (" + describe(encoded) + ")");
        }
        const bool done = capture_timed_children(CaptureStep::sound, [this] { return finish_sound(); });
        remove_temporaries();
        return done;
    }

    bool commit() override { return output.commit() || fail(output.error()); }

    void abandon() override
    {
        close_pipe();
        if (encoder > 0) {
            kill(encoder, SIGTERM);
            wait_for(std::exchange(encoder, -1));
        }
        if (sound) {
            sound->abandon();
        }
        remove_temporaries();
        output.discard();
    }

private:
    // The sound file completed, encoded (brought to the target loudness when
    // asked) and put together with the picture into the output.
    bool finish_sound()
    {
        if (!sound->finish() || !sound->commit()) {
            return fail(sound->error());
        }
        std::string error;
        const bool sound_ready = normalise ? encode_normalised(sound_file, aac_file, error)
                                           : run_ffmpeg(sound_arguments(sound_file, "", aac_file),
                                                        "ffmpeg failed while encoding the sound", nullptr, error);
        return (sound_ready && run_ffmpeg(mux_arguments(video_file, aac_file, output.path()),
                                          "ffmpeg could not write " + path(), nullptr, error)) ||
               fail(error);
    }

    bool start()
    {
        // Stage the output now, so that a wrong path shows before minutes of rendering.
        if (!output.open(path())) {
            return fail(output.error());
        }
        std::string error;
        video_file = temporary_file(".mp4", error);
        sound_file = video_file.empty() ? "" : temporary_file(".wav", error);
        aac_file = sound_file.empty() ? "" : temporary_file(".m4a", error);
        if (aac_file.empty()) {
            return fail(error);
        }
        sound = capture_wav_new(sound_file);
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) {
            return fail(std::string("cannot make a pipe to ffmpeg: ") + strerror(errno));
        }
        widen(ends[1]);
        encoder = spawn_ffmpeg(encode_arguments(layout, video_file), ends[0], -1, error);
        close(ends[0]);
        pipe_fd = ends[1];
        return encoder > 0 || fail(error);
    }

    // Up to a whole frame in the pipe at once, as far as the system allows,
    // instead of a wake-up of each side for every 64 KiB.
    void widen(int pipe) const
    {
        constexpr size_t default_pipe = 64 * 1024;
        size_t size = std::min<size_t>(capture_yuv420_size(layout), INT32_MAX);
        while (size > default_pipe && fcntl(pipe, F_SETPIPE_SZ, static_cast<int>(size)) < 0) {
            size /= 2;
        }
    }

    bool encoder_lost()
    {
        const int reason = errno;
        close_pipe();
        const int ended = wait_for(std::exchange(encoder, -1));
        return fail(reason == EPIPE ? "ffmpeg stopped while encoding the video (" + describe(ended) + ")"
                                    : std::string("cannot send frames to ffmpeg: ") + strerror(reason));
    }

    void close_pipe()
    {
        if (pipe_fd >= 0) {
            close(std::exchange(pipe_fd, -1));
        }
    }

    void remove_temporaries()
    {
        capture_remove_partial(video_file);
        capture_remove_partial(sound_file);
        capture_remove_partial(aac_file);
    }

    pid_t encoder = -1;
    int pipe_fd = -1;
    std::string video_file;
    std::string sound_file;
    std::string aac_file;
    bool normalise;
    CaptureLayout layout;
    std::vector<uint8_t> planes;  // the frame as sent: kept, so its border is drawn once
    std::unique_ptr<CaptureSink> sound;
    CaptureStage output;
};

}  // namespace

std::unique_ptr<CaptureSink> capture_video_new(const std::string& path, bool normalise, const CaptureLayout& layout)
{
    return std::make_unique<VideoSink>(path, normalise, layout);
}
