// SDLDPY display: the one window, opened through SDL 1.2, and the copy of
// finished 32-bit Images into it.
#include "display.h"

#include <SDL.h>
#include <img.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

[[gnu::used]] static const char* const display_id[] = {"CODE", "C", "Tobrenko", "20101104", "LINUXSDL",
                                                        "SDLDPY"};

uint8_t display_debug = 0;
uint8_t display_option = 0;

namespace {

constexpr uint32_t default_video_flags = SDL_HWSURFACE | SDL_ASYNCBLIT | SDL_ANYFORMAT;  // 0x10000005
constexpr int32_t default_side = 256;
constexpr const char* caption = "KELP4090";
constexpr int32_t bytes_per_pixel = 4;
constexpr int32_t max_row_bytes = 0xFFFF;  // SDL keeps a surface's pitch in 16 bits

SDL_Surface* window_surface = nullptr;
Display* the_display = nullptr;
uint32_t video_flags = 0;
bool flip = false;

// Reports and answers false unless `display` is the one Display.
bool is_the_display(const Display* display)
{
    if (display && display == the_display) {
        return true;
    }
    display_error();
    return false;
}

bool has_pixels(const Image* image)
{
    return image && image->pixels && image->width > 0 && image->height > 0;
}

// The Display, an open window and an Image of exactly the window's size.
bool can_present(const Display* display, const Image* image)
{
    if (!is_the_display(display)) {
        return false;
    }
    if (window_surface && has_pixels(image) && image->width == display->width &&
        image->height == display->height) {
        return true;
    }
    display_error();
    return false;
}

// True when the window surface stores pixels exactly as an Image does, so
// that a frame can go in as one block.
bool window_matches_image_layout(const Display* display)
{
    const SDL_PixelFormat* format = window_surface->format;
    return format->BitsPerPixel == 32 && format->Rmask == 0xFF0000 && format->Gmask == 0x00FF00 &&
           format->Bmask == 0x0000FF && window_surface->w == display->width &&
           window_surface->h == display->height && window_surface->pitch == bytes_per_pixel * display->width;
}

// Opens the window at the given size; the record changes only on success.
void open_window(Display* display, int32_t width, int32_t height)
{
    window_surface = SDL_SetVideoMode(width, height, 0, video_flags);
    if (!window_surface) {
        display_error();
        return;
    }
    SDL_WM_SetCaption(caption, caption);
    display->width = window_surface->w;
    display->height = window_surface->h;
    display->pixel_depth = window_surface->format->BitsPerPixel;
    flip = (window_surface->flags & SDL_DOUBLEBUF) != 0;
}

void show_window()
{
    if (flip) {
        SDL_Flip(window_surface);
    } else {
        SDL_UpdateRect(window_surface, 0, 0, 0, 0);
    }
}

// Readies the window for a frame in the Image's own layout: true with the
// surface locked; otherwise the frame was refused or shown converted.
bool lock_window_for(Display* display, const Image* image)
{
    if (!can_present(display, image)) {
        return false;
    }
    if (!window_matches_image_layout(display)) {
        display_present_converted(display, image);
        return false;
    }
    if (SDL_LockSurface(window_surface) < 0) {
        display_error();
        return false;
    }
    return true;
}

}  // namespace

void display_error()
{
    if (display_debug) {
        puts("SDLDPY error");
    }
}

Display* display_new()
{
    if (the_display) {
        display_error();
        return the_display;
    }
    video_flags = default_video_flags;
    auto* display = static_cast<Display*>(calloc(1, sizeof(Display)));
    if (!display) {
        display_error();
        return nullptr;
    }
    the_display = display;
    open_window(display, default_side, default_side);
    display_option = 0;
    return display;
}

void display_set_mode(Display* display, int32_t width, int32_t height)
{
    if (!is_the_display(display)) {
        return;
    }
    if (width < 0 || height < 0) {
        display_error();
        return;
    }
    SDL_FreeSurface(window_surface);
    open_window(display, width, height);
}

void display_present(Display* display, const Image* image)
{
    if (!lock_window_for(display, image)) {
        return;
    }
    if (window_surface->pixels) {
        const size_t bytes = static_cast<size_t>(display->width) * static_cast<size_t>(display->height) *
                             bytes_per_pixel;
        std::memcpy(window_surface->pixels, image->pixels, bytes);
    }
    SDL_UnlockSurface(window_surface);
    show_window();
}

// SDL converts the frame to the window's format: a temporary 32-bit surface
// borrows the Image's rows, SDL_DisplayFormat converts it, the blit clips it.
void display_present_converted(Display* display, const Image* image)
{
    if (!is_the_display(display)) {
        return;
    }
    if (!window_surface || !has_pixels(image) || image->width > max_row_bytes / bytes_per_pixel) {
        display_error();
        return;
    }
    const int32_t width = std::min(image->width, display->width);
    const int32_t height = std::min(image->height, display->height);
    SDL_Surface* frame = SDL_CreateRGBSurface(video_flags, width, height, 32, 0xFF0000, 0x00FF00, 0x0000FF,
                                              0xFF000000);
    if (!frame) {
        display_error();
        return;
    }
    void* own_pixels = frame->pixels;
    const Uint16 own_pitch = frame->pitch;
    frame->pixels = image->pixels;
    frame->pitch = static_cast<Uint16>(image->width * bytes_per_pixel);
    SDL_Surface* converted = SDL_DisplayFormat(frame);
    frame->pixels = own_pixels;
    frame->pitch = own_pitch;
    SDL_FreeSurface(frame);
    if (!converted) {
        display_error();
        return;
    }
    SDL_UpperBlit(converted, nullptr, window_surface, nullptr);
    SDL_FreeSurface(converted);
    show_window();
}

// The window shows the Image's own pixels for one present, without a copy.
void display_present_direct(Display* display, Image* image)
{
    if (!lock_window_for(display, image)) {
        return;
    }
    void* own_pixels = window_surface->pixels;
    window_surface->pixels = image->pixels;
    show_window();
    window_surface->pixels = own_pixels;
    SDL_UnlockSurface(window_surface);
}

void display_free(Display** display)
{
    if (!display) {
        display_error();
        return;
    }
    if (!is_the_display(*display)) {
        return;
    }
    SDL_FreeSurface(window_surface);
    window_surface = nullptr;
    free(*display);
    *display = nullptr;
    the_display = nullptr;
}

Display* display_check(Display* display)
{
    return is_the_display(display) ? display : nullptr;
}

Display* display_current()
{
    return the_display;
}

int32_t display_same(const Display* a, const Display* b)
{
    return is_the_display(a) && is_the_display(b) ? 1 : 0;
}

const char* display_name(const Display* display)
{
    return is_the_display(display) ? "" : nullptr;
}
