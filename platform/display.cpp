// SDLDPY display: the one window, opened through SDL 1.2, and the copy of
// finished 32-bit Images into it.
#include "display.h"

#include <SDL.h>
#include <img.h>

#include <algorithm>
#include <bit>
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
constexpr int64_t max_window_side = 0x7FFF;  // SDL keeps rectangles in 16 bits

SDL_Surface* window_surface = nullptr;
int32_t requested_scale = 1;  // 1 to display_max_scale, or display_fullscreen
Display* the_display = nullptr;
uint32_t video_flags = 0;
bool flip = false;
int32_t clears_pending = 0;  // presents that first make the whole window black

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

// Where the frame lands on the window surface: its top-left corner, in window pixels.
struct Placement {
    int32_t scale = 1;
    int32_t left = 0;
    int32_t top = 0;
};

Placement placement;

// Channel positions come from the masks: emscripten's SDL fills the masks of
// its window format but leaves the shift fields at 0.
uint32_t channel_shift(uint32_t mask)
{
    return mask ? static_cast<uint32_t>(std::countr_zero(mask)) : 0;
}

bool whole_byte_channel(uint32_t mask)
{
    const uint32_t shift = channel_shift(mask);
    return shift % 8 == 0 && mask == uint32_t{0xFF} << shift;
}

// A 32-bit surface whose red, green and blue each fill one whole byte: our
// own pass writes the frame into it, whatever the order of the bytes.
bool window_has_byte_channels()
{
    const SDL_PixelFormat* format = window_surface->format;
    return format->BitsPerPixel == 32 && whole_byte_channel(format->Rmask) &&
           whole_byte_channel(format->Gmask) && whole_byte_channel(format->Bmask) &&
           std::popcount(format->Rmask | format->Gmask | format->Bmask) == 24;
}

bool window_is_xrgb()
{
    const SDL_PixelFormat* format = window_surface->format;
    return format->Rmask == 0xFF0000 && format->Gmask == 0x00FF00 && format->Bmask == 0x0000FF;
}

// True when the window stores a frame exactly as an Image does, so that it
// can go in as one block.
bool window_matches_image_layout(const Display* display)
{
    return window_has_byte_channels() && window_is_xrgb() && placement.scale == 1 && placement.left == 0 &&
           placement.top == 0 && window_surface->w == display->width && window_surface->h == display->height &&
           window_surface->pitch == bytes_per_pixel * display->width;
}

// Writes `cols` x `rows` source pixels into the window at the placement,
// each as a scale x scale block: a row is written once through `map`, then
// copied for the other rows of its blocks. The source and the window hold
// pixels of the same size; the caller has locked the window.
template <typename Pixel, typename Map>
void scale_into_window(const uint8_t* source, size_t source_pitch, int32_t cols, int32_t rows, Map map)
{
    const int32_t scale = placement.scale;
    const size_t pitch = window_surface->pitch;
    const size_t row_bytes = static_cast<size_t>(cols) * static_cast<size_t>(scale) * sizeof(Pixel);
    uint8_t* target = static_cast<uint8_t*>(window_surface->pixels) + static_cast<size_t>(placement.top) * pitch +
                      static_cast<size_t>(placement.left) * sizeof(Pixel);
    for (int32_t y = 0; y < rows; ++y, source += source_pitch) {
        const auto* in = reinterpret_cast<const Pixel*>(source);
        auto* out = reinterpret_cast<Pixel*>(target);
        if (scale == 1) {
            std::transform(in, in + cols, out, map);
        } else {
            for (int32_t x = 0; x < cols; ++x) {
                std::fill_n(out + x * scale, scale, map(in[x]));
            }
        }
        for (int32_t copy = 1; copy < scale; ++copy) {
            std::memcpy(target + copy * pitch, target, row_bytes);
        }
        target += pitch * static_cast<size_t>(scale);
    }
}

// How many of `frame` pixels fit between the placement's start and `window` at its scale.
int32_t visible(int32_t frame, int32_t window, int32_t start)
{
    return std::clamp((window - start) / placement.scale, 0, frame);
}

// The frame into a 32-bit window with whole-byte channels, in one pass.
void write_frame(const Display* display, const Image* image)
{
    const auto* source = reinterpret_cast<const uint8_t*>(image->pixels);
    if (window_matches_image_layout(display)) {
        std::memcpy(window_surface->pixels, source,
                    static_cast<size_t>(display->width) * static_cast<size_t>(display->height) * bytes_per_pixel);
        return;
    }
    const size_t source_pitch = static_cast<size_t>(image->width) * bytes_per_pixel;
    const int32_t cols = visible(image->width, window_surface->w, placement.left);
    const int32_t rows = visible(image->height, window_surface->h, placement.top);
    if (window_is_xrgb()) {
        scale_into_window<uint32_t>(source, source_pitch, cols, rows, [](uint32_t pixel) { return pixel; });
        return;
    }
    const SDL_PixelFormat* format = window_surface->format;
    const uint32_t red = channel_shift(format->Rmask), green = channel_shift(format->Gmask),
                   blue = channel_shift(format->Bmask);
    scale_into_window<uint32_t>(source, source_pitch, cols, rows, [=](uint32_t pixel) {
        return ((pixel >> 16) & 0xFF) << red | ((pixel >> 8) & 0xFF) << green | (pixel & 0xFF) << blue;
    });
}

// A pixel of `Bytes` bytes, copied as a whole.
template <size_t Bytes>
struct RawPixel {
    uint8_t bytes[Bytes];
};

// A frame already in the window's format (from SDL's conversion) into the
// window at the placement, whatever the window's pixel size.
void write_converted(const SDL_Surface* converted)
{
    const auto* source = static_cast<const uint8_t*>(converted->pixels);
    const size_t pitch = converted->pitch;
    const int32_t cols = visible(converted->w, window_surface->w, placement.left);
    const int32_t rows = visible(converted->h, window_surface->h, placement.top);
    const auto same = [](auto pixel) { return pixel; };
    switch (window_surface->format->BytesPerPixel) {
    case 1: scale_into_window<uint8_t>(source, pitch, cols, rows, same); break;
    case 2: scale_into_window<uint16_t>(source, pitch, cols, rows, same); break;
    case 3: scale_into_window<RawPixel<3>>(source, pitch, cols, rows, same); break;
    case 4: scale_into_window<uint32_t>(source, pitch, cols, rows, same); break;
    default: display_error();
    }
}

// The fullscreen display mode that shows a width x height frame best: the
// largest whole scale, and of the modes that give it the largest (SDL lists
// the screen's own first), which the monitor shows without rescaling.
// {0, 0} when there is none, with the reason in SDL's error.
SDL_Rect fullscreen_mode(int32_t width, int32_t height)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_Init(SDL_INIT_VIDEO) < 0) {
        return {};
    }
    SDL_Rect** modes = SDL_ListModes(nullptr, video_flags | SDL_FULLSCREEN);
    if (modes == reinterpret_cast<SDL_Rect**>(-1)) {  // any size: the screen's own, when SDL knows it
        const SDL_VideoInfo* info = SDL_GetVideoInfo();
        const bool known = info && info->current_w >= width && info->current_h >= height;
        return {0, 0, static_cast<Uint16>(known ? info->current_w : width),
                static_cast<Uint16>(known ? info->current_h : height)};
    }
    SDL_Rect best{};
    int32_t best_scale = 0;
    for (int32_t i = 0; modes && modes[i]; ++i) {
        const SDL_Rect& mode = *modes[i];
        const int32_t scale = std::min(mode.w / width, mode.h / height);
        const bool larger = int64_t{mode.w} * mode.h > int64_t{best.w} * best.h;
        if (scale > best_scale || (scale == best_scale && scale > 0 && larger)) {
            best = mode;
            best_scale = scale;
        }
    }
    if (best_scale == 0) {
        SDL_SetError("no fullscreen display mode of at least %dx%d", width, height);
        return {};
    }
    return best;
}

// The window surface for a width x height frame at the requested scale,
// or null (SDL's error says why).
SDL_Surface* open_surface(int32_t width, int32_t height)
{
    const bool fullscreen = requested_scale == display_fullscreen;
    if (int64_t{std::max(width, height)} * (fullscreen ? 1 : requested_scale) > max_window_side ||
        (fullscreen && (width <= 0 || height <= 0))) {
        SDL_SetError("no window of %dx%d at scale %d", width, height, requested_scale);
        return nullptr;
    }
    if (!fullscreen) {
        return SDL_SetVideoMode(width * requested_scale, height * requested_scale, 0, video_flags);
    }
    const SDL_Rect mode = fullscreen_mode(width, height);
    return mode.w > 0 ? SDL_SetVideoMode(mode.w, mode.h, 0, video_flags | SDL_FULLSCREEN) : nullptr;
}

// The frame centred in the window at the largest whole scale that fits it,
// no larger than the one asked for.
void place_frame(int32_t width, int32_t height)
{
    const int32_t fits = std::min(window_surface->w / std::max(width, 1), window_surface->h / std::max(height, 1));
    placement.scale = std::max(1, requested_scale == display_fullscreen ? fits : std::min(fits, requested_scale));
    placement.left = std::max(0, (window_surface->w - width * placement.scale) / 2);
    placement.top = std::max(0, (window_surface->h - height * placement.scale) / 2);
}

// Opens the window for a width x height frame; the record changes only on
// success. A plain window's record takes the size SDL granted; a scaled or
// fullscreen one keeps the frame's size.
void open_window(Display* display, int32_t width, int32_t height)
{
    window_surface = open_surface(width, height);
    if (!window_surface) {
        display_error();
        return;
    }
    SDL_WM_SetCaption(caption, caption);
    const bool plain = requested_scale == 1;
    display->width = plain ? window_surface->w : width;
    display->height = plain ? window_surface->h : height;
    display->pixel_depth = window_surface->format->BitsPerPixel;
    flip = (window_surface->flags & SDL_DOUBLEBUF) != 0;
    place_frame(display->width, display->height);
    const bool covered = placement.left == 0 && placement.top == 0 &&
                         window_surface->w == display->width * placement.scale &&
                         window_surface->h == display->height * placement.scale;
    clears_pending = covered ? 0 : flip ? 2 : 1;
}

void show_window()
{
    if (flip) {
        SDL_Flip(window_surface);
    } else {
        SDL_UpdateRect(window_surface, 0, 0, 0, 0);
    }
}

bool lock_window()
{
    if (SDL_LockSurface(window_surface) < 0) {
        display_error();
        return false;
    }
    return true;
}

// Nothing but the frame is ever written into the window, and SDL promises
// nothing about a new window surface's pixels (sdl12-compat leaves them as
// allocated): a window larger than the frame is made black by its first
// present, or its first two when they flip between two buffers.
void clear_window_if_pending()
{
    if (clears_pending == 0 || !lock_window()) {
        return;
    }
    clears_pending -= 1;
    if (window_surface->pixels) {
        std::memset(window_surface->pixels, 0,
                    static_cast<size_t>(window_surface->pitch) * static_cast<size_t>(window_surface->h));
    }
    SDL_UnlockSurface(window_surface);
}

// A width x height 32-bit surface on the top-left of the Image's own rows,
// read with the Image's row length. SDL is handed the rows when the surface
// is made: a library that keeps a surface's pixels in a surface of its own
// (sdl12-compat) never sees a pointer written into `pixels` afterwards.
SDL_Surface* frame_surface(const Image* image, int32_t width, int32_t height)
{
    return SDL_CreateRGBSurfaceFrom(image->pixels, width, height, 32, image->width * bytes_per_pixel, 0xFF0000,
                                    0x00FF00, 0x0000FF, 0xFF000000);
}

// A converted frame into the window at its placement: SDL's blit at scale
// 1 (onto the whole window when the frame starts at its corner), our own
// enlarging pass above.
bool place_converted(SDL_Surface* converted)
{
    if (placement.scale == 1) {
        SDL_Rect at{static_cast<Sint16>(placement.left), static_cast<Sint16>(placement.top), 0, 0};
        const bool corner = placement.left == 0 && placement.top == 0;
        return SDL_UpperBlit(converted, nullptr, window_surface, corner ? nullptr : &at) == 0;
    }
    if (SDL_LockSurface(converted) < 0) {
        return false;
    }
    const bool locked = SDL_LockSurface(window_surface) == 0;
    if (locked) {
        if (window_surface->pixels && converted->pixels) {
            write_converted(converted);
        }
        SDL_UnlockSurface(window_surface);
    }
    SDL_UnlockSurface(converted);
    return locked;
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

void display_set_scale(int32_t scale)
{
    if (scale < display_fullscreen || scale > display_max_scale) {
        display_error();
        return;
    }
    requested_scale = scale;
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

// 32-bit windows with whole-byte channels take the frame in one pass of our
// own (one block when their layout is the Image's); others go through SDL's
// conversion.
void display_present(Display* display, const Image* image)
{
    if (!can_present(display, image)) {
        return;
    }
    if (!window_has_byte_channels()) {
        display_present_converted(display, image);
        return;
    }
    clear_window_if_pending();
    if (!lock_window()) {
        return;
    }
    if (window_surface->pixels) {
        write_frame(display, image);
    }
    SDL_UnlockSurface(window_surface);
    show_window();
}

// SDL converts the frame to the window's format: a temporary 32-bit surface
// on the Image's rows, SDL_DisplayFormat converts it, SDL blits it into
// the window (our own pass enlarges it at scales above 1), and both
// temporaries are gone before the window is shown.
void display_present_converted(Display* display, const Image* image)
{
    if (!is_the_display(display)) {
        return;
    }
    if (!window_surface || !has_pixels(image) || image->width > max_row_bytes / bytes_per_pixel) {
        display_error();
        return;
    }
    clear_window_if_pending();
    SDL_Surface* frame =
        frame_surface(image, std::min(image->width, display->width), std::min(image->height, display->height));
    SDL_Surface* converted = frame ? SDL_DisplayFormat(frame) : nullptr;
    const bool placed = converted && place_converted(converted);
    SDL_FreeSurface(converted);
    SDL_FreeSurface(frame);
    if (!placed) {
        display_error();
        return;
    }
    show_window();
}

// The window shows the Image's own pixels for one present, without a copy,
// when it stores them exactly as the Image does; otherwise the frame goes
// through display_present.
void display_present_direct(Display* display, Image* image)
{
    if (!can_present(display, image)) {
        return;
    }
    if (!window_matches_image_layout(display)) {
        display_present(display, image);
        return;
    }
    if (!lock_window()) {
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
