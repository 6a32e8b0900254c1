// WAV writer: the canonical 44-byte header, then the values low byte first.
#include "capture_wav.h"

#include "capture_file.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr uint32_t bytes_per_value = 2;
constexpr uint32_t header_size = 44;

using WavHeader = std::array<uint8_t, header_size>;

// Stores `width` bytes of `value`, low byte first; returns the next position.
uint8_t* put_le(uint8_t* at, uint32_t value, uint32_t width)
{
    for (uint32_t byte = 0; byte < width; ++byte) {
        *at++ = static_cast<uint8_t>(value >> (8 * byte));
    }
    return at;
}

uint8_t* put_tag(uint8_t* at, const char (&tag)[5])
{
    return std::copy_n(tag, 4, at);
}

WavHeader wav_header(uint32_t data_bytes)
{
    WavHeader header{};
    uint8_t* at = put_tag(header.data(), "RIFF");
    at = put_le(at, header_size - 8 + data_bytes, 4);
    at = put_tag(at, "WAVE");
    at = put_tag(at, "fmt ");
    at = put_le(at, 16, 4);  // size of the format block
    at = put_le(at, 1, 2);   // integer PCM
    at = put_le(at, 1, 2);   // mono
    at = put_le(at, audio_output_rate, 4);
    at = put_le(at, audio_output_rate * bytes_per_value, 4);
    at = put_le(at, bytes_per_value, 2);
    at = put_le(at, 8 * bytes_per_value, 2);
    at = put_tag(at, "data");
    put_le(at, data_bytes, 4);
    return header;
}

class WavSink final : public CaptureSink {
public:
    using CaptureSink::CaptureSink;

    bool write(const CaptureFrame& frame) override
    {
        if (!file.is_open() && !(file.open(path()) && file.write(wav_header(0)))) {
            return fail(file.error());
        }
        values.resize(frame.sound.size() * bytes_per_value);
        uint8_t* at = values.data();
        for (int16_t value : frame.sound) {
            at = put_le(at, static_cast<uint16_t>(value), bytes_per_value);
        }
        data_bytes += static_cast<uint32_t>(values.size());
        return file.write(values) || fail(file.error());
    }

    bool finish() override
    {
        return (file.patch(0, wav_header(data_bytes)) && file.close()) || fail(file.error());
    }

    bool commit() override { return file.commit() || fail(file.error()); }

    void abandon() override { file.discard(); }

private:
    CaptureFile file;
    std::vector<uint8_t> values;
    uint32_t data_bytes = 0;
};

}  // namespace

std::unique_ptr<CaptureSink> capture_wav_new(const std::string& path)
{
    return std::make_unique<WavSink>(path);
}
