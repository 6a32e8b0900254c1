// The music under the running demo, through the SDL stand-in: what the sound
// device plays from the first frame on, and a demo without a device.
#include "array.h"
#include "audio.h"
#include "demo_child.h"
#include "music.h"
#include "parts.h"
#include "ring.h"
#include "waves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace {

// 5 s of virtual time, all before the loop's second update (frame 301).
constexpr uint64_t frames_per_part = 50;
constexpr size_t five_seconds = 5 * 44100;

// The first frames of every part in a fresh child: the frames' hash, the
// deepest the queue got (seen at presents), whether a device opened, then
// every value played.
std::vector<uint64_t> run_ring_briefly(bool device)
{
    return run_in_child([device] {
        standin_reset();
        standin_fail_audio(!device);
        static uint64_t deepest = 0;
        standin_on_present(
            [](const uint32_t*, int32_t, int32_t, void*) {
                deepest = std::max(deepest, audio && audio->queue ? static_cast<uint64_t>(audio->queue->count) : 0);
            },
            nullptr);
        demo_init();
        for (const RingPart& part : ring_parts) {
            standin_tap(standin_presents() + fade + frames_per_part, SDLK_SPACE);
            part.run();
        }
        std::vector<uint64_t> words = {standin_frames_hash(), deepest, audio != nullptr};
        words.insert(words.end(), standin_audio().begin(), standin_audio().end());
        return words;
    });
}

// The five rand numbers the first music update takes, then the number of
// values played before it, seen at the first frame's present.
std::vector<uint64_t> first_update_of_fresh_demo()
{
    return run_in_child([] {
        standin_reset();
        static std::vector<uint64_t> seen;
        standin_on_present(
            [](const uint32_t*, int32_t, int32_t, void*) {
                if (standin_presents() == fade + 1) {
                    for (int32_t draw = 0; draw < 5; ++draw) {
                        seen.push_back(static_cast<uint64_t>(rand()));
                    }
                    seen.push_back(standin_audio().size());
                }
            },
            nullptr);
        demo_init();
        standin_tap(fade + 1, SDLK_SPACE);
        part_tiles_run();
        return seen;
    });
}

// A silent loop after one update: the drawn wave at a quarter of its level
// (rounded down), starting at the drawn step and wrapping past the end.
std::vector<int16_t> loop_after(const std::vector<uint64_t>& draws)
{
    const Sample& wave = wave_table[draws[0] % static_cast<uint64_t>(wave_count)];
    const uint64_t step = 2 * (draws[1] % 2) + draws[2] % 2 + 8 * (draws[3] % 2) + 4 * (draws[4] % 2);
    const uint64_t start = step * music_loop_length / 16;
    std::vector<int16_t> loop(music_loop_length, 0);
    for (int32_t i = 0; i < wave.count; ++i) {
        loop[(start + static_cast<uint64_t>(i)) % music_loop_length] = static_cast<int16_t>(std::floor(wave.data[i] / 4.0));
    }
    return loop;
}

// Where the five draws stand in the sequence of the demo's seed; -1 if not in its first million.
int64_t position_in_seeded_sequence(const std::vector<uint64_t>& draws)
{
    srand(demo_seed);
    std::vector<uint64_t> sequence(1000000);
    std::generate(sequence.begin(), sequence.end(), [] { return static_cast<uint64_t>(rand()); });
    const auto found = std::search(sequence.begin(), sequence.end(), draws.begin(), draws.end());
    return found == sequence.end() ? -1 : found - sequence.begin();
}

}  // namespace

// Sameness between runs with a device is the ring test's.
TEST(MusicPath, TheFirstLoopPlaysFromTheFirstFrameWithoutAGapAndWithoutADeviceInSilence)
{
    const std::vector<uint64_t> first = first_update_of_fresh_demo();
    ASSERT_EQ(first.size(), 6u);
    const std::vector<uint64_t> draws(first.begin(), first.begin() + 5);
    const uint64_t values_played = first[5];
    EXPECT_GE(position_in_seeded_sequence(draws), 0) << "the music draws from the demo's one seed";

    const std::vector<uint64_t> run = run_ring_briefly(true);
    ASSERT_GE(run.size(), 3 + five_seconds);
    EXPECT_EQ(run[1], 4u) << "deepest queue";
    EXPECT_EQ(run[2], 1u) << "device opened";
    const std::vector<int16_t> loop = loop_after(draws);
    ASSERT_NE(std::count(loop.begin(), loop.end(), 0), music_loop_length);
    for (size_t at = 0; at + 3 < run.size(); ++at) {
        const int16_t expected = at < values_played ? 0 : loop[(at - values_played) % music_loop_length];
        ASSERT_EQ(static_cast<int16_t>(run[at + 3]), expected) << "value " << at << ", the loop starts at " << values_played;
    }
    // The same frames, no queue, no device and no sound.
    EXPECT_EQ(run_ring_briefly(false), (std::vector<uint64_t>{run[0], 0, 0}));
}
