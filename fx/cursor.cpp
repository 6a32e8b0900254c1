// A wrapping position counter.
#include "cursor.h"

#include <cstdlib>

[[gnu::used]] static const char* const cursor_id[] = {"CODE", "C", "Tobrenko", "20101104", "CURSOR"};

constexpr int32_t cursor_default_length = 16;

Cursor* cursor_new()
{
    auto* cursor = static_cast<Cursor*>(calloc(1, sizeof(Cursor)));
    if (cursor) {
        cursor->length = cursor_default_length;
        cursor->step = 1;
    }
    return cursor;
}

void cursor_free(Cursor** cursor)
{
    if (!cursor || !*cursor) {
        return;
    }
    free(*cursor);
    *cursor = nullptr;
}

void cursor_set(Cursor* cursor, int32_t length, int32_t step)
{
    if (!cursor) {
        return;
    }
    cursor->length = length;
    cursor->step = step;
    cursor->position = 0;
}

// The mathematical modulo, for steps of any size and sign. An empty range
// has no valid position, so it is left alone.
void cursor_step(Cursor* cursor)
{
    if (!cursor || cursor->length < 1) {
        return;
    }
    const int64_t wrapped = (int64_t{cursor->position} + cursor->step) % cursor->length;
    cursor->position = static_cast<int32_t>(wrapped < 0 ? wrapped + cursor->length : wrapped);
}

void cursor_save(Cursor* cursor)
{
    if (cursor) {
        cursor->saved = cursor->position;
    }
}

void cursor_restore(Cursor* cursor)
{
    if (cursor) {
        cursor->position = cursor->saved;
    }
}
