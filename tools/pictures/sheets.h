// The eight pictures of the demo, each drawn by its own function.
#pragma once

#include "canvas.h"
#include "glyphs.h"

// P4 128x144: the 8x8 font, white on black, 16 cells per row.
Canvas sheet_font(const GlyphSet& glyphs);
// P6 512x256: 32x32 cells of hearts, stars, tiles, balls, a signature and pink letters.
Canvas sheet_sprites(const GlyphSet& glyphs);
// P6 128x16: eight bevelled blocks that build the giant letters.
Canvas sheet_blocks();
// P6 128x16: eight cyan bubble rings, smallest first.
Canvas sheet_bubbles();
// P6 256x128: the yellow KELP 4090 logo.
Canvas sheet_logo();
// P6 256x256: the many-coloured emblem.
// P6 256x128: the green rim of the D-shaped window.
Canvas sheet_window_frame();
// P4 256x128: the D-shaped window, filled.
Canvas sheet_window_mask();
