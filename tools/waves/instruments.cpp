#include "instruments.h"

#include <cmath>

#include "envelopes.h"
#include "filters.h"
#include "noise.h"
#include "oscillators.h"

namespace {

constexpr double onset_tau = 0.006;        // s, how fast a punch boost fades
constexpr double max_onset_boost = 3.0;    // extra onset level at punch 1
constexpr double max_extra_drive = 4.0;    // saturation at punch -1
constexpr double clap_burst_tau = 0.0035;  // s, each clap re-hit
constexpr int32_t filter_retune = 16;      // samples between cutoff updates

double time_at(int32_t index)
{
    return index / synth_rate;
}

Signal render(const DrumVoice& voice, const Knobs& knobs)
{
    Signal out(wave_length);
    Osc membrane;
    Noise noise{voice.seed};
    Biquad skin = biquad_new(BiquadKind::bandpass, voice.skin_hz, 0.8);
    // The band-pass skirt alone would leave a hiss under the whole note.
    Biquad skin_top = biquad_new(BiquadKind::lowpass, 2.0 * voice.skin_hz, 0.707);
    const double rest_hz = note_hz(voice.note);
    for (int32_t i = 0; i < wave_length; ++i) {
        const double t = time_at(i);
        const double hz = rest_hz * env_glide(t, voice.glide_from, 1.0, voice.glide_tau);
        const double body = osc_sine(membrane, hz) * env_decay(t, knobs.decay);
        const double hit = biquad_process(skin_top, biquad_process(skin, noise_white(noise))) *
                           voice.skin_level * std::exp(-t / knobs.bright);
        out[i] = soft_clip(body + hit, voice.drive);
    }
    return out;
}

// Clap re-hits each flare and die quickly; the last hit carries the tail.
double noise_level(const NoiseVoice& voice, const Knobs& knobs, double t)
{
    const double tail_start = (voice.claps - 1) * voice.clap_gap;
    if (t < tail_start) {
        return std::exp(-std::fmod(t, voice.clap_gap) / clap_burst_tau);
    }
    return env_decay(t - tail_start, knobs.decay);
}

double metal(const NoiseVoice& voice, std::array<Osc, 6>& partials)
{
    double sum = 0.0;
    for (size_t k = 0; k < partials.size(); ++k) {
        if (voice.metal_hz[k] > 0.0) {
            sum += osc_square(partials[k], voice.metal_hz[k]);
        }
    }
    return sum * voice.metal_level;
}

Signal render(const NoiseVoice& voice, const Knobs& knobs)
{
    Signal out(wave_length);
    Noise noise{voice.seed};
    std::array<Osc, 6> partials{};
    Osc body;
    Biquad high = biquad_new(BiquadKind::highpass, voice.low_cut, 0.707);
    Biquad low1 = biquad_new(BiquadKind::lowpass, knobs.bright, 0.707);
    Biquad low2 = low1;
    const double body_hz = voice.body_level > 0.0 ? note_hz(voice.body_note) : 0.0;
    for (int32_t i = 0; i < wave_length; ++i) {
        const double t = time_at(i);
        const double source = voice.noise_level * noise_white(noise) + metal(voice, partials);
        const double band = biquad_process(low2, biquad_process(low1, biquad_process(high, source)));
        const double shell = osc_sine(body, body_hz) * voice.body_level * env_decay(t, voice.body_rate);
        out[i] = soft_clip(band * noise_level(voice, knobs, t) + shell, voice.drive);
    }
    return out;
}

// Two oscillators per note, detuned apart; start phases are spread so the
// notes do not all jump together.
double chord_source(const ChordVoice& voice, std::array<Osc, 8>& oscs)
{
    const double spread = std::exp2(voice.detune_cents / 2400.0);
    const auto wave = voice.waveform == Waveform::saw ? osc_saw : osc_square;
    double sum = 0.0;
    for (int32_t n = 0; n < voice.note_count; ++n) {
        const double hz = note_hz(voice.notes[n]);
        sum += wave(oscs[2 * n], hz * spread) + wave(oscs[2 * n + 1], hz / spread);
    }
    return sum / (2.0 * voice.note_count);
}

Signal render(const ChordVoice& voice, const Knobs& knobs)
{
    Signal out(wave_length);
    std::array<Osc, 8> oscs{};
    for (size_t k = 0; k < oscs.size(); ++k) {
        oscs[k].phase = std::fmod(0.37 * k, 1.0);
    }
    Biquad resonant, smooth;
    for (int32_t i = 0; i < wave_length; ++i) {
        const double t = time_at(i);
        if (i % filter_retune == 0) {
            const double cutoff = knobs.bright * (1.0 + voice.filter_kick * std::exp(-t / voice.filter_tau));
            biquad_tune(resonant, BiquadKind::lowpass, cutoff, voice.resonance);
            biquad_tune(smooth, BiquadKind::lowpass, cutoff, 0.707);
        }
        const double filtered = biquad_process(smooth, biquad_process(resonant, chord_source(voice, oscs)));
        const double level = env_decay(t, knobs.decay) * env_fade_in(t, voice.attack);
        out[i] = soft_clip(filtered * level, voice.drive);
    }
    return out;
}

// Above zero, punch lifts the first milliseconds for a harder hit; below
// zero it saturates the whole sound for a denser body.
void apply_punch(Signal& signal, double punch)
{
    double peak = 0.0;
    for (const double v : signal) {
        peak = std::fmax(peak, std::fabs(v));
    }
    if (peak == 0.0) {
        return;
    }
    const double boost = std::fmax(punch, 0.0) * max_onset_boost;
    const double drive = std::fmax(-punch, 0.0) * max_extra_drive;
    for (int32_t i = 0; i < wave_length; ++i) {
        const double lift = 1.0 + boost * std::exp(-time_at(i) / onset_tau);
        signal[i] = soft_clip(signal[i] / peak * lift, drive);
    }
}

}  // namespace

Signal voice_render(const Voice& voice, const Knobs& knobs)
{
    Signal signal = std::visit([&](const auto& v) { return render(v, knobs); }, voice);
    apply_punch(signal, knobs.punch);
    return signal;
}
