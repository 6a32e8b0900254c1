// KELP4090: builds everything once, then runs the five parts in a ring until
// an exit key ends the process. Arguments are ignored.
#include "demo.h"
#include "parts.h"

int main()
{
    demo_init();
    for (;;) {
        part_tiles_run();
        part_bubbles_run();
        part_spirals_run();
        part_hearts_run();
        part_bobs_run();
    }
}
