// Respawn edges and their random draws, movement and sprite frames of STARS.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "fx_test_helpers.h"
#include "stars.h"

namespace {

constexpr int32_t one = 65536;  // 1.0 in 16.16

// One point in a 200 x 100 field.
Stars* make_stars(int32_t vx, int32_t vy)
{
    Stars* stars = stars_new();
    stars_set_count(stars, 1);
    stars->width = 200;
    stars->height = 100;
    stars->velocity_x = vx;
    stars->velocity_y = vy;
    return stars;
}

std::pair<int32_t, int32_t> whole(const Vec2D& point)
{
    return {point.x >> 16, point.y >> 16};
}

}  // namespace

TEST(Stars, RespawnEntersOnTheEdgeMovedAwayFromWithDrawsInOrder)
{
    // Velocity; weight of the side edges and of all (0: one axis moves, no
    // third draw); entry column and row (-1: stays random).
    const struct {
        int32_t vx, vy, weight_x, total, edge_x, edge_y;
    } cases[] = {{0, -4 * one, 0, 0, -1, 99},      {3 * one, 0, 0, 0, 0, -1},
                 {2 * one, 3 * one, 3, 7, 0, 0},   {-4 * one, -2 * one, 3, 4, 199, 99},
                 {0, 0, 0, 0, -1, -1}};
    for (const auto& c : cases) {
        Stars* stars = make_stars(c.vx, c.vy);
        for (uint32_t seed = 1; seed <= 100; seed++) {
            srand(seed);
            int32_t x = rand() % 200, y = rand() % 100;
            const bool vertical = c.total ? rand() % c.total >= c.weight_x : c.edge_y >= 0;
            const int32_t next = rand();
            if (vertical) {
                y = c.edge_y;
            } else if (c.edge_x >= 0) {
                x = c.edge_x;
            }
            srand(seed);
            stars_respawn(stars, 0);
            ASSERT_EQ(whole(stars->points[0]), std::make_pair(x, y)) << c.vx << " " << c.vy << " " << seed;
            ASSERT_EQ(rand(), next) << "no draw more or less";
        }
        stars_free(&stars);
    }

    // Both whole parts -1 weigh nothing; the point must still take an edge.
    Stars* slow = make_stars(-one / 2, -one / 2);
    stars_respawn(slow, 0);
    const auto [x, y] = whole(slow->points[0]);
    EXPECT_TRUE(x == 199 || y == 99);
    stars_free(&slow);
    EXPECT_EQ(slow, nullptr);
}

TEST(Stars, StepMovesAllAndRespawnsOnlyThoseThatLeave)
{
    Stars* stars = make_stars(0, -4 * one);
    stars_set_count(stars, 2);
    stars->points[0] = {50 * one, 3 * one};   // 3 - 4 = -1: leaves
    stars->points[1] = {60 * one, 40 * one};  // stays
    srand(9);
    const int32_t x = rand() % 200;
    srand(9);
    stars_step(stars);
    EXPECT_EQ(whole(stars->points[0]), std::make_pair(x, 99));
    EXPECT_EQ(whole(stars->points[1]), std::make_pair(60, 36));

    stars->velocity_y = 0;  // nothing leaves, nothing is drawn from rand
    srand(9);
    const int32_t first = rand();
    srand(9);
    stars_step(stars);
    EXPECT_EQ(whole(stars->points[1]), std::make_pair(60, 36));
    EXPECT_EQ(rand(), first);

    srand(4);  // reset: x then y for each point in turn
    const int32_t x0 = rand() % 200, y0 = rand() % 100, x1 = rand() % 200, y1 = rand() % 100;
    srand(4);
    stars_reset(stars);
    EXPECT_EQ(whole(stars->points[0]), std::make_pair(x0, y0));
    EXPECT_EQ(whole(stars->points[1]), std::make_pair(x1, y1));
    stars_free(&stars);
}

TEST(Stars, DrawPicksTheFrameFromHalfTheHeightAndCentresTheSprite)
{
    Font* font = cell_font(32, 32, 1, 64, 1);  // a strip of 64 frames, frame k filled with k + 1
    Image* screen = image_of(256, 256);
    Stars* stars = make_stars(0, 0);
    stars->font = font;
    for (const auto& [row, frame] : {std::pair{200, 36}, {201, 36}, {202, 37}, {20, 10}}) {
        stars->points[0] = {100 * one, row * one};
        stars_draw(stars, screen);
        EXPECT_EQ(img_get_pixel(screen, 100, row), static_cast<uint32_t>(frame + 1)) << row;
    }
    EXPECT_EQ(stars->width, 256);

    img_clear(screen);
    stars->points[0] = {0, 100 * one};  // the sprite's left half is clipped
    stars_draw(stars, screen);
    EXPECT_EQ(img_get_pixel(screen, 15, 84), 51u);
    EXPECT_EQ(img_get_pixel(screen, 16, 84), 0u);
    EXPECT_EQ(img_get_pixel(screen, 0, 83), 0u);

    img_clear(screen);
    stars->font = nullptr;
    stars_draw(stars, screen);
    stars_plot(stars, screen);
    EXPECT_EQ(img_get_pixel(screen, 0, 100), 0xFFFFFFu);
    EXPECT_EQ(img_get_pixel(screen, 15, 84), 0u);
    stars_free(&stars);
    img_free(&screen);
    font_free(&font);
}
