// Buffer handling shared by the SAMPLE source files; not part of the interface.
#pragma once

#include "sample.h"

// True when the Sample exists and owns a buffer, the condition every
// operation but the storage ones checks first.
bool sample_has_buffer(const Sample* sample);
// A zero-filled buffer of `capacity` values (> 0), or null.
int32_t* sample_alloc_values(int32_t capacity);
// Releases the old buffer and installs `values` with its capacity and count.
void sample_adopt_values(Sample* sample, int32_t* values, int32_t capacity, int32_t count);
