// Random draws of the starfield, the box test of a step and the projection.
#include "fx_test_helpers.h"
#include "stars3d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// Checks the point against the respawn it should get after srand(seed).
void expect_respawned(const Stars3DPoint& point, uint32_t seed, int32_t width, int32_t height)
{
    srand(seed);
    const int32_t x = rand() % width;
    const int32_t y = rand() % height;
    EXPECT_EQ(point.x, x << 16);
    EXPECT_EQ(point.y, y << 16);
    EXPECT_EQ(point.z, (256 - rand() % 16) << 16);
}

}  // namespace

TEST(Stars3D, RandomPointsFillTheBoxFromTheLastAndStepRespawnsLeavers)
{
    srand(11);
    Stars3D* stars = stars3d_new();
    ASSERT_EQ(stars->count, 16);
    srand(11);
    for (int32_t i = 15; i >= 0; --i) {
        const int32_t x = rand() % 256;
        const int32_t y = rand() % 256;
        EXPECT_EQ(stars->points[i].x, x << 16);
        EXPECT_EQ(stars->points[i].y, y << 16);
        EXPECT_EQ(stars->points[i].z, (rand() % 256) << 16);
    }
    stars->width = 100;
    srand(5);
    stars3d_respawn(stars, 3);
    expect_respawned(stars->points[3], 5, 100, 256);

    stars3d_set_count(stars, 1);
    stars->points[0] = {10 << 16, 20 << 16, 250 << 16};
    for (int32_t i = 0; i < 83; ++i) {
        stars3d_step(stars);  // velocity z -3.0
    }
    EXPECT_EQ(stars->points[0].z, 1 << 16);
    srand(3);
    stars3d_step(stars);  // the 84th step takes Z below 0
    expect_respawned(stars->points[0], 3, 100, 256);
    stars->velocity_z = 0;
    stars->velocity_x = -1;
    stars->points[0] = {0, 5 << 16, 5 << 16};
    srand(8);
    stars3d_step(stars);  // X = -1/65536 has the whole part -1: outside
    expect_respawned(stars->points[0], 8, 100, 256);
    stars3d_free(&stars);
    EXPECT_EQ(stars, nullptr);
}

TEST(Stars3D, DrawAndPlotProjectTowardTheCentreByDepth)
{
    Font* sheet = cell_font(1, 1, 8, 8, 1);  // eight 1x1 sprites, sprite k holds k + 1
    Image* target = image_of(64, 48);
    Stars3D* stars = stars3d_new();
    stars3d_set_count(stars, 4);
    stars->font = sheet;
    stars->x = 1;
    stars->points[0] = {48 << 16, 16 << 16, 256 << 16};  // dz 512: halfway to the centre
    stars->points[1] = {0, 0, 100 << 16};                // dz 356: quotients truncate toward zero
    stars->points[2] = {5 << 16, 6 << 16, -256 << 16};   // dz 0: skipped
    stars->points[3] = {20 << 16, 30 << 16, 0};          // on the Z = 0 plane: drawn in place
    stars3d_draw(stars, target);
    EXPECT_EQ(stars->height, 48);
    EXPECT_EQ(img_get_pixel(target, 41, 20), 8u);
    EXPECT_EQ(img_get_pixel(target, 10, 7), 5u);
    EXPECT_EQ(img_get_pixel(target, 21, 30), 8u);
    EXPECT_EQ(std::count_if(target->pixels, target->pixels + 64 * 48, [](uint32_t p) { return p != 0; }), 3);

    img_fill_rect(target, 0, 0, 64, 48, 0x123456);
    stars->points[0].z = 255 << 16;  // dz 511: the darkest grey
    stars3d_plot(stars, target);
    EXPECT_EQ(img_get_pixel(target, 41, 20), 0u);
    EXPECT_EQ(img_get_pixel(target, 10, 7), 0x9B9B9Bu);  // 255 - 100
    EXPECT_EQ(img_get_pixel(target, 21, 30), 0xFFFFFFu);

    EXPECT_EQ(printed_with(stars3d_debug, [&] {
                  stars->font = nullptr;
                  stars3d_draw(stars, target);
                  stars3d_respawn(stars, 4);
                  stars->depth = 0;
                  stars3d_reset(stars);
              }),
              "STARS3D error\nSTARS3D error\nSTARS3D error\n");
    EXPECT_EQ(stars->points[0].z, 255 << 16);
    stars3d_free(&stars);
    img_free(&target);
    font_free(&sheet);
}
