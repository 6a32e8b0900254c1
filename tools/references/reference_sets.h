// What the stored references hold, file by file, and how each digest is made
// from the program's own code.
#pragma once

#include "reference.h"

#include <string>
#include <vector>

// assets.txt: every embedded picture as the demo decodes it (its 0x00RRGGBB
// pixels as 32-bit little-endian words) and every scroll text (its bytes).
References reference_assets();
// waves.txt: each stored sound of the wave table, its values as 32-bit little-endian words.
References reference_waves();

// frames.txt: frames numbered as kelp4090-capture --frame N counts them,
// with the keys of kelp4090-capture --keys where a run has any:
//   frame N [keys LIST] [(note)]
std::vector<std::string> reference_frame_names();
// sound.txt: the sound of a span of frames, signed 16-bit little-endian values:
//   sound frames FIRST-LAST [(note)]
std::vector<std::string> reference_sound_names();
// Renders the frames and sound the names ask for through the capture
// program's recorder, each set of keys in a child process of its own (the
// demo is built once per process). A name that cannot be read or rendered
// gets the digest "none".
References reference_runs(const std::vector<std::string>& names);
