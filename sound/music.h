// MUSIC: a 40000-value loop that the audio output replays without a gap.
// Every 300 ticks one randomly chosen stored wave is laid onto one of the
// loop's 16 steps while everything already in the loop fades to 3/4.
#pragma once

#include <cstdint>

struct Array;
struct AudioOut;
struct Sample;

// Values in the loop: about 0.907 s at 44100 Hz.
constexpr int32_t music_loop_length = 40000;

struct Music {
    int32_t countdown;  // ticks left until the next update; 0 updates at once
    int32_t period;     // ticks between updates, 300
    Sample* block;      // the loop, owned
    Array* waves;       // references to the wave bank, not owned
};

// When non-zero, refused calls print "MUSIC ERROR". Nothing in the program sets it.
extern uint8_t music_debug;

Music* music_new();
void music_add_wave(Music* music, Sample* wave);
void music_tick(Music* music);
// The frame's music step: tick, then keep up to four references to the
// loop queued, both under the audio lock. Without an AudioOut it only ticks.
void music_step(Music* music, AudioOut* audio);
// Releases the loop and the wave list, never the waves themselves.
void music_free(Music** music);
void music_error();
