// Feeds each input, NUL-terminated, to bytemap_from_text. Whatever it
// accepts is written back with bytemap_to_text; reading that must give the
// same size with every value divided by 3 (each value stands as one of the
// three samples whose average is taken).
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "bytemap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    ByteMap* map = bytemap_from_text(text.data());
    if (!map) {
        return 0;
    }
    char* written = bytemap_to_text(map);
    ByteMap* back = written ? bytemap_from_text(written) : nullptr;
    const int64_t count = int64_t{map->width} * map->height;
    bool same = count == 0 ? back == nullptr : back && back->width == map->width && back->height == map->height;
    for (int64_t i = 0; same && i < count; i++) {
        same = back->pixels[i] == map->pixels[i] / 3;
    }
    std::free(written);
    if (back) {
        bytemap_free(&back);
    }
    bytemap_free(&map);
    if (!same) {
        std::abort();
    }
    return 0;
}
