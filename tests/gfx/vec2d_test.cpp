#include <cmath>
#include <numbers>

#include "gfx_test_helpers.h"
#include "vec2d.h"

TEST(Vec2D, LifeCycleCopyAndCompare)
{
    Vec2D* a = vec2d_new();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->x | a->y, 0);
    a->x = 3, a->y = -4;
    Vec2D* b = vec2d_clone(a);
    EXPECT_EQ(vec2d_equal(a, b), 1);
    b->y = 4;
    EXPECT_EQ(vec2d_equal(a, b), 0);
    vec2d_copy(a, b);
    vec2d_copy(nullptr, b);
    EXPECT_EQ(vec2d_equal(a, b), 1);
    EXPECT_EQ(vec2d_equal(a, nullptr), 0);
    vec2d_free(&a);
    vec2d_free(&b);
    EXPECT_EQ(a, nullptr);
    vec2d_free(&a);
}

TEST(SineTable, StoredValuesAndSymmetry)
{
    EXPECT_EQ(sine_size - sine_mask, 1);
    const std::pair<int32_t, int32_t> telling[] = {{1, 201},     {64, 12539},  {128, 23170}, {192, 30273},
                                                   {513, -201},  {384, 23027}, {255, 32766}, {256, 32766},
                                                   {767, -32766}, {768, -32766}, {511, 0},     {1023, 0}};
    for (auto [index, value] : telling) {
        EXPECT_EQ(sine_table[index], value) << index;
    }
    for (int32_t i = 0; i < 256; i++) {
        const double exact = 32767 * std::sin(2 * std::numbers::pi * i / 1024);
        EXPECT_EQ(sine_table[i], std::lround(exact) + (i == 129 || i == 183)) << i;
        EXPECT_EQ(sine_table[256 + i], sine_table[255 - i]) << i;
    }
    for (int32_t i = 0; i < 512; i++) {
        EXPECT_EQ(sine_table[512 + i], -sine_table[i]) << i;
    }
}

TEST(LineTables, RunAndLineExamples)
{
    EXPECT_EQ(run_table(2, 5), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(run_table(-5, 2), (std::vector<int32_t>{3, 2, 1}));
    EXPECT_EQ(run_table(3, 3), (std::vector<int32_t>{1, 1, 1, 1}));
    EXPECT_EQ(run_table(7, 3), (std::vector<int32_t>{3, 2, 2, 1}));
    EXPECT_EQ(run_table(0, 4), (std::vector<int32_t>{5}));
    EXPECT_EQ(run_table(0, 0), (std::vector<int32_t>{1}));
    // Counter k is ceil((k + 1) M / m) - ceil(k M / m); the last one is 1.
    for (auto [longer, shorter] : {std::pair{320, 256}, {200, 13}, {97, 96}, {1000, 1}}) {
        const std::vector<int32_t> runs = run_table(shorter, longer);
        for (int32_t k = 0; k < shorter; k++) {
            const int32_t end = ((k + 1) * longer + shorter - 1) / shorter;
            EXPECT_EQ(runs[k], end - (k * longer + shorter - 1) / shorter);
        }
        EXPECT_EQ(runs[shorter], 1);
    }

    const auto line = [](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        int32_t* table = img_line_points(x0, y0, x1, y1);
        std::vector<int32_t> points(table, table + table[0] + 1);
        free(table);
        return points;
    };
    EXPECT_EQ(line(0, 0, 5, 2), (std::vector<int32_t>{12, 0, 0, 1, 1, 2, 1, 3, 1, 4, 2, 5, 2}));
    EXPECT_EQ(line(0, 0, 2, 5), (std::vector<int32_t>{12, 0, 0, 1, 1, 1, 2, 1, 3, 2, 4, 2, 5}));
    EXPECT_EQ(line(0, 0, -5, -2), (std::vector<int32_t>{12, 0, 0, -1, -1, -2, -1, -3, -1, -4, -2, -5, -2}));
    EXPECT_EQ(line(3, 3, 3, 3), (std::vector<int32_t>{2, 3, 3}));
    EXPECT_EQ(line(7, 1, 4, 4), (std::vector<int32_t>{8, 7, 1, 6, 2, 5, 3, 4, 4}));
}
