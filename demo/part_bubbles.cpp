// The waving text page over bubbles flying toward the viewer.
#include "demo.h"
#include "parts.h"

void part_bubbles_run()
{
    demo_run_part({.frames = 1000, .reset = nullptr, .draw = nullptr, .keys = nullptr});
}
