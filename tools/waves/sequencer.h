#pragma once
#include <cstdint>
#include <vector>

#include "fit.h"

// Lays `wave` into `loop` starting at `offset`, wrapping past the end, and
// fades what was there: loop = floor((3 * loop + placed wave) / 4).
void sequencer_lay(std::vector<int32_t>& loop, const Wave& wave, int32_t offset);

// Plays the waves the way the demo's music does: a 40000-value loop repeated
// without a gap; every 6 s one wave picked at random is laid onto one of the
// loop's 16 steps (wrapping past its end) while the loop fades to 3/4.
std::vector<int32_t> sequencer_play(const std::vector<Wave>& waves, int32_t seconds, uint32_t seed);
