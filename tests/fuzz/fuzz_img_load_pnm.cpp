// Feeds each input to img_load_pnm through a real file, so the reader's
// fopen/fgetc path and its end-of-file handling are what gets exercised.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "img.h"

namespace {

// A plain array, so it is still there when the exit handler removes the file.
char input_file[] = "/tmp/fuzz_img_load_pnm.XXXXXX";

const char* input_path()
{
    static const bool created = [] {
        const int descriptor = mkstemp(input_file);
        if (descriptor < 0) {
            std::abort();
        }
        close(descriptor);
        std::atexit([] { std::remove(input_file); });
        return true;
    }();
    (void)created;
    return input_file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* file = std::fopen(input_path(), "wb");
    if (!file) {
        std::abort();
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    Image* image = img_load_pnm(input_path());
    if (image) {
        // Whatever is returned has a positive size and its pixels.
        if (image->width <= 0 || image->height <= 0 || !image->pixels) {
            std::abort();
        }
        img_free(&image);
    }
    return 0;
}
