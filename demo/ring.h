// RING: the five parts in the order main runs them, for ever.
#pragma once

#include "demo.h"

#include <array>
#include <cstdint>

struct RingPart {
    const char* name;
    const PartSteps* steps;  // frame budget, reset, drawing and keys
    void (*run)();           // fade, reset, then the frames
};

constexpr int32_t ring_size = 5;
extern const std::array<RingPart, ring_size> ring_parts;

// Index in ring_parts of the part running now (or, between parts, of the
// one that ran last); -1 before the first.
extern int32_t ring_running;

// Runs every part once, in order.
void ring_run_pass();
// Presents in one whole pass: every part's opening fade and its frames.
int64_t ring_pass_frames();
