#pragma once
#include <array>
#include <cstdint>

#include "instruments.h"
#include "shape.h"

constexpr int32_t kit_size = 16;

// Lowest and highest value a stored sound may hold; the sequencer mixes
// without clipping only while every wave stays inside.
constexpr int32_t wave_min = -27015;
constexpr int32_t wave_max = 24990;

struct KnobRange {
    double lo = 0.0;
    double hi = 0.0;
};

// One stored sound: what it is, the shape it must have in the mix, and the
// ranges the fitter may turn its knobs through.
struct KitSound {
    const char* name = "";
    Shape target;
    Voice voice;
    KnobRange decay{2.0, 60.0};  // per second
    KnobRange punch{-1.0, 1.0};
    KnobRange bright;
};

// The house kit in sequencer order (index k is wave k).
extern const std::array<KitSound, kit_size> kit_sounds;
