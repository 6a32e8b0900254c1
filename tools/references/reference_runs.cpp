// The references of the running demo: frames and sound as the capture
// program renders them, on its virtual clock of 20 ms a frame.
#include "reference_sets.h"

#include "capture_options.h"
#include "capture_recorder.h"
#include "demo.h"
#include "ring.h"
#include "sha256.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <sstream>

namespace {

// Runs with keys: each ends on its named frame, where every key has acted.
struct KeyedRun {
    int64_t frame;
    const char* keys;
    const char* note;
};

constexpr KeyedRun keyed_runs[] = {
    {700, "40:8,100:a,101:s,102:s,300:space,320:a",
     "part one: frame rate shown, faster, slower, SPACE; a held into part two's fade"},
    {60, "50:q", "the closing fade after q"},
    {450, "40:space,100:space,160:space,200:a,201:a,202:a,230:s,260:9,300:8,400:9",
     "part four, reached with SPACE: a and s, full speed on and off, frame rate shown"},
};

constexpr int64_t plain_frames[] = {1, 600, 1800, 3000, 4500};

struct SoundWindow {
    int64_t first;
    int64_t last;
    const char* note;
};

std::string with_note(std::string name, const std::string& note)
{
    return note.empty() ? name : name + " (" + note + ")";
}

// What one name asks for: a frame (first == last) or the sound of a span.
struct Wanted {
    size_t index;  // in the list of names
    bool sound;
    int64_t first;
    int64_t last;
};

struct Run {
    int64_t frames = 0;  // frames to render: up to the last one wanted
    std::vector<Wanted> wanted;
};

// "frame N [keys LIST]" or "sound frames FIRST-LAST", the note left out.
bool parse_name(const std::string& name, std::string& keys, Wanted& wanted)
{
    std::istringstream words(name.substr(0, name.find(" (")));
    std::string kind, word;
    words >> kind;
    if (kind == "frame" && words >> wanted.first) {
        wanted.last = wanted.first;
        wanted.sound = false;
        return !(words >> word) || (word == "keys" && words >> keys && !(words >> word));
    }
    char dash = 0;
    wanted.sound = true;
    return kind == "sound" && words >> word && word == "frames" && words >> wanted.first >> dash >> wanted.last &&
           dash == '-' && wanted.first <= wanted.last && !(words >> word);
}

// Hashes the wanted frames and spans of sound as the recorder hands them on,
// and at the end writes "INDEX DIGEST" lines to the parent.
class DigestSink final : public CaptureSink {
public:
    DigestSink(std::vector<Wanted> wanted, int channel)
        : CaptureSink(""), wanted(std::move(wanted)), hashes(this->wanted.size(), sha256_begin()), channel(channel)
    {
    }

    bool write(const CaptureFrame& frame) override
    {
        const auto size = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height);
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (frame.index < wanted[i].first || frame.index > wanted[i].last) {
                continue;
            }
            if (wanted[i].sound) {
                sha256_add_le(hashes[i], frame.sound);
            } else {
                sha256_add_le(hashes[i], std::span<const uint32_t>(frame.pixels, size));
            }
        }
        return true;
    }

    bool finish() override
    {
        std::string lines;
        for (size_t i = 0; i < wanted.size(); ++i) {
            lines += std::to_string(wanted[i].index) + " " + sha256_hex(hashes[i]) + "\n";
        }
        return ::write(channel, lines.data(), lines.size()) == static_cast<ssize_t>(lines.size()) ||
               fail("cannot hand the digests on");
    }

    void abandon() override {}

private:
    std::vector<Wanted> wanted;
    std::vector<Sha256> hashes;
    int channel;
};

// The digests of one run, by index of name; none when the child failed.
std::map<size_t, std::string> render(const std::string& keys, const Run& run)
{
    std::vector<VirtualKey> pressed;
    std::string error;
    int channel[2];
    if (!capture_parse_keys(keys, pressed, error) || pipe(channel) != 0) {
        return {};
    }
    fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::vector<std::unique_ptr<CaptureSink>> sinks;
        sinks.push_back(std::make_unique<DigestSink>(run.wanted, channel[1]));
        capture_record({.passes = 1, .frames = run.frames, .keys = pressed}, std::move(sinks));
    }
    close(channel[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; child > 0 && (got = read(channel[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {};
    }
    std::map<size_t, std::string> digests;
    std::istringstream lines(text);
    size_t index = 0;
    for (std::string digest; lines >> index >> digest;) {
        digests[index] = digest;
    }
    return digests;
}

}  // namespace

std::vector<std::string> reference_frame_names()
{
    std::map<int64_t, std::string> notes;
    for (const int64_t frame : plain_frames) {
        notes[frame] = "";
    }
    int64_t start = 0;
    for (int32_t pass = 1; pass <= 2; ++pass) {
        for (const RingPart& part : ring_parts) {
            const int64_t first = start + demo_fade_steps;
            const int64_t last = first + part.steps->frames;
            const std::string where = "pass " + std::to_string(pass) + ", " + part.name;
            notes[first] = where + ", first";
            notes[last] = where + ", last";
            start = last + 1;
        }
    }
    std::vector<std::string> names;
    for (const auto& [frame, note] : notes) {
        names.push_back(with_note("frame " + std::to_string(frame), note));
    }
    for (const KeyedRun& run : keyed_runs) {
        names.push_back(with_note("frame " + std::to_string(run.frame) + " keys " + run.keys, run.note));
    }
    return names;
}

std::vector<std::string> reference_sound_names()
{
    const int64_t pass = ring_pass_frames();
    const SoundWindow windows[] = {
        {0, 599, "the first 12 s"},
        {0, pass - 1, "pass 1"},
        {pass + pass / 2, pass + pass / 2 + 999, "the middle of pass 2"},
    };
    std::vector<std::string> names;
    for (const SoundWindow& window : windows) {
        names.push_back(with_note(
            "sound frames " + std::to_string(window.first) + "-" + std::to_string(window.last), window.note));
    }
    return names;
}

References reference_runs(const std::vector<std::string>& names)
{
    References references;
    std::map<std::string, Run> runs;  // by keys
    for (size_t index = 0; index < names.size(); ++index) {
        references.push_back({names[index], "none"});
        std::string keys;
        Wanted wanted{index, false, 0, 0};
        if (parse_name(names[index], keys, wanted)) {
            Run& run = runs[keys];
            run.frames = std::max(run.frames, wanted.last + 1);
            run.wanted.push_back(wanted);
        }
    }
    for (const auto& [keys, run] : runs) {
        for (const auto& [index, digest] : render(keys, run)) {
            if (index < references.size()) {
                references[index].sha256 = digest;
            }
        }
    }
    return references;
}
