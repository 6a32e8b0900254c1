// Spinning hearts rising over the sky with the waving scroll text.
#include "demo.h"
#include "parts.h"

void part_hearts_run()
{
    demo_run_part({.frames = 1000, .reset = nullptr, .draw = nullptr, .keys = nullptr});
}
