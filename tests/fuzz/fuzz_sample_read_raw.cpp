// The first byte picks width, byte order and signedness (valid or not); the
// rest goes through a temporary file into sample_read_raw.
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
    FILE* file = tmpfile();
    if (!file) {
        std::abort();
    }
    fwrite(data + 1, 1, size - 1, file);
    rewind(file);
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
