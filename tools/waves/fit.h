#pragma once
#include <cstdint>
#include <vector>

#include "instruments.h"
#include "kit.h"
#include "shape.h"

using Wave = std::vector<int32_t>;

// Turns a raw render into a stored sound: high-passes away DC, fades both
// ends to exact silence, puts the louder half-wave on the negative side and
// scales its peak to `peak` without leaving wave_min..wave_max.
Wave fit_finish(Signal signal, double peak);

struct FitResult {
    Knobs knobs;
    Wave wave;
    Shape shape;
};

// Turns a sound's knobs until its shape matches the target, then renders it.
FitResult fit_sound(const KitSound& sound);
