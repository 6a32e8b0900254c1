#include "wav_file.h"

#include <algorithm>
#include <fstream>

namespace {

void put_u32(std::ofstream& out, uint32_t v)
{
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    out.write(bytes, 4);
}

void put_u16(std::ofstream& out, uint32_t v)
{
    const char bytes[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

}  // namespace

bool wav_write(const std::string& path, std::span<const int32_t> values)
{
    constexpr uint32_t rate = 44100;
    std::ofstream out(path, std::ios::binary);
    if (!out) {
        return false;
    }
    const auto data_bytes = static_cast<uint32_t>(values.size() * 2);
    out.write("RIFF", 4);
    put_u32(out, 36 + data_bytes);
    out.write("WAVEfmt ", 8);
    put_u32(out, 16);  // format chunk size
    put_u16(out, 1);   // PCM
    put_u16(out, 1);   // mono
    put_u32(out, rate);
    put_u32(out, rate * 2);  // bytes per second
    put_u16(out, 2);         // bytes per frame
    put_u16(out, 16);        // bits per value
    out.write("data", 4);
    put_u32(out, data_bytes);
    for (const int32_t v : values) {
        put_u16(out, static_cast<uint32_t>(std::clamp(v, -32768, 32767)));
    }
    return static_cast<bool>(out);
}
