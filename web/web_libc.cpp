// The browser build's rand, srand, random and srandom: glibc's sequence, so
// that every random choice of the demo matches the native program's.
#include "glibc_random.h"

#include <cstdlib>

namespace {

// rand and random share one state in glibc; unseeded it behaves as seed 1.
GlibcRandom& shared_random()
{
    static GlibcRandom random = [] {
        GlibcRandom seeded{};
        glibc_random_seed(seeded, 1);
        return seeded;
    }();
    return random;
}

}  // namespace

extern "C" {

void srand(unsigned seed)
{
    glibc_random_seed(shared_random(), seed);
}

int rand()
{
    return glibc_random_next(shared_random());
}

void srandom(unsigned seed)
{
    glibc_random_seed(shared_random(), seed);
}

long random()
{
    return glibc_random_next(shared_random());
}

}  // extern "C"
