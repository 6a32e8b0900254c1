// The waving text page over bubbles flying toward the viewer.
#include "parts.h"

void part_bubbles_setup() {}

void part_bubbles_free() {}

const PartSteps part_bubbles_steps = {.frames = 1000, .reset = nullptr, .draw = nullptr, .keys = nullptr};

void part_bubbles_run()
{
    demo_run_part(part_bubbles_steps);
}
