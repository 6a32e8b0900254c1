// Audio output: device set-up and the callback that drains the queue.
#include "audio.h"

#include "array.h"
#include "sample.h"

#include <SDL.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t init_everything = 0xFFFF;
constexpr int32_t output_width = 16;
constexpr uint16_t output_format = AUDIO_S16LSB;
constexpr uint8_t output_channels = 1;
constexpr uint16_t buffer_values = 4096;

void write_value(uint8_t* out, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    out[0] = static_cast<uint8_t>(bits & 0xFF);
    out[1] = static_cast<uint8_t>((bits >> 8) & 0xFF);
}

// Plays up to n values from the queue into out, dropping each Sample when
// its last value has gone out. Stops early when the queue runs dry.
void play_queue(AudioOut* audio, const Sample* head, uint8_t* out, int32_t n)
{
    for (int32_t i = 0; i < n; ++i) {
        write_value(out + 2 * i, sample_get(head, audio->play_position));
        audio->play_position += 1;
        if (audio->play_position >= head->count) {
            array_remove(audio->queue, 0);
            audio->play_position = 0;
            if (audio->queue->count <= 0) {
                return;
            }
            head = static_cast<const Sample*>(array_get(audio->queue, 0));
            if (!head) {
                return;
            }
        }
    }
}

}  // namespace

AudioOut* audio_open()
{
    if (SDL_Init(init_everything) != 0) {
        return nullptr;
    }
    auto* audio = static_cast<AudioOut*>(calloc(1, sizeof(AudioOut)));
    if (!audio) {
        return nullptr;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = audio_output_rate;
    wanted.format = output_format;
    wanted.channels = output_channels;
    wanted.samples = buffer_values;
    wanted.callback = audio_callback;
    wanted.userdata = audio;
    if (SDL_OpenAudio(&wanted, nullptr) < 0) {
        free(audio);
        return nullptr;
    }
    audio->rate = audio_output_rate;
    audio->width = output_width;
    audio->sign = 's';
    audio->byte_order = 'l';
    audio->silence = 0;
    audio->play_position = 0;
    audio->queue = array_new();
    SDL_PauseAudio(0);
    return audio;
}

// SDL has filled the buffer with silence before the call, so whatever the
// callback leaves unwritten is heard as silence.
void audio_callback(void* userdata, uint8_t* stream, int len)
{
    auto* audio = static_cast<AudioOut*>(userdata);
    if (!audio || !stream || len <= 0 || !audio->queue || audio->queue->count <= 0) {
        return;
    }
    const auto* head = static_cast<const Sample*>(array_get(audio->queue, 0));
    if (audio->silence == 1 || !head) {
        memset(stream, 0, static_cast<size_t>(len));
        return;
    }
    play_queue(audio, head, stream, len / 2);
}

void audio_queue(AudioOut* audio, Sample* sample)
{
    if (!audio || !sample) {
        return;
    }
    if (!audio->queue) {
        audio->queue = array_new();
    }
    array_append(audio->queue, sample);
}

// After SDL_CloseAudio has returned the callback can't run any more, so the
// queue and the record are released only then.
void audio_close(AudioOut** audio)
{
    if (!audio || !*audio) {
        return;
    }
    SDL_PauseAudio(1);
    SDL_LockAudio();
    SDL_CloseAudio();
    SDL_UnlockAudio();
    if ((*audio)->queue) {
        array_free(&(*audio)->queue);
    }
    free(*audio);
    *audio = nullptr;
}
