// BENCHMARK: every part's drawing timed frame by frame, unpaced, the one
// way kelp4090-capture --benchmark and the browser page's ?benchmark run
// it, so that their figures compare.
#pragma once

#include <chrono>
#include <vector>

using BenchmarkClock = std::chrono::steady_clock;

// Microseconds from `from` to `to`.
double benchmark_us(BenchmarkClock::time_point from, BenchmarkClock::time_point to);

// After demo_init: each part of the ring is reset and drawn for as many
// frames as it runs in the demo, every frame presented. Prints the header
// and one row per part; returns the time of every present in µs.
std::vector<double> benchmark_parts();
// One row: the count, median and worst µs, and frames per second on one
// core (from the mean). Sorts `times`.
void benchmark_print_row(const char* name, std::vector<double>& times);
