// The embedded pictures, texts and spin table, checked from their bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "assets.h"

namespace {

// A picture as embedded: "P6" or "P4", four "#" comment lines, "W H", and
// for P6 "255", each on its own line, then the pixel bytes.
struct Pnm {
    char kind = 0;
    int32_t width = 0;
    int32_t height = 0;
    const uint8_t* pixels = nullptr;
    size_t pixel_bytes = 0;

    uint32_t rgb(int32_t x, int32_t y) const
    {
        const uint8_t* p = pixels + (static_cast<size_t>(y) * width + x) * 3;
        return static_cast<uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
    }
    bool bit(int32_t x, int32_t y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height && (pixels[static_cast<size_t>(y) * (width / 8) + x / 8] & (0x80 >> (x % 8))) != 0;
    }
};

Pnm parse(const uint8_t* bytes, size_t size)
{
    std::istringstream head(std::string(reinterpret_cast<const char*>(bytes), std::min<size_t>(size, 512)));
    std::string magic, line;
    std::getline(head, magic);
    for (int32_t i = 0; i < 4; ++i) {
        if (!std::getline(head, line) || line.empty() || line[0] != '#') {
            return {};
        }
    }
    Pnm pnm;
    head >> pnm.width >> pnm.height;
    std::getline(head, line);
    if (magic == "P6" && (!std::getline(head, line) || line != "255")) {
        return {};
    }
    pnm.kind = magic == "P6" || magic == "P4" ? magic[1] : 0;
    pnm.pixels = bytes + head.tellg();
    pnm.pixel_bytes = size - static_cast<size_t>(head.tellg());
    return pnm;
}

const Pnm sprites = parse(pnm_sprites, pnm_sprites_size);

uint32_t channel(uint32_t pixel, int32_t shift)
{
    return pixel >> shift & 0xFF;
}

// A 32x32 cell of the sprite sheet in reading order, its lit pixels and channel sums.
struct Cell {
    std::vector<uint32_t> pixels;
    int32_t lit = 0;
    uint64_t sum[3] = {};  // red, green, blue
};

Cell area(const Pnm& pnm, int32_t x0, int32_t y0, int32_t w, int32_t h)
{
    Cell cell;
    for (int32_t y = y0; y < y0 + h; ++y) {
        for (int32_t x = x0; x < x0 + w; ++x) {
            const uint32_t p = pnm.rgb(x, y);
            cell.pixels.push_back(p);
            cell.lit += p != 0;
            for (int32_t c = 0; c < 3; ++c) {
                cell.sum[c] += channel(p, 16 - 8 * c);
            }
        }
    }
    return cell;
}

Cell sprite_cell(int32_t code)
{
    return area(sprites, code % 16 * 32, code / 16 * 32, 32, 32);
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(AssetSpriteSheet, CellsHoldTheirKindsOfSprite)
{
    // Hearts 0-7 and stars 8-15 grow on a transparent ground; hearts are red.
    for (int32_t code = 0; code < 16; ++code) {
        const Cell cell = sprite_cell(code);
        EXPECT_EQ(cell.pixels.front() | cell.pixels.back(), 0u) << code;
        if (code % 8 > 0) {
            EXPECT_GT(cell.lit, sprite_cell(code - 1).lit) << code;
        }
    }
    const uint32_t heart = sprite_cell(7).pixels[16 * 32 + 16];
    EXPECT_GT(channel(heart, 16), channel(heart, 8) + 64);
    // Five different blue tiles fill their cells.
    std::set<std::vector<uint32_t>> distinct;
    for (int32_t code = 16; code <= 20; ++code) {
        const Cell cell = sprite_cell(code);
        EXPECT_EQ(cell.lit, 32 * 32) << code;
        EXPECT_GT(cell.sum[2], 2 * cell.sum[0]) << code;
        distinct.insert(cell.pixels);
    }
    EXPECT_EQ(distinct.size(), 5u);
    // A green and a yellow ball, and a bob dark enough to add up 66 times.
    const uint32_t green = sprite_cell(21).pixels[16 * 32 + 16];
    const uint32_t yellow = sprite_cell(22).pixels[16 * 32 + 16];
    EXPECT_GT(channel(green, 8), channel(green, 16));
    EXPECT_GT(channel(yellow, 8), channel(yellow, 0));
    const Cell bob = sprite_cell(23);
    EXPECT_GT(bob.lit, 600);
    EXPECT_EQ(bob.pixels.front(), 0u);
    for (uint32_t p : bob.pixels) {
        ASSERT_LE(std::max({channel(p, 16), channel(p, 8), channel(p, 0)}), 5u);
    }
    // 95 different pink letters, and an empty space.
    distinct.clear();
    EXPECT_EQ(sprite_cell(' ').lit, 0);
    for (int32_t code = 33; code < 128; ++code) {
        const Cell cell = sprite_cell(code);
        EXPECT_GT(cell.lit, 20) << code;
        EXPECT_GT(cell.sum[0], cell.sum[1]) << code;
        distinct.insert(cell.pixels);
    }
    EXPECT_EQ(distinct.size(), 95u);
}

TEST(AssetStrips, BlocksAreLitAndBevelledAndBubblesGrowHollow)
{
    const Pnm blocks = parse(pnm_blocks, pnm_blocks_size);
    const Pnm bubbles = parse(pnm_bubbles, pnm_bubbles_size);
    auto brightness = [](uint32_t p) { return channel(p, 16) + channel(p, 8) + channel(p, 0); };
    std::set<uint32_t> faces;
    for (int32_t k = 0; k < 8; ++k) {
        const int32_t x0 = k * 16;
        const Cell block = area(blocks, x0, 0, 16, 16);
        EXPECT_EQ(block.lit, 256) << "block " << k;
        EXPECT_GT(brightness(blocks.rgb(x0 + 1, 8)), brightness(blocks.rgb(x0 + 14, 8))) << "block " << k;
        EXPECT_GT(brightness(blocks.rgb(x0 + 8, 1)), brightness(blocks.rgb(x0 + 8, 14))) << "block " << k;
        faces.insert(blocks.rgb(x0 + 8, 8));
        const Cell ring = area(bubbles, x0, 0, 16, 16);
        EXPECT_GT(ring.sum[2], ring.sum[0]);
        EXPECT_EQ(ring.pixels.front(), 0u);
        if (k > 0) {
            EXPECT_GT(ring.lit, area(bubbles, x0 - 16, 0, 16, 16).lit) << "ring " << k;
        }
        if (k >= 3) {
            EXPECT_EQ(bubbles.rgb(x0 + 9, 9), 0u) << "ring " << k << " is hollow";
        }
    }
    EXPECT_EQ(faces.size(), 8u);
}

TEST(AssetWindow, FrameRimsTheDShapedMaskAndTheLogoIsGold)
{
    const Pnm frame = parse(pnm_frame, pnm_frame_size);
    const Pnm mask = parse(pnm_mask, pnm_mask_size);
    int32_t lit = 0;
    for (int32_t y = 0; y < 128; ++y) {
        for (int32_t x = 0; x < 256; ++x) {
            bool near_mask = false;
            for (int32_t d = 0; d < 9; ++d) {
                near_mask |= mask.bit(x + d % 3 - 1, y + d / 3 - 1);
            }
            lit += frame.rgb(x, y) != 0;
            EXPECT_TRUE(frame.rgb(x, y) == 0 || near_mask) << x << "," << y;
        }
    }
    EXPECT_GT(lit, 3000);
    EXPECT_TRUE(mask.bit(100, 64));
    EXPECT_EQ(frame.rgb(100, 64), 0u);
    // A straight left side and a rounded right side.
    auto first_set = [&](int32_t y) { int32_t x = 0; while (x < 255 && !mask.bit(x, y)) ++x; return x; };
    auto last_set = [&](int32_t y) { int32_t x = 255; while (x > 0 && !mask.bit(x, y)) --x; return x; };
    EXPECT_EQ(first_set(10), first_set(64));
    EXPECT_EQ(first_set(118), first_set(64));
    EXPECT_GT(last_set(64), last_set(10) + 20);

    const Cell logo = area(parse(pnm_logo, pnm_logo_size), 0, 0, 256, 128);
    EXPECT_GT(logo.lit, 256 * 128 / 4);
    EXPECT_LT(logo.lit, 256 * 128 * 3 / 4);
    EXPECT_GT(logo.sum[1], 3 * logo.sum[2]);
    EXPECT_GT(logo.sum[0], 3 * logo.sum[2]);
    EXPECT_EQ(logo.pixels.front() | logo.pixels.back(), 0u);
}

TEST(AssetFont, GlyphsSitInTheirCodes)
{
    const Pnm font = parse(pnm_font, pnm_font_size);
    std::set<std::vector<bool>> shapes;
    for (int32_t code = 0; code < 16 * 18; ++code) {
        std::vector<bool> shape;
        for (int32_t i = 0; i < 64; ++i) {
            shape.push_back(font.bit(code % 16 * 8 + i % 8, code / 16 * 8 + i / 8));
        }
        const bool drawn = std::ranges::find(shape, true) != shape.end();
        EXPECT_EQ(drawn, (code > 32 && code < 128) || code == 10 || code == 13) << "code " << code;
        if (drawn) {
            shapes.insert(shape);
        }
    }
    EXPECT_EQ(shapes.size(), 97u);
}

TEST(AssetTexts, ScrollTextsAndGridHaveTheirShape)
{
    struct Case {
        const char* text;
        size_t bytes;
        size_t lines;
        size_t widest;
    };
    for (const Case& c : {Case{big_scroll_text, 1282, 61, 34}, Case{hearts_scroll_text, 1611, 76, 33},
                          Case{grid_text, 256, 1, 256}}) {
        const std::string text = c.text;
        EXPECT_EQ(text.size(), c.bytes);
        const std::vector<std::string> lines = lines_of(text);
        EXPECT_EQ(lines.size(), c.lines);
        for (const std::string& line : lines) {
            EXPECT_LE(line.size(), c.widest) << line;
        }
        EXPECT_TRUE(std::ranges::all_of(text, [](char ch) { return ch == '\n' || (ch >= 32 && ch <= 126); }));
    }
    // The key help is the same in both scrollers and in the grid.
    const std::vector<std::string> big = lines_of(big_scroll_text);
    const std::vector<std::string> hearts = lines_of(hearts_scroll_text);
    EXPECT_EQ(big[3], "PRESS KEYS: ");
    EXPECT_EQ(hearts[6], big[3]);
    for (size_t i = 1; i < 5; ++i) {
        EXPECT_EQ(big[4 + i], hearts[7 + i]) << i;
    }
    EXPECT_EQ(std::string(grid_text).substr(8 * 16, 32), "ESC,Q: EXIT     SPACE: NEXT PART");
}

TEST(AssetSpinTable, TwoMirroredHalfTurns)
{
    EXPECT_EQ(spin_table[15], 32);
    EXPECT_GE(spin_table[0], 1);
    for (int32_t k = 0; k < 32; ++k) {
        EXPECT_GE(spin_table[k % 16], spin_table[std::max(k % 16 - 1, 0)]);
        EXPECT_EQ(spin_table[31 - k], spin_table[k]);
        EXPECT_EQ(spin_table[32 + k], -spin_table[k]);
    }
}
