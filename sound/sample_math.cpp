// SAMPLE: search, comparison, arithmetic, range fitting and resampling.
// Arithmetic wraps modulo 2^32, so products, sums and left shifts go
// through unsigned values.
#include "sample.h"
#include "sample_buffer.h"

#include <algorithm>

namespace {

constexpr int32_t fixed_shift = 16;  // 16.16 fixed point of the range fit

int32_t wrap(uint32_t value)
{
    return static_cast<int32_t>(value);
}

int32_t wrapping_add(int32_t a, int32_t b)
{
    return wrap(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t wrapping_sub(int32_t a, int32_t b)
{
    return wrap(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

int32_t wrapping_mul(int32_t a, int32_t b)
{
    return wrap(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Signed 32-bit division truncating toward zero, where the one overflowing
// case (INT32_MIN / -1) wraps like the other operations.
int32_t wrapping_div(int32_t a, int32_t b)
{
    return b == -1 ? wrapping_sub(0, a) : a / b;
}

bool has_values(const Sample* sample)
{
    return sample_has_buffer(sample) && sample->count > 0;
}

bool valid_shift(int32_t shift)
{
    return shift >= 0 && shift < 32;
}

template <typename Operation>
void combine(Sample* a, const Sample* b, Operation operation)
{
    if (!sample_has_buffer(a) || !sample_has_buffer(b)) {
        return;
    }
    const int32_t n = std::min(a->count, b->count);
    for (int32_t i = 0; i < n; ++i) {
        a->data[i] = operation(a->data[i], b->data[i]);
    }
}

template <typename Operation>
void transform(Sample* sample, Operation operation)
{
    if (has_values(sample)) {
        std::transform(sample->data, sample->data + sample->count, sample->data, operation);
    }
}

// Repeats source values: every one of the N values about n/N times, the
// first from source 0 and the last from source N - 1.
void stretch(const int32_t* source, int32_t source_count, int32_t* values, int32_t count)
{
    int64_t err = int64_t{source_count} - count;
    int32_t s = 0;
    for (int32_t j = 0; j < count; ++j) {
        if (err > 0) {
            err -= count;
            s += 1;
        }
        values[j] = source[s];
        err += source_count;
    }
}

// Picks `count` of the source values, in order and evenly spaced, starting
// with source 0: source i is taken when floor(i * count / N) moves on.
void shrink(const int32_t* source, int32_t source_count, int32_t* values, int32_t count)
{
    int64_t err = 0;
    int32_t picked = 0;
    for (int32_t i = 0; i < source_count && picked < count; ++i) {
        if (err <= 0) {
            values[picked++] = source[i];
            err += source_count;
        }
        err -= count;
    }
}

}  // namespace

int32_t sample_find(const Sample* sample, int32_t value, int32_t start)
{
    if (!sample_has_buffer(sample) || start < 0 || start >= sample->count) {
        return -1;
    }
    const int32_t* const end = sample->data + sample->count;
    const int32_t* const found = std::find<const int32_t*>(sample->data + start, end, value);
    return found == end ? -1 : static_cast<int32_t>(found - sample->data);
}

int32_t sample_min(const Sample* sample)
{
    return has_values(sample) ? *std::min_element(sample->data, sample->data + sample->count) : 0;
}

int32_t sample_max(const Sample* sample)
{
    return has_values(sample) ? *std::max_element(sample->data, sample->data + sample->count) : 0;
}

int32_t sample_equal(const Sample* a, const Sample* b)
{
    if (!sample_has_buffer(a) || !sample_has_buffer(b) || a->count != b->count) {
        return 0;
    }
    return std::equal(a->data, a->data + std::max(a->count, 0), b->data) ? 1 : 0;
}

// Distinct records are the same when their values in use are equal.
int32_t sample_same(const Sample* a, const Sample* b)
{
    if (a == b) {
        return 1;
    }
    return sample_equal(a, b);
}

int32_t sample_count_matches(const Sample* a, const Sample* b, int32_t offset)
{
    if (!sample_has_buffer(a) || !sample_has_buffer(b)) {
        return 0;
    }
    const int64_t first = std::max<int64_t>(offset, 0);
    const int64_t last = std::min<int64_t>(a->count, int64_t{offset} + b->count);
    int32_t matches = 0;
    for (int64_t i = first; i < last; ++i) {
        matches += a->data[i] == b->data[i - offset] ? 1 : 0;
    }
    return matches;
}

// The first offset with the most matches; -count(b) when nothing matches.
int32_t sample_best_offset(const Sample* a, const Sample* b)
{
    if (!sample_has_buffer(a) || !sample_has_buffer(b)) {
        return 0;
    }
    int32_t best_offset = -b->count;
    int32_t best_matches = 0;
    for (int64_t offset = int64_t{1} - b->count; offset < a->count; ++offset) {
        const int32_t matches = sample_count_matches(a, b, static_cast<int32_t>(offset));
        if (matches > best_matches) {
            best_matches = matches;
            best_offset = static_cast<int32_t>(offset);
        }
    }
    return best_offset;
}

void sample_add(Sample* a, const Sample* b)
{
    combine(a, b, wrapping_add);
}

void sample_mul(Sample* a, const Sample* b)
{
    combine(a, b, wrapping_mul);
}

void sample_scale(Sample* sample, int32_t factor)
{
    transform(sample, [factor](int32_t v) { return wrapping_mul(v, factor); });
}

void sample_shl(Sample* sample, int32_t shift)
{
    if (valid_shift(shift)) {
        transform(sample, [shift](int32_t v) { return wrap(static_cast<uint32_t>(v) << shift); });
    }
}

void sample_sar(Sample* sample, int32_t shift)
{
    if (valid_shift(shift)) {
        transform(sample, [shift](int32_t v) { return v >> shift; });
    }
}

// Maps min..max onto lo..hi with a 16.16 factor in signed 32-bit arithmetic.
// A Sample whose values are all equal has no range and stays unchanged.
void sample_fit_range(Sample* sample, int32_t lo, int32_t hi)
{
    if (!has_values(sample)) {
        return;
    }
    const int32_t min = sample_min(sample);
    const int32_t range = wrapping_sub(sample_max(sample), min);
    if (range == 0) {
        return;
    }
    const int32_t k = wrapping_div(wrap(static_cast<uint32_t>(wrapping_sub(hi, lo)) << fixed_shift), range);
    transform(sample, [min, k, lo](int32_t v) {
        return wrapping_add(wrapping_mul(wrapping_sub(v, min), k) >> fixed_shift, lo);
    });
}

void sample_resample(Sample* sample, int32_t count)
{
    if (!has_values(sample) || count <= 0 || count == sample->count) {
        return;
    }
    int32_t* values = sample_alloc_values(count);
    if (!values) {
        return;
    }
    if (sample->count < count) {
        stretch(sample->data, sample->count, values, count);
    } else {
        shrink(sample->data, sample->count, values, count);
    }
    sample_adopt_values(sample, values, count, count);
}
