// SDLDPY display: the one window and the presentation of finished frames.
#pragma once

#include <cstdint>

struct Image;

struct Display {
    int32_t width;
    int32_t height;
    int32_t pixel_depth;  // bits per pixel of the window surface, as SDL reports it
};

// When non-zero, refused calls print "SDLDPY error". Nothing in the program sets it.
extern uint8_t display_debug;
// Free option byte, cleared by display_new and toggled by the 'o' key.
extern uint8_t display_option;

Display* display_new();
void display_set_mode(Display* display, int32_t width, int32_t height);
// Copies a window-size Image to the window and shows it: one block when the
// window surface is 32-bit 0x00RRGGBB with rows of 4 * width bytes, one pass
// of our own into any other 32-bit surface whose red, green and blue each
// fill a whole byte (0x00BBGGRR and the like), and through
// display_present_converted into 16-bit, 8-bit and other surfaces.
void display_present(Display* display, const Image* image);
void display_present_converted(Display* display, const Image* image);
void display_present_direct(Display* display, Image* image);
void display_free(Display** display);
Display* display_check(Display* display);
// The one Display, or null while none is open; asks nothing of the caller.
Display* display_current();
int32_t display_same(const Display* a, const Display* b);
const char* display_name(const Display* display);
void display_error();
