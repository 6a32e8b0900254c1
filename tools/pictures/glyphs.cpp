#include "glyphs.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

constexpr int32_t outline_scale = 8;  // outline samples per glyph pixel

static std::runtime_error font_error(const std::string& path, int32_t line, const std::string& what)
{
    return std::runtime_error(path + ":" + std::to_string(line) + ": " + what);
}

// A row is 8 characters, '#' set and '.' clear; anything else gives -1.
static int32_t parse_row(const std::string& text)
{
    if (text.size() != glyph_size || text.find_first_not_of("#.") != std::string::npos)
        return -1;
    int32_t row = 0;
    for (int32_t x = 0; x < glyph_size; ++x)
        if (text[static_cast<size_t>(x)] == '#')
            row |= 0x80 >> x;
    return row;
}

GlyphSet glyphs_load(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error(path + ": cannot open");
    GlyphSet glyphs{};
    std::array<bool, glyph_count> defined{};
    std::string text;
    int32_t line = 0;
    int32_t code = -1;
    int32_t row = glyph_size;
    while (std::getline(file, text)) {
        ++line;
        if (row < glyph_size) {
            const int32_t bits = parse_row(text);
            if (bits < 0)
                throw font_error(path, line, "a glyph row is 8 characters of '#' and '.'");
            glyphs.rows[static_cast<size_t>(code)][static_cast<size_t>(row++)] = static_cast<uint8_t>(bits);
        } else if (text.rfind("glyph ", 0) == 0) {
            const char* number = text.c_str() + 6;
            char* end = nullptr;
            const long value = std::strtol(number, &end, 10);
            if (end == number || value < 0 || value >= glyph_count)
                throw font_error(path, line, "a glyph code is a number from 0 to 127");
            code = static_cast<int32_t>(value);
            if (defined[static_cast<size_t>(code)])
                throw font_error(path, line, "glyph " + std::to_string(code) + " is drawn twice");
            defined[static_cast<size_t>(code)] = true;
            row = 0;
        } else if (!text.empty() && text[0] != ';') {
            throw font_error(path, line, "expected a 'glyph' line, a ';' comment or a blank line");
        }
    }
    if (row < glyph_size)
        throw font_error(path, line, "the last glyph has fewer than 8 rows");
    return glyphs;
}

bool glyph_bit(const GlyphSet& glyphs, int32_t code, int32_t x, int32_t y)
{
    if (code < 0 || code >= glyph_count || x < 0 || y < 0 || x >= glyph_size || y >= glyph_size)
        return false;
    return (glyphs.rows[static_cast<size_t>(code)][static_cast<size_t>(y)] & (0x80u >> x)) != 0;
}

static bool column_used(const GlyphSet& glyphs, int32_t code, int32_t x)
{
    for (int32_t y = 0; y < glyph_size; ++y)
        if (glyph_bit(glyphs, code, x, y))
            return true;
    return false;
}

int32_t glyph_left(const GlyphSet& glyphs, int32_t code)
{
    for (int32_t x = 0; x < glyph_size; ++x)
        if (column_used(glyphs, code, x))
            return x;
    return 0;
}

int32_t glyph_right(const GlyphSet& glyphs, int32_t code)
{
    for (int32_t x = glyph_size; x > 0; --x)
        if (column_used(glyphs, code, x - 1))
            return x;
    return 0;
}

// Scale2x: each pixel becomes four; a quarter takes the colour of its two
// outer neighbours when they agree and the other two differ, which turns
// pixel staircases into 45-degree edges.
static Field scale2x(const Field& in)
{
    Field out = field_make(in.width * 2, in.height * 2);
    for (int32_t y = 0; y < in.height; ++y)
        for (int32_t x = 0; x < in.width; ++x) {
            const float e = grid_get(in, x, y);
            const float up = grid_get(in, x, y - 1);
            const float down = grid_get(in, x, y + 1);
            const float left = grid_get(in, x - 1, y);
            const float right = grid_get(in, x + 1, y);
            const bool flat = up == down || left == right;
            grid_set(out, 2 * x, 2 * y, !flat && left == up ? left : e);
            grid_set(out, 2 * x + 1, 2 * y, !flat && up == right ? right : e);
            grid_set(out, 2 * x, 2 * y + 1, !flat && left == down ? left : e);
            grid_set(out, 2 * x + 1, 2 * y + 1, !flat && down == right ? right : e);
        }
    return out;
}

Field glyph_outline(const GlyphSet& glyphs, int32_t code, float softness)
{
    Field pixels = field_make(glyph_size, glyph_size);
    for (int32_t y = 0; y < glyph_size; ++y)
        for (int32_t x = 0; x < glyph_size; ++x)
            grid_set(pixels, x, y, glyph_bit(glyphs, code, x, y) ? 1.0f : 0.0f);
    for (int32_t magnified = 1; magnified < outline_scale; magnified *= 2)
        pixels = scale2x(pixels);
    return field_blur(pixels, softness * outline_scale);
}

bool outline_inside(const Field& outline, float u, float v)
{
    return field_sample(outline, u * outline_scale, v * outline_scale) >= 0.5f;
}
