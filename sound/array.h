// ARRAY: a growable list of pointer-sized words, used as a list of
// references it does not own (the audio queue, the music's wave bank).
// Refused calls change nothing and report through array_error.
#pragma once

#include <cstdint>

struct Array {
    int32_t capacity;  // slots in the buffer: 2 at creation, doubled when full
    int32_t count;     // elements in use, 0 <= count <= capacity
    void** data;       // owned, zero-filled when allocated
};

// When non-zero, refused calls print "ARRAY error". Nothing in the program sets it.
extern uint8_t array_debug;

Array* array_new();
void array_free(Array** array);
void array_append(Array* array, void* word);
void* array_get(const Array* array, int32_t index);
void array_set(Array* array, void* word, int32_t index);
void array_insert(Array* array, void* word, int32_t index);
void array_remove(Array* array, int32_t index);  // clears the slot it vacates
void* array_pop(Array* array);
int32_t array_find(const Array* array, const void* word);
// Ranges run from `from` up to, not including, `to`.
void array_remove_range(Array* array, int32_t from, int32_t to);
void array_insert_range(const Array* src, Array* dst, int32_t from, int32_t to, int32_t at);
Array* array_slice(const Array* array, int32_t from, int32_t to);
Array* array_copy(const Array* array);
int32_t array_grow(Array* array);  // doubles the capacity; 1 on success, 0 on failure
void array_error();
