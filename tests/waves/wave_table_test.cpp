// The stored sounds must keep the loudness balance of the music: each wave's
// shape, measured as the synthesizer tests check it, against its slot's; and
// every value is as stored in tests/reference.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <span>

#include "reference_sets.h"
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

// Each stored wave against its slot: shape within 10%, silent ends that
// ramp (no click in the first or last eight values), no offset, mix range.
TEST(WaveTable, SixteenWavesMatchTheirSlotsAndStartAndEndSilent)
{
    ASSERT_EQ(wave_count, 16);
    for (int32_t k = 0; k < wave_count; ++k) {
        SCOPED_TRACE(k);
        ASSERT_EQ(wave_table[k].count, wave_length);
        ASSERT_EQ(wave_table[k].capacity, wave_length);
        const std::span<const int32_t> values(wave_table[k].data, wave_length);
        const SlotShape& want = slot_shapes[k];
        const Shape shape = shape_measure(values);
        EXPECT_NEAR(shape.peak, want.peak, 0.1 * want.peak);
        EXPECT_NEAR(shape.head_rms, want.head_rms, 0.1 * want.head_rms);
        EXPECT_NEAR(100.0 * shape.tail_ratio, want.tail_percent, std::max(2.0, 0.1 * want.tail_percent));
        EXPECT_NEAR(shape.sign_changes, want.sign_changes, 0.1 * want.sign_changes);
        EXPECT_LE(std::max(std::abs(values.front()), std::abs(values.back())), 0.01 * want.peak);
        for (int32_t i = 0; i < 8; ++i) {
            EXPECT_LE(std::max(std::abs(values[i]), std::abs(values[wave_length - 1 - i])), 0.05 * want.peak);
        }
        EXPECT_LT(std::fabs(std::accumulate(values.begin(), values.end(), 0.0) / wave_length), 4.0);
        EXPECT_GE(*std::ranges::min_element(values), -27015);
        EXPECT_LE(*std::ranges::max_element(values), 24990);
    }
}

TEST(WaveTable, WavesAreAsStored)
{
    EXPECT_EQ(reference_changes(reference_read(reference_path("waves.txt")), reference_waves()),
              std::vector<std::string>{});
}

}  // namespace
