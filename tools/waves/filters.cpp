#include "filters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "oscillators.h"

OnePole onepole_new(double cutoff_hz)
{
    return {.coeff = 1.0 - std::exp(-2.0 * std::numbers::pi * cutoff_hz / synth_rate)};
}

double onepole_lowpass(OnePole& filter, double input)
{
    filter.state += filter.coeff * (input - filter.state);
    return filter.state;
}

double onepole_highpass(OnePole& filter, double input)
{
    return input - onepole_lowpass(filter, input);
}

void biquad_tune(Biquad& filter, BiquadKind kind, double cutoff_hz, double q)
{
    // Keep the cutoff clear of Nyquist, where the cookbook formulas break down.
    const double hz = std::clamp(cutoff_hz, 10.0, 0.45 * synth_rate);
    const double w = 2.0 * std::numbers::pi * hz / synth_rate;
    const double cos_w = std::cos(w);
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    double b0 = 0.0, b1 = 0.0, b2 = 0.0;
    switch (kind) {
    case BiquadKind::lowpass:
        b1 = 1.0 - cos_w;
        b0 = b2 = b1 / 2.0;
        break;
    case BiquadKind::highpass:
        b1 = -(1.0 + cos_w);
        b0 = b2 = -b1 / 2.0;
        break;
    case BiquadKind::bandpass:
        b0 = alpha;
        b2 = -alpha;
        break;
    }
    filter.b0 = b0 / a0;
    filter.b1 = b1 / a0;
    filter.b2 = b2 / a0;
    filter.a1 = -2.0 * cos_w / a0;
    filter.a2 = (1.0 - alpha) / a0;
}

Biquad biquad_new(BiquadKind kind, double cutoff_hz, double q)
{
    Biquad filter;
    biquad_tune(filter, kind, cutoff_hz, q);
    return filter;
}

double biquad_process(Biquad& filter, double input)
{
    const double output = filter.b0 * input + filter.z1;
    filter.z1 = filter.b1 * input - filter.a1 * output + filter.z2;
    filter.z2 = filter.b2 * input - filter.a2 * output;
    return output;
}

double soft_clip(double input, double drive)
{
    if (drive <= 0.0) {
        return input;
    }
    return std::tanh(input * drive) / std::tanh(drive);
}
