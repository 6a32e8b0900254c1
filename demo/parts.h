// The five parts of the ring, in the order main runs them.
#pragma once

void part_tiles_run();
void part_bubbles_run();
void part_spirals_run();
void part_hearts_run();
void part_bobs_run();
