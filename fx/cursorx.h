// CURSORX: a cyclic phase counter with two speeds. The counter moves by
// `step` once per use (per column of a wave) and the offset by `offset_step`
// once per frame; position is always (counter + offset) modulo length.
// Every operation ignores a null CursorX; the module prints nothing.
#pragma once

#include <cstdint>

struct CursorX {
    int32_t length;       // size of the cyclic range; 0 freezes position
    int32_t position;     // result, 0 .. length - 1
    int32_t offset;       // phase offset, kept in 0 .. length - 1
    int32_t offset_step;  // added to offset by cursorx_rotate
    int32_t counter;      // running counter
    int32_t step;         // added to counter by cursorx_step
};

CursorX* cursorx_new();  // length 1024, offset step 1, step 2
CursorX* cursorx_clone(const CursorX* cursor);  // position 0; null on failure
void cursorx_copy(const CursorX* src, CursorX* dst);  // all but position
void cursorx_free(CursorX** cursor);

// These return the new position, or their value argument (0 for
// cursorx_step) when the CursorX is null.
int32_t cursorx_set(CursorX* cursor, int32_t value);
int32_t cursorx_step(CursorX* cursor);
int32_t cursorx_set_offset(CursorX* cursor, int32_t value);

void cursorx_rotate(CursorX* cursor);
void cursorx_reset(CursorX* cursor, int32_t value);
void cursorx_set_length(CursorX* cursor, int32_t length);  // negative lengths are ignored
void cursorx_setup(CursorX* cursor, int32_t length, int32_t offset, int32_t offset_step, int32_t counter,
                   int32_t step);
void cursorx_update(CursorX* cursor);
