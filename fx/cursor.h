// CURSOR: a position inside a cyclic range that advances by a signed step
// and wraps at both ends. The scrollers keep their leading character in one.
// The module prints nothing; every operation ignores a null Cursor.
#pragma once

#include <cstdint>

struct Cursor {
    int32_t length;    // size of the cyclic range, at least 1 to be usable
    int32_t step;      // added by cursor_step
    int32_t position;  // kept in 0 .. length - 1
    int32_t saved;     // copy of position taken by cursor_save
};

Cursor* cursor_new();  // length 16, step 1, position 0; null on allocation failure
void cursor_free(Cursor** cursor);
void cursor_set(Cursor* cursor, int32_t length, int32_t step);
void cursor_step(Cursor* cursor);
void cursor_save(Cursor* cursor);
void cursor_restore(Cursor* cursor);
