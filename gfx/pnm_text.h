// Internal to the IMG and BYTEMAP modules: the text form, a named P3 picture
// such as "IMG{\nP3\n2 1\n255\n  1   2   3   4   5   6\n}\n", written six
// pixels a line and read back through the PNM sample reader.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "grid.h"
#include "img.h"
#include "pnm_grammar.h"

namespace pnm {

constexpr int32_t pixels_per_line = 6;
constexpr int32_t text_pixel_length = 12;  // "%3u %3u %3u " per pixel

// "NAME{}" for a grid without pixels.
inline char* empty_text(const char* name, grid::Report report)
{
    const size_t size = strlen(name) + 3;
    char* text = static_cast<char*>(calloc(size, 1));
    if (!text) {
        report();
        return nullptr;
    }
    snprintf(text, size, "%s{}", name);
    return text;
}

// rgb_of gives the 0x00RRGGBB triple a pixel stands as.
template <typename Grid, typename Rgb>
char* to_text(const Grid* grid, const char* name, Rgb rgb_of, grid::Report report)
{
    if (!grid::has_pixels(grid) || grid->width < 0 || grid->height < 0) {
        report();
        return nullptr;
    }
    const int64_t count = int64_t{grid->width} * grid->height;
    if (count == 0) {
        return empty_text(name, report);
    }
    // The fixed part holds the header, "}\n" and the terminator; the slack
    // of count / 6 covers header numbers of any length a grid can have.
    const size_t size = static_cast<size_t>(text_pixel_length * count + count / pixels_per_line + 29);
    char* text = static_cast<char*>(calloc(size, 1));
    if (!text) {
        report();
        return nullptr;
    }
    size_t used = static_cast<size_t>(snprintf(text, size, "%s{\nP3\n%d %d\n255\n", name, grid->width, grid->height));
    for (int64_t i = 0; i < count; i++) {
        const uint32_t rgb = rgb_of(grid->pixels[i]);
        const bool line_ends = (i + 1) % pixels_per_line == 0 || i + 1 == count;
        used += static_cast<size_t>(snprintf(text + used, size - used, "%3u %3u %3u%c", (rgb >> 16) & 0xFF,
                                             (rgb >> 8) & 0xFF, rgb & 0xFF, line_ends ? '\n' : ' '));
    }
    memcpy(text + used, "}\n", 3);
    return text;
}

// A header field of the text form: digits (0 if none), then exactly one
// separator byte. False when the text ends instead.
inline bool text_field(ByteSource& in, int32_t& value)
{
    value = header_digits(in);
    return in.take() != EOF;
}

// The text just past the name, "{" and "P3\n", found in this order; null
// when one is missing.
inline const char* after_marks(const char* text, const char* name)
{
    for (const char* mark : {name, "{", "P3\n"}) {
        const int32_t offset = img_find_text(text, mark);
        if (offset == 0) {
            return nullptr;
        }
        text += offset;
    }
    return text;
}

// Zero sizes are accepted and give a grid without pixels. Whatever follows
// the last sample (normally "}\n") is not needed.
template <typename Rules, typename Grid>
Grid* from_text(const char* text, const char* name, grid::Report report)
{
    const char* at = text ? after_marks(text, name) : nullptr;
    if (!at) {
        return refuse<Grid>(nullptr, report);
    }
    ByteSource in = ByteSource::text(at);
    int32_t width = 0;
    int32_t height = 0;
    int32_t maxval = 0;
    if (!text_field(in, width) || !text_field(in, height) || !text_field(in, maxval)) {
        return refuse<Grid>(nullptr, report);
    }
    return read_pixels<Rules, Grid>(in, 3, width, height, report);
}

}  // namespace pnm
