#pragma once
#include <cstdint>
#include <span>
#include <string>

// Writes mono 16-bit PCM at 44100 Hz for listening; values are clamped to
// 16 bits. Returns false when the file cannot be written.
bool wav_write(const std::string& path, std::span<const int32_t> values);
