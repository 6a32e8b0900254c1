// Feeds each input to bytemap_from_pnm_bytes. What it accepts, the memory reader
// without a length reads within the input (AddressSanitizer watches the
// input's end) and to the same ByteMap; what it refuses never reaches that
// reader, which by design runs on past the end of an incomplete picture.
#include <cstdint>
#include <cstdlib>

#include "bytemap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ByteMap* image = bytemap_from_pnm_bytes(data, size);
    if (!image) {
        return 0;
    }
    ByteMap* unbounded = bytemap_from_pnm(data);
    const bool same = bytemap_equal(image, unbounded) == 1;
    bytemap_free(&image);
    bytemap_free(&unbounded);
    if (!same) {
        std::abort();
    }
    return 0;
}
