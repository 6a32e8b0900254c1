// The stored sounds must keep the loudness balance of the music: each wave's
// shape, measured as the synthesizer tests check it, against its slot's.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <span>

#include "shape.h"
#include "waves.h"

namespace {

constexpr int32_t wave_length = 11025;

struct SlotShape {
    int32_t peak;
    int32_t head_rms;
    int32_t tail_percent;  // RMS of the last eighth relative to the first
    int32_t sign_changes;
};

constexpr std::array<SlotShape, 16> slot_shapes = {{
    {6690, 2403, 7, 795},
    {6211, 3269, 100, 692},
    {14324, 5146, 9, 438},
    {12863, 4038, 8, 604},
    {12984, 4716, 1, 290},
    {20821, 10868, 1, 99},
    {11588, 3136, 3, 716},
    {7810, 2687, 1, 560},
    {20288, 6715, 1, 189},
    {22654, 8752, 1, 314},
    {14605, 3608, 1, 915},
    {8863, 2629, 3, 1332},
    {22226, 7732, 2, 221},
    {10824, 3543, 2, 581},
    {27015, 11175, 0, 686},
    {13429, 4185, 3, 735},
}};

std::span<const int32_t> wave_values(int32_t index)
{
    return {wave_table[index].data, static_cast<size_t>(wave_table[index].count)};
}

class WaveShape : public testing::TestWithParam<int32_t> {};

TEST_P(WaveShape, MatchesItsSlot)
{
    const int32_t index = GetParam();
    const SlotShape& want = slot_shapes[index];
    const Shape shape = shape_measure(wave_values(index));
    EXPECT_NEAR(shape.peak, want.peak, 0.1 * want.peak);
    EXPECT_NEAR(shape.head_rms, want.head_rms, 0.1 * want.head_rms);
    EXPECT_NEAR(100.0 * shape.tail_ratio, want.tail_percent, std::max(2.0, 0.1 * want.tail_percent));
    EXPECT_NEAR(shape.sign_changes, want.sign_changes, 0.1 * want.sign_changes);
}

TEST_P(WaveShape, StartsAndEndsSilentWithoutOffset)
{
    const auto values = wave_values(GetParam());
    const double peak = slot_shapes[GetParam()].peak;
    EXPECT_LE(std::abs(values.front()), 0.01 * peak);
    EXPECT_LE(std::abs(values.back()), 0.01 * peak);
    // A click is a jump out of or into silence: the first and last eight
    // values (0.2 ms) must still be ramping.
    for (int32_t i = 0; i < 8; ++i) {
        EXPECT_LE(std::abs(values[i]), 0.05 * peak) << "onset at " << i;
        EXPECT_LE(std::abs(values[wave_length - 1 - i]), 0.05 * peak) << "release at " << i;
    }
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / wave_length;
    EXPECT_LT(std::fabs(mean), 4.0);
}

INSTANTIATE_TEST_SUITE_P(EveryWave, WaveShape, testing::Range(0, 16));

TEST(WaveTable, HoldsSixteenFullWavesInTheMixRange)
{
    ASSERT_EQ(wave_count, 16);
    for (int32_t k = 0; k < wave_count; ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(wave_table[k].count, wave_length);
        ASSERT_EQ(wave_table[k].capacity, wave_length);
        ASSERT_NE(wave_table[k].data, nullptr);
        for (int32_t other = 0; other < k; ++other) {
            EXPECT_NE(wave_table[k].data, wave_table[other].data);
        }
        const auto values = wave_values(k);
        EXPECT_GE(*std::min_element(values.begin(), values.end()), -27015);
        EXPECT_LE(*std::max_element(values.begin(), values.end()), 24990);
    }
}

}  // namespace
