// The embedded pictures, texts and spin table, checked from their bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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
        if (x < 0 || y < 0 || x >= width || y >= height)
            return false;
        return (pixels[static_cast<size_t>(y) * (width / 8) + x / 8] & (0x80 >> (x % 8))) != 0;
    }
};

Pnm parse(const uint8_t* bytes, size_t size)
{
    std::vector<std::string> lines;
    size_t at = 0;
    auto next_line = [&] {
        const uint8_t* end = static_cast<const uint8_t*>(std::memchr(bytes + at, '\n', size - at));
        const size_t stop = end ? static_cast<size_t>(end - bytes) : size;
        lines.emplace_back(reinterpret_cast<const char*>(bytes + at), stop - at);
        at = std::min(stop + 1, size);
    };
    for (int32_t i = 0; i < 6; ++i)
        next_line();
    Pnm pnm;
    if (lines[0] != "P6" && lines[0] != "P4")
        return pnm;
    for (int32_t i = 1; i <= 4; ++i)
        if (lines[i].empty() || lines[i][0] != '#')
            return pnm;
    std::istringstream(lines[5]) >> pnm.width >> pnm.height;
    if (lines[0] == "P6") {
        next_line();
        if (lines[6] != "255")
            return pnm;
    }
    pnm.kind = lines[0][1];
    pnm.pixels = bytes + at;
    pnm.pixel_bytes = size - at;
    return pnm;
}

const Pnm sprites = parse(pnm_sprites, pnm_sprites_size);

// Pixels of a w x h area of a colour picture, in reading order.
std::vector<uint32_t> area(const Pnm& pnm, int32_t x0, int32_t y0, int32_t w, int32_t h)
{
    std::vector<uint32_t> pixels;
    for (int32_t y = y0; y < y0 + h; ++y)
        for (int32_t x = x0; x < x0 + w; ++x)
            pixels.push_back(pnm.rgb(x, y));
    return pixels;
}

std::vector<uint32_t> sprite_cell(int32_t code)
{
    return area(sprites, code % 16 * 32, code / 16 * 32, 32, 32);
}

uint32_t channel(uint32_t pixel, int32_t shift)
{
    return pixel >> shift & 0xFF;
}

// Lit pixels and the sum of each channel.
struct Totals {
    int32_t lit = 0;
    uint64_t red = 0, green = 0, blue = 0;
};

Totals totals(const std::vector<uint32_t>& pixels)
{
    Totals t;
    for (uint32_t p : pixels) {
        t.lit += p != 0;
        t.red += channel(p, 16);
        t.green += channel(p, 8);
        t.blue += channel(p, 0);
    }
    return t;
}

uint32_t brightness(uint32_t pixel)
{
    return channel(pixel, 16) + channel(pixel, 8) + channel(pixel, 0);
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

std::string joined(const std::vector<std::string>& lines, size_t first, size_t count)
{
    std::string text;
    for (size_t i = first; i < first + count; ++i) {
        std::string line = lines[i];
        line.erase(line.find_last_not_of(' ') + 1);
        text += (text.empty() ? "" : " ") + line;
    }
    return text;
}

}  // namespace

TEST(AssetPictures, HeadersSizesAndDataLengths)
{
    struct Case {
        const uint8_t* bytes;
        size_t size;
        char kind;
        int32_t width;
        int32_t height;
    };
    const Case cases[] = {
        {pnm_font, pnm_font_size, '4', 128, 144},    {pnm_sprites, pnm_sprites_size, '6', 512, 256},
        {pnm_blocks, pnm_blocks_size, '6', 128, 16}, {pnm_bubbles, pnm_bubbles_size, '6', 128, 16},
        {pnm_logo, pnm_logo_size, '6', 256, 128},    {pnm_frame, pnm_frame_size, '6', 256, 128},
        {pnm_mask, pnm_mask_size, '4', 256, 128},
    };
    for (const Case& c : cases) {
        const Pnm pnm = parse(c.bytes, c.size);
        EXPECT_EQ(pnm.kind, c.kind);
        EXPECT_EQ(pnm.width, c.width);
        EXPECT_EQ(pnm.height, c.height);
        const size_t row_bytes =
            c.kind == '6' ? static_cast<size_t>(c.width) * 3 : static_cast<size_t>(c.width) / 8;
        EXPECT_EQ(pnm.pixel_bytes, row_bytes * static_cast<size_t>(c.height));
    }
}

TEST(AssetSpriteSheet, BobIsAVeryDarkBallOnBlack)
{
    // Code 23 lies at (224, 32); the part adds it 66 times a frame.
    int32_t lit = 0;
    for (int32_t y = 0; y < 32; ++y)
        for (int32_t x = 0; x < 32; ++x) {
            const uint32_t pixel = sprites.rgb(224 + x, 32 + y);
            const float r =
                std::hypot(static_cast<float>(x) + 0.5f - 16.0f, static_cast<float>(y) + 0.5f - 16.0f);
            EXPECT_LE(channel(pixel, 16), 5u);
            EXPECT_LE(channel(pixel, 8), 5u);
            EXPECT_LE(channel(pixel, 0), 5u);
            if (r < 13.0f) {
                EXPECT_NE(pixel, 0u) << x << "," << y;
            }
            if (r > 16.0f) {
                EXPECT_EQ(pixel, 0u) << x << "," << y;
            }
            lit += pixel != 0;
        }
    EXPECT_GT(lit, 600);
}

TEST(AssetSpriteSheet, TilesCoverTheirCellsAndDiffer)
{
    std::set<std::vector<uint32_t>> tiles;
    for (int32_t code = 16; code <= 20; ++code) {
        const Totals t = totals(sprite_cell(code));
        EXPECT_EQ(t.lit, 32 * 32) << "tile " << code;
        EXPECT_GT(t.blue, 2 * t.red) << "tile " << code << " is not blue";
        tiles.insert(sprite_cell(code));
    }
    EXPECT_EQ(tiles.size(), 5u);
}

TEST(AssetSpriteSheet, HeartsAndStarsGrowOnTransparentGround)
{
    for (int32_t first : {0, 8}) {
        int32_t previous = 0;
        for (int32_t code = first; code < first + 8; ++code) {
            const std::vector<uint32_t> cell = sprite_cell(code);
            EXPECT_GT(totals(cell).lit, previous) << "code " << code;
            previous = totals(cell).lit;
            EXPECT_EQ(cell.front(), 0u);
            EXPECT_EQ(cell.back(), 0u);
        }
    }
    const std::vector<uint32_t> heart = sprite_cell(7);
    const uint32_t middle = heart[16 * 32 + 16];
    EXPECT_GT(channel(middle, 16), channel(middle, 8) + 64) << "hearts are red";
}

TEST(AssetSpriteSheet, BallsAndPinkLetters)
{
    const uint32_t green = sprite_cell(21)[16 * 32 + 16];
    const uint32_t yellow = sprite_cell(22)[16 * 32 + 16];
    EXPECT_GT(channel(green, 8), channel(green, 16));
    EXPECT_GT(channel(yellow, 8), channel(yellow, 0));
    EXPECT_EQ(sprite_cell(21).front(), 0u);
    EXPECT_EQ(totals(sprite_cell(' ')).lit, 0);
    std::set<std::vector<uint32_t>> letters;
    for (int32_t code = 33; code < 128; ++code) {
        const Totals t = totals(sprite_cell(code));
        EXPECT_GT(t.lit, 20) << "code " << code;
        EXPECT_GT(t.red, t.green) << "code " << code << " is not pink";
        letters.insert(sprite_cell(code));
    }
    EXPECT_EQ(letters.size(), 95u);
}

TEST(AssetBlocks, LitBevelledBlocksWithoutBlack)
{
    const Pnm blocks = parse(pnm_blocks, pnm_blocks_size);
    std::set<uint32_t> faces;
    for (int32_t block = 0; block < 8; ++block) {
        const int32_t x0 = block * 16;
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 16; ++x)
                EXPECT_NE(blocks.rgb(x0 + x, y), 0u) << "block " << block;
        EXPECT_GT(brightness(blocks.rgb(x0 + 1, 8)), brightness(blocks.rgb(x0 + 14, 8))) << "block " << block;
        EXPECT_GT(brightness(blocks.rgb(x0 + 8, 1)), brightness(blocks.rgb(x0 + 8, 14))) << "block " << block;
        faces.insert(blocks.rgb(x0 + 8, 8));
    }
    EXPECT_EQ(faces.size(), 8u);
}

TEST(AssetBubbles, CyanRingsGrowOnBlack)
{
    const Pnm bubbles = parse(pnm_bubbles, pnm_bubbles_size);
    int32_t previous = 0;
    for (int32_t ring = 0; ring < 8; ++ring) {
        const Totals t = totals(area(bubbles, ring * 16, 0, 16, 16));
        EXPECT_GT(t.lit, previous) << "ring " << ring;
        previous = t.lit;
        EXPECT_GT(t.blue, t.red);
        EXPECT_EQ(bubbles.rgb(ring * 16, 0), 0u);
        if (ring >= 3) {
            EXPECT_EQ(bubbles.rgb(ring * 16 + 9, 9), 0u) << "ring " << ring << " is hollow";
        }
    }
}

TEST(AssetWindow, FrameRimsTheFilledD)
{
    const Pnm frame = parse(pnm_frame, pnm_frame_size);
    const Pnm mask = parse(pnm_mask, pnm_mask_size);
    auto near_mask = [&](int32_t x, int32_t y) {
        for (int32_t dy = -1; dy <= 1; ++dy)
            for (int32_t dx = -1; dx <= 1; ++dx)
                if (mask.bit(x + dx, y + dy))
                    return true;
        return false;
    };
    int32_t lit = 0;
    for (int32_t y = 0; y < 128; ++y)
        for (int32_t x = 0; x < 256; ++x)
            if (frame.rgb(x, y) != 0) {
                ++lit;
                EXPECT_TRUE(near_mask(x, y)) << x << "," << y;
            }
    EXPECT_GT(lit, 3000);
    // Inside the rim the frame is transparent so the window shows.
    EXPECT_TRUE(mask.bit(100, 64));
    EXPECT_EQ(frame.rgb(100, 64), 0u);
    // The D: a straight left side, a rounded right side.
    auto first_set = [&](int32_t y) {
        int32_t x = 0;
        while (x < 256 && !mask.bit(x, y))
            ++x;
        return x;
    };
    auto last_set = [&](int32_t y) {
        int32_t x = 255;
        while (x >= 0 && !mask.bit(x, y))
            --x;
        return x;
    };
    EXPECT_EQ(first_set(10), first_set(64));
    EXPECT_EQ(first_set(118), first_set(64));
    EXPECT_GT(last_set(64), last_set(10) + 20);
    EXPECT_EQ(last_set(10), last_set(117));
}

TEST(AssetFont, GlyphsSitInTheirCodes)
{
    const Pnm font = parse(pnm_font, pnm_font_size);
    std::set<std::vector<bool>> shapes;
    for (int32_t code = 0; code < 16 * 18; ++code) {
        std::vector<bool> shape;
        for (int32_t y = 0; y < 8; ++y)
            for (int32_t x = 0; x < 8; ++x)
                shape.push_back(font.bit(code % 16 * 8 + x, code / 16 * 8 + y));
        const bool drawn = std::find(shape.begin(), shape.end(), true) != shape.end();
        const bool expected = (code > 32 && code < 128) || code == 10 || code == 13;
        EXPECT_EQ(drawn, expected) << "code " << code;
        if (drawn)
            shapes.insert(shape);
    }
    EXPECT_EQ(shapes.size(), 97u);
}

TEST(AssetLogo, GoldLettersOnBlack)
{
    const Pnm logo = parse(pnm_logo, pnm_logo_size);
    const Totals t = totals(area(logo, 0, 0, 256, 128));
    EXPECT_GT(t.lit, 256 * 128 / 4);
    EXPECT_LT(t.lit, 256 * 128 * 3 / 4);
    EXPECT_GT(t.green, 3 * t.blue);
    EXPECT_GT(t.red, 3 * t.blue);
    EXPECT_EQ(logo.rgb(0, 0), 0u);
    EXPECT_EQ(logo.rgb(255, 127), 0u);
}

TEST(AssetTexts, ScrollTextsHaveTheirShape)
{
    struct Case {
        const char* text;
        size_t bytes;
        size_t lines;
        size_t widest;
    };
    for (const Case& c : {Case{big_scroll_text, 1282, 61, 34}, Case{hearts_scroll_text, 1611, 76, 33}}) {
        const std::string text = c.text;
        EXPECT_EQ(text.size(), c.bytes);
        EXPECT_EQ(text.back(), '\n');
        const std::vector<std::string> lines = lines_of(text);
        EXPECT_EQ(lines.size(), c.lines);
        for (const std::string& line : lines)
            EXPECT_LE(line.size(), c.widest) << line;
        for (char ch : text)
            EXPECT_TRUE(ch == '\n' || (ch >= 32 && ch <= 126)) << static_cast<int>(ch);
    }
}

TEST(AssetTexts, FixedLinesAndQuotations)
{
    const std::vector<std::string> big = lines_of(big_scroll_text);
    const std::vector<std::string> hearts = lines_of(hearts_scroll_text);
    const std::vector<std::string> keys = {"PRESS KEYS: ", "SPACE: NEXT PART  ", "8: SHOW F.P.S. ON/OFF   ",
                                           "9: FULL SPEED ON/OFF   ", "AS: SCROLL SPEED    "};
    EXPECT_EQ(big[1], "KELP4090  ");
    EXPECT_EQ(big[2], "20101108  ");
    EXPECT_EQ(big[4], "ESC,Q: EXIT ");
    EXPECT_EQ(hearts[0], std::string(15, ' '));
    EXPECT_EQ(hearts[4], "20101108  ");
    EXPECT_EQ(hearts[7], "ESC,Q: EXIT  ");
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(big[3 + i + (i > 0)], keys[i]);
        EXPECT_EQ(hearts[6 + i + (i > 0)], keys[i]);
    }
    EXPECT_EQ(big[13], "ELECTRONIC/HOUSE MUSIC! ");
    EXPECT_EQ(big[18], "GREETINGS TO:  ");
    EXPECT_EQ(hearts[17], "Windows and Linux ");
    EXPECT_EQ(hearts[35], "GREETINGS TO:  ");
    EXPECT_EQ(joined(big, 19, 12), joined(hearts, 36, 12)) << "the same greetings";
    EXPECT_EQ(big[32], hearts[13]) << "the visit line";
    EXPECT_EQ(big[34], hearts[15]) << "the contact line";
    for (size_t blank : {0, 9, 14, 17, 31, 33, 35, 50, 52, 54, 58, 60})
        EXPECT_EQ(big[blank], "    ") << "line " << blank;
    for (size_t blank : {5, 12, 14, 16, 30, 34, 48, 50, 52, 65, 67, 69, 73, 75})
        EXPECT_EQ(hearts[blank], "      ") << "line " << blank;
    EXPECT_EQ(big[59], "9.8.7.6.5.4.3.2.1.0 ");
    EXPECT_EQ(hearts[74], "9.8.7.6.5.4.3.2.1.0 ");
    EXPECT_EQ(big[39], "ARTICLE 18 -");
    EXPECT_EQ(hearts[56], "ARTICLE 18 - ");
    EXPECT_EQ(
        joined(big, 40, 10),
        "EVERYONE HAS THE RIGHT TO FREEDOM OF THOUGHT, CONSCIENCE AND RELIGION; THIS RIGHT INCLUDES "
        "FREEDOM TO CHANGE HIS RELIGION OR BELIEF, AND FREEDOM, EITHER ALONE OR IN COMMUNITY WITH OTHERS "
        "AND IN PUBLIC OR PRIVATE, TO MANIFEST HIS RELIGION OR BELIEF IN TEACHING, PRACTICE, WORSHIP AND "
        "OBSERVANCE.");
    EXPECT_EQ(joined(hearts, 57, 8),
              "NO ONE SHALL BE SUBJECTED TO ARBITRARY INTERFERENCE WITH HIS PRIVACY, FAMILY, HOME OR "
              "CORRESPONDENCE, NOR TO ATTACKS UPON HIS HONOUR AND REPUTATION. EVERYONE HAS THE RIGHT TO THE "
              "PROTECTION OF THE LAW AGAINST SUCH INTERFERENCE OR ATTACKS.");
}

TEST(AssetTexts, GridIsSixteenRowsOfSixteen)
{
    const std::string grid = grid_text;
    ASSERT_EQ(grid.size(), 256u);
    EXPECT_EQ(grid.find('\n'), std::string::npos);
    auto row = [&grid](size_t r) { return grid.substr(r * 16, 16); };
    EXPECT_EQ(row(0), "      KELP      ");
    EXPECT_EQ(row(1), "      4090      ");
    EXPECT_EQ(row(3), "    20101108    ");
    EXPECT_EQ(row(6), "   PRESS KEYS:  ");
    EXPECT_EQ(row(8), "ESC,Q: EXIT     ");
    EXPECT_EQ(row(9), "SPACE: NEXT PART");
    EXPECT_EQ(row(10), "8: SHOW F.P.S.  ");
    EXPECT_EQ(row(11), "9: FULL SPEED   ");
    EXPECT_EQ(row(12), "AS: SCROLL SPEED");
    EXPECT_NE(row(14).find("@EXAMPLE.ORG"), std::string::npos);
    for (size_t blank : {2, 4, 5, 7, 13})
        EXPECT_EQ(row(blank), std::string(16, ' ')) << "row " << blank;
}

TEST(AssetSpinTable, TwoMirroredHalfTurns)
{
    EXPECT_EQ(spin_table[15], 32);
    for (int32_t k = 0; k < 16; ++k) {
        EXPECT_GE(spin_table[k], 1);
        if (k > 0) {
            EXPECT_GE(spin_table[k], spin_table[k - 1]);
        }
    }
    for (int32_t k = 0; k < 32; ++k) {
        EXPECT_EQ(spin_table[31 - k], spin_table[k]);
        EXPECT_EQ(spin_table[32 + k], -spin_table[k]);
    }
}
