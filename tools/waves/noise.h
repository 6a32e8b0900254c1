#pragma once
#include <cstdint>

// Our own xorshift generator, so the kit comes out the same on every build and
// the demo's libc random sequence stays untouched.
struct Noise {
    uint32_t state = 0x2545F491u;
};

// Next white-noise value, uniform in [-1, 1).
double noise_white(Noise& noise);

// Next raw 32-bit draw; used where a choice is made rather than a sound.
uint32_t noise_next(Noise& noise);
