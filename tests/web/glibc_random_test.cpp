// The browser build's rand must draw glibc's sequence, which the native
// tests run on, for every kind of seed: 0, small, 2^31 or more, and the demo's.
#include "demo.h"
#include "glibc_random.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(GlibcRandom, DrawsTheCLibrarySequence)
{
    for (const uint32_t seed : {0u, 1u, 12345u, 0x7FFFFFFFu, 0x80000000u, demo_seed, 0xFFFFFFFFu}) {
        GlibcRandom random{};
        glibc_random_seed(random, seed);
        srand(seed);
        for (int32_t draw = 0; draw < 2000; ++draw) {
            ASSERT_EQ(glibc_random_next(random), rand()) << "seed " << seed << ", draw " << draw;
        }
    }
}
