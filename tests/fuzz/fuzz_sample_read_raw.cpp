// The first byte picks width, byte order and signedness (valid or not); the
// rest is read by sample_read_raw as a stream over memory.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "sample.h"

namespace {

constexpr int32_t widths[] = {8, 16, 12, 0};
constexpr char orders[] = {'l', 'b', 'x', 0};
constexpr char signs[] = {'s', 'u', 'S', 0};

bool on_sixteen_bit_scale(const Sample* sample)
{
    for (int32_t i = 0; i < sample->count; ++i) {
        if (sample->data[i] < -32768 || sample->data[i] > 32767) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int32_t width = widths[data[0] & 3];
    const char order = orders[(data[0] >> 2) & 3];
    const char sign = signs[(data[0] >> 4) & 3];
    // A stream over the input itself, buffered in a static array: no disk,
    // and no fresh buffer per run for AddressSanitizer to quarantine.
    static char buffer[BUFSIZ];
    FILE* file = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb");
    if (!file || setvbuf(file, buffer, _IOFBF, sizeof buffer) != 0) {
        std::abort();
    }
    Sample* sample = sample_read_raw(file, width, order, sign);
    fclose(file);

    const bool valid = (width == 8 || width == 16) && (order == 'l' || order == 'b') && (sign == 's' || sign == 'u');
    if (valid != (sample != nullptr)) {
        std::abort();
    }
    if (sample) {
        const size_t expected = (size - 1) / static_cast<size_t>(width / 8);
        if (static_cast<size_t>(sample->count) != expected || !on_sixteen_bit_scale(sample)) {
            std::abort();
        }
        sample_free(&sample);
    }
    return 0;
}
