#include "palette.h"
#include "sample_values.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

using V = std::vector<int32_t>;

TEST(Sample, StorageCopiesAndSlices)
{
    SamplePtr s = make_sample({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    sample_set_count(s.get(), 5);
    sample_set_count(s.get(), 10);
    EXPECT_EQ(values_of(s.get()), V({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    sample_set_capacity(s.get(), 5);
    EXPECT_EQ(values_of(SamplePtr(sample_slice(s.get(), 1, 3)).get()), V({2, 3}));
    EXPECT_EQ(values_of(SamplePtr(sample_slice(s.get(), -2, 9)).get()), V({1, 2, 3, 4, 5}));
    EXPECT_EQ(SamplePtr(sample_slice(s.get(), 7, 9))->capacity, 32);
    EXPECT_EQ(sample_slice(s.get(), 3, 1), nullptr);

    SamplePtr full = make_sample(V(32, 7));
    sample_insert(full.get(), 9, 32);
    EXPECT_EQ(full->capacity, 64);
    EXPECT_EQ(sample_get(full.get(), 32), 9);
    EXPECT_EQ(sample_get(full.get(), 33), 0);
    EXPECT_EQ(values_of(SamplePtr(palette_new()).get()), V(256, 0));
}

TEST(Sample, EditsMoveAndRotateValuesInBothDirections)
{
    SamplePtr s = make_sample({1, 2, 3, 4});
    sample_copy_range(s.get(), s.get(), 3, 0, 1);
    EXPECT_EQ(values_of(s.get()), V({1, 1, 2, 3}));
    s = make_sample({1, 2, 3, 4});
    sample_copy_range(s.get(), s.get(), 3, 1, 0);
    sample_copy_range(s.get(), s.get(), 2, 3, 0);  // runs past the end: refused
    EXPECT_EQ(values_of(s.get()), V({2, 3, 4, 4}));

    s = make_sample({1, 2, 3});
    sample_insert(s.get(), 9, 1);
    sample_remove(s.get(), 0);
    SamplePtr pair = make_sample({7, 8});
    sample_insert_sample(s.get(), pair.get(), 1);
    EXPECT_EQ(values_of(s.get()), V({9, 7, 8, 2, 3}));
    EXPECT_EQ(s->capacity, 5);
    sample_insert_sample(pair.get(), pair.get(), 2);
    sample_insert_sample(pair.get(), pair.get(), -1);
    EXPECT_EQ(values_of(pair.get()), V({7, 8, 7, 8, 0, 0, 0, 0}));
    sample_reverse(s.get());
    EXPECT_EQ(values_of(s.get()), V({3, 2, 8, 7, 9}));

    s = make_sample({1, 2, 3, 4});
    sample_rotate_right(s.get(), 1);
    EXPECT_EQ(values_of(s.get()), V({4, 1, 2, 3}));
    sample_rotate_right(s.get(), 5);
    sample_rotate_left(s.get(), 7);
    EXPECT_EQ(values_of(s.get()), V({2, 3, 4, 1}));
}

TEST(Sample, SearchAndComparison)
{
    SamplePtr a = make_sample({5, 6, 7, 6});
    EXPECT_EQ(sample_find(a.get(), 6, 2), 3);
    EXPECT_EQ(sample_find(a.get(), 6, 4), -1);
    SamplePtr b = make_sample({6, 7});
    EXPECT_EQ(sample_best_offset(a.get(), b.get()), 1);
    EXPECT_EQ(sample_count_matches(a.get(), b.get(), 3), 1);
    EXPECT_EQ(sample_count_matches(a.get(), b.get(), -1), 0);
    EXPECT_EQ(sample_best_offset(a.get(), SamplePtr(make_sample({1, 2, 3})).get()), -3);
    EXPECT_EQ(sample_best_offset(a.get(), SamplePtr(make_sample({9, 5})).get()), -1);

    SamplePtr empty(sample_new());
    EXPECT_TRUE(sample_equal(empty.get(), SamplePtr(sample_new()).get()));
    EXPECT_FALSE(sample_equal(a.get(), b.get()));
    EXPECT_TRUE(sample_same(nullptr, nullptr) && !sample_same(a.get(), nullptr));
}

TEST(Sample, ArithmeticWrapsAndShiftsRoundDown)
{
    SamplePtr a = make_sample({INT32_MAX, -5, 7});
    SamplePtr b = make_sample({1, 3});
    sample_add(a.get(), b.get());
    sample_mul(a.get(), b.get());
    sample_scale(a.get(), -1);
    EXPECT_EQ(values_of(a.get()), V({INT32_MIN, 6, -7}));

    SamplePtr s = make_sample({-5, 7, -1, 1, 1000, -1000});
    sample_sar(s.get(), 2);
    EXPECT_EQ(values_of(s.get()), V({-2, 1, -1, 0, 250, -250}));
    sample_shl(s.get(), 31);
    sample_shl(s.get(), 33);
    sample_sar(s.get(), -1);
    EXPECT_EQ(values_of(s.get()), V({0, INT32_MIN, INT32_MIN, 0, 0, 0}));
}

TEST(Sample, FitRangeMapsEndsOntoBounds)
{
    const std::tuple<V, int32_t, int32_t, V> cases[] = {
        {{0, 100, 200}, 0, 400, {0, 200, 400}},
        {{-300, 0, 300}, -150, 150, {-150, 0, 150}},
        {{4, 4}, 0, 10, {4, 4}},
        {{INT32_MIN, INT32_MAX}, 0, 32768, {0, -32768}},  // the range wraps to -1, each step wraps too
    };
    for (const auto& [in, low, high, out] : cases) {
        SamplePtr s = make_sample(in);
        sample_fit_range(s.get(), low, high);
        EXPECT_EQ(values_of(s.get()), out) << low << ".." << high;
    }
}

TEST(Sample, ResampleRepeatsOrDropsInOrder)
{
    SamplePtr s = make_sample({1, 2, 3, 4});
    sample_resample(s.get(), 10);
    EXPECT_EQ(values_of(s.get()), V({1, 1, 2, 2, 2, 3, 3, 4, 4, 4}));
    s = make_sample({1, 2, 3});
    sample_resample(s.get(), 7);
    EXPECT_EQ(values_of(s.get()), V({1, 1, 2, 2, 3, 3, 3}));
    EXPECT_EQ(s->capacity, 7);
    s = make_sample({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    sample_resample(s.get(), 4);
    EXPECT_EQ(values_of(s.get()), V({1, 4, 6, 9}));
}

TEST(Sample, BufferlessRecordsAreRefusedOrGivenABuffer)
{
    Sample bare{0, 0, nullptr};
    sample_insert(&bare, 1, 0);
    EXPECT_EQ(sample_copy(&bare), nullptr);
    EXPECT_EQ(sample_find(nullptr, 0, 0), -1);
    sample_set_count(&bare, 3);
    EXPECT_EQ(values_of(&bare), V({0, 0, 0}));
    free(bare.data);
}

// The test program links with --wrap=calloc: calls from the code under test
// come here, and the call numbered `calloc_to_fail` (counting from 0) fails.
namespace {
int calloc_to_fail = -1;
}
extern "C" void* __real_calloc(size_t count, size_t size);
extern "C" void* __wrap_calloc(size_t count, size_t size)
{
    return calloc_to_fail-- == 0 ? nullptr : __real_calloc(count, size);
}

TEST(Sample, TextGetsExactlyItsCountOrNothing)
{
    for (const int32_t count : {1, 3, 32, 40}) {
        std::string text = "SAMPLE{" + std::to_string(count);
        for (int32_t i = 0; i < count; i++) {
            text += " 7";
        }
        ASSERT_EQ(SamplePtr(sample_from_text(text.c_str()))->capacity, count);
        calloc_to_fail = 2;  // the record, its default 32 values, then the text's values
        EXPECT_EQ(sample_from_text(text.c_str()), nullptr) << count;
        calloc_to_fail = -1;
    }
}
