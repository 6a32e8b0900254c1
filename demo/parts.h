// The five parts of the ring, in the order main runs them.
#pragma once

#include "demo.h"

// What each part adds to the common frame loop: its frame budget, its reset
// after the opening fade, its drawing and its own keys.
extern const PartSteps part_tiles_steps;
extern const PartSteps part_bubbles_steps;
extern const PartSteps part_spirals_steps;
extern const PartSteps part_hearts_steps;
extern const PartSteps part_bobs_steps;

// Objects each part builds once at start-up and releases at shutdown.
void part_tiles_setup();
void part_bubbles_setup();
void part_spirals_setup();
void part_hearts_setup();
void part_tiles_free();
void part_bubbles_free();
void part_spirals_free();
void part_hearts_free();

void part_tiles_run();
void part_bubbles_run();
void part_spirals_run();
void part_hearts_run();
void part_bobs_run();
