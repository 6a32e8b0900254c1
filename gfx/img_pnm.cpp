// IMG: the PNM codec. Readers for P1-P6 from memory and from a file, a binary
// P6 writer, and the "IMG{ P3 }" text form with its reader.
//
// The memory reader decodes the pictures embedded in the program: it takes no
// length and trusts the header. The file and text readers take outside input:
// they stop at the end of the data and return none when it ends before the
// last pixel. Every reader refuses pictures of more than max_pixels pixels.
#include "img.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// 2^26 pixels (256 MiB of pixel words): width * height, the allocation size
// and the length of the text form all stay well inside 32 bits.
constexpr int64_t max_pixels = int64_t{1} << 26;
// Header numbers saturate here, so no digit string can overflow; anything
// this large is refused by the pixel limit anyway.
constexpr int32_t number_ceiling = 1 << 30;
constexpr uint32_t white = 0x00FFFFFF;

bool is_printable(int byte)
{
    return byte >= 33 && byte <= 126;
}

bool is_digit(int byte)
{
    return byte >= '0' && byte <= '9';
}

int32_t append_header_digit(int32_t value, int digit)
{
    const int64_t next = int64_t{value} * 10 + (digit - '0');
    return next < number_ceiling ? static_cast<int32_t>(next) : number_ceiling;
}

// Samples are not range-checked: a value above 255 runs into the next
// channel, and longer digit strings wrap around 32 bits.
uint32_t append_sample_digit(uint32_t value, int digit)
{
    return value * 10u + static_cast<uint32_t>(digit - '0');
}

uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return (red << 16) | (green << 8) | blue;
}

uint32_t grey(uint32_t value)
{
    return rgb(value, value, value);
}

// A set bit is white, a clear bit black (the reverse of the PBM convention).
uint32_t bit_pixel(uint32_t byte, int32_t bit)
{
    return (byte >> bit) & 1u ? white : 0;
}

struct PnmHeader {
    bool magic_seen;
    bool width_seen;
    bool height_seen;
    bool maxval_seen;
    int32_t magic;
    int32_t width;
    int32_t height;
};

bool header_complete(const PnmHeader& header)
{
    return header.magic_seen && header.width_seen && header.height_seen && header.maxval_seen;
}

// Takes the digit after "P"; false for anything but 1-6.
bool header_take_magic(PnmHeader& header, int digit)
{
    if (digit < '1' || digit > '6') {
        return false;
    }
    header.magic = digit - '0';
    header.magic_seen = true;
    if (header.magic == 1 || header.magic == 4) {
        header.maxval_seen = true;  // bitmaps have no maxval
    }
    return true;
}

// Fills the first of width, height, maxval still missing. The maxval is
// only noted: samples are always taken as 0-255.
void header_take_number(PnmHeader& header, int32_t value)
{
    if (!header.width_seen) {
        header.width = value;
        header.width_seen = true;
    } else if (!header.height_seen) {
        header.height = value;
        header.height_seen = true;
    } else {
        header.maxval_seen = true;
    }
}

// A new Image of the given size, or none (with the error report) when the
// size is negative, too large or the allocation fails.
Image* create_image(int32_t width, int32_t height)
{
    if (width < 0 || height < 0 || int64_t{width} * height > max_pixels) {
        img_error();
        return nullptr;
    }
    Image* image = img_new();
    if (!image) {
        return nullptr;
    }
    img_resize(image, width, height);
    if (!image->pixels) {
        img_free(&image);
        img_error();
        return nullptr;
    }
    return image;
}

Image* create_pnm_image(const PnmHeader& header)
{
    if (header.width == 0 || header.height == 0) {
        img_error();
        return nullptr;
    }
    return create_image(header.width, header.height);
}

Image* refuse(Image* image)
{
    if (image) {
        img_free(&image);
    }
    img_error();
    return nullptr;
}

// --- Memory reader: no length, every byte is trusted to be there ---

// Parses the header and leaves `at` on the first data byte, past the one
// separator byte that follows the last field. P4 widths are rounded up to
// whole bytes, so row padding becomes part of the Image.
bool memory_read_header(const uint8_t*& at, PnmHeader& header)
{
    while (!header_complete(header)) {
        if (!is_printable(*at)) {
            at++;
        } else if (*at == 'P' && !header.magic_seen) {
            if (!header_take_magic(header, at[1])) {
                return false;
            }
            at += 2;
        } else if (*at == '#') {
            while (*at++ != '\n') {
            }
        } else {
            int32_t value = 0;
            while (is_digit(*at)) {
                value = append_header_digit(value, *at++);
            }
            if (!header.width_seen && header.magic == 4) {
                value = (value + 7) & ~7;
            }
            header_take_number(header, value);
        }
    }
    at++;
    return true;
}

uint32_t memory_sample(const uint8_t*& at)
{
    while (!is_digit(*at)) {
        at++;
    }
    uint32_t value = 0;
    while (is_digit(*at)) {
        value = append_sample_digit(value, *at++);
    }
    return value;
}

// P4 bytes run on across rows: with the width rounded up, every row starts
// on a new byte.
void memory_decode(Image* image, int32_t magic, const uint8_t* at)
{
    uint32_t* const pixels = image->pixels;
    const int64_t count = int64_t{image->width} * image->height;
    for (int64_t i = 0; i < count; i++) {
        switch (magic) {
        case 6:
            pixels[i] = rgb(at[0], at[1], at[2]);
            at += 3;
            break;
        case 5:
            pixels[i] = grey(*at++);
            break;
        case 4:
            pixels[i] = bit_pixel(at[i / 8], static_cast<int32_t>(7 - i % 8));
            break;
        case 3: {
            const uint32_t red = memory_sample(at);
            const uint32_t green = memory_sample(at);
            pixels[i] = rgb(red, green, memory_sample(at));
            break;
        }
        case 2:
            pixels[i] = grey(memory_sample(at));
            break;
        default:  // P1: one digit character per pixel, no separators needed
            while (!is_digit(*at)) {
                at++;
            }
            pixels[i] = *at++ == '0' ? 0 : white;
            break;
        }
    }
}

// --- File reader: every read may meet the end of the file ---

// Parses the header up to and including the byte that ends the last field.
// False on a bad magic digit or when the file ends first.
bool file_read_header(FILE* file, PnmHeader& header)
{
    while (!header_complete(header)) {
        int byte = fgetc(file);
        if (byte == EOF) {
            return false;
        }
        if (!is_printable(byte)) {
            continue;
        }
        if (byte == 'P' && !header.magic_seen) {
            if (!header_take_magic(header, fgetc(file))) {
                return false;
            }
        } else if (byte == '#') {
            while (byte != '\n' && byte != EOF) {
                byte = fgetc(file);
            }
        } else {
            int32_t value = 0;
            while (is_digit(byte)) {
                value = append_header_digit(value, byte);
                byte = fgetc(file);
            }
            header_take_number(header, value);
        }
    }
    return true;
}

// Reads one ASCII sample, skipping the non-digits before it and consuming
// the byte after it. False when the file ends before a digit.
bool file_sample(FILE* file, uint32_t& value)
{
    int byte = fgetc(file);
    while (byte != EOF && !is_digit(byte)) {
        byte = fgetc(file);
    }
    if (byte == EOF) {
        return false;
    }
    value = 0;
    while (is_digit(byte)) {
        value = append_sample_digit(value, byte);
        byte = fgetc(file);
    }
    return true;
}

bool file_bytes(FILE* file, uint32_t* values, int32_t count)
{
    for (int32_t i = 0; i < count; i++) {
        const int byte = fgetc(file);
        if (byte == EOF) {
            return false;
        }
        values[i] = static_cast<uint32_t>(byte);
    }
    return true;
}

// P4 rows start on a new byte; the padding bits at the end of a row are skipped.
bool file_decode_bitmap(Image* image, FILE* file)
{
    uint32_t* pixel = image->pixels;
    for (int32_t y = 0; y < image->height; y++) {
        uint32_t byte = 0;
        for (int32_t x = 0; x < image->width; x++) {
            if (x % 8 == 0 && !file_bytes(file, &byte, 1)) {
                return false;
            }
            *pixel++ = bit_pixel(byte, 7 - x % 8);
        }
    }
    return true;
}

// False when the file ends before the last pixel.
bool file_decode(Image* image, int32_t magic, FILE* file)
{
    if (magic == 4) {
        return file_decode_bitmap(image, file);
    }
    const int64_t count = int64_t{image->width} * image->height;
    const bool ascii = magic <= 3;
    const int32_t channels = magic == 3 || magic == 6 ? 3 : 1;
    for (int64_t i = 0; i < count; i++) {
        uint32_t sample[3] = {};
        for (int32_t c = 0; c < channels; c++) {
            if (ascii ? !file_sample(file, sample[c]) : !file_bytes(file, &sample[c], 1)) {
                return false;
            }
        }
        if (channels == 3) {
            image->pixels[i] = rgb(sample[0], sample[1], sample[2]);
        } else if (magic == 1) {
            image->pixels[i] = sample[0] ? white : 0;
        } else {
            image->pixels[i] = grey(sample[0]);
        }
    }
    return true;
}

Image* file_read(FILE* file)
{
    PnmHeader header{};
    if (!file_read_header(file, header)) {
        return refuse(nullptr);
    }
    Image* image = create_pnm_image(header);
    if (image && !file_decode(image, header.magic, file)) {
        return refuse(image);
    }
    return image;
}

// --- Text form ---

// The reader looks for these in order, each after the one before.
constexpr const char* text_marks[] = {"IMG", "{", "P3\n"};
constexpr int32_t pixels_per_line = 6;
constexpr int32_t text_pixel_length = 12;  // "%3d %3d %3d " per pixel

// Header field of the text form: digits (0 if none), then exactly one
// separator byte. False when the text ends instead.
bool text_header_number(const char*& at, int32_t& value)
{
    value = 0;
    while (is_digit(*at)) {
        value = append_header_digit(value, *at++);
    }
    if (*at == '\0') {
        return false;
    }
    at++;
    return true;
}

bool text_sample(const char*& at, uint32_t& value)
{
    while (*at != '\0' && !is_digit(*at)) {
        at++;
    }
    if (*at == '\0') {
        return false;
    }
    value = 0;
    while (is_digit(*at)) {
        value = append_sample_digit(value, *at++);
    }
    return true;
}

bool text_decode(Image* image, const char* at)
{
    const int64_t count = int64_t{image->width} * image->height;
    for (int64_t i = 0; i < count; i++) {
        uint32_t red = 0;
        uint32_t green = 0;
        uint32_t blue = 0;
        if (!text_sample(at, red) || !text_sample(at, green) || !text_sample(at, blue)) {
            return false;
        }
        image->pixels[i] = rgb(red, green, blue);
    }
    return true;
}

char* text_empty()
{
    char* text = static_cast<char*>(calloc(6, 1));
    if (!text) {
        img_error();
        return nullptr;
    }
    memcpy(text, "IMG{}", 6);
    return text;
}

}  // namespace

Image* img_from_pnm(const uint8_t* data)
{
    if (!data) {
        return refuse(nullptr);
    }
    PnmHeader header{};
    const uint8_t* at = data;
    if (!memory_read_header(at, header)) {
        return refuse(nullptr);
    }
    Image* image = create_pnm_image(header);
    if (image) {
        memory_decode(image, header.magic, at);
    }
    return image;
}

Image* img_load_pnm(const char* path)
{
    FILE* file = path ? fopen(path, "rb") : nullptr;
    if (!file) {
        return refuse(nullptr);
    }
    Image* image = file_read(file);
    fclose(file);
    return image;
}

int32_t img_save_pnm(const Image* image, const char* path)
{
    if (!image || !image->pixels || !path || image->width <= 0 || image->height <= 0) {
        img_error();
        return 0;
    }
    FILE* file = fopen(path, "w");
    if (!file) {
        img_error();
        return 0;
    }
    fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
    const int64_t count = int64_t{image->width} * image->height;
    for (int64_t i = 0; i < count; i++) {
        const uint32_t pixel = image->pixels[i];
        fputc(static_cast<int>((pixel >> 16) & 0xFF), file);
        fputc(static_cast<int>((pixel >> 8) & 0xFF), file);
        fputc(static_cast<int>(pixel & 0xFF), file);
    }
    fclose(file);
    return 1;
}

char* img_to_text(const Image* image)
{
    if (!image || !image->pixels || image->width < 0 || image->height < 0) {
        img_error();
        return nullptr;
    }
    const int64_t count = int64_t{image->width} * image->height;
    if (count == 0) {
        return text_empty();
    }
    // The fixed part holds the header, "}\n" and the terminator for any
    // width and height below 1 000 000.
    const size_t size = static_cast<size_t>(text_pixel_length * count + count / pixels_per_line + 29);
    char* text = static_cast<char*>(calloc(size, 1));
    if (!text) {
        img_error();
        return nullptr;
    }
    char* at = text + snprintf(text, size, "IMG{\nP3\n%d %d\n255\n", image->width, image->height);
    for (int64_t i = 0; i < count; i++) {
        const uint32_t pixel = image->pixels[i];
        at += snprintf(at, size - static_cast<size_t>(at - text), "%3u %3u %3u ", (pixel >> 16) & 0xFF,
                       (pixel >> 8) & 0xFF, pixel & 0xFF);
        if ((i + 1) % pixels_per_line == 0) {
            at[-1] = '\n';
        }
    }
    at[-1] = '\n';
    memcpy(at, "}\n", 3);
    return text;
}

Image* img_from_text(const char* text)
{
    if (!text) {
        return refuse(nullptr);
    }
    const char* at = text;
    for (const char* mark : text_marks) {
        const int32_t offset = img_find_text(at, mark);
        if (offset == 0) {
            return refuse(nullptr);
        }
        at += offset;
    }
    int32_t width = 0;
    int32_t height = 0;
    int32_t maxval = 0;
    if (!text_header_number(at, width) || !text_header_number(at, height) ||
        !text_header_number(at, maxval)) {
        return refuse(nullptr);
    }
    // Zero sizes are accepted and give an Image without pixels. Whatever
    // follows the last sample (normally "}\n") is not needed.
    Image* image = create_image(width, height);
    if (image && !text_decode(image, at)) {
        return refuse(image);
    }
    return image;
}

int32_t img_find_text(const char* text, const char* search)
{
    if (!text || !search) {
        img_error();
        return 0;
    }
    if (*text == '\0' || *search == '\0') {
        return 0;
    }
    const char* found = strstr(text, search);
    if (!found) {
        return 0;
    }
    return static_cast<int32_t>(found - text + static_cast<std::ptrdiff_t>(strlen(search)));
}
