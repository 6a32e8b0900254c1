#pragma once
#include <cstdint>

constexpr double synth_rate = 44100.0;

// Frequency of a MIDI note; A4 (69) is 440 Hz.
double note_hz(int32_t note);

// Phase in cycles, [0, 1); every oscillator call advances it by one sample.
struct Osc {
    double phase = 0.0;
};

double osc_sine(Osc& osc, double hz);
// Saw and square are band-limited with polyBLEP so high notes do not alias.
double osc_saw(Osc& osc, double hz);
double osc_square(Osc& osc, double hz);
