// Soap windows swinging in over turning spiral clouds. Three point clouds
// turn in a layer that fades a little every frame, leaving trails; over them
// two D-shaped windows, filled with a drifting colour and fresh random
// circles, swing in from the sides and come to rest.
#include "assets.h"
#include "img.h"
#include "parts.h"
#include "spirals.h"
#include "vec2d.h"

#include <cstdlib>
#include <initializer_list>

namespace {

// One colour channel of the walk: a 24-bit level whose top byte is the
// channel value, and its velocity per frame.
struct ColourChannel {
    int32_t level;
    int32_t velocity;
};

struct ColourWalk {
    ColourChannel red;
    ColourChannel green;
    ColourChannel blue;
};

// A window's horizontal swing: sine phase, its advance per frame, and the
// amplitude in pixels.
struct WindowSwing {
    int32_t phase;
    int32_t step;
    int32_t swing;
};

Image* frame_picture = nullptr;  // green rim of one D, screen width x half height
Image* mask_picture = nullptr;   // the filled D at the same size
Image* window_layer = nullptr;
Image* spiral_layer = nullptr;
Image* mask_layer = nullptr;
Spirals* spiral_a = nullptr;
Spirals* spiral_b = nullptr;
Spirals* spiral_c = nullptr;

// Phases, swings and the colour walk carry over from one pass to the next;
// only the swings restart at each pass.
int32_t frame_parity = 0;
WindowSwing upper_window = {.phase = 0, .step = 4, .swing = 256};
WindowSwing lower_window = {.phase = 512, .step = 4, .swing = 256};
ColourWalk window_walk = {
    .red = {.level = 0, .velocity = 0x8000},
    .green = {.level = 0x800000, .velocity = -49153},
    .blue = {.level = 0x400000, .velocity = 0x4000},
};

constexpr int32_t level_top = 0xFF0000;
constexpr int32_t min_speed = 4096;
constexpr int32_t speed_range = 0xFFFFF;
constexpr int32_t spiral_points = 256;
constexpr int32_t spiral_fade = 32;
constexpr int32_t soap_circles = 128;
constexpr int32_t max_soap_radius = 16;

struct SpiralLook {
    int32_t angle_step;
    int32_t radius_step;
    uint32_t colour;
};

constexpr SpiralLook fast_cyan = {8, 4, 0x00FFFF};
constexpr SpiralLook mid_blue = {6, 3, 0x0080FF};
constexpr SpiralLook slow_blue = {4, 2, 0x0000FF};

// A PNM picture decoded and stretched to width x height.
Image* window_picture_new(const uint8_t* pnm, int32_t width, int32_t height)
{
    Image* picture = img_new();
    img_resize(picture, width, height);
    Image* decoded = img_from_pnm(pnm);
    img_scale(decoded, picture);
    img_free(&decoded);
    return picture;
}

Image* layer_new(int32_t width, int32_t height)
{
    Image* layer = img_new();
    img_resize(layer, width, height);
    return layer;
}

// Creating the cloud and setting its count both draw random points, so the
// clouds are made one after the other.
Spirals* spiral_cloud_new(const SpiralLook& look, int32_t width)
{
    Spirals* cloud = spirals_new();
    if (!cloud) {
        demo_error();
        return nullptr;
    }
    spirals_set_count(cloud, spiral_points);
    cloud->target = spiral_layer;
    cloud->radius_limit = width / 2 + width;
    cloud->angle_step_a = look.angle_step;
    cloud->angle_step_b = look.angle_step;
    cloud->radius_step = look.radius_step;
    cloud->colour = look.colour;
    return cloud;
}

void part_spirals_reset()
{
    upper_window.swing = 2 * screen_width;
    lower_window.swing = 2 * screen_width;
}

// At the ends of its range a channel turns round with a fresh random speed.
void colour_channel_step(ColourChannel& channel)
{
    if (channel.level == 0 || channel.level == level_top) {
        channel.velocity = -channel.velocity;
        const auto speed = static_cast<int32_t>(random() % speed_range);
        channel.velocity = channel.velocity < 0 ? -min_speed - speed : min_speed + speed;
    }
    channel.level += channel.velocity;
    if (channel.level > level_top) {
        channel.level = level_top;
    }
    if (channel.level < 0) {
        channel.level = 0;
    }
}

uint32_t colour_walk_step(ColourWalk& walk)
{
    colour_channel_step(walk.red);
    colour_channel_step(walk.green);
    colour_channel_step(walk.blue);
    const auto red = static_cast<uint32_t>(walk.red.level) & 0xFF0000;
    const auto green = static_cast<uint32_t>(walk.green.level >> 8) & 0xFF00;
    const auto blue = static_cast<uint32_t>(walk.blue.level >> 16) & 0xFF;
    return red | green | blue;
}

int32_t window_swing_x(const WindowSwing& window)
{
    return (sine_table[window.phase] * window.swing) >> 15;
}

// The swings shrink by one every second frame, so from 2 x 256 they reach
// rest after 1024 frames.
void window_swings_advance()
{
    ++frame_parity;
    lower_window.phase = (lower_window.phase + lower_window.step) & sine_mask;
    upper_window.phase = (upper_window.phase + upper_window.step) & sine_mask;
    if (frame_parity % 2 != 0) {
        return;
    }
    if (upper_window.swing >= 1) {
        --upper_window.swing;
        --lower_window.swing;
    } else {
        upper_window.swing = 0;
        lower_window.swing = 0;
    }
}

// The random values are drawn in a fixed order: colour, radius, y, x.
// img_circle refuses a radius of 0, which then draws nothing.
void window_soap_draw(uint32_t colour)
{
    img_fill_rect(window_layer, 0, 0, screen_width, screen_height, colour);
    for (int32_t i = 0; i < soap_circles; ++i) {
        const uint32_t circle_colour = (static_cast<uint32_t>(rand()) & 0xFFFFFF) | 0x808080;
        const int32_t radius = rand() % max_soap_radius;
        const int32_t y = rand() % screen_height;
        const int32_t x = rand() % screen_width;
        img_circle(window_layer, x, y, radius, circle_colour);
    }
}

// Paints one picture at both window places, upper half then lower half.
void windows_blit(const Image* picture, Image* layer, int32_t upper_x, int32_t lower_x)
{
    const int32_t half = screen_height / 2;
    img_blit(picture, layer, 0, 0, upper_x, 0, screen_width, half);
    img_blit(picture, layer, 0, 0, lower_x, half, screen_width, half);
}

void part_spirals_windows()
{
    window_swings_advance();
    const int32_t lower_x = window_swing_x(lower_window);
    const int32_t upper_x = window_swing_x(upper_window);
    window_soap_draw(colour_walk_step(window_walk));
    img_clear(mask_layer);
    windows_blit(mask_picture, mask_layer, upper_x, lower_x);
    img_and(mask_layer, window_layer);
    windows_blit(frame_picture, window_layer, upper_x, lower_x);
}

void part_spirals_draw()
{
    img_clear(screen);
    img_fade(spiral_layer, spiral_fade);
    for (Spirals* cloud : {spiral_a, spiral_b, spiral_c}) {
        spirals_step(cloud);
        spirals_draw(cloud);
    }
    img_blit(spiral_layer, screen, 0, 0, 0, 0, screen_width, screen_height);
    part_spirals_windows();
    img_blit(window_layer, screen, 0, 0, 0, 0, screen_width, screen_height);
}

}  // namespace

void part_spirals_setup()
{
    const int32_t width = screen_width;
    const int32_t height = screen_height;
    frame_picture = window_picture_new(pnm_frame, width, height / 2);
    mask_picture = window_picture_new(pnm_mask, width, height / 2);
    window_layer = layer_new(width, height);
    spiral_layer = layer_new(width, height);
    mask_layer = layer_new(width, height);
    spiral_a = spiral_cloud_new(fast_cyan, width);
    spiral_b = spiral_cloud_new(mid_blue, width);
    spiral_c = spiral_cloud_new(slow_blue, width);
}

void part_spirals_free()
{
    img_free(&frame_picture);
    img_free(&mask_picture);
    img_free(&window_layer);
    img_free(&spiral_layer);
    img_free(&mask_layer);
    spirals_free(&spiral_a);
    spirals_free(&spiral_b);
    spirals_free(&spiral_c);
}

const PartSteps part_spirals_steps = {
    .frames = 1250, .reset = part_spirals_reset, .draw = part_spirals_draw, .keys = nullptr};

void part_spirals_run()
{
    demo_run_part(part_spirals_steps);
}
