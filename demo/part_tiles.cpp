// Drifting blue tiles, the swinging logo and the giant bouncing scroller.
#include "demo.h"
#include "parts.h"

void part_tiles_run()
{
    demo_run_part({.frames = 1000, .reset = nullptr, .draw = nullptr, .keys = nullptr});
}
