// The audio output and the music step against a real second thread: a pump
// calls the callback under the recursive mixer lock SDL_LockAudio takes, so a
// ThreadSanitizer build reports any change of the queue or loop outside it.
#include "audio.h"
#include "music.h"
#include "sample_values.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

constexpr int32_t wave_level = 4000;

struct Pump {
    std::recursive_mutex mixer;
    std::thread thread;
    std::atomic<bool> enabled{false};
    std::atomic<bool> paused{true};
    SDL_AudioSpec spec{};
    // Written by the pump thread only, read after it has been joined.
    int64_t values_out_of_range = 0;
    int64_t values_nonzero = 0;
} pump;

// Plays a buffer whenever it gets the lock and otherwise retries, so
// audio_close, which closes the device under the lock, never waits on it.
void run_pump()
{
    std::vector<uint8_t> stream(2 * pump.spec.samples);
    while (pump.enabled) {
        std::fill(stream.begin(), stream.end(), 0);
        if (!pump.paused && pump.mixer.try_lock()) {
            pump.spec.callback(pump.spec.userdata, stream.data(), static_cast<int>(stream.size()));
            pump.mixer.unlock();
            for (size_t at = 0; at < stream.size(); at += 2) {
                const int32_t value = static_cast<int16_t>(stream[at] | stream[at + 1] << 8);
                pump.values_out_of_range += value < 0 || value > wave_level ? 1 : 0;
                pump.values_nonzero += value != 0 ? 1 : 0;
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

}  // namespace

int SDL_Init(Uint32)
{
    return 0;
}

int SDL_OpenAudio(SDL_AudioSpec* desired, SDL_AudioSpec*)
{
    pump.spec = *desired;
    pump.enabled = true;
    pump.thread = std::thread(run_pump);
    return 0;
}

void SDL_PauseAudio(int pause_on)
{
    pump.paused = pause_on != 0;
}

void SDL_LockAudio()
{
    pump.mixer.lock();
}

void SDL_UnlockAudio()
{
    pump.mixer.unlock();
}

void SDL_CloseAudio()
{
    pump.enabled = false;
    pump.thread.join();
}

// With a wave of constant level the loop always lies within 0..level; the
// update passes through twice and three times the old values, which the
// audio thread must never hear.
TEST(AudioThread, TheAudioThreadNeverHearsHalfDoneUpdates)
{
    AudioOut* audio = audio_open();
    ASSERT_NE(audio, nullptr);
    Music* music = music_new();
    SamplePtr wave = make_sample(std::vector<int32_t>(11025, wave_level));
    music_add_wave(music, wave.get());
    music->period = 2;
    for (int32_t frame = 0; frame < 400; ++frame) {
        music_step(music, audio);
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    audio_close(&audio);
    music_free(&music);
    EXPECT_GT(pump.values_nonzero, 0);
    EXPECT_EQ(pump.values_out_of_range, 0);
}
