// BYTEMAP codec: PNM readers from memory and from a file, a binary P5
// writer, and the "BYTEMAP{ P3 }" text form with its reader. Colour pictures
// become the average of their three samples, bitmaps 255 and 0.
//
// One decoder serves all three inputs. Embedded memory is trusted to be
// complete and takes no length; a file ends at its end and a text at its
// NUL, and input that ends before the last value gives none. Maps of more
// than max_values values are refused.
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bytemap.h"
#include "img.h"

namespace {

// 2^26 values: width * height and the length of the text form stay well
// inside 32 bits.
constexpr int64_t max_values = int64_t{1} << 26;
// Header numbers saturate here, so no digit string overflows; anything this
// large is refused by the size limit anyway.
constexpr int32_t number_ceiling = 1 << 30;
constexpr uint8_t white = 255;

// The input of a reader and its current byte, which is EOF once it has ended.
struct ByteSource {
    FILE* file;         // file input, or
    const uint8_t* at;  // memory input
    bool ends_at_nul;   // memory holding a text
    int byte;
};

ByteSource memory_source(const uint8_t* data)
{
    return {nullptr, data, false, *data};
}

ByteSource text_source(const char* text)
{
    const auto* at = reinterpret_cast<const uint8_t*>(text);
    return {nullptr, at, true, *at != '\0' ? *at : EOF};
}

ByteSource file_source(FILE* file)
{
    return {file, nullptr, false, fgetc(file)};
}

void advance(ByteSource& in)
{
    if (in.byte == EOF) {
        return;
    }
    if (in.file) {
        in.byte = fgetc(in.file);
        return;
    }
    in.at++;
    in.byte = in.ends_at_nul && *in.at == '\0' ? EOF : *in.at;
}

int take(ByteSource& in)
{
    const int byte = in.byte;
    advance(in);
    return byte;
}

bool is_printable(int byte)
{
    return byte >= 33 && byte <= 126;
}

bool is_digit(int byte)
{
    return byte >= '0' && byte <= '9';
}

int32_t header_digits(ByteSource& in)
{
    int32_t value = 0;
    while (is_digit(in.byte)) {
        const int64_t next = int64_t{value} * 10 + (take(in) - '0');
        value = next < number_ceiling ? static_cast<int32_t>(next) : number_ceiling;
    }
    return value;
}

// Skips the non-digits before an ASCII sample; false when the input ends first.
bool skip_to_digit(ByteSource& in)
{
    while (in.byte != EOF && !is_digit(in.byte)) {
        advance(in);
    }
    return in.byte != EOF;
}

// Samples are not range-checked; digit strings too long for 32 bits wrap.
bool next_number(ByteSource& in, uint32_t& value)
{
    if (!skip_to_digit(in)) {
        return false;
    }
    value = 0;
    while (is_digit(in.byte)) {
        value = value * 10u + static_cast<uint32_t>(take(in) - '0');
    }
    return true;
}

bool next_byte(ByteSource& in, uint32_t& value)
{
    if (in.byte == EOF) {
        return false;
    }
    value = static_cast<uint32_t>(take(in));
    return true;
}

// P1 in memory: one digit character per value, no separators needed.
bool next_digit(ByteSource& in, uint32_t& value)
{
    if (!skip_to_digit(in)) {
        return false;
    }
    value = static_cast<uint32_t>(take(in) - '0');
    return true;
}

// The magic digit (0 until seen) and the numbers read: width, height and,
// except for bitmaps, the maxval, which is only counted: samples are 0-255.
struct PnmHeader {
    int32_t magic;
    int32_t numbers;
    int32_t width;
    int32_t height;
};

bool header_complete(const PnmHeader& header)
{
    const int32_t wanted = header.magic == 1 || header.magic == 4 ? 2 : 3;
    return header.magic != 0 && header.numbers >= wanted;
}

// In memory a P4 width is rounded up to whole bytes, so the row padding
// becomes part of the map.
void header_take_number(PnmHeader& header, int32_t value, bool from_file)
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
// left on the first data byte. False on a bad magic digit or an early end.
bool read_header(ByteSource& in, PnmHeader& header)
{
    const bool from_file = in.file != nullptr;
    while (!header_complete(header)) {
        if (in.byte == EOF) {
            return false;
        }
        if (!is_printable(in.byte)) {
            advance(in);
        } else if (in.byte == 'P' && header.magic == 0) {
            advance(in);
            const int digit = take(in);
            if (digit < '1' || digit > '6') {
                return false;
            }
            header.magic = digit - '0';
        } else if (in.byte == '#') {
            while (in.byte != EOF && take(in) != '\n') {
            }
        } else {
            header_take_number(header, header_digits(in), from_file);
            if (from_file) {
                advance(in);
            }
        }
    }
    if (!from_file) {
        advance(in);
    }
    return true;
}

// One raw sample of the given kind: a byte for P5 and P6, a digit character
// for P1 in memory, an ASCII number otherwise.
bool next_sample(ByteSource& in, int32_t magic, uint32_t& sample)
{
    if (magic == 5 || magic == 6) {
        return next_byte(in, sample);
    }
    if (magic == 1 && !in.file) {
        return next_digit(in, sample);
    }
    return next_number(in, sample);
}

// One value: colour kinds average their three samples (the sum wraps like
// the samples themselves), grey kinds keep the low byte, bitmaps give white
// for any non-zero sample.
bool next_value(ByteSource& in, int32_t magic, uint8_t& value)
{
    const bool colour = magic == 3 || magic == 6;
    uint32_t sum = 0;
    for (int32_t c = 0; c < (colour ? 3 : 1); c++) {
        uint32_t sample = 0;
        if (!next_sample(in, magic, sample)) {
            return false;
        }
        sum += sample;
    }
    value = magic == 1 ? (sum != 0 ? white : 0) : static_cast<uint8_t>(colour ? sum / 3 : sum);
    return true;
}

// P4: eight values per byte, bit 7 first, a set bit white. Every row starts
// on a new byte, so the padding bits at the end of a row are skipped.
bool decode_bits(ByteSource& in, ByteMap* map)
{
    uint8_t* value = map->pixels;
    for (int32_t y = 0; y < map->height; y++) {
        uint32_t byte = 0;
        for (int32_t x = 0; x < map->width; x++) {
            if (x % 8 == 0 && !next_byte(in, byte)) {
                return false;
            }
            *value++ = (byte >> (7 - x % 8)) & 1u ? white : 0;
        }
    }
    return true;
}

// False when the input ends before the last value.
bool decode(ByteSource& in, ByteMap* map, int32_t magic)
{
    if (magic == 4) {
        return decode_bits(in, map);
    }
    const int64_t count = int64_t{map->width} * map->height;
    for (int64_t i = 0; i < count; i++) {
        if (!next_value(in, magic, map->pixels[i])) {
            return false;
        }
    }
    return true;
}

ByteMap* refuse(ByteMap* map)
{
    if (map) {
        bytemap_free(&map);
    }
    bytemap_error();
    return nullptr;
}

// A new map of the given size, or none (reported) when the size is negative,
// too large or the allocation fails.
ByteMap* create_map(int32_t width, int32_t height)
{
    if (width < 0 || height < 0 || int64_t{width} * height > max_values) {
        return refuse(nullptr);
    }
    ByteMap* map = bytemap_new();
    if (!map) {
        return nullptr;
    }
    bytemap_resize(map, width, height);
    return map->pixels ? map : refuse(map);
}

ByteMap* read_pnm(ByteSource& in)
{
    PnmHeader header{};
    if (!read_header(in, header) || header.width == 0 || header.height == 0) {
        return refuse(nullptr);
    }
    ByteMap* map = create_map(header.width, header.height);
    if (map && !decode(in, map, header.magic)) {
        return refuse(map);
    }
    return map;
}

// --- Text form ---

constexpr const char* text_marks[] = {"BYTEMAP", "{", "P3\n"};
constexpr char empty_text[] = "BYTEMAP{}";
constexpr int32_t values_per_line = 6;
constexpr int32_t text_value_length = 12;  // "  0   0 %3d " per value

// The text just past "BYTEMAP", "{" and "P3\n", found in this order; null
// when one is missing.
const char* after_marks(const char* text)
{
    for (const char* mark : text_marks) {
        const int32_t offset = bytemap_find_text(text, mark);
        if (offset == 0) {
            return nullptr;
        }
        text += offset;
    }
    return text;
}

// A header field of the text form: digits (0 if none), then exactly one
// separator byte. False when the text ends instead.
bool text_field(ByteSource& in, int32_t& value)
{
    value = header_digits(in);
    return take(in) != EOF;
}

char* text_copy(const char* text, size_t size)
{
    char* copy = static_cast<char*>(calloc(size, 1));
    if (!copy) {
        bytemap_error();
        return nullptr;
    }
    memcpy(copy, text, size);
    return copy;
}

}  // namespace

ByteMap* bytemap_from_pnm(const uint8_t* data)
{
    if (!data) {
        return refuse(nullptr);
    }
    ByteSource in = memory_source(data);
    return read_pnm(in);
}

ByteMap* bytemap_load_pnm(const char* path)
{
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) {
        return refuse(nullptr);
    }
    ByteSource in = file_source(file);
    ByteMap* map = read_pnm(in);
    fclose(file);
    return map;
}

int32_t bytemap_save_pnm(const ByteMap* map, const char* path)
{
    if (!map || !map->pixels || !path || map->width <= 0 || map->height <= 0) {
        bytemap_error();
        return 0;
    }
    FILE* file = fopen(path, "w");
    if (!file) {
        bytemap_error();
        return 0;
    }
    fprintf(file, "P5\n%d %d\n255\n", map->width, map->height);
    const int64_t count = int64_t{map->width} * map->height;
    for (int64_t i = 0; i < count; i++) {
        fputc(map->pixels[i], file);
    }
    fclose(file);
    return 1;
}

// Each value stands as the blue sample of a P3 pixel, six pixels a line.
char* bytemap_to_text(const ByteMap* map)
{
    if (!map || !map->pixels || map->width < 0 || map->height < 0) {
        bytemap_error();
        return nullptr;
    }
    const int64_t count = int64_t{map->width} * map->height;
    if (count == 0) {
        return text_copy(empty_text, sizeof empty_text);
    }
    // The fixed part holds the header, "}\n" and the terminator; the slack
    // of count / 6 covers header numbers of any length a map can have.
    const size_t size = static_cast<size_t>(text_value_length * count + count / values_per_line + 29);
    char* text = static_cast<char*>(calloc(size, 1));
    if (!text) {
        bytemap_error();
        return nullptr;
    }
    size_t used = static_cast<size_t>(snprintf(text, size, "BYTEMAP{\nP3\n%d %d\n255\n", map->width, map->height));
    for (int64_t i = 0; i < count; i++) {
        const bool line_ends = (i + 1) % values_per_line == 0 || i + 1 == count;
        used += static_cast<size_t>(
            snprintf(text + used, size - used, "  0   0 %3d%c", map->pixels[i], line_ends ? '\n' : ' '));
    }
    memcpy(text + used, "}\n", 3);
    return text;
}

// Zero sizes are accepted and give a map without values. Whatever follows
// the last sample (normally "}\n") is not needed.
ByteMap* bytemap_from_text(const char* text)
{
    if (!text) {
        return refuse(nullptr);
    }
    const char* at = after_marks(text);
    if (!at) {
        return refuse(nullptr);
    }
    ByteSource in = text_source(at);
    int32_t width = 0;
    int32_t height = 0;
    int32_t maxval = 0;
    if (!text_field(in, width) || !text_field(in, height) || !text_field(in, maxval)) {
        return refuse(nullptr);
    }
    ByteMap* map = create_map(width, height);
    if (map && !decode(in, map, 3)) {
        return refuse(map);
    }
    return map;
}

int32_t bytemap_find_text(const char* text, const char* search)
{
    if (!text || !search) {
        bytemap_error();
        return 0;
    }
    return img_find_text(text, search);
}
