// DISTY: a strip copied column by column with a sine displacement that
// wraps around the target's bottom edge.
#include "disty.h"

#include <cstdlib>

#include "img.h"
#include "vec2d.h"

[[gnu::used]] static const char* const disty_id[] = {"CODE", "C", "Tobrenko", "20101104", "DISTY"};

namespace {

constexpr int32_t default_amplitude = 16;
constexpr int32_t default_phase_step = 16;

int32_t wrapping_sum(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t wrapping_product(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

bool has_pixels(const Image* image)
{
    return image && image->pixels;
}

}  // namespace

Disty* disty_new()
{
    auto* disty = static_cast<Disty*>(calloc(1, sizeof(Disty)));
    if (disty) {
        disty->phase.length = sine_size;
        disty->phase.offset_step = 1;
        disty->phase.step = default_phase_step;
        disty->amplitude = default_amplitude;
    }
    return disty;
}

void disty_free(Disty** disty)
{
    if (!disty || !*disty) {
        return;
    }
    free(*disty);
    *disty = nullptr;
}

// Columns that land outside the target are skipped here rather than refused
// by the column copy, but they still advance the phase, so the wave's shape
// does not depend on x.
void disty_draw(Disty* disty, Image* target)
{
    if (!disty || !has_pixels(target) || target->height < 1 || !has_pixels(disty->source)) {
        return;
    }
    const Image* source = disty->source;
    cursorx_set(&disty->phase, 0);
    for (int32_t column = 0; column < source->width; column++) {
        // The mask keeps a phase whose length was changed inside the table.
        const int32_t angle = cursorx_step(&disty->phase) & sine_mask;
        const int32_t shift = wrapping_product(sine_table[angle], disty->amplitude) >> 16;
        const int64_t target_column = int64_t{disty->x} + column;
        if (target_column >= 0 && target_column < target->width) {
            img_blit_column_wrap(source, target, column, static_cast<int32_t>(target_column),
                                 wrapping_sum(disty->y, shift));
        }
    }
}

void disty_step(Disty* disty)
{
    if (disty) {
        cursorx_rotate(&disty->phase);
    }
}
