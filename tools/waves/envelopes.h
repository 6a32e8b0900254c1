#pragma once

// Envelopes are functions of the time since the note started, in seconds.

// Raised-cosine rise from 0 to 1 over `attack` seconds; keeps onsets click-free.
double env_fade_in(double t, double attack);

// Exponential decay at `rate` per second (a negative rate swells).
double env_decay(double t, double rate);

// Glide from `from` to `to` with time constant `tau`: pitch drops of drums.
double env_glide(double t, double from, double to, double tau);
