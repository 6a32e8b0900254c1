// The embedded texts and spin table.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "assets.h"

namespace {

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
