// RING: the order of the parts and the one loop that runs them.
#include "ring.h"

#include "parts.h"

const std::array<RingPart, ring_size> ring_parts = {{
    {"tiles", &part_tiles_steps, part_tiles_run},
    {"bubbles", &part_bubbles_steps, part_bubbles_run},
    {"spirals", &part_spirals_steps, part_spirals_run},
    {"hearts", &part_hearts_steps, part_hearts_run},
    {"bobs", &part_bobs_steps, part_bobs_run},
}};

int32_t ring_running = -1;

void ring_run_pass()
{
    for (int32_t index = 0; index < ring_size; ++index) {
        ring_running = index;
        ring_parts[index].run();
    }
}

int64_t ring_pass_frames()
{
    int64_t frames = 0;
    for (const RingPart& part : ring_parts) {
        frames += demo_fade_steps + part.steps->frames + 1;
    }
    return frames;
}
