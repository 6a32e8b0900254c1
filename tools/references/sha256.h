// SHA-256, for the stored references of pictures, frames and sound: the
// digest of a byte stream fed in pieces, as 64 lower-case hexadecimal digits.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <span>
#include <string>

struct Sha256 {
    std::array<uint32_t, 8> state;
    std::array<uint8_t, 64> block;  // bytes not yet compressed
    uint64_t length;                // bytes fed so far
};

Sha256 sha256_begin();
void sha256_add(Sha256& hash, std::span<const uint8_t> bytes);
// Integers as their two's-complement bytes, low byte first, whatever the machine's order.
template <std::integral Value>
void sha256_add_le(Sha256& hash, std::span<const Value> values);
// Pads, finishes and returns the digest; the state is used up.
std::string sha256_hex(Sha256& hash);

std::string sha256_of(std::span<const uint8_t> bytes);
