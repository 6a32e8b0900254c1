// The music under the running demo, through the SDL stand-in: what the sound
// device plays from the first frame on, and a demo without a device.
#include "array.h"
#include "audio.h"
#include "demo_child.h"
#include "parts.h"
#include "waves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>

namespace {

constexpr uint32_t demo_seed = 0xFACE5718;
constexpr int32_t loop_length = 40000;
// 5 x 50 frames at 50 per second: 5 s of virtual time, all of it before the
// second update of the loop (frame 301).
constexpr uint64_t frames_per_part = 50;
constexpr size_t five_seconds = 5 * 44100;

struct DemoRun {
    uint64_t frames_hash = 0;
    uint64_t deepest_queue = 0;
    bool had_device = false;
    std::vector<int16_t> sound;
};

// Every present follows the previous frame's music step, so watching the
// queue at presents sees the deepest it ever gets.
void note_queue_depth(const uint32_t*, int32_t, int32_t, void* deepest)
{
    const uint64_t depth = audio && audio->queue ? static_cast<uint64_t>(audio->queue->count) : 0;
    auto* most = static_cast<uint64_t*>(deepest);
    *most = std::max(*most, depth);
}

// demo_init, then the first frames of every part of the ring (SPACE ends each).
std::vector<uint64_t> run_ring_briefly(bool device)
{
    standin_reset();
    standin_fail_audio(!device);
    uint64_t deepest = 0;
    standin_on_present(note_queue_depth, &deepest);
    demo_init();
    for (auto part : {part_tiles_run, part_bubbles_run, part_spirals_run, part_hearts_run, part_bobs_run}) {
        standin_tap(standin_presents() + fade + frames_per_part, SDLK_SPACE);
        part();
    }
    std::vector<uint64_t> words = {standin_frames_hash(), deepest, audio != nullptr};
    for (int16_t value : standin_audio()) {
        words.push_back(static_cast<uint16_t>(value));
    }
    return words;
}

DemoRun run_in_fresh_demo(bool device)
{
    const std::vector<uint64_t> words = run_in_child([device] { return run_ring_briefly(device); });
    DemoRun run;
    if (words.size() >= 3) {
        run.frames_hash = words[0];
        run.deepest_queue = words[1];
        run.had_device = words[2] != 0;
        for (size_t i = 3; i < words.size(); ++i) {
            run.sound.push_back(static_cast<int16_t>(words[i]));
        }
    }
    return run;
}

struct FirstUpdate {
    std::vector<uint64_t> draws;  // the five rand numbers it will take
    uint64_t values_played = 0;   // sound played before it
};

// The first frame's present is the last step before its music step, so a
// present hook sees the generator and the sound exactly as the update will.
void peek_first_update(const uint32_t*, int32_t, int32_t, void* user)
{
    auto* first = static_cast<FirstUpdate*>(user);
    if (standin_presents() == fade + 1) {
        for (int32_t draw = 0; draw < 5; ++draw) {
            first->draws.push_back(static_cast<uint64_t>(rand()));
        }
        first->values_played = standin_audio().size();
    }
}

FirstUpdate first_update_of_fresh_demo()
{
    const std::vector<uint64_t> words = run_in_child([] {
        standin_reset();
        FirstUpdate first;
        standin_on_present(peek_first_update, &first);
        demo_init();
        standin_tap(fade + 1, SDLK_SPACE);
        part_tiles_run();
        first.draws.push_back(first.values_played);
        return first.draws;
    });
    if (words.size() != 6) {
        return {};
    }
    return {{words.begin(), words.begin() + 5}, words[5]};
}

// A silent loop after one update: the drawn wave at a quarter of its level
// (rounded down), starting at the drawn step and wrapping past the end.
std::vector<int16_t> loop_after(const std::vector<uint64_t>& draws)
{
    const Sample& wave = wave_table[draws[0] % static_cast<uint64_t>(wave_count)];
    const uint64_t step = 2 * (draws[1] % 2) + draws[2] % 2 + 8 * (draws[3] % 2) + 4 * (draws[4] % 2);
    const uint64_t start = step * loop_length / 16;
    std::vector<int16_t> loop(loop_length, 0);
    for (int32_t i = 0; i < wave.count; ++i) {
        loop[(start + static_cast<uint64_t>(i)) % loop_length] = static_cast<int16_t>(std::floor(wave.data[i] / 4.0));
    }
    return loop;
}

// Where the five draws stand in the sequence of the demo's seed; -1 if not in its first million.
int64_t position_in_seeded_sequence(const std::vector<uint64_t>& draws)
{
    srand(demo_seed);
    std::vector<uint64_t> window;
    for (int64_t drawn = 0; drawn < 1000000; ++drawn) {
        window.push_back(static_cast<uint64_t>(rand()));
        if (window.size() > draws.size()) {
            window.erase(window.begin());
        }
        if (window == draws) {
            return drawn + 1 - static_cast<int64_t>(draws.size());
        }
    }
    return -1;
}

}  // namespace

TEST(MusicPath, TheFirstLoopPlaysFromTheFirstFrameWithoutAGap)
{
    const FirstUpdate first = first_update_of_fresh_demo();
    ASSERT_EQ(first.draws.size(), 5u);
    EXPECT_GE(position_in_seeded_sequence(first.draws), 0) << "the music draws from the demo's one seed";

    const DemoRun run = run_in_fresh_demo(true);
    ASSERT_GE(run.sound.size(), five_seconds);
    const std::vector<int16_t> loop = loop_after(first.draws);
    ASSERT_NE(std::count(loop.begin(), loop.end(), 0), loop_length);
    for (size_t at = 0; at < run.sound.size(); ++at) {
        const int16_t expected = at < first.values_played ? 0 : loop[(at - first.values_played) % loop_length];
        ASSERT_EQ(run.sound[at], expected) << "value " << at << ", the loop starts at " << first.values_played;
    }
    EXPECT_EQ(run.deepest_queue, 4u);
}

// Sameness between runs with a device is the ring test's.
TEST(MusicPath, WithoutADeviceTheDemoShowsTheSameFramesInSilence)
{
    const DemoRun first = run_in_fresh_demo(true);
    const DemoRun silent = run_in_fresh_demo(false);
    ASSERT_TRUE(first.had_device);
    ASSERT_GE(first.sound.size(), five_seconds);
    EXPECT_FALSE(silent.had_device);
    EXPECT_TRUE(silent.sound.empty());
    EXPECT_EQ(silent.frames_hash, first.frames_hash);
    EXPECT_EQ(silent.deepest_queue, 0u);
}
