// The browser build's own answers to the SDL calls that decide time and
// keys (web_sdl.cpp) and sound (web_sound.cpp); the window surface and its
// copy to the page's canvas stay with emscripten's SDL. Everything runs on
// the page's one thread: the demo hands control to the browser in its frame
// wait (SDL_Delay), where ASYNCIFY suspends the whole call stack, so the part
// loops stay as they are.
//
// The page runs the demo on one of two clocks:
// - paced (what people watch): real time. The demo holds at its first music
//   step until the first click or key, since browsers allow sound only after
//   a gesture; sound is pulled as the Web Audio clock needs it.
// - exact (?frames=N): the VirtualClock of kelp4090-capture. Every present
//   lasts one frame, sound buffers are pulled when due on that clock,
//   scripted keys are pressed after given frames, and at frame N the page
//   hashes the canvas and the demo stops.
#pragma once

#include "virtual_clock.h"

#include <cstdint>

struct WebRun {
    bool exact;              // on the virtual clock rather than real time
    uint64_t stop_presents;  // an exact run ends at this present
    // Presents and key events; in exact runs also the time and the sound
    // buffers due.
    VirtualClock clock;
    double origin_ms;        // paced runs: real time at SDL_Init
    bool started;            // paced runs: the page's first gesture came
};

extern WebRun web_run;
