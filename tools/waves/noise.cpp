#include "noise.h"

uint32_t noise_next(Noise& noise)
{
    uint32_t x = noise.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    noise.state = x;
    return x;
}

double noise_white(Noise& noise)
{
    constexpr double scale = 1.0 / 8388608.0;  // 2^23: top 24 bits onto [-1, 1)
    return static_cast<double>(noise_next(noise) >> 8) * scale - 1.0;
}
