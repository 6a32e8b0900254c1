// The tile scroll, the swinging logo and the giant scroller, run through the
// SDL stand-in and read back after every presented frame.
#include "assets.h"
#include "cursor.h"
#include "demo_child.h"
#include "font.h"
#include "fonts.h"
#include "img.h"
#include "parts.h"
#include "scrollxl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr uint64_t pass_presents = fade + 1001;
constexpr int64_t letter_advance = 256;  // 16 glyph pixels, each a 16-pixel block

struct FrameRecord {
    int32_t logo_x, logo_y, scroller_y, speed;
    int64_t position;  // pixels from the start of the scroll text
    bool covered;      // no black pixel left
};

struct Recorder {
    std::vector<FrameRecord> frames;
    uint64_t presents = 0;
};

void record_frame(const uint32_t* pixels, int32_t width, int32_t height, void* user)
{
    auto& recorder = *static_cast<Recorder*>(user);
    if (recorder.presents++ % pass_presents < fade) {
        return;  // the opening fade of a pass
    }
    const uint32_t* end = pixels + int64_t{width} * height;
    const int64_t position = big_scroller->cursor->position * letter_advance + big_scroller->offset;
    const bool covered = std::find(pixels, end, 0u) == end;
    recorder.frames.push_back({logo->x, logo->y, big_scroller->y, big_scroller->speed, position, covered});
}

}  // namespace

TEST(PartTiles, TwoPassesOfTilesLogoLettersAndSpeedKeys)
{
    start_demo();
    Recorder recorder;
    standin_on_present(record_frame, &recorder);
    uint64_t at = fade + 2;
    auto tap = [&](int32_t sym, int32_t times) {
        for (int32_t i = 0; i < times; ++i, at += 2) {
            standin_tap(at, sym);
        }
    };
    tap(SDLK_s, 16);  // 15 -> -1: the text runs backwards
    const uint64_t backwards = at - fade;
    at += 300;
    tap(SDLK_a, 33);  // up to 31, then 32 rem 32 = 0
    tap(SDLK_s, 32);  // down to -31, then -32 rem 32 = 0
    part_tiles_run();
    part_tiles_run();
    const auto& frames = recorder.frames;
    ASSERT_EQ(frames.size(), 2002u);

    auto first_pass_range = [&](int32_t FrameRecord::*field) {
        auto less = [&](const FrameRecord& a, const FrameRecord& b) { return a.*field < b.*field; };
        const auto [low, high] = std::minmax_element(frames.begin(), frames.begin() + 1001, less);
        return std::pair{(*low).*field, (*high).*field};
    };
    EXPECT_EQ(first_pass_range(&FrameRecord::logo_x), std::pair(-64, 63));
    EXPECT_EQ(first_pass_range(&FrameRecord::logo_y), std::pair(32, 95));
    EXPECT_EQ(first_pass_range(&FrameRecord::scroller_y), std::pair(-15, 48));
    EXPECT_EQ(first_pass_range(&FrameRecord::speed), std::pair(-31, 31));
    EXPECT_EQ(frames.back().speed, 0);

    const int64_t text_pixels = letter_advance * static_cast<int64_t>(strlen(big_scroll_text));
    for (uint64_t f = backwards + 1; f < backwards + 250; ++f) {
        ASSERT_EQ((frames[f].position - frames[f - 1].position + text_pixels) % text_pixels, text_pixels - 1)
            << "frame " << f << ": the text should run back one pixel";
    }
    // The swings run on from pass to pass: the logo repeats every 64 frames
    // across, every 1024 down, the hop every 32.
    for (size_t f = 0; f < frames.size(); ++f) {
        ASSERT_TRUE(frames[f].covered) << "frame " << f << " leaves black pixels";
        if (f >= 1024) {
            ASSERT_EQ(frames[f].logo_x, frames[f - 64].logo_x) << "frame " << f;
            ASSERT_EQ(frames[f].logo_y, frames[f - 1024].logo_y) << "frame " << f;
            ASSERT_EQ(frames[f].scroller_y, frames[f - 32].scroller_y) << "frame " << f;
        }
    }
}

// Each pass draws its brick colour from all eight blocks.
TEST(PartTiles, BrickColourTakesEachOfTheEightBlocks)
{
    start_demo();
    std::set<int32_t> bricks;
    for (int32_t pass = 0; pass < 200; ++pass) {
        part_tiles_steps.reset();
        bricks.insert(big_scroller->small_font->character);
    }
    EXPECT_EQ(bricks, (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
}
