// Random draws, angle wrap, the respawn at the radius limit and drawn positions.
#include "fx_test_helpers.h"
#include "spirals.h"

#include <algorithm>
#include <cstdlib>

TEST(Spirals, StepWrapsAnglesAndRespawnsPastTheLimitBeforeTheDraw)
{
    srand(9);
    Spirals* spirals = spirals_new();
    ASSERT_EQ(spirals->count, 16);
    srand(9);
    for (int32_t i = 0; i < 16; ++i) {  // first to last: the angle, then the radius
        const int32_t a = rand() % 1023;
        EXPECT_EQ(spirals->points[i].a, a);
        EXPECT_EQ(spirals->points[i].b, (a + 256) % 1024);
        EXPECT_EQ(spirals->points[i].radius, rand() % 384);
    }
    spirals_set_count(spirals, 2);
    spirals->angle_step_a = 8;
    spirals->angle_step_b = -8;
    spirals->radius_step = 4;
    spirals->radius_limit = 960;
    spirals->points[0] = {1020, 2, 10};
    spirals->points[1] = {0, 256, 958};
    srand(4);
    spirals_step(spirals);  // 958 + 4 passes the limit: respawned at once
    EXPECT_EQ(spirals->points[0].a, 4);
    EXPECT_EQ(spirals->points[0].b, 1018);
    EXPECT_EQ(spirals->points[0].radius, 14);
    srand(4);
    EXPECT_EQ(spirals->points[1].a, rand() % 1023);
    EXPECT_EQ(spirals->points[1].radius, rand() % 384);
    spirals_free(&spirals);
    EXPECT_EQ(spirals, nullptr);
}

TEST(Spirals, DrawPlacesPixelsBySineTimesRadiusShiftedBy16)
{
    Spirals* spirals = spirals_new();
    spirals_set_count(spirals, 3);
    Image* target = image_of(256, 200);
    spirals->target = target;
    spirals->colour = 0x00FFFF;
    spirals->points[0] = {256, 512, 200};  // 32766 * 200 >> 16 = 99; sine 0 at 512
    spirals->points[1] = {768, 0, 200};    // -32766 * 200 >> 16 = -100 (shift rounds down)
    spirals->points[2] = {40, 700, 0};     // radius 0: the centre
    spirals_draw(spirals);
    EXPECT_EQ(spirals->height, 200);
    EXPECT_EQ(img_get_pixel(target, 128 + 99, 128), 0x00FFFFu);
    EXPECT_EQ(img_get_pixel(target, 128 - 100, 128), 0x00FFFFu);
    EXPECT_EQ(img_get_pixel(target, 128, 128), 0x00FFFFu);
    EXPECT_EQ(std::count_if(target->pixels, target->pixels + 256 * 200, [](uint32_t p) { return p != 0; }), 3);

    EXPECT_EQ(printed_with(spirals_debug, [&] {
                  spirals->target = nullptr;
                  spirals_draw(spirals);
                  spirals_set_count(spirals, 0);
                  spirals->width = 0;
                  spirals_respawn(spirals, 0);
              }),
              "SPIRALS error\nSPIRALS error\nSPIRALS error\n");
    EXPECT_EQ(spirals->points[2].a, 40);
    spirals_free(&spirals);
    img_free(&target);
}
