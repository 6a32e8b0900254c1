// IMG: the PNM codec. Readers for P1-P6 from memory and from a file, a binary
// P6 writer, and the "IMG{ P3 }" text form with its reader.
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "img.h"
#include "pnm_grammar.h"
#include "pnm_text.h"

namespace {

// Samples are not range-checked: a value above 255 runs into the next channel.
struct ImagePixels {
    static constexpr uint32_t colour(uint32_t red, uint32_t green, uint32_t blue)
    {
        return (red << 16) | (green << 8) | blue;
    }
    static constexpr uint32_t grey(uint32_t value) { return colour(value, value, value); }
    // A set bit is white, a clear bit black (the reverse of the PBM convention).
    static constexpr uint32_t bit(bool set) { return set ? 0x00FFFFFF : 0; }
};

constexpr const char* text_name = "IMG";

void put_rgb(uint32_t pixel, FILE* file)
{
    fputc(static_cast<int>((pixel >> 16) & 0xFF), file);
    fputc(static_cast<int>((pixel >> 8) & 0xFF), file);
    fputc(static_cast<int>(pixel & 0xFF), file);
}

}  // namespace

Image* img_from_pnm(const uint8_t* data)
{
    return pnm::read_memory<ImagePixels, Image>(data, pnm::ByteSource::memory(data), img_error);
}

Image* img_from_pnm_bytes(const uint8_t* data, size_t size)
{
    return pnm::read_memory<ImagePixels, Image>(data, pnm::ByteSource::bytes(data, size), img_error);
}

Image* img_load_pnm(const char* path)
{
    return pnm::load<ImagePixels, Image>(path, img_error);
}

int32_t img_save_pnm(const Image* image, const char* path)
{
    return pnm::save(image, path, "P6", put_rgb, img_error);
}

char* img_to_text(const Image* image)
{
    return pnm::to_text(image, text_name, [](uint32_t pixel) { return pixel; }, img_error);
}

Image* img_from_text(const char* text)
{
    return pnm::from_text<ImagePixels, Image>(text, text_name, img_error);
}

int32_t img_find_text(const char* text, const char* search)
{
    if (!text || !search) {
        img_error();
        return 0;
    }
    if (*text == '\0' || *search == '\0') {
        return 0;
    }
    const char* found = strstr(text, search);
    if (!found) {
        return 0;
    }
    return static_cast<int32_t>(found - text + static_cast<std::ptrdiff_t>(strlen(search)));
}
