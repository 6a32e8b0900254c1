// Command-line parsing of kelp4090: --scale N (also --scale=N), --fullscreen,
// --mute and --help; anything else is refused with the argument named.
#include "options.h"

#include "display.h"

#include <charconv>
#include <string_view>

namespace {

bool apply_scale(std::string_view text, DemoOptions& options, std::string& error)
{
    const char* end = text.data() + text.size();
    int32_t scale = 0;
    const auto [stop, failure] = std::from_chars(text.data(), end, scale);
    if (text.empty() || failure != std::errc{} || stop != end || scale < 1 || scale > display_max_scale) {
        error = "--scale: '" + std::string(text) + "' is not a whole number from 1 to " +
                std::to_string(display_max_scale);
        return false;
    }
    options.scale = scale;
    return true;
}

bool apply_argument(std::string_view argument, const char* next, bool& used_next, DemoOptions& options,
                    std::string& error)
{
    if (argument == "--help" || argument == "-h") {
        options.help = true;
    } else if (argument == "--fullscreen") {
        options.fullscreen = true;
    } else if (argument == "--mute") {
        options.mute = true;
    } else if (argument.starts_with("--scale=")) {
        return apply_scale(argument.substr(8), options, error);
    } else if (argument == "--scale") {
        if (!next) {
            error = "--scale needs a number from 1 to " + std::to_string(display_max_scale);
            return false;
        }
        used_next = true;
        return apply_scale(next, options, error);
    } else {
        error = "unknown argument '" + std::string(argument) + "'";
        return false;
    }
    return true;
}

}  // namespace

bool demo_parse_options(int argc, const char* const* argv, DemoOptions& options, std::string& error)
{
    bool scale_given = false;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        bool used_next = false;
        if (!apply_argument(argument, index + 1 < argc ? argv[index + 1] : nullptr, used_next, options, error)) {
            return false;
        }
        scale_given = scale_given || argument.starts_with("--scale");
        index += used_next ? 1 : 0;
    }
    if (scale_given && options.fullscreen) {
        error = "--fullscreen chooses its own scale; leave out --scale";
        return false;
    }
    return true;
}

const char* demo_usage()
{
    return "Usage: kelp4090 [--scale N | --fullscreen] [--mute] [--help]\n";
}

const char* demo_help()
{
    return "Usage: kelp4090 [--scale N | --fullscreen] [--mute] [--help]\n"
           "Shows the KELP4090 demo: five effect parts in a ring over generated music.\n"
           "\n"
           "  --scale N      show every pixel as an N x N block, in a 256N x 256N window\n"
           "                 (1-8, default 1)\n"
           "  --fullscreen   take the whole screen, at the largest whole scale that fits,\n"
           "                 centred on black; a window where fullscreen is refused\n"
           "  --mute         run without sound: no sound device is opened\n"
           "  --help         show this help\n"
           "\n"
           "Keys: ESC or Q ends the demo, SPACE skips to the next part, 8 shows the frame\n"
           "rate, A and S change the speed of the scroll text.\n"
           "The demo opens its window through X11 (DISPLAY); set SDL_VIDEODRIVER to use\n"
           "another of SDL's video drivers.\n";
}
