#include "canvas.h"

#include <algorithm>
#include <cmath>

Colour colour_scale(Colour c, float factor)
{
    return {c.r * factor, c.g * factor, c.b * factor};
}

Colour colour_add(Colour a, Colour b)
{
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}

Colour colour_mix(Colour a, Colour b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour colour_ramp(Colour first, Colour middle, Colour last, float t)
{
    return t < 0.5f ? colour_mix(first, middle, t * 2.0f) : colour_mix(middle, last, t * 2.0f - 1.0f);
}

Colour colour_hue(float hue)
{
    // Three cosine waves a third of a turn apart give a smooth colour wheel.
    auto channel = [hue](float offset) { return 0.5f + 0.5f * std::cos(turn * (hue - offset)); };
    return {channel(0.0f), channel(1.0f / 3.0f), channel(2.0f / 3.0f)};
}

static uint32_t channel_byte(float value)
{
    return static_cast<uint32_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

uint32_t colour_pack(Colour c)
{
    return channel_byte(c.r) << 16 | channel_byte(c.g) << 8 | channel_byte(c.b);
}

static std::string pnm_header(const char* magic, const Canvas& canvas, const PnmComments& comments)
{
    std::string header = std::string(magic) + "\n";
    for (const std::string& comment : comments)
        header += "# " + comment + "\n";
    header += std::to_string(canvas.width) + " " + std::to_string(canvas.height) + "\n";
    return header;
}

std::string pnm_encode_p6(const Canvas& canvas, const PnmComments& comments)
{
    std::string file = pnm_header("P6", canvas, comments) + "255\n";
    for (uint32_t pixel : canvas.values) {
        file += static_cast<char>(pixel >> 16 & 0xFF);
        file += static_cast<char>(pixel >> 8 & 0xFF);
        file += static_cast<char>(pixel & 0xFF);
    }
    return file;
}

std::string pnm_encode_p4(const Canvas& canvas, const PnmComments& comments)
{
    std::string file = pnm_header("P4", canvas, comments);
    for (int32_t y = 0; y < canvas.height; ++y) {
        for (int32_t x0 = 0; x0 < canvas.width; x0 += 8) {
            uint32_t packed = 0;
            for (int32_t bit = 0; bit < 8; ++bit)
                if (grid_get(canvas, x0 + bit, y) != 0)
                    packed |= 0x80u >> bit;
            file += static_cast<char>(packed);
        }
    }
    return file;
}
