#include "shape.h"

#include <cmath>

namespace {

double rms(std::span<const int32_t> values)
{
    double sum = 0.0;
    for (const int32_t v : values) {
        sum += static_cast<double>(v) * v;
    }
    return values.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(values.size()));
}

}  // namespace

Shape shape_measure(std::span<const int32_t> wave)
{
    Shape shape;
    const size_t eighth = wave.size() / 8;
    shape.head_rms = rms(wave.first(eighth));
    const double tail_rms = rms(wave.last(eighth));
    shape.tail_ratio = shape.head_rms > 0.0 ? tail_rms / shape.head_rms : 0.0;
    int32_t last_sign = 0;
    for (const int32_t v : wave) {
        shape.peak = std::fmax(shape.peak, std::abs(static_cast<double>(v)));
        const int32_t sign = (v > 0) - (v < 0);
        if (sign == 0) {
            continue;
        }
        if (last_sign != 0 && sign != last_sign) {
            shape.sign_changes += 1.0;
        }
        last_sign = sign;
    }
    return shape;
}
