// Start-up with the demo's options and without a sound device or a
// fullscreen mode, through the SDL stand-in: what opens and the one line said.
#include "demo_child.h"
#include "bytemap.h"
#include "display.h"

#include <gtest/gtest.h>

#include <string>

TEST(StartupOptions, SoundAndFullscreenFallBackWithOneLineEach)
{
    struct Case {
        bool mute, no_sound_device, fullscreen;
        bool audio_opened;
        const char* said;
    };
    const Case cases[] = {
        {false, false, false, true, ""},
        {false, true, false, false, "KELP4090: no sound device, running without sound\n"},
        {true, false, false, false, ""},
        {true, true, false, false, ""},
        {false, false, true, true,
         "KELP4090: no fullscreen here (no fullscreen display mode of at least 256x256), showing a window instead\n"},
    };
    for (const Case& c : cases) {
        const std::vector<uint64_t> seen = run_in_child([&] {
            testing::internal::CaptureStderr();
            standin_reset();
            standin_fail_audio(c.no_sound_device);
            demo_options = {1, c.fullscreen, c.mute, false};
            demo_init();
            const std::string said = testing::internal::GetCapturedStderr();
            const bool window = display && display->width == 256 && screen_width == 256 && screen_map &&
                                screen_map->width == 256 && screen_map->height == 256;
            return std::vector<uint64_t>{standin_audio_open(), said == c.said, window};
        });
        EXPECT_EQ(seen, (std::vector<uint64_t>{c.audio_opened, true, true}))
            << "mute " << c.mute << ", no device " << c.no_sound_device << ", fullscreen " << c.fullscreen;
    }
}
