#include "sequencer.h"

#include "noise.h"

namespace {

constexpr int32_t loop_length = 40000;
constexpr int32_t steps = 16;
constexpr int32_t rate = 44100;
constexpr int32_t update_every = 6 * rate;  // 300 frames at 50 frames per second

}  // namespace

void sequencer_lay(std::vector<int32_t>& loop, const Wave& wave, int32_t offset)
{
    if (loop.empty() || offset < 0) {
        return;
    }
    std::vector<int32_t> placed(loop.size(), 0);
    for (size_t i = 0; i < wave.size(); ++i) {
        placed[(offset + i) % loop.size()] = wave[i];
    }
    // The shift floors, as the demo's does: (3 * old + new) / 4 toward minus infinity.
    for (size_t j = 0; j < loop.size(); ++j) {
        loop[j] = (3 * loop[j] + placed[j]) >> 2;
    }
}

std::vector<int32_t> sequencer_play(const std::vector<Wave>& waves, int32_t seconds, uint32_t seed)
{
    std::vector<int32_t> loop(loop_length, 0);
    std::vector<int32_t> out(static_cast<size_t>(seconds) * rate);
    if (waves.empty()) {
        return out;
    }
    Noise dice{seed};
    for (size_t i = 0; i < out.size(); ++i) {
        if (i % update_every == 0) {
            const Wave& wave = waves[noise_next(dice) % waves.size()];
            const auto step = static_cast<int32_t>(noise_next(dice) % steps);
            sequencer_lay(loop, wave, step * (loop_length / steps));
        }
        out[i] = loop[i % loop_length];
    }
    return out;
}
