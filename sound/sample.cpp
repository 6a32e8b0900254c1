// SAMPLE: creation, storage and single-value access.
#include "sample.h"
#include "sample_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

[[gnu::used]] static const char* const sample_id[] = {"CODE", "C", "Tobrenko", "20101104", "SAMPLE"};

namespace {

constexpr size_t value_size = sizeof(int32_t);
constexpr int32_t default_capacity = 32;

bool valid_index(const Sample* sample, int32_t index)
{
    return sample_has_buffer(sample) && index >= 0 && index < sample->count;
}

// Replaces the buffer by one of exactly `capacity` values, keeping the
// values in use that fit. False when the new buffer can't be allocated.
bool replace_buffer(Sample* sample, int32_t capacity)
{
    int32_t* values = sample_alloc_values(capacity);
    if (!values) {
        return false;
    }
    const int32_t kept = sample->data ? std::min(sample->count, capacity) : 0;
    if (kept > 0) {
        memcpy(values, sample->data, kept * value_size);
    }
    sample_adopt_values(sample, values, capacity, kept);
    return true;
}

// A new Sample holding `count` values copied from `values`, with capacity
// exactly `count` (the default when it is 0).
Sample* new_holding(const int32_t* values, int32_t count)
{
    Sample* result = sample_new();
    if (!result || !result->data || (count > 0 && !replace_buffer(result, count))) {
        sample_free(&result);
        return nullptr;
    }
    if (count > 0) {
        memcpy(result->data, values, count * value_size);
    }
    result->count = count;
    return result;
}

}  // namespace

bool sample_has_buffer(const Sample* sample)
{
    return sample && sample->data;
}

int32_t* sample_alloc_values(int32_t capacity)
{
    return static_cast<int32_t*>(calloc(capacity, value_size));
}

void sample_adopt_values(Sample* sample, int32_t* values, int32_t capacity, int32_t count)
{
    free(sample->data);
    sample->data = values;
    sample->capacity = capacity;
    sample->count = count;
}

Sample* sample_new()
{
    auto* sample = static_cast<Sample*>(calloc(1, sizeof(Sample)));
    if (!sample) {
        return nullptr;
    }
    sample->data = sample_alloc_values(default_capacity);
    sample->capacity = sample->data ? default_capacity : 0;
    return sample;
}

void sample_free(Sample** sample)
{
    if (!sample || !*sample) {
        return;
    }
    free((*sample)->data);
    free(*sample);
    *sample = nullptr;
}

void sample_set_capacity(Sample* sample, int32_t capacity)
{
    if (sample && capacity > 0) {
        replace_buffer(sample, capacity);
    }
}

void sample_set_count(Sample* sample, int32_t count)
{
    if (!sample || count < 0) {
        return;
    }
    const bool needs_buffer = count > sample->capacity || !sample->data;
    if (count > 0 && needs_buffer && !replace_buffer(sample, count)) {
        return;
    }
    sample->count = count;
}

void sample_clear(Sample* sample)
{
    if (sample_has_buffer(sample) && sample->count > 0) {
        memset(sample->data, 0, sample->count * value_size);
    }
}

Sample* sample_copy(const Sample* sample)
{
    if (!sample_has_buffer(sample)) {
        return nullptr;
    }
    return new_holding(sample->data, sample->count);
}

Sample* sample_slice(const Sample* sample, int32_t from, int32_t to)
{
    if (!sample_has_buffer(sample) || from > to) {
        return nullptr;
    }
    from = std::max(from, 0);
    to = std::min(to, sample->count);
    const int32_t length = std::max(to - from, 0);
    return new_holding(sample->data + (length > 0 ? from : 0), length);
}

int32_t sample_get(const Sample* sample, int32_t index)
{
    return valid_index(sample, index) ? sample->data[index] : 0;
}

void sample_set(Sample* sample, int32_t value, int32_t index)
{
    if (valid_index(sample, index)) {
        sample->data[index] = value;
    }
}
