#include "envelopes.h"

#include <cmath>
#include <numbers>

double env_fade_in(double t, double attack)
{
    if (t >= attack) {
        return 1.0;
    }
    return 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
}

double env_decay(double t, double rate)
{
    return std::exp(-rate * t);
}

double env_glide(double t, double from, double to, double tau)
{
    return to + (from - to) * std::exp(-t / tau);
}
