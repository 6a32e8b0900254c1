// Start-up, shutdown, the key table and the frame loop shared by all parts.
#include "demo.h"

#include "audio.h"
#include "bytemap.h"
#include "display.h"
#include "fonts.h"
#include "fps.h"
#include "img.h"
#include "keyboard.h"
#include "music.h"
#include "parts.h"
#include "waves.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

[[gnu::used]] static const char* const demo_id[] = {"PROGRAM", "C", "Tobrenko", "20101108", "KELP4090"};

uint8_t demo_debug = 0;

int32_t screen_width = 256;
int32_t screen_height = 256;
Display* display = nullptr;
Keyboard* keyboard = nullptr;
AudioOut* audio = nullptr;
Image* screen = nullptr;
ByteMap* screen_map = nullptr;
Music* music = nullptr;
DemoOptions demo_options;

uint8_t switches[4] = {2, 3, 1, 1};
uint32_t part_flags = 0;

constexpr int32_t fade_amount = 8;  // 32 steps of 8 take every channel to 0

void demo_error()
{
    if (demo_debug) {
        puts("KELP4090 Error.");
    }
}

static bool demo_window_open()
{
    return display && display->width > 0 && display->height > 0;
}

// Says where the window was wanted: the X display, or the video driver the
// user chose with SDL_VIDEODRIVER.
static void demo_report_no_window()
{
    const char* driver = getenv("SDL_VIDEODRIVER");
    const char* where = getenv("DISPLAY");
    if (driver && strcmp(driver, "x11") != 0) {
        fprintf(stderr, "KELP4090: cannot open a window with SDL's '%s' video driver: %s\n", driver, SDL_GetError());
    } else if (!where || !*where) {
        fputs("KELP4090: cannot open a window: no display is set in DISPLAY\n", stderr);
    } else {
        fprintf(stderr, "KELP4090: cannot open a window on display '%s': %s\n", where, SDL_GetError());
    }
}

static void demo_open_display()
{
    display_set_scale(demo_options.fullscreen ? display_fullscreen : demo_options.scale);
    display = display_new();
    display_set_mode(display, screen_width, screen_height);
}

// Where fullscreen is refused the demo shows a plain window instead, and says so.
static void demo_fall_back_to_window()
{
    const std::string reason = SDL_GetError();
    display_set_scale(1);
    display_set_mode(display, screen_width, screen_height);
    if (demo_window_open()) {
        fprintf(stderr, "KELP4090: no fullscreen here (%s), showing a window instead\n", reason.c_str());
    }
}

// Without a window the parts have nothing to draw into, so stop with a reason.
static void demo_open_window()
{
    demo_open_display();
    if (demo_options.fullscreen && display && !demo_window_open()) {
        demo_fall_back_to_window();
    }
    if (!demo_window_open()) {
        demo_report_no_window();
        exit(EXIT_FAILURE);
    }
    screen_width = display->width;
    screen_height = display->height;
}

// ALSA and SDL tell of a missing sound card at length on standard error;
// the demo says it in one line of its own, so their words go to /dev/null.
static AudioOut* demo_open_audio_quietly()
{
    fflush(stderr);
    const int kept = dup(STDERR_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY);
    if (nowhere >= 0) {
        dup2(nowhere, STDERR_FILENO);
        close(nowhere);
    }
    AudioOut* opened = audio_open();
    if (kept >= 0) {
        dup2(kept, STDERR_FILENO);
        close(kept);
    }
    return opened;
}

// Without a sound device the demo runs silently; --mute asks for that.
static AudioOut* demo_open_audio()
{
    if (demo_options.mute) {
        return nullptr;
    }
    AudioOut* opened = demo_open_audio_quietly();
    if (!opened) {
        fputs("KELP4090: no sound device, running without sound\n", stderr);
    }
    return opened;
}

// SDL turns Ctrl+C and SIGTERM into a quit event, which the key handling
// drops; a program started from a terminal should end on them at once.
static void demo_restore_signals()
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
}

void demo_init()
{
    srand(demo_seed);
    demo_open_window();
    keyboard = keyboard_new();
    audio = demo_open_audio();
    demo_restore_signals();
    screen = img_new();
    img_resize(screen, screen_width, screen_height);
    screen_map = bytemap_new();
    bytemap_resize(screen_map, screen_width, screen_height);
    bytemap_clear(screen_map);
    music = music_new();
    for (int32_t wave = 0; wave < wave_count; ++wave) {
        music_add_wave(music, &wave_table[wave]);
    }
    demo_fonts_setup();
    part_tiles_setup();
    part_bubbles_setup();
    part_spirals_setup();
    part_hearts_setup();
    fps_clock.target_rate = demo_frame_rate;
}

void demo_fade_out()
{
    for (int32_t step = 0; step < demo_fade_steps; ++step) {
        img_fade(screen, fade_amount);
        display_present(display, screen);
    }
}

void demo_shutdown()
{
    demo_fade_out();
    demo_fonts_free();
    img_free(&screen);
    bytemap_free(&screen_map);
    part_tiles_free();
    part_bubbles_free();
    part_spirals_free();
    part_hearts_free();
    keyboard_free(&keyboard);
    display_free(&display);
    audio_close(&audio);
    SDL_Quit();  // gives a fullscreen display mode back to the desktop
    exit(EXIT_SUCCESS);
}

uint8_t demo_handle_key(uint8_t key)
{
    switch (key) {
    case 'q':
    case 'Q':
    case 27:
        part_flags |= part_flag_exit;
        demo_shutdown();
    case ' ': part_flags |= part_flag_next; break;
    case '1': switches[3] ^= 1; break;
    case '2': switches[2] ^= 1; break;
    case '4': switches[1] ^= 1; break;
    case '5': switches[1] ^= 2; break;
    case '8': switches[0] ^= 1; break;
    case '9': switches[0] ^= 2; break;
    case 'o': display_option ^= 1; break;
    default: break;
    }
    return key;
}

static bool demo_limiter_on()
{
    return (switches[0] & 2) != 0;
}

// Everything after a part's own drawing: timing, present, music, one key.
// Returns true when the part should end after this frame.
static bool demo_frame_tail(void (*part_keys)(uint8_t))
{
    fps_tick();
    if (demo_limiter_on()) {
        fps_wait();
    }
    if (switches[0] & 1) {
        demo_draw_frame_rate();
    }
    display_present(display, screen);
    music_step(music, audio);
    keyboard_poll(keyboard);
    const uint8_t key = keyboard ? keyboard->keys[0] : 0;
    demo_handle_key(key);
    if (part_keys) {
        part_keys(key);
    }
    if (keyboard) {
        keyboard->keys[0] = 0;  // each press acts once
    }
    if (part_flags & (part_flag_exit | part_flag_next)) {
        part_flags &= ~part_flag_next;
        return true;
    }
    return false;
}

void demo_run_part(const PartSteps& part)
{
    demo_fade_out();
    if (part.reset) {
        part.reset();
    }
    for (int32_t counter = part.frames; counter >= 0; --counter) {
        if (part.draw) {
            part.draw();
        }
        if (demo_frame_tail(part.keys)) {
            return;
        }
    }
}
