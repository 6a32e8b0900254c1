// Building Samples from lists and reading them back, for the sound tests.
#pragma once

#include "sample.h"

#include <initializer_list>
#include <memory>
#include <vector>

struct SampleDeleter {
    void operator()(Sample* sample) const { sample_free(&sample); }
};
using SamplePtr = std::unique_ptr<Sample, SampleDeleter>;

inline SamplePtr make_sample(const std::vector<int32_t>& values)
{
    SamplePtr sample(sample_new());
    sample_set_count(sample.get(), static_cast<int32_t>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) {
        sample_set(sample.get(), values[i], static_cast<int32_t>(i));
    }
    return sample;
}

inline std::vector<int32_t> values_of(const Sample* sample)
{
    return sample ? std::vector<int32_t>(sample->data, sample->data + sample->count) : std::vector<int32_t>{};
}
