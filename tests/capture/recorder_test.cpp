// The recorder in-process: the very frames and sound the demo gives on the
// stand-in paced at 20 ms a present.
#include "capture_recorder.h"
#include "demo_child.h"
#include "parts.h"
#include "sdl_standin.h"
#include "virtual_clock.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int64_t frames = 300;

uint64_t fnv1a(const void* data, size_t size)
{
    uint64_t hash = 0xCBF29CE484222325;
    for (size_t at = 0; at < size; ++at) {
        hash = (hash ^ static_cast<const uint8_t*>(data)[at]) * 0x100000001B3;
    }
    return hash;
}

// Hashes every frame, then the whole sound, then reports how the clock went.
class HashSink final : public CaptureSink {
public:
    HashSink() : CaptureSink("") {}

    bool write(const CaptureFrame& frame) override
    {
        words.push_back(fnv1a(frame.pixels, sizeof(uint32_t) * static_cast<size_t>(frame.width * frame.height)));
        sound.insert(sound.end(), frame.sound.begin(), frame.sound.end());
        return true;
    }

    bool finish() override
    {
        words.push_back(fnv1a(sound.data(), sound.size() * sizeof(int16_t)));
        words.push_back(standin_delays().size());
        words.push_back(standin_now_us());
        return send_words(words);  // the recorder ends the child itself
    }

    void abandon() override {}

private:
    std::vector<uint64_t> words;
    std::vector<int16_t> sound;
};

std::vector<uint64_t> capture_in_child()
{
    return run_in_child([] {
        std::vector<std::unique_ptr<CaptureSink>> sinks;
        sinks.push_back(std::make_unique<HashSink>());
        capture_record({.passes = 1, .frames = frames, .keys = {}}, std::move(sinks));
        return std::vector<uint64_t>{};
    });
}

std::vector<uint64_t> hashes_of_paced_standin()
{
    return run_in_child([] {
        static std::vector<uint64_t> hashes;
        standin_reset();
        virtual_clock_pace(standin_clock(), demo_frame_rate);
        standin_on_present(
            [](const uint32_t* pixels, int32_t width, int32_t height, void*) {
                if (hashes.size() < frames) {
                    hashes.push_back(fnv1a(pixels, sizeof(uint32_t) * static_cast<size_t>(width * height)));
                }
            },
            nullptr);
        demo_init();
        part_tiles_run();
        const std::vector<int16_t>& sound = standin_audio();
        hashes.push_back(fnv1a(sound.data(), frames * capture_values_per_frame * sizeof(int16_t)));
        return hashes;
    });
}

}  // namespace

TEST(CaptureRecorder, First300FramesAreAsTheStandinShowsThem)
{
    const std::vector<uint64_t> first = capture_in_child();
    ASSERT_EQ(first.size(), frames + 3);

    const std::vector<uint64_t> expected = hashes_of_paced_standin();
    ASSERT_EQ(expected.size(), frames + 1);
    for (size_t frame = 0; frame < frames; ++frame) {
        ASSERT_EQ(first[frame], expected[frame]) << "frame " << frame;
    }
    EXPECT_EQ(first[frames], expected[frames]) << "sound";

    // The limiter never slept: the capture stopped at the start of frame 300.
    EXPECT_EQ(first[frames + 1], 0u);
    EXPECT_EQ(first[frames + 2], frames * 20000);
}
