// Audio output of the SDLDPY platform module: opens the SDL audio device for
// 44100 Hz signed 16-bit mono and plays a queue of Samples back to back from
// SDL's audio thread. The main thread changes the queue only while holding
// the SDL audio lock, which SDL also holds around every callback.
#pragma once

#include <cstdint>

struct Array;
struct Sample;

constexpr int32_t audio_output_rate = 44100;  // values per second

struct AudioOut {
    int32_t rate;           // 44100 Hz
    int32_t width;          // 16 bits per value
    int32_t play_position;  // next value of the queue's head Sample
    Array* queue;           // references to Samples it does not own, head first
    char sign;              // 's': values are signed
    char byte_order;        // 'l': low byte first
    uint8_t silence;        // while 1 the callback outputs silence
};

// Null when SDL or the device can't be started; the demo then runs silent.
AudioOut* audio_open();
// The SDL callback: fills len bytes with 16-bit little-endian values.
void audio_callback(void* userdata, uint8_t* stream, int len);
// Appends a reference to the Sample at the tail of the queue (main thread).
void audio_queue(AudioOut* audio, Sample* sample);
void audio_close(AudioOut** audio);
