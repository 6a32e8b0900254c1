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

// How the windows opened from now on show a frame: scale 1 to
// display_max_scale shows every pixel as a scale x scale block in a window
// that much larger than the frame; display_fullscreen takes the whole
// screen in the display mode that fits the frame best, at the largest whole
// scale, centred on black, and opens nothing where no fullscreen mode is
// offered. The Display's width and height stay the
// frame's size. Starts at 1; other values are refused.
constexpr int32_t display_fullscreen = 0;
constexpr int32_t display_max_scale = 8;
void display_set_scale(int32_t scale);

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
