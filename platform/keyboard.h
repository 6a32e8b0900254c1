// SDLDPY keyboard: the last key pressed, one byte, read once per frame.
#pragma once

#include <cstdint>

struct Keyboard {
    uint8_t* keys;  // owned 8-byte buffer; byte 0 is the last-key byte
};

Keyboard* keyboard_new();  // null while no Display exists
void keyboard_poll(Keyboard* keyboard);
void keyboard_free(Keyboard** keyboard);
const char* keyboard_name(const Keyboard* keyboard);
int32_t keyboard_same(const Keyboard* a, const Keyboard* b);
