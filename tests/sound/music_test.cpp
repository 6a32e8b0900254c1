#include "array.h"
#include "audio.h"
#include "music.h"
#include "sample_values.h"
#include "sdl_standin.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int32_t wave_length = 11025;

// Wave k: a ramp tagged by k, so each placed value tells its wave and index.
SamplePtr make_wave(int32_t k)
{
    std::vector<int32_t> values(wave_length);
    for (int32_t i = 0; i < wave_length; ++i) {
        values[i] = (k + 1) * 20000 - i - 4;
    }
    return make_sample(values);
}

struct Draw {
    int32_t wave;
    int32_t offset;
};

// What the next update will draw after srand(seed): wave, then four coin flips.
Draw predict(uint32_t seed, int32_t waves)
{
    srand(seed);
    const int32_t wave = rand() % waves;
    const int32_t eighth = rand() % 2, sixteenth = rand() % 2, half = rand() % 2, quarter = rand() % 2;
    return {wave, eighth * 5000 + sixteenth * 2500 + half * 20000 + quarter * 10000};
}

}  // namespace

TEST(Music, PlacesTheDrawnWaveAtTheDrawnStep)
{
    SamplePtr waves[3] = {make_wave(0), make_wave(1), make_wave(2)};
    for (int32_t offset : {0, 37500}) {
        Music* music = music_new();
        for (auto& wave : waves) {
            music_add_wave(music, wave.get());
        }
        uint32_t seed = 1;
        while (predict(seed, 3).offset != offset) {
            ++seed;
        }
        const Sample* wave = waves[predict(seed, 3).wave].get();
        srand(seed);
        music_tick(music);
        for (int32_t j = 0; j < music_loop_length; ++j) {
            const int32_t at = (j - offset + music_loop_length) % music_loop_length;
            const int32_t placed = at < wave_length ? wave->data[at] : 0;
            ASSERT_EQ(music->block->data[j], placed >> 2) << "offset " << offset << " at " << j;
        }
        music_free(&music);
    }
}

TEST(Music, UpdatesOnTheFirstTickThenEveryThreeHundredFadingOldContent)
{
    Music* music = music_new();
    EXPECT_EQ(music->block->count, 40000);
    const int32_t old[] = {1000, -1000, -1, 1};
    for (int32_t j = 0; j < 4; ++j) {
        sample_set(music->block, old[j], j);
    }
    music_tick(music);
    EXPECT_EQ(sample_get(music->block, 0), 1000);  // no waves: the loop stays
    EXPECT_EQ(music->countdown, 300);

    Sample silent{wave_length, wave_length, static_cast<int32_t*>(calloc(wave_length, 4))};
    music_add_wave(music, &silent);
    music_add_wave(music, nullptr);
    EXPECT_EQ(music->waves->count, 1);
    music->countdown = 1;
    music_tick(music);
    SamplePtr head(sample_slice(music->block, 0, 5));
    EXPECT_EQ(values_of(head.get()), std::vector<int32_t>({750, -750, -1, 0, 0}));

    SamplePtr wave = make_wave(0);
    music_add_wave(music, wave.get());
    SamplePtr before(sample_copy(music->block));
    for (int32_t i = 0; i < 299; ++i) {
        music_tick(music);
    }
    EXPECT_TRUE(sample_equal(before.get(), music->block));
    music_tick(music);
    EXPECT_FALSE(sample_equal(before.get(), music->block));

    music_free(&music);
    EXPECT_EQ(music, nullptr);
    free(silent.data);  // the Music never releases its waves
}

TEST(MusicStep, QueuesAtMostFourReferencesUnderTheLock)
{
    standin_reset();
    Music* music = music_new();
    SamplePtr wave = make_wave(0);
    music_add_wave(music, wave.get());
    music_step(music, nullptr);
    EXPECT_EQ(music->countdown, 300);

    music->countdown = 0;
    std::fill(music->block->data, music->block->data + music_loop_length, 1000);
    AudioOut* audio = audio_open();
    ASSERT_NE(audio, nullptr);
    music_step(music, audio);
    // The first buffer falls due at once and is played at the unlock: it
    // hears the updated loop, never the old values or an empty queue.
    const std::vector<int16_t>& heard = standin_audio();
    ASSERT_EQ(heard.size(), 4096u);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), music->block->data));
    EXPECT_NE(heard[0], 1000);
    EXPECT_EQ(standin_audio_lock_depth(), 0);

    for (int32_t frame = 0; frame < 5; ++frame) {
        music_step(music, audio);
    }
    EXPECT_EQ(audio->queue->count, 4);
    array_remove(audio->queue, 0);
    music_step(music, audio);
    EXPECT_EQ(audio->queue->count, 4);
    audio_close(&audio);
    music_free(&music);
}
