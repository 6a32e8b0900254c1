// Command line of kelp4090: how big the demo is shown and whether it is heard.
#pragma once

#include <cstdint>
#include <string>

struct DemoOptions {
    int32_t scale = 1;        // --scale N: every pixel an N x N block
    bool fullscreen = false;  // --fullscreen: the whole screen, largest whole scale
    bool mute = false;        // --mute: no sound device is opened
    bool help = false;
};

// Fills `options` from the arguments. Returns false with a one-line reason
// in `error`, naming the argument, when they make no sense.
bool demo_parse_options(int argc, const char* const* argv, DemoOptions& options, std::string& error);
const char* demo_usage();  // the one usage line
const char* demo_help();   // the usage line and what every option does
