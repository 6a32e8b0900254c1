// PALETTE: a thin layer over the Sample operations.
#include "palette.h"

[[gnu::used]] static const char* const palette_id[] = {"CODE", "C", "Tobrenko", "20101104", "PALETTE"};

Palette* palette_new()
{
    Palette* palette = sample_new();
    sample_set_count(palette, palette_size);
    if (palette && palette->count != palette_size) {
        sample_free(&palette);
    }
    return palette;
}

void palette_free(Palette** palette)
{
    sample_free(palette);
}

void palette_rotate_right(Palette* palette, int32_t amount)
{
    sample_rotate_right(palette, amount);
}

void palette_rotate_left(Palette* palette, int32_t amount)
{
    sample_rotate_left(palette, amount);
}
