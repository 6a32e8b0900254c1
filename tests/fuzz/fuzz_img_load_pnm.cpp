// Feeds each input to img_load_pnm as a file: an in-memory file reached
// through /proc, so the reader's fopen/fgetc path and its end-of-file
// handling run without touching the disk.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const int descriptor = memfd_create("fuzz_img_load_pnm", 0);
    static const std::string path = "/proc/self/fd/" + std::to_string(descriptor);
    // Written over the last input and then cut to size, so the file keeps its page.
    if (descriptor < 0 || pwrite(descriptor, data, size, 0) != static_cast<ssize_t>(size) ||
        ftruncate(descriptor, static_cast<off_t>(size)) != 0) {
        std::abort();
    }
    Image* image = img_load_pnm(path.c_str());
    if (image) {
        // Whatever is returned has a positive size and its pixels.
        if (image->width <= 0 || image->height <= 0 || !image->pixels) {
            std::abort();
        }
        img_free(&image);
    }
    return 0;
}
