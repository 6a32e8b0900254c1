// The C library's random numbers as glibc draws them: an additive lagged
// Fibonacci generator (x[i] = x[i-31] + x[i-3]) over 34 words, seeded by a
// Park-Miller sequence. The demo's pictures depend on every rand() it draws,
// so the browser build replaces its C library's generator with this one.
#pragma once

#include <array>
#include <cstdint>

struct GlibcRandom {
    std::array<uint32_t, 34> words;  // the last 34 values of the sequence x
    uint32_t next;                   // index of the word the next draw replaces
};

// As srand and srandom: 0 counts as 1; drops the first 310 draws.
void glibc_random_seed(GlibcRandom& random, uint32_t seed);
// As rand and random: 0 ... 2^31 - 1.
int32_t glibc_random_next(GlibcRandom& random);
