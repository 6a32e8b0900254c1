// ARRAY: growable list of references.
#include "array.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

[[gnu::used]] static const char* const array_id[] = {"CODE", "C", "Tobrenko", "20101104", "ARRAY"};

uint8_t array_debug = 0;

namespace {

constexpr int32_t initial_capacity = 2;

bool usable(const Array* array)
{
    return array && array->data;
}

bool valid_index(const Array* array, int32_t index)
{
    return usable(array) && index >= 0 && index < array->count;
}

bool valid_range(const Array* array, int32_t from, int32_t to)
{
    return usable(array) && from >= 0 && from < to && to <= array->count;
}

// Moves elements [from, count) by `distance` slots inside the buffer.
void shift_tail(Array* array, int32_t from, int32_t distance)
{
    const int32_t moved = array->count - from;
    if (moved > 0) {
        memmove(array->data + from + distance, array->data + from, moved * sizeof(void*));
    }
}

// Grows until `needed` slots fit; false (reported) when a growth fails.
bool reserve(Array* array, int64_t needed)
{
    while (array->capacity < needed) {
        if (!array_grow(array)) {
            return false;
        }
    }
    return true;
}

// A new Array holding elements from..to-1, appended one by one.
Array* new_holding(const Array* array, int32_t from, int32_t to)
{
    Array* result = array_new();
    if (!result) {
        return nullptr;
    }
    for (int32_t i = from; i < to; ++i) {
        array_append(result, array->data[i]);
    }
    if (result->count != to - from) {
        array_free(&result);
    }
    return result;
}

}  // namespace

void array_error()
{
    if (array_debug) {
        puts("ARRAY error");
    }
}

Array* array_new()
{
    auto* array = static_cast<Array*>(calloc(1, sizeof(Array)));
    void** slots = static_cast<void**>(calloc(initial_capacity, sizeof(void*)));
    if (!array || !slots) {
        free(array);
        free(slots);
        array_error();
        return nullptr;
    }
    array->capacity = initial_capacity;
    array->data = slots;
    return array;
}

void array_free(Array** array)
{
    if (!array || !*array) {
        array_error();
        return;
    }
    free((*array)->data);
    **array = Array{};
    free(*array);
    *array = nullptr;
}

int32_t array_grow(Array* array)
{
    if (!usable(array) || array->capacity <= 0 || array->capacity > INT32_MAX / 2) {
        array_error();
        return 0;
    }
    const int32_t capacity = array->capacity * 2;
    void** slots = static_cast<void**>(calloc(capacity, sizeof(void*)));
    if (!slots) {
        array_error();
        return 0;
    }
    if (array->count > 0) {
        memcpy(slots, array->data, array->count * sizeof(void*));
    }
    free(array->data);
    array->data = slots;
    array->capacity = capacity;
    return 1;
}

void array_append(Array* array, void* word)
{
    if (!usable(array)) {
        array_error();
        return;
    }
    if (array->count >= array->capacity && !array_grow(array)) {
        return;
    }
    array->data[array->count++] = word;
}

void* array_get(const Array* array, int32_t index)
{
    if (!valid_index(array, index)) {
        array_error();
        return nullptr;
    }
    return array->data[index];
}

void array_set(Array* array, void* word, int32_t index)
{
    if (!valid_index(array, index)) {
        array_error();
        return;
    }
    array->data[index] = word;
}

void array_insert(Array* array, void* word, int32_t index)
{
    if (!usable(array) || index < 0 || index > array->count) {
        array_error();
        return;
    }
    if (!reserve(array, int64_t{array->count} + 1)) {
        return;
    }
    shift_tail(array, index, 1);
    array->data[index] = word;
    array->count += 1;
}

void array_remove(Array* array, int32_t index)
{
    if (!valid_index(array, index)) {
        array_error();
        return;
    }
    shift_tail(array, index + 1, -1);
    array->count -= 1;
    array->data[array->count] = nullptr;
}

void* array_pop(Array* array)
{
    if (!usable(array) || array->count <= 0) {
        array_error();
        return nullptr;
    }
    array->count -= 1;
    return array->data[array->count];
}

int32_t array_find(const Array* array, const void* word)
{
    if (!usable(array) || !word) {
        array_error();
        return -1;
    }
    for (int32_t i = 0; i < array->count; ++i) {
        if (array->data[i] == word) {
            return i;
        }
    }
    return -1;
}

void array_remove_range(Array* array, int32_t from, int32_t to)
{
    if (!valid_range(array, from, to)) {
        array_error();
        return;
    }
    shift_tail(array, to, from - to);
    array->count -= to - from;
}

void array_insert_range(const Array* src, Array* dst, int32_t from, int32_t to, int32_t at)
{
    if (!valid_range(src, from, to) || !usable(dst) || at < 0 || at > dst->count) {
        array_error();
        return;
    }
    const int32_t inserted = to - from;
    if (!reserve(dst, int64_t{dst->count} + inserted)) {
        return;
    }
    shift_tail(dst, at, inserted);
    // src may be dst itself, whose buffer the growth has just replaced.
    memmove(dst->data + at, src->data + from, inserted * sizeof(void*));
    dst->count += inserted;
}

Array* array_slice(const Array* array, int32_t from, int32_t to)
{
    if (!valid_range(array, from, to)) {
        array_error();
        return nullptr;
    }
    return new_holding(array, from, to);
}

Array* array_copy(const Array* array)
{
    if (!usable(array)) {
        array_error();
        return nullptr;
    }
    return new_holding(array, 0, array->count);
}
