// The whole ring on the capture program's clock against the stored
// references: the frames of two passes and their sound, and the keyed runs.
#include "reference_sets.h"

#include <gtest/gtest.h>

namespace {

bool is_keyed(const std::string& name)
{
    return name.find(" keys ") != std::string::npos;
}

// What the demo renders now for the frames and sound of runs with (or
// without) keys, against what tests/reference holds for them.
std::vector<std::string> changes_of_runs(bool keyed)
{
    std::vector<std::string> names = reference_frame_names();
    std::ranges::copy(reference_sound_names(), std::back_inserter(names));
    std::erase_if(names, [&](const std::string& name) { return is_keyed(name) != keyed; });
    References stored = reference_read(reference_path("frames.txt"));
    std::ranges::copy(reference_read(reference_path("sound.txt")), std::back_inserter(stored));
    std::erase_if(stored, [&](const Reference& reference) { return is_keyed(reference.name) != keyed; });
    EXPECT_FALSE(stored.empty());
    return reference_changes(stored, reference_runs(names));
}

}  // namespace

TEST(Ring, FramesOfTwoPassesAndTheirSoundAreAsStored)
{
    EXPECT_EQ(changes_of_runs(false), std::vector<std::string>{});
}

TEST(Ring, KeyedRunsAreAsStored)
{
    EXPECT_EQ(changes_of_runs(true), std::vector<std::string>{});
}
