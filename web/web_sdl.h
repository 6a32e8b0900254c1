// The browser build's own answers to the SDL calls that decide time and
// keys (web_sdl.cpp) and sound (web_sound.cpp); the window surface and its
// copy to the page's canvas stay with emscripten's SDL. Everything runs on
// the page's one thread: the demo hands control to the browser in its frame
// wait (SDL_Delay), where ASYNCIFY suspends the whole call stack, so the part
// loops stay as they are.
//
// The page runs the demo on one of three clocks:
// - paced (what people watch): real time. The demo holds at its first music
//   step until the first click, tap or key, since browsers allow sound only
//   after a gesture; sound is pulled as the Web Audio clock needs it. While
//   the page is hidden the demo's time stands still and it holds at its next
//   present; at full speed a present hands the page control once a frame
//   period, so the picture is shown and keys arrive.
// - exact (?frames=N): the VirtualClock of kelp4090-capture. Every present
//   lasts one frame, sound buffers are pulled when due on that clock,
//   scripted keys are pressed after given frames, and at frame N the page
//   hashes the canvas and the demo stops.
// - benchmark (?benchmark): real time, and presents never hand the page
//   control, so every part draws back to back as in kelp4090-capture
//   --benchmark.
#pragma once

#include "virtual_clock.h"

#include <cstdint>

enum class WebClock : uint8_t { paced, exact, benchmark };

struct WebRun {
    WebClock kind;
    uint64_t stop_presents;  // an exact run ends at this present
    // Presents and key events; in exact runs also the time and the sound
    // buffers due.
    VirtualClock clock;
    uint64_t frames;         // frames drawn: the frame limiter asks the time once a frame
    // Real-time runs: the time at SDL_Init, moved on by every span the page
    // was hidden, so that the demo's time leaves those spans out.
    double origin_ms;
    double page_ms;          // paced runs: when the page last had control
    bool hidden;             // paced runs: the page is hidden
    double hidden_since_ms;
    bool started;            // paced runs: the page's first gesture came
};

extern WebRun web_run;
