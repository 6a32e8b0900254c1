// KELP4090: the program-wide objects, start-up, shutdown and the frame loop
// every part runs.
#pragma once

#include "options.h"

#include <cstdint>

struct AudioOut;
struct ByteMap;
struct Display;
struct Image;
struct Keyboard;
struct Music;

// When non-zero, refused calls print "KELP4090 Error.". Nothing sets it.
extern uint8_t demo_debug;

extern int32_t screen_width;   // 256 until the window is open, then its real size
extern int32_t screen_height;
extern Display* display;
extern Keyboard* keyboard;
extern AudioOut* audio;        // null when there is no sound device
extern Image* screen;          // the frame every part draws into
extern ByteMap* screen_map;    // screen-size byte map made at start-up; no part draws into it
extern Music* music;
// How the demo is shown and heard; main fills it before demo_init.
extern DemoOptions demo_options;

// Key toggles. Byte 0 bit 0: frame-rate overlay (key 8). Byte 0 bit 1: the
// frame limiter (key 9; set = paced at 50 frames per second, clear = full
// speed). Bytes 1-3 hold toggles of keys 4, 5, 2 and 1 that nothing reads.
extern uint8_t switches[4];
// Bit 0: exit requested. Bit 1: next part requested.
extern uint32_t part_flags;

constexpr uint32_t part_flag_exit = 1;
constexpr uint32_t part_flag_next = 2;

// The one seed of libc's rand and random: every run draws the same numbers.
constexpr uint32_t demo_seed = 0xFACE5718;
constexpr int32_t demo_frame_rate = 50;  // frames per second the limiter aims at
constexpr int32_t demo_fade_steps = 32;  // presents of the fade that opens every part

// What a part adds to the common frame loop. frames is the budget N: the
// part runs N + 1 frames unless SPACE or an exit key ends it earlier.
struct PartSteps {
    int32_t frames;
    void (*reset)();             // once, after the opening fade
    void (*draw)();              // every frame, before the common tail
    void (*keys)(uint8_t key);   // the part's own keys, after the key table
};

void demo_init();
[[noreturn]] void demo_shutdown();
void demo_fade_out();
uint8_t demo_handle_key(uint8_t key);
void demo_run_part(const PartSteps& part);
void demo_error();
