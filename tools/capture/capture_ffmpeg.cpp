// Runs Debian's ffmpeg as a child process and checks how every run ends.
#include "capture_ffmpeg.h"

#include "capture_file.h"
#include "capture_wav.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

// The frames as they lie in memory: 0x00RRGGBB words.
constexpr const char* raw_pixel_format = std::endian::native == std::endian::little ? "bgr0" : "0rgb";

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

// ffmpeg with `input` as its standard input (or nothing to read), or -1.
// It runs in a process group of its own, so Ctrl+C reaches only the capture,
// which then stops it and removes what it wrote.
pid_t spawn_ffmpeg(const Arguments& arguments, int input, std::string& error)
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

Arguments encode_arguments(int32_t width, int32_t height, const std::string& video)
{
    return {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y",
            "-f", "rawvideo", "-pixel_format", raw_pixel_format,
            "-video_size", std::to_string(width) + "x" + std::to_string(height),
            "-framerate", std::to_string(capture_frame_rate), "-i", "pipe:0",
            "-c:v", "libx264", "-preset", "fast", "-crf", "18", "-pix_fmt", "yuv420p",
            "-f", "mp4", file_url(video)};
}

Arguments mux_arguments(const std::string& video, const std::string& sound, const std::string& output)
{
    return {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
            "-i", file_url(video), "-i", file_url(sound), "-map", "0:v", "-map", "1:a",
            "-c:v", "copy", "-c:a", "aac", "-b:a", "128k", "-movflags", "+faststart",
            "-f", "mp4", file_url(output)};
}

class VideoSink final : public CaptureSink {
public:
    using CaptureSink::CaptureSink;

    bool write(const CaptureFrame& frame) override
    {
        if (encoder < 0 && !start(frame.width, frame.height)) {
            return false;
        }
        const size_t size = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height) * sizeof(uint32_t);
        if (!write_all(pipe_fd, reinterpret_cast<const uint8_t*>(frame.pixels), size)) {
            return encoder_lost();
        }
        return sound->write(frame) || fail(sound->error());
    }

    bool finish() override
    {
        if (encoder < 0) {
            return fail("no frame reached ffmpeg");
        }
        close_pipe();
        const int encoded = wait_for(std::exchange(encoder, -1));
        if (!succeeded(encoded)) {
            return fail("ffmpeg failed while encoding the video (" + describe(encoded) + ")");
        }
        if (!sound->finish() || !sound->commit()) {
            return fail(sound->error());
        }
        std::string error;
        const pid_t muxer = spawn_ffmpeg(mux_arguments(video_file, sound_file, output.path()), -1, error);
        if (muxer < 0) {
            return fail(error);
        }
        const int muxed = wait_for(muxer);
        remove_temporaries();
        return succeeded(muxed) || fail("ffmpeg could not write " + path() + " (" + describe(muxed) + ")");
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
    bool start(int32_t width, int32_t height)
    {
        // Stage the output now, so that a wrong path shows before minutes of rendering.
        if (!output.open(path())) {
            return fail(output.error());
        }
        std::string error;
        video_file = temporary_file(".mp4", error);
        sound_file = video_file.empty() ? "" : temporary_file(".wav", error);
        if (sound_file.empty()) {
            return fail(error);
        }
        sound = capture_wav_new(sound_file);
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0) {
            return fail(std::string("cannot make a pipe to ffmpeg: ") + strerror(errno));
        }
        encoder = spawn_ffmpeg(encode_arguments(width, height, video_file), ends[0], error);
        close(ends[0]);
        pipe_fd = ends[1];
        return encoder > 0 || fail(error);
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
    }

    pid_t encoder = -1;
    int pipe_fd = -1;
    std::string video_file;
    std::string sound_file;
    std::unique_ptr<CaptureSink> sound;
    CaptureStage output;
};

}  // namespace

std::unique_ptr<CaptureSink> capture_video_new(const std::string& path)
{
    return std::make_unique<VideoSink>(path);
}
