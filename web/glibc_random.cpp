// glibc's TYPE_3 generator, written as the sequence it produces:
// x[0] = seed, x[i] = 16807 x[i-1] mod (2^31 - 1) for i < 31 (on signed
// 32-bit words), x[i] = x[i-31] for i < 34, then
// x[i] = x[i-31] + x[i-3] (mod 2^32); the draws are x[i] >> 1 from i = 344 on.
#include "glibc_random.h"

namespace {

constexpr int64_t park_miller_modulus = 2147483647;
constexpr int64_t park_miller_factor = 16807;
// Schrage's split of the modulus: 127773 * 16807 + 2836.
constexpr int64_t schrage_quotient = 127773;
constexpr int64_t schrage_remainder = 2836;
constexpr uint32_t seeded_words = 31;
constexpr uint32_t dropped_draws = 310;

}  // namespace

void glibc_random_seed(GlibcRandom& random, uint32_t seed)
{
    random.words[0] = seed == 0 ? 1 : seed;
    // glibc steps a signed 32-bit word with Schrage's method, so a seed of
    // 2^31 or more starts from its negative reading, divided toward zero.
    auto word = static_cast<int32_t>(random.words[0]);
    for (uint32_t i = 1; i < seeded_words; ++i) {
        const int64_t high = word / schrage_quotient;
        const int64_t low = word % schrage_quotient;
        int64_t next = park_miller_factor * low - schrage_remainder * high;
        if (next < 0) {
            next += park_miller_modulus;
        }
        word = static_cast<int32_t>(next);
        random.words[i] = static_cast<uint32_t>(word);
    }
    for (uint32_t i = seeded_words; i < random.words.size(); ++i) {
        random.words[i] = random.words[i - seeded_words];
    }
    random.next = 0;
    for (uint32_t i = 0; i < dropped_draws; ++i) {
        glibc_random_next(random);
    }
}

int32_t glibc_random_next(GlibcRandom& random)
{
    constexpr uint32_t size = std::tuple_size_v<decltype(random.words)>;
    const uint32_t at = random.next;
    // x[i-34] sits where x[i] goes; x[i-31] three words on, x[i-3] 31 words on.
    const uint32_t value = random.words[(at + 3) % size] + random.words[(at + 31) % size];
    random.words[at] = value;
    random.next = (at + 1) % size;
    return static_cast<int32_t>(value >> 1);
}
