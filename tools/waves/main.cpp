// kelp_wavesynth: renders the demo's sixteen stored sounds.
//   table FILE.cpp            the C++ source of the wave table (used by the build)
//   report                    each sound's shape beside its target
//   kit DIR                   each sound as DIR/wave_NN.wav
//   loop FILE.wav [SECONDS]   the sounds played as the demo's sequencer plays them
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fit.h"
#include "kit.h"
#include "sequencer.h"
#include "table_writer.h"
#include "wav_file.h"

namespace {

std::vector<FitResult> fit_kit()
{
    std::vector<FitResult> results;
    for (const KitSound& sound : kit_sounds) {
        results.push_back(fit_sound(sound));
    }
    return results;
}

std::vector<Wave> waves_of(std::vector<FitResult> results)
{
    std::vector<Wave> waves;
    for (FitResult& result : results) {
        waves.push_back(std::move(result.wave));
    }
    return waves;
}

void print_report(const std::vector<FitResult>& results)
{
    std::printf("%2s %-11s %14s %14s %12s %12s   %s\n", "#", "sound", "peak", "head rms", "tail %", "signs",
                "decay punch bright");
    for (size_t k = 0; k < results.size(); ++k) {
        const Shape& got = results[k].shape;
        const Shape& want = kit_sounds[k].target;
        const Knobs& knobs = results[k].knobs;
        std::printf("%2zu %-11s %6.0f / %5.0f %6.0f / %5.0f %5.1f / %4.0f %5.0f / %4.0f   %.2f %.3f %.4g\n",
                    k, kit_sounds[k].name, got.peak, want.peak, got.head_rms, want.head_rms,
                    100 * got.tail_ratio, 100 * want.tail_ratio, got.sign_changes, want.sign_changes,
                    knobs.decay, knobs.punch, knobs.bright);
    }
}

bool write_kit(const std::string& dir, const std::vector<Wave>& waves)
{
    for (size_t k = 0; k < waves.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "/wave_%02zu.wav", k);
        if (!wav_write(dir + name, waves[k])) {
            return false;
        }
    }
    return true;
}

int usage()
{
    std::fputs("usage: kelp_wavesynth table FILE.cpp | report | kit DIR | loop FILE.wav [SECONDS]\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return usage();
    }
    const std::string mode = argv[1];
    if (mode == "report" && argc == 2) {
        print_report(fit_kit());
        return 0;
    }
    if (argc < 3) {
        return usage();
    }
    const std::string path = argv[2];
    bool written = false;
    if (mode == "table" && argc == 3) {
        written = table_write(path, waves_of(fit_kit()));
    } else if (mode == "kit" && argc == 3) {
        written = write_kit(path, waves_of(fit_kit()));
    } else if (mode == "loop" && argc <= 4) {
        const int32_t seconds = argc == 4 ? std::atoi(argv[3]) : 60;
        written = wav_write(path, sequencer_play(waves_of(fit_kit()), seconds, 0x5EEDu));
    } else {
        return usage();
    }
    if (!written) {
        std::fprintf(stderr, "kelp_wavesynth: cannot write %s\n", path.c_str());
    }
    return written ? 0 : 1;
}
