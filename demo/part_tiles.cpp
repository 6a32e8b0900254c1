// Drifting blue tiles, the swinging logo and the giant bouncing scroller.
#include "parts.h"

void part_tiles_setup() {}

void part_tiles_free() {}

const PartSteps part_tiles_steps = {.frames = 1000, .reset = nullptr, .draw = nullptr, .keys = nullptr};

void part_tiles_run()
{
    demo_run_part(part_tiles_steps);
}
