// Parses each input as zero-terminated text; whatever parses must survive a
// round trip through the text form unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sample.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Sample* sample = sample_from_text(text.c_str());
    if (!sample) {
        return 0;
    }
    char* written = sample_to_text(sample);
    Sample* again = sample_from_text(written);
    if (!written || !sample_equal(sample, again)) {
        std::abort();
    }
    free(written);
    sample_free(&again);
    sample_free(&sample);
    return 0;
}
