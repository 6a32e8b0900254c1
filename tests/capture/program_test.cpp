// kelp4090-capture end to end: the MP4 as ffprobe sees it, keys, the exit
// key, stills in both formats and the sound against the stored references,
// and the ways it refuses, fails or is interrupted.
#include "demo.h"
#include "reference.h"
#include "sha256.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace {

// Everything a command prints on its standard output.
std::string output_of(const std::string& command)
{
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t got = 0; pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        text.append(buffer, got);
    }
    if (pipe) {
        pclose(pipe);
    }
    return text;
}

constexpr const char* capture_program = KELP_CAPTURE_PROGRAM;

// A scratch folder per test, removed afterwards.
class CaptureProgram : public testing::Test {
protected:
    void SetUp() override
    {
        std::string name = testing::TempDir() + "capture-XXXXXX";
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        folder = name;
    }

    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string at(const std::string& name) const { return (folder / name).string(); }

    struct Run {
        int status;
        std::string errors;
    };

    Run capture(const std::vector<std::string>& arguments, const std::string& environment = "") const
    {
        std::string command = environment + " " + capture_program;
        for (const std::string& argument : arguments) {
            command += " '" + argument + "'";
        }
        command += " >/dev/null 2>'" + at("errors.txt") + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contents(at("errors.txt"))};
    }

    // Starts the program, waits until it stages its first output in the
    // folder (it is then rendering, its handlers in place), and sends `signal`.
    Run interrupt(const std::vector<std::string>& arguments, int signal) const
    {
        const int errors = open(at("errors.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const int watch = inotify_init1(IN_CLOEXEC);
        inotify_add_watch(watch, folder.c_str(), IN_CREATE);
        std::vector<std::string> words = {capture_program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
        pid_t pid = -1;
        const bool started = posix_spawn(&pid, capture_program, &actions, nullptr, argv.data(), environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        close(errors);
        pollfd created{watch, POLLIN, 0};
        const bool staged = started && poll(&created, 1, 120000) == 1;
        close(watch);
        int status = 0;
        if (started) {
            kill(pid, signal);
            waitpid(pid, &status, 0);
        }
        return {staged && WIFEXITED(status) ? WEXITSTATUS(status) : -1, contents(at("errors.txt"))};
    }

    static std::string contents(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    // key=value lines of ffprobe for one stream of the file.
    static std::map<std::string, std::string> probe(const std::string& path, const char* stream)
    {
        std::istringstream lines(output_of(std::string("ffprobe -v error -count_frames -select_streams ") + stream +
                                           " -show_entries stream=codec_name,r_frame_rate,nb_read_frames,duration,"
                                           "sample_rate,width,height -of default=noprint_wrappers=1 '" + path + "'"));
        std::map<std::string, std::string> fields;
        for (std::string line; std::getline(lines, line);) {
            const size_t equals = line.find('=');
            fields[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
        }
        return fields;
    }

    std::vector<std::string> names_in_folder() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // The RGB bytes of a binary PPM as this program writes it.
    static std::string ppm_pixels(const std::string& path)
    {
        std::istringstream file(contents(path));
        std::string magic;
        int32_t width = 0, height = 0, depth = 0;
        file >> magic >> width >> height >> depth;
        file.get();
        return {std::istreambuf_iterator<char>(file), {}};
    }

    // The RGB bytes of a PNG, as ffmpeg decodes it.
    static std::string png_pixels(const std::string& path)
    {
        return output_of("ffmpeg -v error -i '" + path + "' -f rawvideo -pix_fmt rgb24 -");
    }

    std::filesystem::path folder;
};

}  // namespace

TEST_F(CaptureProgram, ExitKeyFadesOutAndFinishesA50FramesPerSecondVideoWithSoundOfTheSameLength)
{
    const Run run = capture({"--frames", "1000", "--scale", "1", "--keys", "50:q", "-o", at("demo.mp4")},
                            "TMPDIR=" + folder.string());
    ASSERT_EQ(run.status, 0) << run.errors;
    auto video = probe(at("demo.mp4"), "v:0");
    EXPECT_EQ(video["codec_name"], "h264");
    EXPECT_EQ(video["r_frame_rate"], "50/1");
    EXPECT_EQ(video["nb_read_frames"], std::to_string(51 + demo_fade_steps));
    EXPECT_EQ(video["width"], "256");
    EXPECT_NEAR(std::stod(video["duration"]), (51 + demo_fade_steps) / 50.0, 1e-6);
    auto sound = probe(at("demo.mp4"), "a:0");
    EXPECT_EQ(sound["codec_name"], "aac");
    EXPECT_EQ(sound["sample_rate"], "44100");
    EXPECT_NEAR(std::stod(sound["duration"]), std::stod(video["duration"]), 0.02);
    EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"demo.mp4", "errors.txt"})) << "temporary files left";
}

TEST_F(CaptureProgram, FullDiskOrFailingFfmpegGivesAMessageAndLeavesNothingBehind)
{
    const Run sound = capture({"--frames", "20", "--wav", "/dev/full"});
    EXPECT_NE(sound.status, 0);
    EXPECT_NE(sound.errors.find("cannot write /dev/full: No space left on device"), std::string::npos)
        << sound.errors;
    const Run video = capture({"--frames", "5", "--scale", "1", "-o", "/dev/full"}, "TMPDIR=" + folder.string());
    EXPECT_NE(video.status, 0);
    EXPECT_NE(video.errors.find("ffmpeg could not write /dev/full"), std::string::npos) << video.errors;
    struct stat device {};
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));

    std::ofstream(at("ffmpeg")) << "#!/bin/sh\nexit 3\n";
    std::filesystem::permissions(at("ffmpeg"), std::filesystem::perms::owner_all);
    const Run run = capture({"--frames", "50", "--scale", "1", "-o", at("broken.mp4")},
                            "PATH=" + folder.string() + ":$PATH TMPDIR=" + folder.string());
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("ffmpeg stopped while encoding the video (exit status 3)"), std::string::npos)
        << run.errors;
    EXPECT_EQ(names_in_folder(), (std::vector<std::string>{"errors.txt", "ffmpeg"})) << "temporary files left";
}

// A long capture says where it is every few seconds ("frame 250 of 5215,
// ..."); those lines are not messages.
static int64_t message_lines(const std::string& errors)
{
    std::istringstream lines(errors);
    int64_t count = 0;
    for (std::string line; std::getline(lines, line);) {
        long long frame = 0, total = 0;
        char comma = 0;
        const bool progress =
            sscanf(line.c_str(), "kelp4090-capture: frame %lld of %lld%c", &frame, &total, &comma) == 3 && comma == ',';
        count += progress ? 0 : 1;
    }
    return count;
}

TEST_F(CaptureProgram, FailedRefusedOrInterruptedCaptureKeepsWhatWasThere)
{
    struct Case {
        int signal;  // sent once the capture has staged its first output; 0: none
        std::vector<std::string> arguments;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {0, {"--frames", "20", "--scale", "1", "-o", at("keep.mp4"), "--wav", at("nodir/x.wav")}, 1, "nodir/x.wav"},
        {0, {"--frame", "100", "-o", at("keep.png"), "--wav", at("keep.wav"), "--keys", "2:q"}, 1, "never shown"},
        {SIGTERM, {"-o", at("keep.mp4"), "--wav", at("keep.wav")}, 1, "interrupted"},
        {SIGINT, {"--scale", "1", "-o", at("keep.mp4")}, 1, "interrupted"},
        {0, {"-o", at("keep"), "--wav", folder.string() + "/./keep"}, 2, "-o and --wav name the same file"},
        {0, {"--frames", "5", "-o", at("keep.wav")}, 2, "is no name for a video"},
        {0, {"--scale", "0", "-o", at("new.mp4")}, 2,
         "kelp4090-capture: --scale: '0' is not a whole number from 1 to 8 (see --help)\n"},
    };
    const std::vector<std::string> kept = {"keep", "keep.mp4", "keep.png", "keep.wav"};
    for (const Case& test : cases) {
        for (const std::string& name : kept) {
            std::ofstream(at(name)) << "precious";
        }
        const Run run = test.signal ? interrupt(test.arguments, test.signal) : capture(test.arguments);
        EXPECT_EQ(run.status, test.status) << test.message;
        EXPECT_NE(run.errors.find(test.message), std::string::npos) << run.errors;
        EXPECT_EQ(message_lines(run.errors), 1) << run.errors;
        for (const std::string& name : kept) {
            EXPECT_EQ(contents(at(name)), "precious") << name << " after " << test.message;
        }
        std::vector<std::string> expected = {"errors.txt"};
        expected.insert(expected.end(), kept.begin(), kept.end());
        EXPECT_EQ(names_in_folder(), expected) << "temporary files left after " << test.message;
    }
}

// SHA-256 of RGB bytes as the references hash a frame: 0x00RRGGBB values, low byte first.
static std::string frame_digest(const std::string& rgb)
{
    std::vector<uint32_t> pixels(rgb.size() / 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        const auto channel = [&](size_t k) { return uint32_t{static_cast<uint8_t>(rgb[3 * i + k])}; };
        pixels[i] = channel(0) << 16 | channel(1) << 8 | channel(2);
    }
    Sha256 hash = sha256_begin();
    sha256_add_le(hash, std::span<const uint32_t>(pixels));
    return sha256_hex(hash);
}

// The RGB bytes of a `side` x `side` frame from those of its enlargement
// by `scale`, or nothing when a block is not of one colour.
static std::string reduced(const std::string& rgb, size_t side, size_t scale)
{
    const size_t wide = side * scale;
    if (rgb.size() != 3 * wide * wide) {
        return "";
    }
    std::string frame;
    for (size_t y = 0; y < wide; ++y) {
        for (size_t x = 0; x < wide; ++x) {
            const size_t corner = 3 * (y / scale * scale * wide + x / scale * scale);
            if (rgb.compare(3 * (y * wide + x), 3, rgb, corner, 3) != 0) {
                return "";
            }
            if (y % scale == 0 && x % scale == 0) {
                frame += rgb.substr(corner, 3);
            }
        }
    }
    return frame;
}

// A still enlarged 3 times as PPM, the first keyed run's still as PNG, and
// the first 600 frames' sound.
TEST_F(CaptureProgram, StillsAndSoundAreAsStored)
{
    const References frames = reference_read(reference_path("frames.txt"));
    ASSERT_EQ(capture({"--frame", "600", "--scale", "3", "-o", at("600.ppm")}).status, 0);
    EXPECT_EQ(frame_digest(reduced(ppm_pixels(at("600.ppm")), 256, 3)), reference_find(frames, "frame 600"));

    const auto keyed = std::find_if(frames.begin(), frames.end(), [](const Reference& reference) {
        return reference.name.find(" keys ") != std::string::npos;
    });
    ASSERT_NE(keyed, frames.end());
    std::istringstream name(keyed->name);  // frame N keys LIST
    std::string word, frame, keys;
    name >> word >> frame >> word >> keys;
    ASSERT_EQ(capture({"--frame", frame, "--keys", keys, "--scale", "1", "-o", at("keyed.png")}).status, 0);
    EXPECT_EQ(frame_digest(png_pixels(at("keyed.png"))), keyed->sha256) << keyed->name;

    ASSERT_EQ(capture({"--frames", "600", "--wav", at("600.wav")}).status, 0);
    const std::string wav = contents(at("600.wav"));
    ASSERT_GT(wav.size(), 44u);
    EXPECT_EQ(sha256_of({reinterpret_cast<const uint8_t*>(wav.data()) + 44, wav.size() - 44}),
              reference_find(reference_read(reference_path("sound.txt")), "sound frames 0-599"));
}

// Integrated loudness (LUFS) and true peak (dBTP) of a file's sound, as ffmpeg's ebur128 measures them.
static std::pair<double, double> loudness_of(const std::string& path)
{
    const std::string log = output_of("ffmpeg -nostdin -hide_banner -nostats -i '" + path +
                                      "' -af ebur128=peak=true:framelog=verbose -f null - 2>&1");
    const size_t summary = log.rfind("Summary:");
    if (summary == std::string::npos) {
        return {0, 0};
    }
    return {std::stod(log.substr(log.find("I:", summary) + 2)), std::stod(log.substr(log.find("Peak:", summary) + 5))};
}

static double psnr(const std::string& a, const std::string& b)
{
    double squares = 0;
    for (size_t at = 0; at < std::min(a.size(), b.size()); ++at) {
        const double difference = static_cast<uint8_t>(a[at]) - static_cast<uint8_t>(b[at]);
        squares += difference * difference;
    }
    return a.size() == b.size() && !a.empty() ? 10 * std::log10(255.0 * 255.0 * a.size() / squares) : 0;
}

TEST_F(CaptureProgram, VideoKeepsTheStillsColoursTaggedBt709AndTheSoundLevelWhenAsked)
{
    ASSERT_EQ(capture({"--frames", "300", "--no-normalise", "-o", at("v.mp4"), "--wav", at("v.wav")}).status, 0);
    const std::string tags = output_of("ffprobe -v error -select_streams v:0 -show_entries "
                                       "stream=width,color_space,color_primaries,color_transfer,color_range "
                                       "-of compact=p=0:nk=1 '" + at("v.mp4") + "'");
    EXPECT_EQ(tags, "1024|tv|bt709|bt709|bt709\n");
    // Each 2x2 block of half-resolution colour widened to its own pixels, as the encoder sampled it.
    const std::string decoded = output_of("ffmpeg -v error -i '" + at("v.mp4") +
                                          "' -vf 'select=eq(n\\,100)+eq(n\\,250)' -vsync 0 -f rawvideo -pix_fmt rgb24 "
                                          "-sws_flags neighbor+accurate_rnd+full_chroma_int -");
    const std::string frame = decoded.substr(0, decoded.size() / 2);
    const std::string later = decoded.substr(decoded.size() / 2);
    const std::string ppm = at("still.ppm"), png = at("still.png");  // one still in each format
    for (const auto& [index, pixels, still] : {std::tuple{"100", frame, ppm}, std::tuple{"250", later, png}}) {
        ASSERT_EQ(capture({"--frame", index, "-o", still}).status, 0);
        const std::string shown = still == ppm ? ppm_pixels(ppm) : png_pixels(png);
        EXPECT_GE(psnr(pixels, shown), 40.0) << "frame " << index;
    }
    const auto [video_lufs, video_peak] = loudness_of(at("v.mp4"));
    EXPECT_NEAR(video_lufs, loudness_of(at("v.wav")).first, 0.5);
}

TEST_F(CaptureProgram, VideoSoundIsNormalisedToMinus16Lufs)
{
    ASSERT_EQ(capture({"--frames", "1500", "--scale", "1", "-o", at("n.mp4")}).status, 0);
    const auto [lufs, peak] = loudness_of(at("n.mp4"));
    EXPECT_NEAR(lufs, -16.0, 1.0);
    EXPECT_LE(peak, -1.0);
}

TEST_F(CaptureProgram, FittedVideosCentreThePictureOnBlackAtTheLargestScale)
{
    const auto size_and_tags = [](const std::string& video) {
        return output_of("ffprobe -v error -select_streams v:0 -show_entries stream=width,height,color_space,"
                         "color_primaries,color_transfer,color_range -of compact=p=0:nk=1 '" + video + "'");
    };
    // 3840x2160 holds the picture at 8x; one (black) frame shows the size and tags.
    ASSERT_EQ(capture({"--frames", "1", "--fit", "3840x2160", "--no-normalise", "-o", at("uhd.mp4")}).status, 0);
    EXPECT_EQ(size_and_tags(at("uhd.mp4")), "3840|2160|tv|bt709|bt709|bt709\n");

    // Frame 32, the first of part one: its bricks reach every edge of the picture.
    ASSERT_EQ(capture({"--frame", "32", "--scale", "1", "-o", at("f.ppm")}).status, 0);
    const std::string picture = ppm_pixels(at("f.ppm"));
    ASSERT_EQ(picture.size(), 256u * 256 * 3);
    constexpr size_t width = 1920, height = 1080, scale = 4, left = 448, top = 28;
    const Run run = capture({"--frames", "33", "--fit", "1920x1080", "--no-normalise", "--timings", "-o", at("fit.mp4")});
    ASSERT_EQ(run.status, 0) << run.errors;
    for (const char* stage : {"drawing", "conversion", "pipe", "encoder", "sound"}) {
        EXPECT_NE(run.errors.find(std::string("\n  ") + stage + " "), std::string::npos) << stage << run.errors;
    }
    EXPECT_EQ(size_and_tags(at("fit.mp4")), "1920|1080|tv|bt709|bt709|bt709\n");
    const std::string frame = output_of("ffmpeg -v error -i '" + at("fit.mp4") +
                                        "' -vf 'select=eq(n\\,32)' -vsync 0 -f rawvideo -pix_fmt rgb24 "
                                        "-sws_flags neighbor+accurate_rnd+full_chroma_int -");
    ASSERT_EQ(frame.size(), width * height * 3);
    // The picture, enlarged, where it must be; black around it, but for coding
    // noise within the 16x16 blocks that the picture's edge crosses.
    constexpr size_t side = 256 * scale;
    const auto within = [](size_t at, size_t from, size_t margin) { return at + margin >= from && at < from + side + margin; };
    double squares = 0;
    int brightest_outside = 0;
    for (size_t y = 0; y < height; ++y) {
        for (size_t x = 0; x < width; ++x) {
            const auto* rgb = reinterpret_cast<const uint8_t*>(frame.data() + (y * width + x) * 3);
            if (within(x, left, 0) && within(y, top, 0)) {
                const size_t source = ((y - top) / scale * 256 + (x - left) / scale) * 3;
                for (size_t channel = 0; channel < 3; ++channel) {
                    const double difference = rgb[channel] - static_cast<uint8_t>(picture[source + channel]);
                    squares += difference * difference;
                }
            } else if (!within(x, left, 16) || !within(y, top, 16)) {
                brightest_outside = std::max({brightest_outside, int{rgb[0]}, int{rgb[1]}, int{rgb[2]}});
            }
        }
    }
    EXPECT_GE(10 * std::log10(255.0 * 255.0 * 3.0 * static_cast<double>(side * side) / squares), 40.0);
    EXPECT_LE(brightest_outside, 2);
    const Run odd = capture({"--fit", "1921x1080", "-o", at("odd.mp4")});
    EXPECT_EQ(odd.status, 2);
    EXPECT_EQ(odd.errors, "kelp4090-capture: --fit: '1921x1080' has an odd side; the video's colour needs even "
                          "sizes (see --help)\n");
    EXPECT_FALSE(std::filesystem::exists(at("odd.mp4")));
}
