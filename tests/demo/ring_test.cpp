// The whole ring of five parts: every part's frames and the sound are the
// same at every run, and each pass carries its state into the next.
#include "demo_child.h"
#include "ring.h"

#include <gtest/gtest.h>

namespace {

// FNV-1a over the frames of the current pass only, every seventh pixel: a
// moving picture changes far more than that.
uint64_t pass_hash = 0;

void fold_frame(const uint32_t* pixels, int32_t width, int32_t height, void*)
{
    for (int32_t i = 0; i < width * height; i += 7) {
        pass_hash = (pass_hash ^ pixels[i]) * 0x100000001B3ull;
    }
}

uint64_t run_pass()
{
    pass_hash = 0xCBF29CE484222325ull;
    ring_run_pass();
    return pass_hash;
}

uint64_t audio_hash()
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (int16_t value : standin_audio()) {
        hash = (hash ^ static_cast<uint16_t>(value)) * 0x100000001B3ull;
    }
    return hash;
}

}  // namespace

TEST(Ring, TwoPassesAreTheSameAtEveryRunAndTheSecondDiffersFromTheFirst)
{
    auto two_passes = [] {
        standin_reset();
        standin_on_present(fold_frame, nullptr);
        demo_init();
        const uint64_t first = run_pass();
        const uint64_t frames = standin_presents();
        const uint64_t second = run_pass();
        return std::vector<uint64_t>{first, second, frames, audio_hash(), standin_frames_hash()};
    };
    const auto run = run_in_child(two_passes);
    ASSERT_EQ(run.size(), 5u);
    EXPECT_EQ(run, run_in_child(two_passes));
    EXPECT_EQ(run[2], 5 * fade + 1001 + 1001 + 1251 + 1001 + 801);
    EXPECT_EQ(static_cast<int64_t>(run[2]), ring_pass_frames());
    EXPECT_NE(run[0], run[1]);  // phases, positions and walks carry on
}
