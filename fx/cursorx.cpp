// CURSORX: cyclic phase counter; all remainders are taken non-negative.
#include "cursorx.h"

#include <cstdlib>

[[gnu::used]] static const char* const cursorx_id[] = {"CODE", "C", "Tobrenko", "20101104", "CURSORX"};

namespace {

constexpr int32_t default_length = 1024;
constexpr int32_t default_offset_step = 1;
constexpr int32_t default_step = 2;

// The counter runs on for ever, so sums wrap around 32 bits.
int32_t wrapping_sum(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// The remainder in 0 .. length - 1; a value is left alone when the range is
// empty (length 0, or a negative length written into the record).
int32_t wrap(int32_t value, int32_t length)
{
    if (length <= 0) {
        return value;
    }
    const int32_t rest = value % length;
    return rest < 0 ? rest + length : rest;
}

void update_position(CursorX* cursor)
{
    if (cursor->length > 0) {
        cursor->position = wrap(wrapping_sum(cursor->counter, cursor->offset), cursor->length);
    }
}

}  // namespace

CursorX* cursorx_new()
{
    auto* cursor = static_cast<CursorX*>(calloc(1, sizeof(CursorX)));
    if (cursor) {
        cursor->length = default_length;
        cursor->offset_step = default_offset_step;
        cursor->step = default_step;
    }
    return cursor;
}

CursorX* cursorx_clone(const CursorX* cursor)
{
    if (!cursor) {
        return nullptr;
    }
    auto* clone = static_cast<CursorX*>(calloc(1, sizeof(CursorX)));
    if (clone) {
        cursorx_copy(cursor, clone);
    }
    return clone;
}

void cursorx_copy(const CursorX* src, CursorX* dst)
{
    if (!src || !dst) {
        return;
    }
    dst->length = src->length;
    dst->offset = src->offset;
    dst->offset_step = src->offset_step;
    dst->counter = src->counter;
    dst->step = src->step;
}

void cursorx_free(CursorX** cursor)
{
    if (!cursor || !*cursor) {
        return;
    }
    free(*cursor);
    *cursor = nullptr;
}

int32_t cursorx_set(CursorX* cursor, int32_t value)
{
    if (!cursor) {
        return value;
    }
    cursor->counter = value;
    update_position(cursor);
    return cursor->position;
}

int32_t cursorx_step(CursorX* cursor)
{
    if (!cursor) {
        return 0;
    }
    cursor->counter = wrapping_sum(cursor->counter, cursor->step);
    update_position(cursor);
    return cursor->position;
}

int32_t cursorx_set_offset(CursorX* cursor, int32_t value)
{
    if (!cursor) {
        return value;
    }
    cursor->offset = wrap(value, cursor->length);
    update_position(cursor);
    return cursor->position;
}

// Adding or subtracting length until the offset is back in range is the
// non-negative remainder.
void cursorx_rotate(CursorX* cursor)
{
    if (cursor) {
        cursorx_set_offset(cursor, wrapping_sum(cursor->offset, cursor->offset_step));
    }
}

void cursorx_reset(CursorX* cursor, int32_t value)
{
    if (cursor) {
        cursor->counter = 0;
        cursorx_set_offset(cursor, value);
    }
}

void cursorx_set_length(CursorX* cursor, int32_t length)
{
    if (cursor && length >= 0) {
        cursor->length = length;
        cursorx_set_offset(cursor, cursor->offset);
    }
}

void cursorx_setup(CursorX* cursor, int32_t length, int32_t offset, int32_t offset_step, int32_t counter,
                   int32_t step)
{
    if (!cursor) {
        return;
    }
    cursorx_set_length(cursor, length);
    cursorx_set_offset(cursor, offset);
    cursorx_set(cursor, counter);
    cursor->offset_step = offset_step;
    cursor->step = step;
}

void cursorx_update(CursorX* cursor)
{
    if (cursor) {
        update_position(cursor);
    }
}
