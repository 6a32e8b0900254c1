// Soap windows swinging in over turning spiral clouds.
#include "demo.h"
#include "parts.h"

void part_spirals_run()
{
    demo_run_part({.frames = 1250, .reset = nullptr, .draw = nullptr, .keys = nullptr});
}
