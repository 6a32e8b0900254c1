// Feeds each input to img_from_pnm_bytes. What it accepts, the memory reader
// without a length reads within the input (AddressSanitizer watches the
// input's end) and to the same Image; what it refuses never reaches that
// reader, which by design runs on past the end of an incomplete picture.
#include <cstdint>
#include <cstdlib>

#include "img.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Image* image = img_from_pnm_bytes(data, size);
    if (!image) {
        return 0;
    }
    Image* unbounded = img_from_pnm(data);
    const bool same = img_equal(image, unbounded) == 1;
    img_free(&image);
    img_free(&unbounded);
    if (!same) {
        std::abort();
    }
    return 0;
}
