#pragma once
#include <cstdint>
#include <span>

// The four numbers that describe how a stored sound sits in the mix.
struct Shape {
    double peak = 0.0;          // largest magnitude
    double head_rms = 0.0;      // RMS of the first eighth
    double tail_ratio = 0.0;    // RMS of the last eighth over that of the first
    double sign_changes = 0.0;  // over the whole wave, zeros skipped
};

Shape shape_measure(std::span<const int32_t> wave);
