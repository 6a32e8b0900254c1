// SAMPLE: inserting, removing, moving and reordering values.
#include "sample.h"
#include "sample_buffer.h"

#include <algorithm>
#include <cstring>

namespace {

bool valid_insert_index(const Sample* sample, int32_t index)
{
    return index >= 0 && index <= sample->count;
}

// Moves values [from, count) by `distance` slots inside the buffer.
void shift_tail(Sample* sample, int32_t from, int32_t distance)
{
    const int32_t moved = sample->count - from;
    if (moved > 0) {
        memmove(sample->data + from + distance, sample->data + from, moved * sizeof(int32_t));
    }
}

// Rotation amounts of any sign reduced to 0..count-1.
int32_t rotation(const Sample* sample, int32_t amount)
{
    return static_cast<int32_t>((int64_t{amount} % sample->count + sample->count) % sample->count);
}

}  // namespace

void sample_insert(Sample* sample, int32_t value, int32_t index)
{
    if (!sample_has_buffer(sample) || !valid_insert_index(sample, index)) {
        return;
    }
    if (sample->count >= sample->capacity) {
        if (sample->capacity <= 0 || sample->capacity > INT32_MAX / 2) {
            return;
        }
        sample_set_capacity(sample, sample->capacity * 2);
        if (sample->count >= sample->capacity) {
            return;
        }
    }
    shift_tail(sample, index, 1);
    sample->data[index] = value;
    sample->count += 1;
}

void sample_remove(Sample* sample, int32_t index)
{
    if (!sample_has_buffer(sample) || index < 0 || index >= sample->count) {
        return;
    }
    shift_tail(sample, index + 1, -1);
    sample->count -= 1;
}

// The destination always gets a new buffer of exactly the combined count;
// an index outside 0..count leaves the source's share as zeros at the end.
void sample_insert_sample(Sample* dst, const Sample* src, int32_t index)
{
    if (!sample_has_buffer(dst) || !sample_has_buffer(src)) {
        return;
    }
    const int64_t total = int64_t{dst->count} + src->count;
    if (total <= 0 || total > INT32_MAX) {
        return;
    }
    int32_t* values = sample_alloc_values(static_cast<int32_t>(total));
    if (!values) {
        return;
    }
    if (valid_insert_index(dst, index)) {
        std::copy_n(dst->data, index, values);
        std::copy_n(src->data, src->count, values + index);
        std::copy_n(dst->data + index, dst->count - index, values + index + src->count);
    } else {
        std::copy_n(dst->data, dst->count, values);
    }
    sample_adopt_values(dst, values, static_cast<int32_t>(total), static_cast<int32_t>(total));
}

void sample_copy_range(const Sample* src, Sample* dst, int32_t n, int32_t src_start, int32_t dst_start)
{
    if (!sample_has_buffer(src) || !sample_has_buffer(dst) || n < 0 || src_start < 0 || dst_start < 0) {
        return;
    }
    if (int64_t{src_start} + n > src->count || int64_t{dst_start} + n > dst->count) {
        return;
    }
    // memmove copies backwards exactly when the ranges overlap with the
    // destination after the source, so moves in both directions come out right.
    if (n > 0) {
        memmove(dst->data + dst_start, src->data + src_start, n * sizeof(int32_t));
    }
}

void sample_reverse(Sample* sample)
{
    if (sample_has_buffer(sample) && sample->count > 0) {
        std::reverse(sample->data, sample->data + sample->count);
    }
}

void sample_rotate_right(Sample* sample, int32_t amount)
{
    if (!sample_has_buffer(sample) || sample->count <= 0) {
        return;
    }
    int32_t* const end = sample->data + sample->count;
    std::rotate(sample->data, end - rotation(sample, amount), end);
}

void sample_rotate_left(Sample* sample, int32_t amount)
{
    if (!sample_has_buffer(sample) || sample->count <= 0) {
        return;
    }
    std::rotate(sample->data, sample->data + rotation(sample, amount), sample->data + sample->count);
}
