// MUSIC: the self-mixing loop sequencer.
#include "music.h"

#include "array.h"
#include "audio.h"
#include "sample.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

[[gnu::used]] static const char* const music_id[] = {"CODE", "C", "Tobrenko", "20101104", "MUSIC"};

uint8_t music_debug = 0;

namespace {

constexpr int32_t update_period = 300;
constexpr int32_t queue_depth = 4;

// Working space of the updates, shared by every Music and kept for the run.
Sample* scratch = nullptr;

// A cleared scratch Sample with `count` values, or null when it can't be had.
Sample* ready_scratch(int32_t count)
{
    if (scratch && scratch->count != count) {
        sample_free(&scratch);
    }
    if (!scratch) {
        scratch = sample_new();
        sample_set_count(scratch, count);
    }
    if (!scratch || !scratch->data || scratch->count != count) {
        return nullptr;
    }
    sample_clear(scratch);
    return scratch;
}

// One of the 16 steps of the loop, each equally likely: four coin flips
// worth n/8, n/16, n/2 and n/4, drawn in that order.
int32_t random_offset(int32_t n)
{
    const int32_t eighth = (rand() % 2) * (n / 8);
    const int32_t sixteenth = (rand() % 2) * (n / 16);
    const int32_t half = (rand() % 2) * (n / 2);
    const int32_t quarter = (rand() % 2) * (n / 4);
    return eighth + sixteenth + half + quarter;
}

// block = floor((3 * block + wave placed at offset) / 4)
void mix_into_block(Sample* block, Sample* placed, const Sample* wave, int32_t offset)
{
    sample_add(placed, wave);
    sample_rotate_right(placed, offset);
    sample_add(placed, block);
    sample_shl(block, 1);
    sample_add(block, placed);
    sample_sar(block, 2);
}

void update(Music* music)
{
    Sample* placed = ready_scratch(music->block->count);
    if (!placed || !music->waves || music->waves->count <= 0) {
        return;
    }
    const int32_t index = rand() % music->waves->count;
    const int32_t offset = random_offset(music->block->count);
    const auto* wave = static_cast<const Sample*>(array_get(music->waves, index));
    if (wave) {
        mix_into_block(music->block, placed, wave, offset);
    }
}

}  // namespace

void music_error()
{
    if (music_debug) {
        puts("MUSIC ERROR");
    }
}

Music* music_new()
{
    auto* music = static_cast<Music*>(calloc(1, sizeof(Music)));
    if (!music) {
        return nullptr;
    }
    music->block = sample_new();
    sample_set_count(music->block, music_loop_length);
    music->period = update_period;
    music->waves = array_new();
    if (!music->block || music->block->count != music_loop_length || !music->waves) {
        music_free(&music);
    }
    return music;
}

void music_add_wave(Music* music, Sample* wave)
{
    if (music && wave && music->waves) {
        array_append(music->waves, wave);
    }
}

void music_tick(Music* music)
{
    if (!music) {
        return;
    }
    music->countdown -= 1;
    if (music->countdown > 0) {
        return;
    }
    music->countdown = music->period;
    if (music->block) {
        update(music);
    }
}

// The lock keeps the callback from hearing the block halfway through an
// update (two and three times its values) or the queue halfway through a change.
void music_step(Music* music, AudioOut* audio)
{
    if (!audio) {
        music_tick(music);
        return;
    }
    SDL_LockAudio();
    music_tick(music);
    const int32_t queued = audio->queue ? audio->queue->count : 0;
    if (music && queued < queue_depth) {
        audio_queue(audio, music->block);
    }
    SDL_UnlockAudio();
}

// The wave bank is the caller's (the program hands in the static wave
// table), so only the references are dropped with the list.
void music_free(Music** music)
{
    if (!music || !*music) {
        music_error();
        return;
    }
    sample_free(&(*music)->block);
    if ((*music)->waves) {
        array_free(&(*music)->waves);
    }
    free(*music);
    *music = nullptr;
}
