#include "oscillators.h"

#include <cmath>
#include <numbers>

double note_hz(int32_t note)
{
    return 440.0 * std::exp2((note - 69) / 12.0);
}

namespace {

// Advances the phase and returns the phase the current sample is taken at.
double advance(Osc& osc, double step)
{
    const double phase = osc.phase;
    osc.phase += step;
    osc.phase -= std::floor(osc.phase);
    return phase;
}

// Polynomial correction that rounds off a unit step falling at phase 0.
double poly_blep(double phase, double step)
{
    if (phase < step) {
        const double t = phase / step;
        return t + t - t * t - 1.0;
    }
    if (phase > 1.0 - step) {
        const double t = (phase - 1.0) / step;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

double osc_sine(Osc& osc, double hz)
{
    return std::sin(2.0 * std::numbers::pi * advance(osc, hz / synth_rate));
}

double osc_saw(Osc& osc, double hz)
{
    const double step = hz / synth_rate;
    const double phase = advance(osc, step);
    return 2.0 * phase - 1.0 - poly_blep(phase, step);
}

double osc_square(Osc& osc, double hz)
{
    const double step = hz / synth_rate;
    const double phase = advance(osc, step);
    const double half = phase + 0.5 - std::floor(phase + 0.5);
    const double value = phase < 0.5 ? 1.0 : -1.0;
    return value + poly_blep(phase, step) - poly_blep(half, step);
}
