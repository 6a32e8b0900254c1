// BYTEMAP codec: PNM readers from memory and from a file, a binary P5
// writer, and the "BYTEMAP{ P3 }" text form with its reader. Colour pictures
// become the average of their three samples, bitmaps 255 and 0.
#include <cstdio>

#include "bytemap.h"
#include "img.h"
#include "pnm_grammar.h"
#include "pnm_text.h"

namespace {

// Grey kinds keep the low byte of the sample; the colour sum wraps like the
// samples themselves.
struct ByteMapValues {
    static constexpr uint8_t colour(uint32_t red, uint32_t green, uint32_t blue)
    {
        return static_cast<uint8_t>((red + green + blue) / 3);
    }
    static constexpr uint8_t grey(uint32_t value) { return static_cast<uint8_t>(value); }
    static constexpr uint8_t bit(bool set) { return set ? 255 : 0; }
};

constexpr const char* text_name = "BYTEMAP";

void put_byte(uint8_t value, FILE* file)
{
    fputc(value, file);
}

}  // namespace

ByteMap* bytemap_from_pnm(const uint8_t* data)
{
    return pnm::read_memory<ByteMapValues, ByteMap>(data, pnm::ByteSource::memory(data), bytemap_error);
}

ByteMap* bytemap_from_pnm_bytes(const uint8_t* data, size_t size)
{
    return pnm::read_memory<ByteMapValues, ByteMap>(data, pnm::ByteSource::bytes(data, size), bytemap_error);
}

ByteMap* bytemap_load_pnm(const char* path)
{
    return pnm::load<ByteMapValues, ByteMap>(path, bytemap_error);
}

int32_t bytemap_save_pnm(const ByteMap* map, const char* path)
{
    return pnm::save(map, path, "P5", put_byte, bytemap_error);
}

// Each value stands as the blue sample of a P3 pixel, six pixels a line.
char* bytemap_to_text(const ByteMap* map)
{
    return pnm::to_text(map, text_name, [](uint8_t value) { return uint32_t{value}; }, bytemap_error);
}

ByteMap* bytemap_from_text(const char* text)
{
    return pnm::from_text<ByteMapValues, ByteMap>(text, text_name, bytemap_error);
}

int32_t bytemap_find_text(const char* text, const char* search)
{
    if (!text || !search) {
        bytemap_error();
        return 0;
    }
    return img_find_text(text, search);
}
