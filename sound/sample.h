// SAMPLE: a growable array of signed 32-bit values. It carries sound (one
// value per output sample at 44100 Hz, on the signed 16-bit scale) and, through
// the PALETTE module, tables of colours. The module prints nothing: refused
// calls leave everything unchanged and give 0, -1 or null.
#pragma once

#include <cstdint>
#include <cstdio>

struct Sample {
    int32_t count;     // values in use, 0 <= count <= capacity
    int32_t capacity;  // values the buffer holds
    int32_t* data;     // owned buffer; null only when its allocation failed
};

// Creation and storage. Buffers are replaced, never resized in place; when a
// new buffer can't be allocated the Sample stays as it was.
Sample* sample_new();
void sample_free(Sample** sample);
void sample_set_capacity(Sample* sample, int32_t capacity);
void sample_set_count(Sample* sample, int32_t count);
void sample_clear(Sample* sample);
Sample* sample_copy(const Sample* sample);
Sample* sample_slice(const Sample* sample, int32_t from, int32_t to);

// Element access and editing. An index is valid when 0 <= index < count.
int32_t sample_get(const Sample* sample, int32_t index);
void sample_set(Sample* sample, int32_t value, int32_t index);
void sample_insert(Sample* sample, int32_t value, int32_t index);
void sample_remove(Sample* sample, int32_t index);
void sample_insert_sample(Sample* dst, const Sample* src, int32_t index);
// Overlapping ranges of one Sample are moved correctly in either direction.
void sample_copy_range(const Sample* src, Sample* dst, int32_t n, int32_t src_start, int32_t dst_start);
void sample_reverse(Sample* sample);
// Right: the value at index i moves to (i + amount) mod count. Left: to (i - amount).
void sample_rotate_right(Sample* sample, int32_t amount);
void sample_rotate_left(Sample* sample, int32_t amount);

// Search and comparison.
int32_t sample_find(const Sample* sample, int32_t value, int32_t start);
int32_t sample_min(const Sample* sample);
int32_t sample_max(const Sample* sample);
int32_t sample_equal(const Sample* a, const Sample* b);
int32_t sample_same(const Sample* a, const Sample* b);
// Matching positions of b laid over a with b[0] at index offset of a.
int32_t sample_count_matches(const Sample* a, const Sample* b, int32_t offset);
int32_t sample_best_offset(const Sample* a, const Sample* b);

// Arithmetic, in place on the first Sample, wrapping modulo 2^32.
void sample_add(Sample* a, const Sample* b);
void sample_mul(Sample* a, const Sample* b);
void sample_scale(Sample* sample, int32_t factor);
void sample_shl(Sample* sample, int32_t shift);  // shift 0..31
void sample_sar(Sample* sample, int32_t shift);  // shift 0..31, rounds toward -infinity
void sample_fit_range(Sample* sample, int32_t lo, int32_t hi);
void sample_resample(Sample* sample, int32_t count);

// Raw PCM files (no header) and the "SAMPLE{" text form.
// Widths 8, 16, 24, 32 out, 8 or 16 in; order 'b' or 'l'; sign 's' or 'u'.
void sample_write_raw(const Sample* sample, FILE* file, int32_t width, char order);
Sample* sample_read_raw(FILE* file, int32_t width, char order, char sign);
char* sample_to_text(const Sample* sample);  // caller frees with free
Sample* sample_from_text(const char* text);
