#include <numeric>

#include "gfx_test_helpers.h"

TEST(LineTables, RunAndLineExamples)
{
    EXPECT_EQ(run_table(2, 5), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(run_table(0, 4), (std::vector<int32_t>{5}));
    // Runs of the longer side over the shorter: as even as can be, summing
    // to the longer side, with a final 1.
    for (auto [longer, shorter] : {std::pair{320, 256}, {200, 13}, {97, 96}, {1000, 1}}) {
        const std::vector<int32_t> runs = run_table(shorter, longer);
        EXPECT_EQ(std::accumulate(runs.begin(), runs.end() - 1, 0), longer);
        EXPECT_LE(*std::max_element(runs.begin(), runs.end() - 1) - *std::min_element(runs.begin(), runs.end() - 1), 1);
        EXPECT_EQ(runs.back(), 1);
    }

    const auto line = [](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        int32_t* table = img_line_points(x0, y0, x1, y1);
        std::vector<int32_t> points(table, table + table[0] + 1);
        free(table);
        return points;
    };
    EXPECT_EQ(line(0, 0, 5, 2), (std::vector<int32_t>{12, 0, 0, 1, 1, 2, 1, 3, 1, 4, 2, 5, 2}));
    EXPECT_EQ(line(0, 0, -5, -2), (std::vector<int32_t>{12, 0, 0, -1, -1, -2, -1, -3, -1, -4, -2, -5, -2}));
    EXPECT_EQ(line(3, 3, 3, 3), (std::vector<int32_t>{2, 3, 3}));
    EXPECT_EQ(line(7, 1, 4, 4), (std::vector<int32_t>{8, 7, 1, 6, 2, 5, 3, 4, 4}));
}
