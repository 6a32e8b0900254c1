// Feeds each input to both readers of Samples:
// - sample_from_text, on the input NUL-terminated: whatever parses survives
//   a round trip through the text form unchanged;
// - sample_read_raw, on a stream over the input less its first byte, which
//   picks width, byte order and signedness (valid or not): valid ones give
//   one value per whole sample on the 16-bit scale, others give nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sample.h"

namespace {

constexpr int32_t widths[] = {8, 16, 12, 0};
constexpr char orders[] = {'l', 'b', 'x', 0};
constexpr char signs[] = {'s', 'u', 'S', 0};

void require(bool holds)
{
    if (!holds) {
        std::abort();
    }
}

void check_text(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Sample* sample = sample_from_text(text.c_str());
    if (!sample) {
        return;
    }
    char* written = sample_to_text(sample);
    Sample* again = sample_from_text(written);
    require(written && sample_equal(sample, again));
    free(written);
    sample_free(&again);
    sample_free(&sample);
}

void check_raw(const uint8_t* data, size_t size)
{
    const int32_t width = widths[data[0] & 3];
    const char order = orders[(data[0] >> 2) & 3];
    const char sign = signs[(data[0] >> 4) & 3];
    // Buffered in a static array: no disk, and no fresh buffer per run for
    // AddressSanitizer to quarantine.
    static char buffer[BUFSIZ];
    FILE* file = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb");
    require(file && setvbuf(file, buffer, _IOFBF, sizeof buffer) == 0);
    Sample* sample = sample_read_raw(file, width, order, sign);
    fclose(file);
    const bool valid = (width == 8 || width == 16) && (order == 'l' || order == 'b') && (sign == 's' || sign == 'u');
    require(valid == (sample != nullptr));
    if (sample) {
        const auto on_scale = [](int32_t v) { return v >= -32768 && v <= 32767; };
        require(static_cast<size_t>(sample->count) == (size - 1) / static_cast<size_t>(width / 8) &&
                std::all_of(sample->data, sample->data + sample->count, on_scale));
        sample_free(&sample);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    check_text(data, size);
    if (size > 0) {
        check_raw(data, size);
    }
    return 0;
}
