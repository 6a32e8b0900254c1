// KELP4090: reads its few options, builds everything once, then runs the
// five parts in a ring until an exit key ends the process.
#include "demo.h"
#include "ring.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int usage_error = 2;

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    if (!demo_parse_options(argc, argv, demo_options, error)) {
        fprintf(stderr, "KELP4090: %s\n%s", error.c_str(), demo_usage());
        return usage_error;
    }
    if (demo_options.help) {
        fputs(demo_help(), stdout);
        return EXIT_SUCCESS;
    }
    // SDL 1.2 falls back to text-console drivers when X11 fails, which fill
    // the terminal and never end: X11 only, unless the user chose a driver.
    const char* chosen_driver = getenv("SDL_VIDEODRIVER");
    if (!chosen_driver || !*chosen_driver) {
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
    demo_init();
    for (;;) {
        ring_run_pass();
    }
}
