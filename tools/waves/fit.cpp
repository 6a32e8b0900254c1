#include "fit.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "envelopes.h"
#include "filters.h"
#include "oscillators.h"

namespace {

constexpr double dc_cutoff_hz = 20.0;
constexpr double fade_in_time = 0.0015;  // s: short enough to keep a drum's snap
constexpr double fade_out_time = 0.005;  // s
constexpr int32_t rounds = 3;
constexpr int32_t bisections = 18;

void fade_ends(Signal& signal)
{
    const int32_t last = wave_length - 1;
    for (int32_t i = 0; i <= last; ++i) {
        signal[i] *=
            env_fade_in(i / synth_rate, fade_in_time) * env_fade_in((last - i) / synth_rate, fade_out_time);
    }
}

// Subtracts the remaining mean as a Hann-shaped bump: it sums to the mean, is
// far below hearing, and leaves the silent ends untouched.
void remove_mean(Signal& signal)
{
    double sum = 0.0, weight = 0.0;
    std::vector<double> window(signal.size());
    for (size_t i = 0; i < signal.size(); ++i) {
        const double s = std::sin(std::numbers::pi * i / (signal.size() - 1));
        window[i] = s * s;
        sum += signal[i];
        weight += window[i];
    }
    for (size_t i = 0; i < signal.size(); ++i) {
        signal[i] -= sum / weight * window[i];
    }
}

Shape measure(const KitSound& sound, const Knobs& knobs)
{
    return shape_measure(fit_finish(voice_render(sound.voice, knobs), sound.target.peak));
}

// Bisects one knob for a measured value, whichever way the value runs.
void fit_knob(double& knob, KnobRange range, double target, const std::function<double()>& value)
{
    double lo = range.lo, hi = range.hi;
    knob = lo;
    const double at_lo = value();
    knob = hi;
    const bool rising = value() > at_lo;
    for (int32_t step = 0; step < bisections; ++step) {
        knob = 0.5 * (lo + hi);
        if ((value() < target) == rising) {
            lo = knob;
        } else {
            hi = knob;
        }
    }
    knob = 0.5 * (lo + hi);
}

double middle(KnobRange range)
{
    return 0.5 * (range.lo + range.hi);
}

}  // namespace

Wave fit_finish(Signal signal, double peak)
{
    OnePole dc = onepole_new(dc_cutoff_hz);
    for (double& v : signal) {
        v = onepole_highpass(dc, v);
    }
    fade_ends(signal);
    remove_mean(signal);
    const auto [low, high] = std::minmax_element(signal.begin(), signal.end());
    const double polarity = *high > -*low ? -1.0 : 1.0;
    const double louder = std::max(*high, -*low);
    const double softer = std::min(*high, -*low);
    double gain = louder > 0.0 ? peak / louder : 0.0;
    gain = std::min(gain, softer > 0.0 ? wave_max / softer : gain);
    Wave wave(signal.size());
    for (size_t i = 0; i < signal.size(); ++i) {
        const double value = std::round(polarity * gain * signal[i]);
        wave[i] = static_cast<int32_t>(std::clamp(value, double{wave_min}, double{wave_max}));
    }
    return wave;
}

FitResult fit_sound(const KitSound& sound)
{
    Knobs knobs{middle(sound.decay), middle(sound.punch), middle(sound.bright)};
    const Shape& target = sound.target;
    for (int32_t round = 0; round < rounds; ++round) {
        fit_knob(knobs.bright, sound.bright, target.sign_changes,
                 [&] { return measure(sound, knobs).sign_changes; });
        fit_knob(knobs.decay, sound.decay, target.tail_ratio,
                 [&] { return measure(sound, knobs).tail_ratio; });
        fit_knob(knobs.punch, sound.punch, target.head_rms / target.peak, [&] {
            const Shape shape = measure(sound, knobs);
            return shape.head_rms / shape.peak;
        });
    }
    Wave wave = fit_finish(voice_render(sound.voice, knobs), target.peak);
    const Shape shape = shape_measure(wave);
    return {knobs, std::move(wave), shape};
}
