// Internal to the IMG and BYTEMAP modules: the PNM reader shared by both,
// from the byte source through the header grammar and samples to pixels.
//
// Embedded memory is trusted to be complete and takes no length. Memory
// with a length, a file and a text (up to its NUL) end where they end, and
// input that ends before the last pixel gives none. Grids of more than
// max_pixels pixels are refused.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "grid.h"

namespace pnm {

// 2^26 pixels: width * height, the allocation size and the length of the
// text form all stay well inside 32 bits.
constexpr int64_t max_pixels = int64_t{1} << 26;
// Header numbers saturate here, so no digit string overflows; anything this
// large is refused by the size limit anyway.
constexpr int32_t number_ceiling = 1 << 30;

// The input of a reader. A file's current byte is read ahead; memory is read
// only where the reader looks, never past the last byte it needs.
class ByteSource {
public:
    static ByteSource memory(const uint8_t* data) { return {nullptr, data, nullptr, false}; }
    static ByteSource bytes(const uint8_t* data, size_t size)
    {
        return {nullptr, data, data ? data + size : data, false};
    }
    static ByteSource text(const char* text)
    {
        return {nullptr, reinterpret_cast<const uint8_t*>(text), nullptr, true};
    }
    static ByteSource file(FILE* file) { return {file, nullptr, nullptr, false}; }

    bool from_file() const { return file_ != nullptr; }

    // The current byte, EOF once the input has ended. Memory with a length
    // remembers when the reader looked past its last byte: the memory
    // reader without a length would have read there.
    int peek()
    {
        if (file_) {
            return ahead_;
        }
        if (at_ == end_) {
            overran_ = true;
            return EOF;
        }
        return ends_at_nul_ && *at_ == '\0' ? EOF : *at_;
    }

    void advance()
    {
        if (peek() == EOF) {
            return;
        }
        if (file_) {
            ahead_ = fgetc(file_);
        } else {
            at_++;
        }
    }

    int take()
    {
        const int byte = peek();
        advance();
        return byte;
    }

    bool overran() const { return overran_; }

    // False when the input is known to end before `count` more bytes, so a
    // size announced by a short input is refused before it is allocated.
    bool may_hold(int64_t count) const
    {
        if (end_) {
            return end_ - at_ >= count;
        }
        if (ends_at_nul_) {
            const size_t wanted = static_cast<size_t>(std::min<int64_t>(count, PTRDIFF_MAX));
            return strnlen(reinterpret_cast<const char*>(at_), wanted) == wanted;
        }
        return !file_ || file_may_hold(count);
    }

private:
    // Only a regular file tells its size; the current byte is read ahead.
    bool file_may_hold(int64_t count) const
    {
        struct stat status {};
        if (fstat(fileno(file_), &status) != 0 || !S_ISREG(status.st_mode)) {
            return true;
        }
        const int64_t ahead = ahead_ == EOF ? 0 : 1;
        return int64_t{status.st_size} - ftell(file_) + ahead >= count;
    }

    ByteSource(FILE* file, const uint8_t* at, const uint8_t* end, bool ends_at_nul)
        : file_(file), at_(at), end_(end), ends_at_nul_(ends_at_nul), ahead_(file ? fgetc(file) : EOF)
    {
    }

    FILE* file_;
    const uint8_t* at_;
    const uint8_t* end_;  // null when the length is not known
    bool ends_at_nul_;
    bool overran_ = false;
    int ahead_;
};

constexpr bool is_printable(int byte)
{
    return byte >= 33 && byte <= 126;
}

constexpr bool is_digit(int byte)
{
    return byte >= '0' && byte <= '9';
}

inline int32_t header_digits(ByteSource& in)
{
    int32_t value = 0;
    while (is_digit(in.peek())) {
        const int64_t next = int64_t{value} * 10 + (in.take() - '0');
        value = next < number_ceiling ? static_cast<int32_t>(next) : number_ceiling;
    }
    return value;
}

// Skips the non-digits before an ASCII sample; false when the input ends first.
inline bool skip_to_digit(ByteSource& in)
{
    while (in.peek() != EOF && !is_digit(in.peek())) {
        in.advance();
    }
    return in.peek() != EOF;
}

// Samples are not range-checked; digit strings too long for 32 bits wrap.
inline bool next_number(ByteSource& in, uint32_t& value)
{
    if (!skip_to_digit(in)) {
        return false;
    }
    value = 0;
    while (is_digit(in.peek())) {
        value = value * 10u + static_cast<uint32_t>(in.take() - '0');
    }
    return true;
}

inline bool next_byte(ByteSource& in, uint32_t& value)
{
    if (in.peek() == EOF) {
        return false;
    }
    value = static_cast<uint32_t>(in.take());
    return true;
}

// P1 in memory: one digit character per pixel, no separators needed.
inline bool next_digit(ByteSource& in, uint32_t& value)
{
    if (!skip_to_digit(in)) {
        return false;
    }
    value = static_cast<uint32_t>(in.take() - '0');
    return true;
}

// The magic digit (0 until seen) and the numbers read: width, height and,
// except for bitmaps, the maxval, which is only counted: samples are 0-255.
struct Header {
    int32_t magic;
    int32_t numbers;
    int32_t width;
    int32_t height;
};

constexpr bool is_bitmap(int32_t magic)
{
    return magic == 1 || magic == 4;
}

constexpr bool is_colour(int32_t magic)
{
    return magic == 3 || magic == 6;
}

constexpr bool header_complete(const Header& header)
{
    return header.magic != 0 && header.numbers >= (is_bitmap(header.magic) ? 2 : 3);
}

// In memory a P4 width is rounded up to whole bytes, so the row padding
// becomes part of the grid.
inline void header_take_number(Header& header, int32_t value, bool from_file)
{
    if (header.numbers == 0) {
        header.width = header.magic == 4 && !from_file ? (value + 7) & ~7 : value;
    } else if (header.numbers == 1) {
        header.height = value;
    }
    header.numbers = std::min(header.numbers + 1, 3);
}

// Printable bytes are 33-126; everything else between the items is skipped
// and a "#" comment runs to its newline. From a file the byte that ends a
// number is consumed with it; in memory it is not, and exactly one
// separator byte is skipped after the last field. Either way the input is
// left on the first data byte. False on a bad magic digit, an early end or a
// header that can never complete.
inline bool read_header(ByteSource& in, Header& header)
{
    while (!header_complete(header)) {
        if (in.peek() == EOF) {
            return false;
        }
        if (!is_printable(in.peek())) {
            in.advance();
        } else if (in.peek() == 'P' && header.magic == 0) {
            in.advance();
            const int digit = in.take();
            if (digit < '1' || digit > '6') {
                return false;
            }
            header.magic = digit - '0';
        } else if (in.peek() == '#') {
            while (in.peek() != EOF && in.take() != '\n') {
            }
        } else if (header.numbers == 3 && !in.from_file() && !is_digit(in.peek())) {
            // In memory a byte that is no digit is not consumed: with every
            // number counted and no magic yet, the header would stop here for ever.
            return false;
        } else {
            header_take_number(header, header_digits(in), in.from_file());
            if (in.from_file()) {
                in.advance();
            }
        }
    }
    if (!in.from_file()) {
        in.advance();
    }
    return true;
}

// One raw sample of the given kind: a byte for P5 and P6, a digit character
// for P1 in memory, an ASCII number otherwise.
inline bool next_sample(ByteSource& in, int32_t magic, uint32_t& sample)
{
    if (magic == 5 || magic == 6) {
        return next_byte(in, sample);
    }
    if (magic == 1 && !in.from_file()) {
        return next_digit(in, sample);
    }
    return next_number(in, sample);
}

// How a module turns samples into its pixels: Rules::bit(set) for bitmaps,
// Rules::grey(sample) and Rules::colour(red, green, blue).
template <typename Rules>
auto pixel_of(int32_t magic, const uint32_t (&samples)[3])
{
    if (magic == 1) {
        return Rules::bit(samples[0] != 0);
    }
    return is_colour(magic) ? Rules::colour(samples[0], samples[1], samples[2]) : Rules::grey(samples[0]);
}

// P4: eight pixels per byte, bit 7 first. In a file each row starts on a
// new byte and the padding bits at the end of a row are skipped. In memory
// the bits run on across rows: a rounded width makes every row whole bytes,
// and a width read before the magic was not rounded.
template <typename Rules, typename Grid>
bool decode_bits(ByteSource& in, Grid* grid, bool rows_start_on_byte)
{
    auto* pixel = grid->pixels;
    uint32_t byte = 0;
    int32_t bit = 0;  // bits of the current byte already taken
    for (int32_t y = 0; y < grid->height; y++) {
        if (rows_start_on_byte) {
            bit = 0;
        }
        for (int32_t x = 0; x < grid->width; x++, bit = (bit + 1) % 8) {
            if (bit == 0 && !next_byte(in, byte)) {
                return false;
            }
            *pixel++ = Rules::bit(((byte >> (7 - bit)) & 1u) != 0);
        }
    }
    return true;
}

// False when the input ends before the last pixel.
template <typename Rules, typename Grid>
bool decode(ByteSource& in, Grid* grid, int32_t magic)
{
    if (magic == 4) {
        return decode_bits<Rules>(in, grid, in.from_file());
    }
    const int32_t channels = is_colour(magic) ? 3 : 1;
    const int64_t count = int64_t{grid->width} * grid->height;
    for (int64_t i = 0; i < count; i++) {
        uint32_t samples[3] = {};
        for (int32_t c = 0; c < channels; c++) {
            if (!next_sample(in, magic, samples[c])) {
                return false;
            }
        }
        grid->pixels[i] = pixel_of<Rules>(magic, samples);
    }
    return true;
}

template <typename Grid>
Grid* refuse(Grid* grid, grid::Report report)
{
    if (grid) {
        grid::destroy(&grid, report);
    }
    report();
    return nullptr;
}

// A new grid of the given size, or none (reported) when the size is
// negative, too large or the allocation fails.
template <typename Grid>
Grid* create_sized(int32_t width, int32_t height, grid::Report report)
{
    if (width < 0 || height < 0 || int64_t{width} * height > max_pixels) {
        return refuse<Grid>(nullptr, report);
    }
    Grid* created = grid::create<Grid>(report);
    if (!created) {
        return nullptr;
    }
    grid::resize(created, width, height, report);
    return created->pixels ? created : refuse(created, report);
}

// The fewest data bytes that can hold the samples of a picture: one per
// sample at least, eight P4 pixels to a byte.
constexpr int64_t least_data_bytes(int32_t magic, int64_t pixels)
{
    return magic == 4 ? (pixels + 7) / 8 : pixels * (is_colour(magic) ? 3 : 1);
}

// A grid of the given size and kind decoded from the input, or none when
// the input cannot hold it or ends early.
template <typename Rules, typename Grid>
Grid* read_pixels(ByteSource& in, int32_t magic, int32_t width, int32_t height, grid::Report report)
{
    if (!in.may_hold(least_data_bytes(magic, int64_t{width} * height))) {
        return refuse<Grid>(nullptr, report);
    }
    Grid* grid = create_sized<Grid>(width, height, report);
    if (grid && (!decode<Rules>(in, grid, magic) || in.overran())) {
        return refuse(grid, report);
    }
    return grid;
}

template <typename Rules, typename Grid>
Grid* read(ByteSource& in, grid::Report report)
{
    Header header{};
    if (!read_header(in, header) || in.overran() || header.width == 0 || header.height == 0) {
        return refuse<Grid>(nullptr, report);
    }
    return read_pixels<Rules, Grid>(in, header.magic, header.width, header.height, report);
}

// Memory with or without a length: `in` reads `data`.
template <typename Rules, typename Grid>
Grid* read_memory(const uint8_t* data, ByteSource in, grid::Report report)
{
    if (!data) {
        return refuse<Grid>(nullptr, report);
    }
    return read<Rules, Grid>(in, report);
}

template <typename Rules, typename Grid>
Grid* load(const char* path, grid::Report report)
{
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) {
        return refuse<Grid>(nullptr, report);
    }
    ByteSource in = ByteSource::file(file);
    Grid* grid = read<Rules, Grid>(in, report);
    fclose(file);
    return grid;
}

// The binary form with the given magic line; put_pixel writes one pixel's bytes.
template <typename Grid, typename PutPixel>
int32_t save(const Grid* grid, const char* path, const char* magic, PutPixel put_pixel, grid::Report report)
{
    if (!grid::has_pixels(grid) || !path || grid->width <= 0 || grid->height <= 0) {
        report();
        return 0;
    }
    FILE* file = fopen(path, "w");
    if (!file) {
        report();
        return 0;
    }
    fprintf(file, "%s\n%d %d\n255\n", magic, grid->width, grid->height);
    const int64_t count = int64_t{grid->width} * grid->height;
    for (int64_t i = 0; i < count; i++) {
        put_pixel(grid->pixels[i], file);
    }
    fclose(file);
    return 1;
}

}  // namespace pnm
