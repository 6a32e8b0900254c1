// Soap windows swinging in over turning spiral clouds.
#include "parts.h"

void part_spirals_setup() {}

void part_spirals_free() {}

const PartSteps part_spirals_steps = {.frames = 1250, .reset = nullptr, .draw = nullptr, .keys = nullptr};

void part_spirals_run()
{
    demo_run_part(part_spirals_steps);
}
