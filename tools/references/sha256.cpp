// SHA-256 as FIPS 180-4 defines it: 64-byte blocks, eight 32-bit words of
// state, message length in bits at the end of the padding.
#include "sha256.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::array<uint32_t, 64> round_constants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

constexpr std::array<uint32_t, 8> initial_state = {
    0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19,
};

constexpr size_t block_size = 64;

uint32_t big_endian_word(const uint8_t* bytes)
{
    return uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
}

void compress(std::array<uint32_t, 8>& state, const uint8_t* block)
{
    std::array<uint32_t, 64> schedule;
    for (size_t i = 0; i < 16; ++i) {
        schedule[i] = big_endian_word(block + 4 * i);
    }
    for (size_t i = 16; i < 64; ++i) {
        const uint32_t w15 = schedule[i - 15];
        const uint32_t w2 = schedule[i - 2];
        const uint32_t s0 = std::rotr(w15, 7) ^ std::rotr(w15, 18) ^ (w15 >> 3);
        const uint32_t s1 = std::rotr(w2, 17) ^ std::rotr(w2, 19) ^ (w2 >> 10);
        schedule[i] = schedule[i - 16] + s0 + schedule[i - 7] + s1;
    }
    auto [a, b, c, d, e, f, g, h] = state;
    for (size_t i = 0; i < 64; ++i) {
        const uint32_t t1 = h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                            round_constants[i] + schedule[i];
        const uint32_t t2 = (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + t2;
    }
    const std::array<uint32_t, 8> worked = {a, b, c, d, e, f, g, h};
    for (size_t i = 0; i < 8; ++i) {
        state[i] += worked[i];
    }
}

}  // namespace

Sha256 sha256_begin()
{
    return {initial_state, {}, 0};
}

void sha256_add(Sha256& hash, std::span<const uint8_t> bytes)
{
    while (!bytes.empty()) {
        const size_t filled = hash.length % block_size;
        const size_t taken = std::min(block_size - filled, bytes.size());
        std::copy_n(bytes.begin(), taken, hash.block.begin() + static_cast<ptrdiff_t>(filled));
        hash.length += taken;
        bytes = bytes.subspan(taken);
        if (filled + taken == block_size) {
            compress(hash.state, hash.block.data());
        }
    }
}

template <std::integral Value>
void sha256_add_le(Sha256& hash, std::span<const Value> values)
{
    std::array<uint8_t, 4096> bytes;
    constexpr size_t per_chunk = bytes.size() / sizeof(Value);
    while (!values.empty()) {
        const size_t count = std::min(per_chunk, values.size());
        uint8_t* at = bytes.data();
        for (const Value value : values.first(count)) {
            const auto word = static_cast<std::make_unsigned_t<Value>>(value);
            for (size_t byte = 0; byte < sizeof(Value); ++byte) {
                *at++ = static_cast<uint8_t>(word >> (8 * byte));
            }
        }
        sha256_add(hash, {bytes.data(), count * sizeof(Value)});
        values = values.subspan(count);
    }
}

template void sha256_add_le<int16_t>(Sha256&, std::span<const int16_t>);
template void sha256_add_le<int32_t>(Sha256&, std::span<const int32_t>);
template void sha256_add_le<uint32_t>(Sha256&, std::span<const uint32_t>);

std::string sha256_hex(Sha256& hash)
{
    const uint64_t bits = hash.length * 8;
    std::array<uint8_t, block_size + 8> padding{0x80};
    const size_t filled = hash.length % block_size;
    const size_t zeros = (filled < 56 ? 56 - filled : 120 - filled) - 1;
    for (size_t byte = 0; byte < 8; ++byte) {
        padding[1 + zeros + byte] = static_cast<uint8_t>(bits >> (56 - 8 * byte));
    }
    sha256_add(hash, {padding.data(), 1 + zeros + 8});
    std::string hex;
    for (const uint32_t word : hash.state) {
        for (int32_t shift = 28; shift >= 0; shift -= 4) {
            hex += "0123456789abcdef"[(word >> shift) & 0xF];
        }
    }
    return hex;
}

std::string sha256_of(std::span<const uint8_t> bytes)
{
    Sha256 hash = sha256_begin();
    sha256_add(hash, bytes);
    return sha256_hex(hash);
}
