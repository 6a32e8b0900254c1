#include "kit.h"

namespace {

// MIDI notes of A minor pentatonic (A C D E G), so any layering stays consonant.
enum Note : int32_t {
    A1 = 33, E2 = 40, A2 = 45, G3 = 55, A3 = 57, C4 = 60, D4 = 62,
    E4 = 64, G4 = 67, A4 = 69, C5 = 72, D5 = 74, E5 = 76, G5 = 79,
};

// Inharmonic square partials, Hz: the metallic ring inside the hat.
constexpr std::array<double, 6> hat_metal = {317.0, 466.0, 580.0, 802.0, 843.0, 1227.0};
// A cowbell's two squares a fifth apart: A5 and E6.
constexpr std::array<double, 6> bell_metal = {880.0, 1318.5};

// Ranges of the brightness knob per voice.
constexpr KnobRange skin_ring{0.0005, 0.15};      // s
constexpr KnobRange noise_band{300.0, 9000.0};    // Hz
constexpr KnobRange filter_cutoff{200.0, 8000.0}; // Hz
// Past about 1.5 kHz a resonant bass rings less, not more: keep the fitter below.
constexpr KnobRange bass_cutoff{80.0, 1500.0};

}  // namespace

const std::array<KitSound, kit_size> kit_sounds = {{
    {.name = "cowbell", .target = {6690, 2403, 0.07, 795},
     .voice = NoiseVoice{.low_cut = 1200.0, .noise_level = 0.0, .metal_hz = bell_metal,
                         .metal_level = 0.5, .drive = 0.5, .seed = 0x1001},
     .bright = noise_band},
    {.name = "pad", .target = {6211, 3269, 1.00, 692},
     .voice = ChordVoice{.notes = {A4, C5, E5, G5}, .note_count = 4, .waveform = Waveform::square,
                         .detune_cents = 14.0, .resonance = 2.0, .attack = 0.006, .drive = 1.0},
     .decay = {-4.0, 4.0}, .bright = filter_cutoff},
    {.name = "acid bass E", .target = {14324, 5146, 0.09, 438},
     .voice = ChordVoice{.notes = {E2}, .detune_cents = 8.0, .resonance = 16.0, .filter_kick = 3.0,
                         .filter_tau = 0.06, .drive = 1.2},
     .bright = bass_cutoff},
    {.name = "stab Am7", .target = {12863, 4038, 0.08, 604},
     .voice = ChordVoice{.notes = {A3, C4, E4, G4}, .note_count = 4, .resonance = 3.0,
                         .filter_kick = 2.0, .filter_tau = 0.04, .drive = 0.8},
     .bright = filter_cutoff},
    {.name = "bass A", .target = {12984, 4716, 0.01, 290},
     .voice = ChordVoice{.notes = {A2}, .resonance = 8.0, .filter_kick = 4.0, .filter_tau = 0.03,
                         .drive = 1.0},
     .bright = bass_cutoff},
    {.name = "deep kick", .target = {20821, 10868, 0.01, 99},
     .voice = DrumVoice{.note = A1, .glide_from = 4.0, .glide_tau = 0.012, .skin_hz = 1500.0,
                        .skin_level = 0.3, .drive = 1.2, .seed = 0x1005},
     .bright = skin_ring},
    {.name = "room clap", .target = {11588, 3136, 0.03, 716},
     .voice = NoiseVoice{.low_cut = 600.0, .claps = 3, .clap_gap = 0.010, .drive = 0.3, .seed = 0x1006},
     .bright = noise_band},
    {.name = "stab Gsus", .target = {7810, 2687, 0.01, 560},
     .voice = ChordVoice{.notes = {D4, G4, C5}, .note_count = 3, .resonance = 3.0, .filter_kick = 2.0,
                         .filter_tau = 0.03, .drive = 0.8},
     .bright = filter_cutoff},
    {.name = "punch kick", .target = {20288, 6715, 0.01, 189},
     .voice = DrumVoice{.note = A1, .glide_from = 5.0, .glide_tau = 0.008, .skin_hz = 2500.0,
                        .skin_level = 0.5, .drive = 1.0, .seed = 0x1008},
     .bright = skin_ring},
    {.name = "high tom", .target = {22654, 8752, 0.01, 314},
     .voice = DrumVoice{.note = E4, .glide_from = 1.5, .glide_tau = 0.05, .skin_hz = 2000.0,
                        .skin_level = 0.6, .drive = 0.8, .seed = 0x1009},
     .bright = skin_ring},
    {.name = "tight clap", .target = {14605, 3608, 0.01, 915},
     .voice = NoiseVoice{.low_cut = 800.0, .claps = 3, .clap_gap = 0.008, .drive = 0.3, .seed = 0x100A},
     .bright = noise_band},
    {.name = "hat", .target = {8863, 2629, 0.03, 1332},
     .voice = NoiseVoice{.low_cut = 1800.0, .metal_hz = hat_metal, .metal_level = 0.5, .drive = 0.3,
                         .seed = 0x100B},
     .bright = noise_band},
    {.name = "mid tom", .target = {22226, 7732, 0.02, 221},
     .voice = DrumVoice{.note = A3, .glide_from = 1.6, .glide_tau = 0.06, .skin_hz = 1500.0,
                        .skin_level = 0.6, .drive = 0.8, .seed = 0x100C},
     .bright = skin_ring},
    {.name = "stab Asus", .target = {10824, 3543, 0.02, 581},
     .voice = ChordVoice{.notes = {E4, A4, D5}, .note_count = 3, .resonance = 3.0, .filter_kick = 2.0,
                         .filter_tau = 0.035, .drive = 0.8},
     .bright = filter_cutoff},
    {.name = "big snare", .target = {27015, 11175, 0.00, 686},
     .voice = NoiseVoice{.low_cut = 400.0, .body_note = G3, .body_level = 0.15, .body_rate = 70.0,
                         .drive = 3.0, .seed = 0x100E},
     .bright = noise_band},
    {.name = "snare", .target = {13429, 4185, 0.03, 735},
     .voice = NoiseVoice{.low_cut = 500.0, .body_note = A3, .body_level = 0.3, .body_rate = 30.0,
                         .drive = 0.5, .seed = 0x100F},
     .bright = noise_band},
}};
