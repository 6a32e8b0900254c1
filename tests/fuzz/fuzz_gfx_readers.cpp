// Feeds each input to every reader of untrusted pictures, Image and ByteMap
// alike (they share one reader):
// - the bounded memory reader: what it accepts, the memory reader without a
//   length reads within the input (AddressSanitizer watches its end) to the
//   same picture; what it refuses never reaches that reader, which by design
//   runs on past the end of an incomplete picture;
// - the file reader, on an in-memory file reached through /proc, so its
//   fopen/fgetc path and end-of-file handling run without the disk: whatever
//   it returns has a positive size and its pixels;
// - the text reader, on the input NUL-terminated: what it accepts is written
//   back as text and read again (see the two round trips below).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bytemap.h"
#include "img.h"

namespace {

void require(bool holds)
{
    if (!holds) {
        std::abort();
    }
}

const std::string& file_of(const uint8_t* data, size_t size)
{
    static const int descriptor = memfd_create("fuzz_gfx_readers", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    // Written over the last input and then cut to size, so the file keeps its page.
    require(descriptor >= 0 && pwrite(descriptor, data, size, 0) == static_cast<ssize_t>(size) &&
            ftruncate(descriptor, static_cast<off_t>(size)) == 0);
    return path;
}

template <typename Grid>
void check_pnm_readers(const uint8_t* data, size_t size, Grid* (*bounded)(const uint8_t*, size_t),
                       Grid* (*unbounded)(const uint8_t*), Grid* (*load)(const char*),
                       int32_t (*equal)(const Grid*, const Grid*), void (*release)(Grid**))
{
    if (Grid* grid = bounded(data, size)) {
        Grid* again = unbounded(data);
        require(equal(grid, again) == 1);
        release(&grid);
        release(&again);
    }
    if (Grid* grid = load(file_of(data, size).c_str())) {
        require(grid->width > 0 && grid->height > 0 && grid->pixels);
        release(&grid);
    }
}

// Samples above 255 spill into the top byte, which the text form drops;
// the rest comes back unchanged, and an Image without pixels reads "IMG{}".
void check_image_text(const char* text)
{
    Image* image = img_from_text(text);
    if (!image) {
        return;
    }
    const int64_t count = int64_t{image->width} * image->height;
    for (int64_t i = 0; i < count; i++) {
        image->pixels[i] &= 0x00FFFFFF;
    }
    char* written = img_to_text(image);
    Image* back = written ? img_from_text(written) : nullptr;
    require(count == 0 ? written && std::strcmp(written, "IMG{}") == 0 : img_equal(image, back) == 1);
    std::free(written);
    img_free(&back);
    img_free(&image);
}

// A ByteMap's values are written as the blue samples and read back as the
// average of three samples: each comes back divided by 3.
void check_bytemap_text(const char* text)
{
    ByteMap* map = bytemap_from_text(text);
    if (!map) {
        return;
    }
    char* written = bytemap_to_text(map);
    ByteMap* back = written ? bytemap_from_text(written) : nullptr;
    const int64_t count = int64_t{map->width} * map->height;
    bool same = count == 0 ? back == nullptr : back && back->width == map->width && back->height == map->height;
    for (int64_t i = 0; same && i < count; i++) {
        same = back->pixels[i] == map->pixels[i] / 3;
    }
    require(same);
    std::free(written);
    bytemap_free(&back);
    bytemap_free(&map);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    check_pnm_readers(data, size, img_from_pnm_bytes, img_from_pnm, img_load_pnm, img_equal, img_free);
    check_pnm_readers(data, size, bytemap_from_pnm_bytes, bytemap_from_pnm, bytemap_load_pnm, bytemap_equal,
                      bytemap_free);
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    check_image_text(text.data());
    check_bytemap_text(text.data());
    return 0;
}
