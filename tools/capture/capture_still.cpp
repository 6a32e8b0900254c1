// PPM and PNG encoders and the sink that writes the chosen frame.
#include "capture_still.h"

#include "capture_file.h"
#include "capture_options.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr uint32_t crc_polynomial = 0xEDB88320;  // reflected CRC-32, as PNG and zlib use it
constexpr uint32_t adler_modulus = 65521;
constexpr size_t stored_block_limit = 65535;     // a stored deflate block holds at most this much
constexpr std::array<uint8_t, 8> png_signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t png_colour_rgb = 2;
constexpr uint8_t zlib_header[] = {0x78, 0x01};  // deflate, 32 KB window, no dictionary

constexpr std::array<uint32_t, 256> crc_table = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < table.size(); ++n) {
        uint32_t crc = n;
        for (int32_t bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? crc_polynomial ^ (crc >> 1) : crc >> 1;
        }
        table[n] = crc;
    }
    return table;
}();

void put_be32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int32_t shift = 24; shift >= 0; shift -= 8) {
        bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void put_rgb_row(std::vector<uint8_t>& bytes, const uint32_t* row, int32_t width)
{
    for (int32_t x = 0; x < width; ++x) {
        bytes.push_back(static_cast<uint8_t>(row[x] >> 16));
        bytes.push_back(static_cast<uint8_t>(row[x] >> 8));
        bytes.push_back(static_cast<uint8_t>(row[x]));
    }
}

// Length, type, data, and the CRC of type and data.
void put_chunk(std::vector<uint8_t>& png, const char (&type)[5], std::span<const uint8_t> data)
{
    put_be32(png, static_cast<uint32_t>(data.size()));
    const size_t type_at = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    put_be32(png, capture_crc32(std::span(png).subspan(type_at)));
}

// A zlib stream of stored blocks: header, blocks with their lengths, Adler-32.
std::vector<uint8_t> zlib_stored(std::span<const uint8_t> raw)
{
    std::vector<uint8_t> zlib(std::begin(zlib_header), std::end(zlib_header));
    size_t at = 0;
    do {
        const size_t length = std::min(raw.size() - at, stored_block_limit);
        const bool last = at + length == raw.size();
        zlib.push_back(last ? 1 : 0);  // BFINAL, block type 00 (stored)
        zlib.push_back(static_cast<uint8_t>(length));
        zlib.push_back(static_cast<uint8_t>(length >> 8));
        zlib.push_back(static_cast<uint8_t>(~length));
        zlib.push_back(static_cast<uint8_t>(~length >> 8));
        zlib.insert(zlib.end(), raw.begin() + static_cast<ptrdiff_t>(at),
                    raw.begin() + static_cast<ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    put_be32(zlib, capture_adler32(raw));
    return zlib;
}

class StillSink final : public CaptureSink {
public:
    StillSink(const std::string& path, int64_t frame, const CaptureLayout& layout)
        : CaptureSink(path), wanted(frame), layout(layout)
    {
    }

    bool write(const CaptureFrame& frame) override
    {
        // The file is staged at the first frame, so a wrong path shows before the rendering.
        if (frame.index == 0 && !file.open(path())) {
            return fail(file.error());
        }
        seen = frame.index + 1;
        if (frame.index != wanted) {
            return true;
        }
        const std::vector<uint32_t> picture = capture_enlarge(frame.pixels, frame.width, frame.height, layout);
        if (picture.empty()) {
            return fail("the picture does not fit the still's size");
        }
        const bool png = capture_extension(path()) == "png";
        const std::vector<uint8_t> bytes = png ? capture_encode_png(picture.data(), layout.width, layout.height)
                                               : capture_encode_ppm(picture.data(), layout.width, layout.height);
        return (file.write(bytes) && file.close()) || fail(file.error());
    }

    bool finish() override
    {
        if (seen <= wanted) {
            return fail("frame " + std::to_string(wanted) + " was never shown: the demo ended after " +
                        std::to_string(seen) + " frames");
        }
        return true;
    }

    bool commit() override { return file.commit() || fail(file.error()); }

    void abandon() override { file.discard(); }

private:
    CaptureFile file;
    int64_t wanted;
    CaptureLayout layout;
    int64_t seen = 0;
};

}  // namespace

uint32_t capture_crc32(std::span<const uint8_t> bytes)
{
    uint32_t crc = 0xFFFFFFFF;
    for (uint8_t byte : bytes) {
        crc = crc_table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFF;
}

uint32_t capture_adler32(std::span<const uint8_t> bytes)
{
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : bytes) {
        a = (a + byte) % adler_modulus;
        b = (b + a) % adler_modulus;
    }
    return b << 16 | a;
}

std::vector<uint8_t> capture_encode_ppm(const uint32_t* pixels, int32_t width, int32_t height)
{
    const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<uint8_t> ppm(header.begin(), header.end());
    for (int32_t y = 0; y < height; ++y) {
        put_rgb_row(ppm, pixels + static_cast<ptrdiff_t>(y) * width, width);
    }
    return ppm;
}

std::vector<uint8_t> capture_encode_png(const uint32_t* pixels, int32_t width, int32_t height)
{
    std::vector<uint8_t> header;
    put_be32(header, static_cast<uint32_t>(width));
    put_be32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, png_colour_rgb, 0, 0, 0});  // depth, colour, deflate, no filter, no interlace
    std::vector<uint8_t> raw;
    for (int32_t y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        put_rgb_row(raw, pixels + static_cast<ptrdiff_t>(y) * width, width);
    }
    std::vector<uint8_t> png(png_signature.begin(), png_signature.end());
    put_chunk(png, "IHDR", header);
    put_chunk(png, "IDAT", zlib_stored(raw));
    put_chunk(png, "IEND", {});
    return png;
}

std::unique_ptr<CaptureSink> capture_still_new(const std::string& path, int64_t frame, const CaptureLayout& layout)
{
    return std::make_unique<StillSink>(path, frame, layout);
}
