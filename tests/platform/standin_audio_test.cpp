// The stand-in's audio device: buffers come due with virtual time, start
// paused, wait for the audio lock and stop at close.
#include "sdl_standin.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr size_t buffer_values = 4096;
int32_t lock_depth_in_callback = -1;

// Writes 0, 1, 2, ... across buffers, so order and gaps show.
void count_up(void* userdata, Uint8* stream, int len)
{
    auto* next = static_cast<int32_t*>(userdata);
    for (int i = 0; i + 1 < len; i += 2, ++*next) {
        stream[i] = static_cast<Uint8>(*next & 0xFF);
        stream[i + 1] = static_cast<Uint8>((*next >> 8) & 0xFF);
    }
    lock_depth_in_callback = standin_audio_lock_depth();
}

}  // namespace

TEST(StandinAudio, BuffersComeDueAsVirtualTimePassesAndRecordTheCallbackInOrder)
{
    standin_reset();
    int32_t next = 0;
    SDL_AudioSpec spec{44100, AUDIO_S16LSB, 1, 0, 4096, 0, 0, count_up, &next};  // mono 16-bit, 4096 a buffer
    ASSERT_EQ(SDL_Init(SDL_INIT_EVERYTHING), 0);
    ASSERT_EQ(SDL_OpenAudio(&spec, nullptr), 0);
    EXPECT_EQ(SDL_OpenAudio(&spec, nullptr), -1);
    EXPECT_TRUE(standin_audio_paused());

    SDL_Delay(40959);  // buffer 441 is due at exactly 40.96 s
    EXPECT_EQ(standin_audio().size(), 441 * buffer_values);
    EXPECT_TRUE(std::all_of(standin_audio().begin(), standin_audio().end(), [](int16_t v) { return v == 0; }));
    EXPECT_EQ(next, 0);

    SDL_PauseAudio(0);
    SDL_Delay(1);
    ASSERT_EQ(standin_audio().size(), 442 * buffer_values);
    EXPECT_EQ(standin_audio()[441 * buffer_values], 0);
    EXPECT_EQ(standin_audio().back(), 4095);
    EXPECT_EQ(lock_depth_in_callback, 1);

    SDL_LockAudio();
    SDL_LockAudio();
    SDL_Delay(200);  // two buffers come due but wait for the lock
    SDL_UnlockAudio();
    EXPECT_EQ(standin_audio_lock_depth(), 1);
    EXPECT_EQ(standin_audio().size(), 442 * buffer_values);
    SDL_UnlockAudio();
    EXPECT_EQ(standin_audio_lock_depth(), 0);
    ASSERT_EQ(standin_audio().size(), 444 * buffer_values);
    EXPECT_EQ(standin_audio().back(), 3 * 4096 - 1);

    SDL_CloseAudio();
    SDL_Delay(1000);
    EXPECT_FALSE(standin_audio_open());
    EXPECT_EQ(standin_audio().size(), 444 * buffer_values);
}
