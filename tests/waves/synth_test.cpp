// The synthesizer pieces behind the wave table: pitch, filters, finishing,
// measuring, and the loop mix used to audition the kit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <vector>

#include "filters.h"
#include "fit.h"
#include "oscillators.h"
#include "sequencer.h"
#include "shape.h"

namespace {

constexpr int32_t one_second = 44100;

// Level of a filter's steady response to a sine, after it has settled.
double sine_gain(Biquad filter, double hz)
{
    Osc osc;
    double peak = 0.0;
    for (int32_t i = 0; i < one_second / 4; ++i) {
        const double out = biquad_process(filter, osc_sine(osc, hz));
        if (i > one_second / 8) {
            peak = std::fmax(peak, std::fabs(out));
        }
    }
    return peak;
}

TEST(Synth, OscillatorsFollowTheNote)
{
    for (const int32_t note : {45, 57, 69, 81}) {
        const double hz = note_hz(note);
        Osc sine, saw;
        std::vector<int32_t> sine_wave, saw_wave;
        for (int32_t i = 0; i < one_second; ++i) {
            sine_wave.push_back(static_cast<int32_t>(std::lround(30000 * osc_sine(sine, hz))));
            saw_wave.push_back(static_cast<int32_t>(std::lround(30000 * osc_saw(saw, hz))));
        }
        EXPECT_NEAR(shape_measure(sine_wave).sign_changes, 2 * hz, 2.0) << note;
        EXPECT_NEAR(shape_measure(saw_wave).sign_changes, 2 * hz, 2.0) << note;
    }
    EXPECT_DOUBLE_EQ(note_hz(69), 440.0);
    EXPECT_NEAR(note_hz(57), 220.0, 1e-9);
}

TEST(Synth, FiltersPassAndStopTheRightBands)
{
    EXPECT_NEAR(sine_gain(biquad_new(BiquadKind::lowpass, 1000.0, 0.707), 100.0), 1.0, 0.02);
    EXPECT_LT(sine_gain(biquad_new(BiquadKind::lowpass, 1000.0, 0.707), 10000.0), 0.02);
    EXPECT_NEAR(sine_gain(biquad_new(BiquadKind::highpass, 1000.0, 0.707), 10000.0), 1.0, 0.02);
    EXPECT_LT(sine_gain(biquad_new(BiquadKind::highpass, 1000.0, 0.707), 100.0), 0.02);
    EXPECT_NEAR(sine_gain(biquad_new(BiquadKind::bandpass, 1000.0, 2.0), 1000.0), 1.0, 0.02);
    EXPECT_LT(sine_gain(biquad_new(BiquadKind::bandpass, 1000.0, 2.0), 8000.0), 0.1);
}

TEST(Synth, FinishingSilencesTheEndsAndKeepsTheMixRange)
{
    // A lopsided raw sound with an offset: its big half-wave is positive.
    Signal raw(wave_length);
    for (int32_t i = 0; i < wave_length; ++i) {
        const double s = std::sin(2.0 * std::numbers::pi * 200.0 * i / 44100.0);
        raw[i] = 0.3 + (s > 0.0 ? s : 0.5 * s);
    }
    const Wave wave = fit_finish(raw, 27015);
    const Shape shape = shape_measure(wave);
    EXPECT_EQ(wave.front(), 0);
    EXPECT_EQ(wave.back(), 0);
    EXPECT_EQ(*std::min_element(wave.begin(), wave.end()), -27015);
    EXPECT_LE(*std::max_element(wave.begin(), wave.end()), wave_max);
    EXPECT_NEAR(shape.peak, 27015, 1);
    EXPECT_LT(std::fabs(std::accumulate(wave.begin(), wave.end(), 0.0) / wave_length), 1.0);
}

TEST(Synth, ShapeSkipsZerosAndComparesTheEighths)
{
    // Eight blocks of 4 values; the sign flips across zeros still count.
    std::vector<int32_t> wave = {4, 0, -4, 0, 4, -4, 0, 0};
    wave.resize(32, 1);
    wave[31] = -2;
    const Shape shape = shape_measure(wave);
    EXPECT_EQ(shape.sign_changes, 5);
    EXPECT_EQ(shape.peak, 4);
    EXPECT_NEAR(shape.head_rms, std::sqrt(8.0), 1e-9);
    EXPECT_NEAR(shape.tail_ratio, std::sqrt(7.0 / 4.0) / std::sqrt(8.0), 1e-9);
}

TEST(Synth, LayingAWaveFloorsTheFadeAndWraps)
{
    std::vector<int32_t> loop = {1000, -1000, -1, 1, 0, 0, 0, 0, 0, 0};
    sequencer_lay(loop, {}, 0);
    EXPECT_EQ(loop, (std::vector<int32_t>{750, -750, -1, 0, 0, 0, 0, 0, 0, 0}));

    std::vector<int32_t> ring(10, 0);
    sequencer_lay(ring, {40, 80, 120, -40}, 8);
    EXPECT_EQ(ring, (std::vector<int32_t>{30, -10, 0, 0, 0, 0, 0, 0, 10, 20}));
}

}  // namespace
