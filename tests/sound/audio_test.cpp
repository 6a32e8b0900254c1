#include "array.h"
#include "audio.h"
#include "sample_values.h"
#include "sdl_standin.h"

#include <gtest/gtest.h>

#include <numeric>

using V = std::vector<int32_t>;

namespace {

constexpr uint8_t untouched = 0xAA;
constexpr int32_t unwritten = -99999;

// Runs the callback over `values` 16-bit slots prefilled with a marker and
// reads them back; slots it left alone read as `unwritten`.
V pull(AudioOut* audio, int32_t values)
{
    std::vector<uint8_t> stream(2 * values, untouched);
    audio_callback(audio, stream.data(), static_cast<int>(stream.size()));
    V heard;
    for (size_t at = 0; at < stream.size(); at += 2) {
        const int32_t bits = stream[at] | stream[at + 1] << 8;
        heard.push_back(bits == 0xAAAA ? unwritten : static_cast<int16_t>(bits));
    }
    return heard;
}

struct AudioCallback : testing::Test {
    AudioOut audio{44100, 16, 0, array_new(), 's', 'l', 0};
    ~AudioCallback() override { array_free(&audio.queue); }
};

}  // namespace

TEST_F(AudioCallback, PlaysTheQueueBackToBackAcrossBuffers)
{
    SamplePtr a = make_sample({1, 2, 3, 4, 5});
    SamplePtr b = make_sample({-1, -2, -3});
    for (Sample* sample : {a.get(), b.get(), a.get(), static_cast<Sample*>(nullptr)}) {
        audio_queue(&audio, sample);
    }
    EXPECT_EQ(pull(&audio, 6), V({1, 2, 3, 4, 5, -1}));
    EXPECT_EQ(pull(&audio, 6), V({-2, -3, 1, 2, 3, 4}));
    EXPECT_EQ(pull(&audio, 3), V({5, unwritten, unwritten}));
    EXPECT_EQ(audio.queue->count + audio.play_position, 0);
    EXPECT_EQ(pull(&audio, 1), V({unwritten}));
    audio_queue(&audio, b.get());
    EXPECT_EQ(pull(&audio, 2), V({-1, -2}));
}

TEST_F(AudioCallback, WrapsToSixteenBitsAndRefusesOddArguments)
{
    SamplePtr wide = make_sample({32768, -1, 65537, -32769});
    SamplePtr empty(sample_new());
    SamplePtr one = make_sample({7, 8, 9});
    for (Sample* sample : {wide.get(), empty.get(), one.get()}) {
        audio_queue(&audio, sample);
    }
    std::vector<uint8_t> stream(9, untouched);
    audio_callback(&audio, stream.data(), 9);
    EXPECT_EQ(stream, std::vector<uint8_t>({0x00, 0x80, 0xFF, 0xFF, 0x01, 0x00, 0xFF, 0x7F, untouched}));
    EXPECT_EQ(pull(&audio, 2), V({0, 7}));  // the empty Sample costs one value

    audio_callback(nullptr, stream.data(), 9);
    audio_callback(&audio, nullptr, 9);
    audio_callback(&audio, stream.data(), -4);
    audio_callback(&audio, stream.data(), 1);
    EXPECT_EQ(audio.play_position, 1);
    audio.silence = 1;
    EXPECT_EQ(pull(&audio, 2), V({0, 0}));
    EXPECT_EQ(audio.play_position, 1);
    audio_queue(nullptr, one.get());
}

TEST(AudioDevice, OpensTheRequestedFormatAndPlaysWithoutGaps)
{
    standin_reset();
    AudioOut* audio = audio_open();
    ASSERT_NE(audio, nullptr);
    const SDL_AudioSpec& spec = standin_audio_spec();
    EXPECT_EQ(standin_init_flags(), 0xFFFFu);
    EXPECT_EQ(V({spec.freq, spec.format, spec.channels, spec.samples}), V({44100, 0x8010, 1, 4096}));
    EXPECT_FALSE(standin_audio_paused());
    EXPECT_EQ(V({audio->rate, audio->width, audio->sign, audio->byte_order}), V({44100, 16, 's', 'l'}));

    V ramp(40000);
    std::iota(ramp.begin(), ramp.end(), -20000);
    SamplePtr loop = make_sample(ramp);
    for (int32_t i = 0; i < 4; ++i) {
        audio_queue(audio, loop.get());
    }
    SDL_Delay(3700);  // about 39 buffers of 4096 values
    const std::vector<int16_t>& heard = standin_audio();
    ASSERT_GT(heard.size(), 4u * 40000u);
    for (size_t i = 0; i < heard.size(); ++i) {
        ASSERT_EQ(heard[i], i < 160000 ? ramp[i % 40000] : 0) << "at " << i;
    }
    audio_close(&audio);
    EXPECT_EQ(audio, nullptr);
    EXPECT_FALSE(standin_audio_open());
    EXPECT_TRUE(standin_audio_paused());
    EXPECT_EQ(standin_audio_lock_depth(), 0);

    standin_fail_audio(true);
    EXPECT_EQ(audio_open(), nullptr);
}
