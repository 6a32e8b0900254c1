// STARS: drifting points that respawn on their entry edge, drawn as sprites.
// The order of the rand() calls is fixed: every later frame depends on it.
#include "stars.h"

#include <cstdlib>

#include "font.h"
#include "img.h"

[[gnu::used]] static const char* const stars_id[] = {"CODE", "C", "Tobrenko", "20101104", "STARS"};

namespace {

constexpr int32_t default_side = 256;
constexpr int32_t default_velocity_y = 65536;
constexpr uint32_t default_colour = 0xFFFFFF;
constexpr int32_t default_count = 16;
constexpr int32_t frame_count = 64;
constexpr int32_t sprite_half = 16;  // a 32x32 sprite is centred on its point

int32_t whole(int32_t fixed)
{
    return fixed >> 16;
}

int32_t fixed(int32_t whole_part)
{
    return static_cast<int32_t>(static_cast<uint32_t>(whole_part) << 16);
}

int32_t wrapping_sum(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t magnitude(int32_t value)
{
    return value < 0 ? -value : value;
}

bool has_points(const Stars* stars)
{
    return stars && stars->points;
}

bool has_pixels(const Image* image)
{
    return image && image->pixels;
}

bool has_field(const Stars* stars)
{
    return stars->width >= 1 && stars->height >= 1;
}

bool inside(const Stars* stars, const Vec2D& point)
{
    const int32_t x = whole(point.x);
    const int32_t y = whole(point.y);
    return x >= 0 && y >= 0 && x < stars->width && y < stars->height;
}

// The far edge when moving backward, the near one when moving forward.
int32_t entry_edge(int32_t velocity, int32_t size)
{
    return velocity < 0 ? size - 1 : 0;
}

// Chooses between the two edges a diagonally moving point can enter
// through, weighted by speed (whole part + 1, so +4.0 weighs 5 and -4.0
// weighs 3). When both weights are 0 nothing is drawn and the point takes
// the top or bottom edge.
bool enters_vertically(int32_t velocity_x, int32_t velocity_y)
{
    const int32_t weight_x = magnitude(whole(velocity_x) + 1);
    const int32_t weight_y = magnitude(whole(velocity_y) + 1);
    const int32_t total = weight_x + weight_y;
    const int32_t draw = total > 0 ? rand() % total : weight_x;
    return draw >= weight_x;
}

}  // namespace

Stars* stars_new()
{
    auto* stars = static_cast<Stars*>(calloc(1, sizeof(Stars)));
    if (!stars) {
        return nullptr;
    }
    stars->width = default_side;
    stars->height = default_side;
    stars->velocity_y = default_velocity_y;
    stars->colour = default_colour;
    stars_set_count(stars, default_count);
    return stars;
}

void stars_free(Stars** stars)
{
    if (!stars || !*stars) {
        return;
    }
    free((*stars)->points);
    free(*stars);
    *stars = nullptr;
}

// A failed allocation leaves the record without points.
void stars_set_count(Stars* stars, int32_t count)
{
    if (!stars || count < 1) {
        return;
    }
    free(stars->points);
    stars->points = static_cast<Vec2D*>(calloc(static_cast<size_t>(count), sizeof(Vec2D)));
    stars->count = stars->points ? count : 0;
    stars_reset(stars);
}

void stars_reset(Stars* stars)
{
    if (!has_points(stars) || !has_field(stars)) {
        return;
    }
    for (int32_t i = 0; i < stars->count; i++) {
        stars->points[i].x = fixed(rand() % stars->width);
        stars->points[i].y = fixed(rand() % stars->height);
    }
}

void stars_respawn(Stars* stars, int32_t index)
{
    if (!has_points(stars) || index < 0 || index >= stars->count || !has_field(stars)) {
        return;
    }
    int32_t x = rand() % stars->width;
    int32_t y = rand() % stars->height;
    const int32_t vx = stars->velocity_x;
    const int32_t vy = stars->velocity_y;
    if (vx == 0 && vy != 0) {
        y = entry_edge(vy, stars->height);
    } else if (vx != 0 && vy == 0) {
        x = entry_edge(vx, stars->width);
    } else if (vx != 0 && vy != 0) {
        if (enters_vertically(vx, vy)) {
            y = entry_edge(vy, stars->height);
        } else {
            x = entry_edge(vx, stars->width);
        }
    }
    stars->points[index] = {fixed(x), fixed(y)};
}

void stars_step(Stars* stars)
{
    if (!has_points(stars)) {
        return;
    }
    for (int32_t i = 0; i < stars->count; i++) {
        Vec2D& point = stars->points[i];
        point.x = wrapping_sum(point.x, stars->velocity_x);
        point.y = wrapping_sum(point.y, stars->velocity_y);
        if (!inside(stars, point)) {
            stars_respawn(stars, i);
        }
    }
}

// The sprite frame follows the height: one frame per 2 pixels, 64 frames.
void stars_draw(Stars* stars, Image* target)
{
    if (!has_points(stars) || !has_pixels(target) || !stars->font) {
        return;
    }
    stars->width = target->width;
    stars->height = target->height;
    Font* font = stars->font;
    font->target = target;
    for (int32_t i = 0; i < stars->count; i++) {
        const Vec2D& point = stars->points[i];
        font->character = (point.y >> 17) & (frame_count - 1);
        font->x = whole(point.x) - sprite_half;
        font->y = whole(point.y) - sprite_half;
        font_put_char(font);
    }
}

void stars_plot(Stars* stars, Image* target)
{
    if (!has_points(stars) || !has_pixels(target)) {
        return;
    }
    stars->width = target->width;
    stars->height = target->height;
    for (int32_t i = 0; i < stars->count; i++) {
        img_put_pixel(target, whole(stars->points[i].x), whole(stars->points[i].y), stars->colour);
    }
}
