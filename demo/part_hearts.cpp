// Spinning hearts rising over the sky with the waving scroll text.
#include "parts.h"

void part_hearts_setup() {}

void part_hearts_free() {}

const PartSteps part_hearts_steps = {.frames = 1000, .reset = nullptr, .draw = nullptr, .keys = nullptr};

void part_hearts_run()
{
    demo_run_part(part_hearts_steps);
}
