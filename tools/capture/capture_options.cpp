// Command-line parsing of kelp4090-capture. Every refusal is one line that
// names the argument, so a script that passes a wrong value sees which one.
#include "capture_options.h"

#include "demo.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace {

constexpr int32_t key_space = ' ';
constexpr int32_t key_escape = 27;

bool parse_whole(std::string_view text, int64_t low, int64_t high, int64_t& value)
{
    const char* end = text.data() + text.size();
    int64_t parsed = 0;
    const auto [stop, failure] = std::from_chars(text.data(), end, parsed);
    if (failure != std::errc{} || stop != end || parsed < low || parsed > high) {
        return false;
    }
    value = parsed;
    return true;
}

// Reads a whole number of the given range into `field`, or explains what was wrong.
template <typename Field>
bool apply_number(std::string_view name, std::string_view text, int64_t low, int64_t high, Field& field,
                  std::string& error)
{
    int64_t value = 0;
    if (!parse_whole(text, low, high, value)) {
        error = std::string(name) + ": '" + std::string(text) + "' is not a whole number from " +
                std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    field = static_cast<Field>(value);
    return true;
}

int32_t key_symbol(std::string_view name)
{
    if (name == "space") {
        return key_space;
    }
    if (name == "esc" || name == "escape") {
        return key_escape;
    }
    const bool printable = name.size() == 1 && name[0] > ' ' && name[0] < 127;
    return printable ? name[0] : -1;
}

bool parse_key(std::string_view item, VirtualKey& key)
{
    const size_t colon = item.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    key.symbol = key_symbol(item.substr(colon + 1));
    return key.symbol >= 0 && parse_whole(item.substr(0, colon), 0, capture_max_frames, key.frame);
}

// WIDTHxHEIGHT: even sides (4:2:0 colour), room for the picture at least once.
bool apply_fit(std::string_view text, CaptureOptions& options, std::string& error)
{
    const size_t cross = text.find_first_of("xX");
    int64_t width = 0;
    int64_t height = 0;
    const std::string quoted = "--fit: '" + std::string(text) + "'";
    if (cross == std::string_view::npos || !parse_whole(text.substr(0, cross), 0, INT64_MAX, width) ||
        !parse_whole(text.substr(cross + 1), 0, INT64_MAX, height)) {
        error = quoted + " is not WIDTHxHEIGHT, for example 1920x1080";
    } else if (width % 2 != 0 || height % 2 != 0) {
        error = quoted + " has an odd side; the video's colour needs even sizes";
    } else if (width < screen_width || height < screen_height) {
        error = quoted + " is smaller than the picture, " + std::to_string(screen_width) + "x" +
                std::to_string(screen_height);
    } else if (width > capture_max_side || height > capture_max_side) {
        error = quoted + " is larger than " + std::to_string(capture_max_side) + "x" +
                std::to_string(capture_max_side);
    } else {
        options.fit_width = static_cast<int32_t>(width);
        options.fit_height = static_cast<int32_t>(height);
    }
    return error.empty();
}

bool apply_option(std::string_view name, std::string_view value, CaptureOptions& options, std::string& error)
{
    if (value.empty()) {
        error = std::string(name) + " needs a value";
        return false;
    }
    if (name == "--passes") {
        return apply_number(name, value, 1, capture_max_passes, options.passes, error);
    }
    if (name == "--frames") {
        return apply_number(name, value, 1, capture_max_frames, options.frames, error);
    }
    if (name == "--frame") {
        return apply_number(name, value, 0, capture_max_frames - 1, options.still_frame, error);
    }
    if (name == "--scale") {
        return apply_number(name, value, 1, capture_max_scale, options.scale, error);
    }
    if (name == "--keys") {
        return capture_parse_keys(value, options.keys, error);
    }
    if (name == "--fit") {
        return apply_fit(value, options, error);
    }
    if (name == "-o") {
        options.output = value;
    } else {
        options.wav = value;
    }
    return true;
}

constexpr std::array<std::string_view, 8> valued_options = {"-o",      "--wav",   "--passes", "--frames",
                                                            "--frame", "--scale", "--keys",   "--fit"};

bool takes_value(std::string_view name)
{
    return std::find(valued_options.begin(), valued_options.end(), name) != valued_options.end();
}

bool same_file(const std::string& a, const std::string& b)
{
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::path first = fs::weakly_canonical(fs::absolute(a, failed), failed);
    const fs::path second = fs::weakly_canonical(fs::absolute(b, failed), failed);
    return failed ? a == b : first == second;
}

// A name with an extension must have the one that fits what is written.
bool fits(const std::string& path, std::initializer_list<std::string_view> extensions)
{
    const std::string extension = capture_extension(path);
    return extension.empty() || std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

// Refuses output names that would mislead: a video or a sound under the
// wrong extension, or two outputs in one file.
bool check_names(const CaptureOptions& options, bool still, std::string& error)
{
    if (still && options.output.empty()) {
        error = "--frame needs -o FILE.png or .ppm";
    } else if (still && !capture_is_still_name(options.output)) {
        error = "-o: a still needs a name ending in .png or .ppm";
    } else if (!still && capture_is_still_name(options.output)) {
        error = "-o: '" + options.output + "' is a picture; add --frame N to choose the frame";
    } else if (!options.output.empty() && !options.wav.empty() && same_file(options.output, options.wav)) {
        error = "-o and --wav name the same file '" + options.wav + "'";
    } else if (!still && !fits(options.output, {"mp4", "m4v"})) {
        error = "-o: '" + options.output + "' is no name for a video; end it in .mp4";
    } else if (!fits(options.wav, {"wav"})) {
        error = "--wav: '" + options.wav + "' is no name for a WAV file; end it in .wav";
    }
    return error.empty();
}

// Which frames to render, once all arguments are read: whole passes unless
// a frame count or a still says otherwise.
bool settle_plan(CaptureOptions& options, const std::vector<std::string_view>& given, std::string& error)
{
    const auto was_given = [&given](std::string_view name) {
        return std::find(given.begin(), given.end(), name) != given.end();
    };
    const bool passes_given = was_given("--passes");
    const bool still = options.still_frame >= 0;
    if (was_given("--fit") && was_given("--scale")) {
        error = "--fit and --scale exclude each other: --fit chooses the scale";
    } else if (passes_given && options.frames) {
        error = "--passes and --frames exclude each other";
    } else if (still && (passes_given || options.frames)) {
        error = "--frame renders up to its frame; leave out --passes and --frames";
    } else if (options.output.empty() && options.wav.empty() && !still) {
        error = "nothing to write: give -o FILE, --wav FILE or both";
    } else {
        check_names(options, still, error);
    }
    if (still) {
        options.frames = options.still_frame + 1;
    }
    return error.empty();
}

}  // namespace

bool capture_parse_keys(std::string_view list, std::vector<VirtualKey>& keys, std::string& error)
{
    keys.clear();
    while (!list.empty()) {
        const size_t comma = std::min(list.find(','), list.size());
        const std::string_view item = list.substr(0, comma);
        VirtualKey key{};
        if (!parse_key(item, key)) {
            error = "--keys: '" + std::string(item) + "' is not FRAME:KEY (KEY: space, esc or one character)";
            return false;
        }
        keys.push_back(key);
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return true;
}

std::string capture_extension(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) {
        return "";
    }
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool capture_is_still_name(const std::string& path)
{
    const std::string extension = capture_extension(path);
    return extension == "png" || extension == "ppm";
}

bool capture_parse_options(int argc, const char* const* argv, CaptureOptions& options, std::string& error)
{
    std::vector<std::string_view> given;
    for (int index = 1; index < argc; ++index) {
        std::string_view name = argv[index];
        std::string_view value;
        const size_t equals = name.find('=');
        if (name.starts_with("--") && equals != std::string_view::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        } else if (takes_value(name) && index + 1 < argc) {
            value = argv[++index];
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (name == "--benchmark") {
            options.benchmark = true;
            continue;
        }
        if (name == "--no-normalise") {
            options.normalise = false;
            continue;
        }
        if (name == "--timings") {
            options.timings = true;
            continue;
        }
        if (!takes_value(name)) {
            error = "unknown argument '" + std::string(argv[index]) + "'";
            return false;
        }
        given.push_back(name);
        if (!apply_option(name, value, options, error)) {
            return false;
        }
    }
    if (options.benchmark && argc > 2) {
        error = "--benchmark takes no other argument";
        return false;
    }
    return options.benchmark || settle_plan(options, given, error);
}

const char* capture_usage()
{
    return "Usage: kelp4090-capture [options]\n"
           "Renders the KELP4090 demo, picture and music, into files at exactly 50 frames\n"
           "per second, whatever the machine's speed; needs no display and no sound card.\n"
           "\n"
           "  -o FILE          the video: MP4 with H.264 picture (BT.709) and AAC sound,\n"
           "                   through ffmpeg; with --frame, a still picture (.png or .ppm)\n"
           "  --wav FILE       the sound alone, as a 16-bit mono WAV file at 44100 Hz\n"
           "  --passes K       render K whole passes through the five parts (1-10, default 1)\n"
           "  --frames N       render the first N frames (1-100000) instead of whole passes\n"
           "  --frame N        write frame N (counted from 0) as the still given by -o\n"
           "  --scale S        enlarge every pixel to S x S (1-8, default 4: 1024x1024)\n"
           "  --fit WxH        a W x H video or still, the picture at the largest whole\n"
           "                   scale that fits, centred on black; sides even, 256-8192\n"
           "                   (for video sites: 1920x1080, 3840x2160); not with --scale\n"
           "  --no-normalise   keep the program's own sound level in the video; without it\n"
           "                   the sound is brought to -16 LUFS, true peak at most -1 dBTP\n"
           "                   (--wav always keeps the values the program plays)\n"
           "  --keys LIST      press keys after given frames: FRAME:KEY,... with frames\n"
           "                   counted from 0 including the fades, and KEY one of space, esc\n"
           "                   or one character (a, s, 8, 9, q ...); a key is held until the\n"
           "                   next one in the list is pressed, so it acts once\n"
           "  --timings        at the end, print the time each stage took: drawing,\n"
           "                   conversion, the pipe to ffmpeg, the encoder, the sound\n"
           "  --benchmark      time every part's drawing and the present, unpaced and\n"
           "                   without encoding, and print the figures\n"
           "  -h, --help       show this text\n"
           "\n"
           "Keys pressed during a fade act at the end of the next part's first frame.\n"
           "q or esc fades out and ends the capture; the files are finished as usual.\n"
           "Files are written beside their targets and replace them only once the whole\n"
           "capture succeeded. Exit status: 0 with every file complete, 1 after a failure\n"
           "or Ctrl+C (existing files untouched), 2 for arguments that make no sense.\n"
           "Example: kelp4090-capture -o demo.mp4 --keys 200:8,1500:space\n";
}

CaptureLayout capture_options_layout(const CaptureOptions& options)
{
    return options.fit_width > 0
               ? capture_layout_fit(screen_width, screen_height, options.fit_width, options.fit_height)
               : capture_layout_scaled(screen_width, screen_height, options.scale);
}
