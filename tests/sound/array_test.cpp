#include "array.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

int words[7];
const auto [A, B, C, D, X, Y, Z] = std::array<void*, 7>{words, words + 1, words + 2, words + 3, words + 4, words + 5, words + 6};

struct ArrayDeleter {
    void operator()(Array* array) const { array_free(&array); }
};
using ArrayPtr = std::unique_ptr<Array, ArrayDeleter>;
using E = std::vector<void*>;

ArrayPtr make_array(const E& elements)
{
    ArrayPtr array(array_new());
    for (void* element : elements) {
        array_append(array.get(), element);
    }
    return array;
}

E elements_of(const Array* array)
{
    return array ? E(array->data, array->data + array->count) : E{};
}

}  // namespace

TEST(Array, GrowsRemovesAndInsertsInPlace)
{
    EXPECT_EQ(make_array({A, B, C})->capacity, 4);
    ArrayPtr array = make_array({A, B, C, D, X});
    EXPECT_EQ(array->capacity, 8);
    array_remove(array.get(), 0);
    EXPECT_EQ(elements_of(array.get()), E({B, C, D, X}));
    EXPECT_EQ(array->data[4], nullptr);
    EXPECT_EQ(array_pop(array.get()), X);
    array_insert(array.get(), Y, 1);
    array_insert(array.get(), Z, 4);
    array_insert(array.get(), Z, 6);
    array_set(array.get(), A, 5);
    EXPECT_EQ(elements_of(array.get()), E({B, Y, C, D, Z}));
    EXPECT_EQ(array_get(array.get(), -1), nullptr);
    EXPECT_EQ(array_get(array.get(), 5), nullptr);
    EXPECT_EQ(array_find(array.get(), Z), 4);
    EXPECT_EQ(array_find(array.get(), nullptr), -1);

    ArrayPtr single = make_array({A});
    array_remove(single.get(), 0);
    EXPECT_EQ(single->data[0], nullptr);
    EXPECT_EQ(array_pop(single.get()), nullptr);
}

TEST(Array, RangesSlicesAndCopies)
{
    ArrayPtr array = make_array({A, B, C, B, D});
    array_remove_range(array.get(), 1, 4);
    array_remove_range(array.get(), 1, 1);
    array_remove_range(array.get(), 0, 3);
    EXPECT_EQ(elements_of(array.get()), E({A, D}));

    ArrayPtr source = make_array({X, Y, Z});
    array_insert_range(source.get(), array.get(), 0, 2, 1);
    EXPECT_EQ(elements_of(array.get()), E({A, X, Y, D}));
    array_insert_range(source.get(), array.get(), 0, 3, 4);
    array_insert_range(source.get(), array.get(), 0, 4, 0);
    array_insert_range(source.get(), array.get(), 0, 1, 8);
    EXPECT_EQ(elements_of(array.get()), E({A, X, Y, D, X, Y, Z}));
    EXPECT_EQ(array->capacity, 8);
    ArrayPtr self = make_array({A, B, C});  // into itself: the range is read after the tail moved
    array_insert_range(self.get(), self.get(), 0, 2, 1);
    EXPECT_EQ(elements_of(self.get()), E({A, A, B, B, C}));

    ArrayPtr slice(array_slice(array.get(), 1, 3));
    EXPECT_EQ(elements_of(slice.get()), E({X, Y}));
    EXPECT_EQ(slice->capacity, 2);
    EXPECT_EQ(ArrayPtr(array_slice(array.get(), 2, 7))->capacity, 8);
    EXPECT_EQ(array_slice(array.get(), 3, 3), nullptr);
    EXPECT_EQ(elements_of(ArrayPtr(array_copy(array.get())).get()), elements_of(array.get()));
    EXPECT_EQ(array_copy(nullptr), nullptr);
}
