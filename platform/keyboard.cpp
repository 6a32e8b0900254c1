// SDLDPY keyboard: drains SDL's event queue once per frame and keeps the
// last key pressed as one byte.
#include "keyboard.h"

#include "display.h"

#include <SDL.h>

#include <cstdlib>

namespace {

constexpr size_t key_buffer_size = 8;

Keyboard* the_keyboard = nullptr;

}  // namespace

Keyboard* keyboard_new()
{
    if (!display_current()) {
        return nullptr;
    }
    if (the_keyboard) {
        return the_keyboard;
    }
    auto* keyboard = static_cast<Keyboard*>(calloc(1, sizeof(Keyboard)));
    if (!keyboard) {
        return nullptr;
    }
    keyboard->keys = static_cast<uint8_t*>(calloc(key_buffer_size, 1));
    if (!keyboard->keys) {
        free(keyboard);
        return nullptr;
    }
    the_keyboard = keyboard;
    return keyboard;
}

// Only key events count; mouse, focus and the window's close request are dropped.
void keyboard_poll(Keyboard* keyboard)
{
    if (!keyboard || !keyboard->keys) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_KEYDOWN) {
            keyboard->keys[0] = static_cast<uint8_t>(event.key.keysym.sym & 0xFF);
        } else if (event.type == SDL_KEYUP) {
            keyboard->keys[0] = 0;
        }
    }
}

void keyboard_free(Keyboard** keyboard)
{
    if (!keyboard || !*keyboard) {
        return;
    }
    if (*keyboard == the_keyboard) {
        the_keyboard = nullptr;
    }
    free((*keyboard)->keys);
    free(*keyboard);
    *keyboard = nullptr;
}

const char* keyboard_name(const Keyboard* keyboard)
{
    return keyboard ? "" : nullptr;
}

int32_t keyboard_same(const Keyboard* a, const Keyboard* b)
{
    return a && a == b ? 1 : 0;
}
