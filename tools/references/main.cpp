// make_references: renders every stored reference anew through the
// program's own code, rewrites the files in tests/reference and says which
// references changed. For an intentional change of pictures, texts, sound
// or behaviour; the tests compare against these files.
#include "reference_sets.h"

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

struct ReferenceFile {
    const char* name;
    std::vector<std::string> about;
    std::function<References()> make;
};

const std::vector<std::string> regenerate = {"Checked by the tests; rewritten by make references."};

std::vector<std::string> about(std::vector<std::string> lines)
{
    lines.insert(lines.end(), regenerate.begin(), regenerate.end());
    return lines;
}

// Rewrites one file and prints what changed; false when a reference could not be made.
bool update(const ReferenceFile& file)
{
    const std::string path = reference_path(file.name);
    const References now = file.make();
    const std::vector<std::string> changes = reference_changes(reference_read(path), now);
    if (!reference_write(path, file.about, now)) {
        fprintf(stderr, "make_references: cannot write %s\n", path.c_str());
        return false;
    }
    printf("%s: %zu references, %s\n", path.c_str(), now.size(),
           changes.empty() ? "none changed" : (std::to_string(changes.size()) + " changed:").c_str());
    for (const std::string& change : changes) {
        printf("    %s\n", change.c_str());
    }
    bool complete = true;
    for (const Reference& reference : now) {
        if (reference.sha256 == "none") {
            fprintf(stderr, "make_references: could not make %s\n", reference.name.c_str());
            complete = false;
        }
    }
    return complete;
}

}  // namespace

int main()
{
    const ReferenceFile files[] = {
        {"assets.txt",
         about({"SHA-256 of each embedded picture as the demo decodes it (its 0x00RRGGBB pixels as",
                "32-bit little-endian words) and of each scroll text (its bytes)."}),
         reference_assets},
        {"waves.txt", about({"SHA-256 of each stored sound of the music, its values as 32-bit little-endian words."}),
         reference_waves},
        {"frames.txt",
         about({"SHA-256 of frames as kelp4090-capture --frame N [--keys LIST] renders them (counted",
                "from 0, fades included): the 256x256 0x00RRGGBB values as 32-bit little-endian words."}),
         [] { return reference_runs(reference_frame_names()); }},
        {"sound.txt",
         about({"SHA-256 of the sound played during a span of frames, as kelp4090-capture --wav",
                "writes it: signed 16-bit little-endian values, 882 a frame."}),
         [] { return reference_runs(reference_sound_names()); }},
    };
    bool complete = true;
    for (const ReferenceFile& file : files) {
        complete = update(file) && complete;
    }
    return complete ? EXIT_SUCCESS : EXIT_FAILURE;
}
