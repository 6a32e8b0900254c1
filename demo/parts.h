// The five parts of the ring, in the order main runs them.
#pragma once

#include "demo.h"

struct Font;
struct Image;
struct Scroll;
struct ScrollXL;

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

// Program-wide objects of the parts that tests and tools look at.
extern Image* logo;              // part one: the swinging logo
extern ScrollXL* big_scroller;   // part one: the giant-letter scroller
extern Font* heart_strip_1;      // part four: 64-frame spin strips, largest heart first
extern Font* heart_strip_2;
extern Font* heart_strip_3;
extern Font* heart_strip_4;
extern Scroll* scroller;         // part four: the waving scroll text

void part_tiles_run();
void part_bubbles_run();
void part_spirals_run();
void part_hearts_run();
void part_bobs_run();
