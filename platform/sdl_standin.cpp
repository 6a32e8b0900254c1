// The SDL 1.2 stand-in: the video, event, timer and audio calls of the
// platform and sound modules, played out on a virtual clock so that a run
// is exact and repeatable. The functions keep SDL's own C signatures.
#include "sdl_standin.h"

#include "virtual_clock.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr uint64_t fnv_offset = 0xCBF29CE484222325;
constexpr uint64_t fnv_prime = 0x100000001B3;
constexpr uint64_t us_per_ms = 1000;
constexpr int32_t max_pitch = 0xFFFF;  // SDL_Surface keeps the pitch in 16 bits
constexpr uint8_t unset_window_byte = 0xBE;

struct ChannelMasks {
    uint32_t red;
    uint32_t green;
    uint32_t blue;
};

// A surface and the pixel block it was made with. Conversions and blits read
// a source through that block, as a library that keeps the pixels in a
// surface of its own (sdl12-compat) does: a pointer a caller writes into
// `pixels` is not seen there.
struct MadeSurface {
    SDL_Surface surface;  // first: the SDL_Surface handed out is the record's address
    void* block;
};

struct Standin {
    VirtualClock clock{};  // presents, time, sound buffers due and queued events
    uint32_t init_flags = 0;
    uint32_t subsystems = 0;  // everything SDL_Init started since SDL_Quit
    std::string error;

    int32_t video_depth = 32;
    ChannelMasks video_masks{};  // all zero: the depth's usual layout
    int32_t row_padding = 0;
    bool fail_video = false;
    bool grant_doublebuf = false;
    std::vector<SDL_Rect> fullscreen_modes;
    std::vector<SDL_Rect*> mode_list;  // SDL_ListModes' null-terminated answer
    SDL_VideoInfo video_info{};
    bool read_back = true;
    SDL_Surface* window = nullptr;
    std::string caption;
    uint64_t flips = 0;
    uint64_t conversions = 0;
    uint64_t blits = 0;
    int32_t surfaces = 0;  // made and not yet released
    std::vector<uint32_t> last_frame;
    uint64_t frames_hash = fnv_offset;
    StandinPresentHook hook = nullptr;
    void* hook_user = nullptr;

    std::vector<uint32_t> delays;

    bool fail_audio = false;
    bool audio_paused = true;
    SDL_AudioSpec audio_spec{};
    int32_t audio_lock_depth = 0;
    std::vector<int16_t> audio;
};

Standin state;

void set_error(const char* text)
{
    state.error = text;
}

// ---- Pixel formats and surfaces ----

// The layouts the stand-in's screen uses at each depth, also SDL's default
// when a surface is created without masks.
constexpr ChannelMasks default_masks(int32_t depth)
{
    switch (depth) {
    case 32: return {0xFF0000, 0x00FF00, 0x0000FF};
    case 16: return {0xF800, 0x07E0, 0x001F};
    default: return {0xE0, 0x1C, 0x03};
    }
}

constexpr bool depth_supported(int32_t depth)
{
    return depth == 8 || depth == 16 || depth == 32;
}

void describe_channel(uint32_t mask, Uint8& shift, Uint8& loss)
{
    const int32_t bits = std::popcount(mask);
    shift = mask ? static_cast<Uint8>(std::countr_zero(mask)) : 0;
    loss = static_cast<Uint8>(std::max(0, 8 - bits));
}

SDL_PixelFormat* format_new(int32_t depth, ChannelMasks masks, uint32_t alpha_mask)
{
    auto* format = static_cast<SDL_PixelFormat*>(calloc(1, sizeof(SDL_PixelFormat)));
    if (!format) {
        return nullptr;
    }
    format->BitsPerPixel = static_cast<Uint8>(depth);
    format->BytesPerPixel = static_cast<Uint8>(depth / 8);
    format->Rmask = masks.red;
    format->Gmask = masks.green;
    format->Bmask = masks.blue;
    format->Amask = alpha_mask;
    describe_channel(masks.red, format->Rshift, format->Rloss);
    describe_channel(masks.green, format->Gshift, format->Gloss);
    describe_channel(masks.blue, format->Bshift, format->Bloss);
    describe_channel(alpha_mask, format->Ashift, format->Aloss);
    format->alpha = SDL_ALPHA_OPAQUE;
    return format;
}

MadeSurface* made_of(SDL_Surface* surface)
{
    return reinterpret_cast<MadeSurface*>(surface);
}

// The surface as the library reads it: its own pixel block.
SDL_Surface as_made(SDL_Surface* surface)
{
    SDL_Surface copy = *surface;
    copy.pixels = made_of(surface)->block;
    return copy;
}

void surface_release(SDL_Surface* surface)
{
    if (surface) {
        if (!(surface->flags & SDL_PREALLOC)) {
            free(made_of(surface)->block);
        }
        free(surface->format);
        free(surface);
        state.surfaces -= 1;
    }
}

// A zeroed surface with rows padded to 4 bytes (plus `padding`), or null.
SDL_Surface* surface_new(int32_t width, int32_t height, int32_t depth, ChannelMasks masks,
                         uint32_t alpha_mask, int32_t padding)
{
    if (width < 0 || height < 0 || !depth_supported(depth)) {
        set_error("Invalid surface size or depth");
        return nullptr;
    }
    const int64_t pitch = ((int64_t{width} * (depth / 8) + 3) & ~int64_t{3}) + padding;
    if (pitch > max_pitch) {
        set_error("Surface is too wide");
        return nullptr;
    }
    auto* made = static_cast<MadeSurface*>(calloc(1, sizeof(MadeSurface)));
    if (!made) {
        set_error("Out of memory");
        return nullptr;
    }
    state.surfaces += 1;
    SDL_Surface* surface = &made->surface;
    surface->format = format_new(depth, masks, alpha_mask);
    surface->w = width;
    surface->h = height;
    surface->pitch = static_cast<Uint16>(pitch);
    surface->clip_rect = {0, 0, static_cast<Uint16>(width), static_cast<Uint16>(height)};
    surface->refcount = 1;
    if (width > 0 && height > 0) {
        surface->pixels = calloc(static_cast<size_t>(height), static_cast<size_t>(pitch));
        made->block = surface->pixels;
    }
    if (!surface->format || (width > 0 && height > 0 && !surface->pixels)) {
        surface_release(surface);
        set_error("Out of memory");
        return nullptr;
    }
    return surface;
}

uint8_t* pixel_address(const SDL_Surface* surface, int32_t x, int32_t y)
{
    return static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(y) * surface->pitch +
           static_cast<ptrdiff_t>(x) * surface->format->BytesPerPixel;
}

uint32_t pixel_read(const SDL_Surface* surface, int32_t x, int32_t y)
{
    const uint8_t* at = pixel_address(surface, x, y);
    switch (surface->format->BytesPerPixel) {
    case 4: { uint32_t value; std::memcpy(&value, at, 4); return value; }
    case 2: { uint16_t value; std::memcpy(&value, at, 2); return value; }
    default: return *at;
    }
}

void pixel_write(SDL_Surface* surface, int32_t x, int32_t y, uint32_t value)
{
    uint8_t* at = pixel_address(surface, x, y);
    switch (surface->format->BytesPerPixel) {
    case 4: std::memcpy(at, &value, 4); break;
    case 2: { const auto narrow = static_cast<uint16_t>(value); std::memcpy(at, &narrow, 2); break; }
    default: *at = static_cast<uint8_t>(value);
    }
}

// A channel widened back to 8 bits so that its full scale reads as 255.
uint32_t channel_value(uint32_t pixel, uint32_t mask, Uint8 shift)
{
    const uint32_t full = mask >> shift;
    return full ? ((pixel & mask) >> shift) * 255 / full : 0;
}

uint32_t rgb_from_pixel(const SDL_PixelFormat* format, uint32_t pixel)
{
    return channel_value(pixel, format->Rmask, format->Rshift) << 16 |
           channel_value(pixel, format->Gmask, format->Gshift) << 8 |
           channel_value(pixel, format->Bmask, format->Bshift);
}

uint32_t pixel_from_rgb(const SDL_PixelFormat* format, uint32_t rgb)
{
    const uint32_t red = (rgb >> 16) & 0xFF;
    const uint32_t green = (rgb >> 8) & 0xFF;
    const uint32_t blue = rgb & 0xFF;
    return (red >> format->Rloss) << format->Rshift | (green >> format->Gloss) << format->Gshift |
           (blue >> format->Bloss) << format->Bshift | format->Amask;
}

void convert_rect(const SDL_Surface* src, int32_t sx, int32_t sy, SDL_Surface* dst, int32_t dx,
                  int32_t dy, int32_t width, int32_t height)
{
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t rgb = rgb_from_pixel(src->format, pixel_read(src, sx + x, sy + y));
            pixel_write(dst, dx + x, dy + y, pixel_from_rgb(dst->format, rgb));
        }
    }
}

// Shortens a span so it starts at 0 and ends at `limit`, moving the
// matching position on the other surface along with its start.
void clip_span(int32_t& pos, int32_t& other, int32_t& length, int32_t limit)
{
    if (pos < 0) {
        length += pos;
        other -= pos;
        pos = 0;
    }
    length = std::min(length, limit - pos);
}

// ---- Presents ----

// FNV-1a over whole pixels: every frame changes the running hash.
void fold_into_hash(const std::vector<uint32_t>& frame)
{
    uint64_t hash = state.frames_hash;
    for (uint32_t pixel : frame) {
        hash = (hash ^ pixel) * fnv_prime;
    }
    state.frames_hash = hash;
}

bool is_xrgb(const SDL_PixelFormat* format)
{
    return format->BitsPerPixel == 32 && format->Rmask == 0xFF0000 && format->Gmask == 0x00FF00 &&
           format->Bmask == 0x0000FF;
}

// Reads the window back as 0x00RRGGBB: whole rows from a surface already in
// that layout (its unused top byte dropped), pixel by pixel through its format
// otherwise.
void capture_frame(const SDL_Surface* screen)
{
    const auto width = static_cast<size_t>(screen->w);
    state.last_frame.assign(width * static_cast<size_t>(screen->h), 0);
    for (int32_t y = 0; screen->pixels && y < screen->h; ++y) {
        uint32_t* row = state.last_frame.data() + static_cast<size_t>(y) * width;
        if (is_xrgb(screen->format)) {
            const auto* source =
                reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch);
            std::transform(source, source + width, row, [](uint32_t pixel) { return pixel & 0xFFFFFF; });
            continue;
        }
        for (int32_t x = 0; x < screen->w; ++x) {
            row[x] = rgb_from_pixel(screen->format, pixel_read(screen, x, y));
        }
    }
    fold_into_hash(state.last_frame);
}

void advance_clock(uint64_t us);

void present(SDL_Surface* screen, bool flip)
{
    if (!screen || screen != state.window) {
        return;
    }
    if (state.read_back) {
        capture_frame(screen);
    }
    virtual_clock_present(&state.clock);
    state.flips += flip ? 1 : 0;
    if (state.hook) {
        state.hook(state.last_frame.data(), screen->w, screen->h, state.hook_user);
    }
    advance_clock(state.clock.present_us);
}

// ---- Audio ----

// One callback buffer: SDL's silence first, then the callback's values
// unless paused, all under the audio lock as SDL holds it.
void audio_play_buffer()
{
    const SDL_AudioSpec& spec = state.audio_spec;
    std::vector<uint8_t> stream(spec.size, spec.silence);
    if (!state.audio_paused) {
        state.audio_lock_depth += 1;
        spec.callback(spec.userdata, stream.data(), static_cast<int>(stream.size()));
        state.audio_lock_depth -= 1;
    }
    for (size_t at = 0; at + 1 < stream.size(); at += 2) {
        state.audio.push_back(static_cast<int16_t>(stream[at] | stream[at + 1] << 8));
    }
}

// A held lock keeps the callback waiting, as SDL's would; the unlock catches up.
void audio_catch_up()
{
    while (state.audio_lock_depth == 0 && virtual_clock_take_audio(&state.clock)) {
        audio_play_buffer();
    }
}

void advance_clock(uint64_t us)
{
    virtual_clock_advance(&state.clock, us);
    audio_catch_up();
}

}  // namespace

// ---- Controls and observations ----

void standin_reset()
{
    surface_release(state.window);
    state = Standin{};
}

void standin_set_video_depth(int32_t bits)
{
    if (depth_supported(bits)) {
        state.video_depth = bits;
    }
}

void standin_fail_video(bool fail)
{
    state.fail_video = fail;
}

void standin_set_video_masks(uint32_t red, uint32_t green, uint32_t blue)
{
    state.video_masks = {red, green, blue};
}

void standin_set_video_row_padding(int32_t bytes)
{
    state.row_padding = std::clamp(bytes, 0, 1024);
}

void standin_grant_doublebuf(bool grant)
{
    state.grant_doublebuf = grant;
}

void standin_set_fullscreen_modes(const std::vector<SDL_Rect>& modes)
{
    state.fullscreen_modes = modes;
}

void standin_fail_audio(bool fail)
{
    state.fail_audio = fail;
}

void standin_set_present_cost_us(uint32_t us)
{
    state.clock.present_us = us;
}

void standin_set_read_back(bool read_back)
{
    state.read_back = read_back;
}

VirtualClock* standin_clock()
{
    return &state.clock;
}

void standin_set_now_us(uint64_t us)
{
    state.clock.now_us = us;
}

void standin_push_event(uint64_t present, const SDL_Event& event)
{
    virtual_clock_push_event(&state.clock, present, event);
}

void standin_key(uint64_t present, int32_t sym, bool down)
{
    if (sym < SDLK_LAST) {
        virtual_clock_push_key(&state.clock, present, sym, down);
    }
}

void standin_tap(uint64_t present, int32_t sym)
{
    standin_key(present, sym, true);
    standin_key(present + 1, sym, false);
}

uint64_t standin_now_us()
{
    return state.clock.now_us;
}

uint64_t standin_presents()
{
    return state.clock.presents;
}

uint64_t standin_flips()
{
    return state.flips;
}

uint64_t standin_conversions()
{
    return state.conversions;
}

uint64_t standin_blits()
{
    return state.blits;
}

int32_t standin_surfaces()
{
    return state.surfaces;
}

const std::vector<uint32_t>& standin_delays()
{
    return state.delays;
}

const std::vector<uint32_t>& standin_last_frame()
{
    return state.last_frame;
}

uint64_t standin_frames_hash()
{
    return state.frames_hash;
}

void standin_on_present(StandinPresentHook hook, void* user)
{
    state.hook = hook;
    state.hook_user = user;
}

const std::vector<int16_t>& standin_audio()
{
    return state.audio;
}

bool standin_audio_open()
{
    return state.clock.audio_open;
}

bool standin_audio_paused()
{
    return state.audio_paused;
}

const SDL_AudioSpec& standin_audio_spec()
{
    return state.audio_spec;
}

int32_t standin_audio_lock_depth()
{
    return state.audio_lock_depth;
}

const char* standin_caption()
{
    return state.caption.c_str();
}

uint32_t standin_init_flags()
{
    return state.init_flags;
}

// ---- SDL: initialisation and errors ----

int SDL_Init(Uint32 flags)
{
    state.init_flags = flags;
    if (state.fail_audio && (flags & SDL_INIT_AUDIO)) {
        set_error("No available audio device");
        return -1;
    }
    state.subsystems |= flags;
    return 0;
}

Uint32 SDL_WasInit(Uint32 flags)
{
    return state.subsystems & flags;
}

void SDL_Quit()
{
    SDL_CloseAudio();
    surface_release(state.window);
    state.window = nullptr;
    state.subsystems = 0;
}

char* SDL_GetError()
{
    return state.error.data();
}

void SDL_SetError(const char* format, ...)
{
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    set_error(text);
}

// ---- SDL: video ----

SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags)
{
    surface_release(state.window);
    state.window = nullptr;
    if (state.fail_video) {
        set_error("Couldn't set video mode");
        return nullptr;
    }
    // The screen's own depth, unless the caller insists on another one SDL could emulate.
    const bool keep_screen_depth = bpp == 0 || (flags & SDL_ANYFORMAT) || !depth_supported(bpp);
    const int32_t depth = keep_screen_depth ? state.video_depth : bpp;
    if (width <= 0 || height <= 0) {
        set_error("Invalid video mode size");
        return nullptr;
    }
    const bool fullscreen = (flags & SDL_FULLSCREEN) != 0;
    if (fullscreen && std::none_of(state.fullscreen_modes.begin(), state.fullscreen_modes.end(),
                                   [&](const SDL_Rect& mode) { return mode.w == width && mode.h == height; })) {
        set_error("No fullscreen mode of that size");
        return nullptr;
    }
    const ChannelMasks& chosen = state.video_masks;
    const bool usual = !chosen.red && !chosen.green && !chosen.blue;
    state.window = surface_new(width, height, depth, usual ? default_masks(depth) : chosen, 0, state.row_padding);
    if (!state.window) {
        return nullptr;
    }
    // SDL promises nothing about a new window's pixels: here they start grey.
    if (state.window->pixels) {
        std::memset(state.window->pixels, unset_window_byte, static_cast<size_t>(state.window->pitch) * height);
    }
    const Uint32 doublebuf = SDL_HWSURFACE | SDL_DOUBLEBUF;
    const bool flipping = state.grant_doublebuf || (flags & doublebuf) == doublebuf;
    state.window->flags = (flipping ? doublebuf : SDL_SWSURFACE) | (fullscreen ? SDL_FULLSCREEN : 0);
    return state.window;
}

// The fullscreen modes, or none at all, whatever the format and flags.
SDL_Rect** SDL_ListModes(SDL_PixelFormat*, Uint32)
{
    state.mode_list.clear();
    for (SDL_Rect& mode : state.fullscreen_modes) {
        state.mode_list.push_back(&mode);
    }
    state.mode_list.push_back(nullptr);
    return state.fullscreen_modes.empty() ? nullptr : state.mode_list.data();
}

// Only the screen's size: that of the largest fullscreen mode, as a desktop runs at.
const SDL_VideoInfo* SDL_GetVideoInfo()
{
    const bool any = !state.fullscreen_modes.empty();
    state.video_info.current_w = any ? state.fullscreen_modes.front().w : 0;
    state.video_info.current_h = any ? state.fullscreen_modes.front().h : 0;
    return &state.video_info;
}

void SDL_WM_SetCaption(const char* title, const char*)
{
    if (title) {
        state.caption = title;
    }
}

int SDL_LockSurface(SDL_Surface* surface)
{
    if (!surface) {
        return -1;
    }
    surface->locked += 1;
    return 0;
}

void SDL_UnlockSurface(SDL_Surface* surface)
{
    if (surface && surface->locked > 0) {
        surface->locked -= 1;
    }
}

int SDL_Flip(SDL_Surface* screen)
{
    if (!screen) {
        return -1;
    }
    present(screen, true);
    return 0;
}

// Any rectangle shows the whole window: the stand-in keeps whole frames.
void SDL_UpdateRect(SDL_Surface* screen, Sint32, Sint32, Uint32, Uint32)
{
    present(screen, false);
}

SDL_Surface* SDL_CreateRGBSurface(Uint32, int width, int height, int depth, Uint32 Rmask, Uint32 Gmask,
                                  Uint32 Bmask, Uint32 Amask)
{
    const bool no_masks = !Rmask && !Gmask && !Bmask;
    const ChannelMasks masks = no_masks ? default_masks(depth) : ChannelMasks{Rmask, Gmask, Bmask};
    return surface_new(width, height, depth, masks, Amask, 0);
}

// A surface on the caller's pixels, which stay the caller's.
SDL_Surface* SDL_CreateRGBSurfaceFrom(void* pixels, int width, int height, int depth, int pitch, Uint32 Rmask,
                                      Uint32 Gmask, Uint32 Bmask, Uint32 Amask)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(0, 0, 0, depth, Rmask, Gmask, Bmask, Amask);
    if (!surface || width < 0 || height < 0 || pitch < 0 || pitch > max_pitch) {
        surface_release(surface);
        set_error("Invalid surface size or pitch");
        return nullptr;
    }
    surface->flags |= SDL_PREALLOC;
    surface->w = width;
    surface->h = height;
    surface->pitch = static_cast<Uint16>(pitch);
    surface->clip_rect = {0, 0, static_cast<Uint16>(width), static_cast<Uint16>(height)};
    surface->pixels = pixels;
    made_of(surface)->block = pixels;
    return surface;
}

SDL_Surface* SDL_DisplayFormat(SDL_Surface* surface)
{
    if (!surface || !state.window) {
        set_error("No video mode has been set");
        return nullptr;
    }
    state.conversions += 1;
    const SDL_PixelFormat* screen = state.window->format;
    SDL_Surface* converted = surface_new(surface->w, surface->h, screen->BitsPerPixel,
                                         {screen->Rmask, screen->Gmask, screen->Bmask}, 0, 0);
    const SDL_Surface source = as_made(surface);
    if (converted && source.pixels) {
        convert_rect(&source, 0, 0, converted, 0, 0, surface->w, surface->h);
    }
    return converted;
}

// Copies with format conversion; per-pixel alpha and colour keys are not
// modelled, as the modules never ask for them.
int SDL_UpperBlit(SDL_Surface* src, SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect)
{
    if (!src || !dst) {
        set_error("SDL_UpperBlit: passed a NULL surface");
        return -1;
    }
    if (src->locked || dst->locked) {
        set_error("Surfaces must not be locked during blit");
        return -1;
    }
    int32_t sx = srcrect ? srcrect->x : 0;
    int32_t sy = srcrect ? srcrect->y : 0;
    int32_t width = srcrect ? srcrect->w : src->w;
    int32_t height = srcrect ? srcrect->h : src->h;
    int32_t dx = dstrect ? dstrect->x : 0;
    int32_t dy = dstrect ? dstrect->y : 0;
    clip_span(sx, dx, width, src->w);
    clip_span(sy, dy, height, src->h);
    clip_span(dx, sx, width, dst->w);
    clip_span(dy, sy, height, dst->h);
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (dstrect) {
        *dstrect = {static_cast<Sint16>(dx), static_cast<Sint16>(dy), static_cast<Uint16>(width),
                    static_cast<Uint16>(height)};
    }
    const SDL_Surface source = as_made(src);
    if (width > 0 && height > 0 && source.pixels && dst->pixels) {
        convert_rect(&source, sx, sy, dst, dx, dy, width, height);
    }
    state.blits += 1;
    return 0;
}

// SDL 1.2 keeps the video surface until the next mode or SDL_Quit.
void SDL_FreeSurface(SDL_Surface* surface)
{
    if (surface != state.window) {
        surface_release(surface);
    }
}

// ---- SDL: events and time ----

int SDL_PollEvent(SDL_Event* event)
{
    return virtual_clock_poll_event(&state.clock, event);
}

Uint32 SDL_GetTicks()
{
    return virtual_clock_ticks(&state.clock);
}

void SDL_Delay(Uint32 ms)
{
    state.delays.push_back(ms);
    advance_clock(ms * us_per_ms);
}

// ---- SDL: audio ----

int SDL_OpenAudio(SDL_AudioSpec* desired, SDL_AudioSpec* obtained)
{
    if (state.fail_audio) {
        set_error("No available audio device");
        return -1;
    }
    if (state.clock.audio_open) {
        set_error("Audio device is already opened");
        return -1;
    }
    if (!desired || !desired->callback || desired->freq <= 0 || desired->channels == 0 ||
        desired->samples == 0 || desired->format != AUDIO_S16LSB) {
        set_error("Unsupported audio format");
        return -1;
    }
    state.audio_spec = *desired;
    state.audio_spec.silence = 0;
    state.audio_spec.size = Uint32{desired->samples} * desired->channels * 2;
    if (obtained) {
        *obtained = state.audio_spec;
    }
    virtual_clock_open_audio(&state.clock, desired->freq, desired->samples);
    state.audio_paused = true;
    return 0;
}

void SDL_PauseAudio(int pause_on)
{
    state.audio_paused = pause_on != 0;
}

void SDL_LockAudio()
{
    state.audio_lock_depth += 1;
}

void SDL_UnlockAudio()
{
    if (state.audio_lock_depth > 0) {
        state.audio_lock_depth -= 1;
    }
    audio_catch_up();
}

void SDL_CloseAudio()
{
    virtual_clock_close_audio(&state.clock);
}
