#pragma once
#include <array>
#include <cstdint>
#include <variant>
#include <vector>

// Every stored sound is a quarter of a second at 44100 Hz.
constexpr int32_t wave_length = 11025;

using Signal = std::vector<double>;

// The three controls the kit fitter turns to match a sound to its shape.
struct Knobs {
    double decay = 0.0;   // amplitude decay rate of the body, per second
    double punch = 0.0;   // -1..1: saturation below zero, a harder onset above
    double bright = 0.0;  // brightness; its unit depends on the voice
};

// Kicks and toms: a sine membrane gliding down to its resting note, struck
// with a burst of band-passed noise. bright = ring time of that noise, s.
struct DrumVoice {
    int32_t note = 0;
    double glide_from = 1.0;  // starting pitch as a multiple of the resting pitch
    double glide_tau = 0.01;  // s
    double skin_hz = 1000.0;
    double skin_level = 0.0;
    double drive = 0.0;
    uint32_t seed = 1;
};

// Hats, snares, claps and the cowbell: noise and square partials through a
// high-pass at low_cut and a steep low-pass at bright Hz, with an optional
// tuned shell and optional clap re-hits before the final hit that rings out.
struct NoiseVoice {
    double low_cut = 500.0;
    double noise_level = 1.0;
    std::array<double, 6> metal_hz{};  // square partials, 0 for none
    double metal_level = 0.0;
    int32_t body_note = 0;
    double body_level = 0.0;
    double body_rate = 30.0;  // per second
    int32_t claps = 1;        // hits in all, the last one rings out
    double clap_gap = 0.01;   // s between hits
    double drive = 0.0;
    uint32_t seed = 1;
};

enum class Waveform { saw, square };

// Bass notes, stabs and the pad: pairs of detuned oscillators per note through a
// resonant low-pass resting at bright Hz that opens by filter_kick times
// its resting cutoff at the onset.
struct ChordVoice {
    std::array<int32_t, 4> notes{};
    int32_t note_count = 1;
    Waveform waveform = Waveform::saw;
    double detune_cents = 10.0;
    double resonance = 0.707;
    double filter_kick = 0.0;
    double filter_tau = 0.05;  // s
    double attack = 0.002;     // s
    double drive = 0.0;
};

using Voice = std::variant<DrumVoice, NoiseVoice, ChordVoice>;

// Renders wave_length raw values, roughly within [-1, 1].
Signal voice_render(const Voice& voice, const Knobs& knobs);
