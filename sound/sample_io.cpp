// SAMPLE: raw PCM files and the "SAMPLE{" text form.
#include "sample.h"
#include "sample_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t raw_start_capacity = 1024;
constexpr char text_head[] = "SAMPLE{";
constexpr char empty_text[] = "SAMPLE{}\n";

struct RawFormat {
    int32_t bytes;
    int32_t lowest;
    int32_t highest;
};

// Widths other than 8, 24 and 32 are written as 16-bit values. The 32-bit
// range is made symmetric: only -2^31 itself changes.
RawFormat raw_format(int32_t width)
{
    switch (width) {
    case 8:
        return {1, -128, 127};
    case 24:
        return {3, -8388608, 8388607};
    case 32:
        return {4, -INT32_MAX, INT32_MAX};
    default:
        return {2, -32768, 32767};
    }
}

void write_bytes(FILE* file, uint32_t bits, int32_t bytes, bool big_endian)
{
    for (int32_t i = 0; i < bytes; ++i) {
        const int32_t shift = 8 * (big_endian ? bytes - 1 - i : i);
        fputc(static_cast<int>((bits >> shift) & 0xFF), file);
    }
}

// One value of an 8- or 16-bit stream scaled to the signed 16-bit range;
// false at end of file, which also drops a lone last byte of a 16-bit stream.
bool read_raw_value(FILE* file, int32_t width, char order, char sign, int32_t* value)
{
    const int first = fgetc(file);
    if (first == EOF) {
        return false;
    }
    if (width == 8) {
        *value = sign == 's' ? static_cast<int8_t>(first) * 256 : first * 256 - 32768;
        return true;
    }
    const int second = fgetc(file);
    if (second == EOF) {
        return false;
    }
    const int32_t number = order == 'l' ? first + 256 * second : 256 * first + second;
    *value = sign == 's' ? static_cast<int16_t>(number) : number - 32768;
    return true;
}

// Stores the value and doubles the capacity whenever the count reaches it.
bool append_growing(Sample* sample, int32_t value)
{
    sample->data[sample->count++] = value;
    if (sample->count < sample->capacity) {
        return true;
    }
    if (sample->capacity > INT32_MAX / 2) {
        return false;
    }
    sample_set_capacity(sample, sample->capacity * 2);
    return sample->count < sample->capacity;
}

size_t decimal_length(int32_t value)
{
    return static_cast<size_t>(snprintf(nullptr, 0, "%ld", static_cast<long>(value)));
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads one value: skips to a digit or '-', then takes an optional '-' and
// the digits right after it (none reads as 0). Digits wrap modulo 2^32.
// Null when the text ends first.
const char* read_text_value(const char* cursor, int32_t* value)
{
    while (*cursor && !is_digit(*cursor) && *cursor != '-') {
        ++cursor;
    }
    if (!*cursor) {
        return nullptr;
    }
    const bool negative = *cursor == '-';
    cursor += negative ? 1 : 0;
    uint32_t magnitude = 0;
    for (; is_digit(*cursor); ++cursor) {
        magnitude = magnitude * 10 + static_cast<uint32_t>(*cursor - '0');
    }
    *value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
    return cursor;
}

// Moves to the first digit after the '{'; null for a '}' or the end of the
// text before any digit, with *empty telling which of the two it was.
const char* find_count(const char* cursor, bool* empty)
{
    for (; *cursor && !is_digit(*cursor); ++cursor) {
        if (*cursor == '}') {
            *empty = true;
            return nullptr;
        }
    }
    return *cursor ? cursor : nullptr;
}

Sample* parse_values(const char* cursor, int64_t count)
{
    Sample* sample = sample_new();
    int32_t* values = count > 0 ? sample_alloc_values(static_cast<int32_t>(count)) : nullptr;
    if (!sample || !sample->data || (count > 0 && !values)) {
        free(values);
        sample_free(&sample);
        return nullptr;
    }
    if (values) {
        sample_adopt_values(sample, values, static_cast<int32_t>(count), 0);
    }
    for (int64_t i = 0; i < count; ++i) {
        cursor = read_text_value(cursor, &sample->data[i]);
        if (!cursor) {
            sample_free(&sample);
            return nullptr;
        }
    }
    sample->count = static_cast<int32_t>(count);
    return sample;
}

}  // namespace

void sample_write_raw(const Sample* sample, FILE* file, int32_t width, char order)
{
    if (!file || !sample_has_buffer(sample) || sample->count <= 0) {
        return;
    }
    const RawFormat format = raw_format(width);
    for (int32_t i = 0; i < sample->count; ++i) {
        const int32_t value = std::clamp(sample->data[i], format.lowest, format.highest);
        write_bytes(file, static_cast<uint32_t>(value), format.bytes, order == 'b');
    }
}

Sample* sample_read_raw(FILE* file, int32_t width, char order, char sign)
{
    const bool known = (width == 8 || width == 16) && (order == 'b' || order == 'l') && (sign == 's' || sign == 'u');
    if (!file || !known) {
        return nullptr;
    }
    Sample* sample = sample_new();
    sample_set_capacity(sample, raw_start_capacity);
    if (!sample || sample->capacity != raw_start_capacity) {
        sample_free(&sample);
        return nullptr;
    }
    int32_t value = 0;
    while (read_raw_value(file, width, order, sign, &value)) {
        if (!append_growing(sample, value)) {
            sample_free(&sample);
            return nullptr;
        }
    }
    return sample;
}

char* sample_to_text(const Sample* sample)
{
    if (!sample_has_buffer(sample)) {
        return nullptr;
    }
    if (sample->count <= 0) {
        auto* text = static_cast<char*>(malloc(sizeof empty_text));
        return text ? strcpy(text, empty_text) : nullptr;
    }
    // Head, count line, one line per value, "}\n" and the terminating zero.
    size_t length = strlen(text_head) + decimal_length(sample->count) + 1 + 2 + 1;
    for (int32_t i = 0; i < sample->count; ++i) {
        length += decimal_length(sample->data[i]) + 1;
    }
    auto* text = static_cast<char*>(malloc(length));
    if (!text) {
        return nullptr;
    }
    char* cursor = text + snprintf(text, length, "%s%ld\n", text_head, static_cast<long>(sample->count));
    for (int32_t i = 0; i < sample->count; ++i) {
        cursor += snprintf(cursor, length - (cursor - text), "%ld\n", static_cast<long>(sample->data[i]));
    }
    snprintf(cursor, length - (cursor - text), "}\n");
    return text;
}

// A forgiving scan that stops at the terminating zero. A text without the
// head or the '{', or with fewer values than its count, gives null.
Sample* sample_from_text(const char* text)
{
    const char* head = text ? strstr(text, "SAMPLE") : nullptr;
    const char* brace = head ? strchr(head, '{') : nullptr;
    if (!brace) {
        return nullptr;
    }
    bool empty = false;
    const char* cursor = find_count(brace, &empty);
    if (!cursor) {
        return empty ? sample_new() : nullptr;
    }
    // Every value takes at least one character, so a count larger than the
    // rest of the text can't be met; capping it keeps the sum from overflowing.
    int64_t count = 0;
    for (; is_digit(*cursor); ++cursor) {
        count = std::min<int64_t>(count * 10 + (*cursor - '0'), int64_t{INT32_MAX} + 1);
    }
    if (count > INT32_MAX || static_cast<size_t>(count) > strlen(cursor)) {
        return nullptr;
    }
    return parse_values(cursor, count);
}
