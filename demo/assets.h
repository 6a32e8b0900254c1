// Everything the demo shows, compiled into the program: the pictures as
// complete PNM file images (decode them with img_from_pnm), the scroll
// texts and the heart spin table.
#pragma once

#include <cstddef>
#include <cstdint>

// P4 128x144: 8x8 white glyphs on black, 16 per row; codes 32-127 ASCII,
// 10 a heart, 13 a star, the other codes empty.
extern const uint8_t pnm_font[];
extern const size_t pnm_font_size;
// P6 512x256: 32x32 cells, 16 per row. 0-7 hearts and 8-15 stars of growing
// size, 16-20 blue tiles, 21 green ball, 22 pale yellow ball, 23 dark bob
// (channels at most 5), 24-31 a signature, 32-127 pink letters.
extern const uint8_t pnm_sprites[];
extern const size_t pnm_sprites_size;
// P6 128x16: eight bevelled blocks, white, red, orange, yellow-green, green,
// cyan, magenta, pink; no black pixels.
extern const uint8_t pnm_blocks[];
extern const size_t pnm_blocks_size;
// P6 128x16: eight cyan bubble rings, smallest (farthest) first.
extern const uint8_t pnm_bubbles[];
extern const size_t pnm_bubbles_size;
// P6 256x128: the KELP 4090 logo in gold letters on black.
extern const uint8_t pnm_logo[];
extern const size_t pnm_logo_size;
// P6 256x128: the green rim of the D-shaped window; lies inside pnm_mask.
extern const uint8_t pnm_frame[];
extern const size_t pnm_frame_size;
// P4 256x128: the D-shaped window, set bits inside.
extern const uint8_t pnm_mask[];
extern const size_t pnm_mask_size;

// Scroll texts: every byte, line breaks included, is drawn as a glyph.
extern const char big_scroll_text[];     // giant-letter scroller, 61 lines
extern const char grid_text[];           // 16 rows of 16, exactly 256 bytes
extern const char hearts_scroll_text[];  // waving pink scroll, 76 lines

// Widths of the 64 frames of a spinning heart; negative while the back faces
// the viewer.
extern const int32_t spin_table[64];
