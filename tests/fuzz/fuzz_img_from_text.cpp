// Feeds each input, NUL-terminated, to img_from_text; whatever it accepts
// must survive a trip through img_to_text and back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    Image* image = img_from_text(text.data());
    if (!image) {
        return 0;
    }
    // Samples above 255 spill into the top byte, which the text form drops.
    const int64_t count = int64_t{image->width} * image->height;
    for (int64_t i = 0; i < count; i++) {
        image->pixels[i] &= 0x00FFFFFF;
    }
    char* written = img_to_text(image);
    Image* back = written ? img_from_text(written) : nullptr;
    const bool same = count == 0 ? written && std::strcmp(written, "IMG{}") == 0 : img_equal(image, back) == 1;
    std::free(written);
    if (back) {
        img_free(&back);
    }
    img_free(&image);
    if (!same) {
        std::abort();
    }
    return 0;
}
