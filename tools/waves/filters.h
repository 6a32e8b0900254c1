#pragma once

// One-pole smoother; its high-pass is the input minus the low-pass.
struct OnePole {
    double coeff = 0.0;
    double state = 0.0;
};

OnePole onepole_new(double cutoff_hz);
double onepole_lowpass(OnePole& filter, double input);
double onepole_highpass(OnePole& filter, double input);

enum class BiquadKind { lowpass, highpass, bandpass };

// Second-order section (transposed direct form II, cookbook coefficients).
struct Biquad {
    double b0 = 0.0, b1 = 0.0, b2 = 0.0, a1 = 0.0, a2 = 0.0;
    double z1 = 0.0, z2 = 0.0;
};

// Sets the coefficients and keeps the state, so a filter can sweep while it runs.
void biquad_tune(Biquad& filter, BiquadKind kind, double cutoff_hz, double q);
Biquad biquad_new(BiquadKind kind, double cutoff_hz, double q);
double biquad_process(Biquad& filter, double input);

// tanh saturation normalised so a full-scale input stays at full scale.
double soft_clip(double input, double drive);
