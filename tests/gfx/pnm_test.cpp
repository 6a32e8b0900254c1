// PNM readers and writers of the IMG module, and the "IMG{ P3 }" text form.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "bytemap.h"
#include "gfx_test_helpers.h"

using namespace std::string_literals;
using Pixels = std::vector<uint32_t>;

namespace {

constexpr uint32_t W = 0x00FFFFFF;

std::string temp_path(const std::string& name)
{
    return testing::TempDir() + "pnm_" + std::to_string(getpid()) + "_" + name;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The trailing zeros stand in for the rest of an embedded picture, so a
// decoder that miscounts stays in bounds.
Image* from_memory(const std::string& bytes)
{
    const std::string padded = bytes + std::string(64, '\0');
    return img_from_pnm(reinterpret_cast<const uint8_t*>(padded.data()));
}

Image* from_file(const std::string& bytes)
{
    const std::string path = temp_path("in.pnm");
    std::ofstream(path, std::ios::binary) << bytes;
    Image* image = img_load_pnm(path.c_str());
    std::remove(path.c_str());
    return image;
}

std::string text_of(const Image* image)
{
    char* text = img_to_text(image);
    const std::string result = text;
    free(text);
    return result;
}

// The pixels `reader` makes of `bytes` after checking the size; empty when refused.
Pixels decode(Image* (*reader)(const std::string&), const std::string& bytes, int32_t width, int32_t height)
{
    Image* image = reader(bytes);
    if (!image) {
        return {};
    }
    EXPECT_EQ(image->width, width) << bytes;
    EXPECT_EQ(image->height, height) << bytes;
    Pixels result(image->pixels, image->pixels + image->width * image->height);
    img_free(&image);
    return result;
}

}  // namespace

TEST(PnmReader, BothReadersDecodeEveryFormat)
{
    struct Case {
        std::string bytes;
        int32_t width;
        Pixels pixels;
    };
    const std::vector<Case> cases = {
        {"P6\n2 1\n255\n\x12\x34\x56\xFF\x00\x01"s, 2, {0x123456, 0xFF0001}},
        {"P5 2 1 15\n\x80\x01"s, 2, {0x808080, 0x010101}},  // maxval ignored
        {"P4\n8 1\n\xA0"s, 8, {W, 0, W, 0, 0, 0, 0, 0}},
        {"P3\r\n2\t1 255\n1 2 3  256 0 0", 2, {0x010203, 0x01000000}},  // 256 runs into the next channel
        {"P2 2 1 255 7\n300", 2, {0x070707, 0x012D2D2C}},
        {"P1\n4 1\n0 1\n1 0", 4, {0, W, W, 0}},
        // Comments count only in the header; among samples "#" is skipped and its digits are read.
        {"# lead\nP2\n# 9 9\n2 # w\n1\n# 3\n255\n#5 1", 2, {0x050505, 0x010101}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decode(from_memory, c.bytes, c.width, 1), c.pixels) << c.bytes;
        EXPECT_EQ(decode(from_file, c.bytes, c.width, 1), c.pixels) << c.bytes;
    }
}

TEST(PnmReader, ReadersDifferOnBitmapWidthsAndDigits)
{
    // From memory the width is rounded up to 16 and the row padding becomes pixels.
    EXPECT_EQ(decode(from_memory, "P4\n12 1\n\xA5\x0F"s, 16, 1),
              (Pixels{W, 0, W, 0, 0, W, 0, W, 0, 0, 0, 0, W, W, W, W}));
    // From a file it stays 12: each row starts on a new byte, the padding is skipped.
    EXPECT_EQ(decode(from_file, "P4\n12 2\n\xA5\x0F\xF0\x00"s, 12, 2),
              (Pixels{W, 0, W, 0, 0, W, 0, W, 0, 0, 0, 0, W, W, W, W, 0, 0, 0, 0, 0, 0, 0, 0}));
    // P1 from memory is one digit per pixel; from a file "0110" is one number, white.
    EXPECT_EQ(decode(from_memory, "P1\n4 1\n0110", 4, 1), (Pixels{0, W, W, 0}));
    EXPECT_EQ(decode(from_file, "P1\n4 1\n0110 0 00 1", 4, 1), (Pixels{W, 0, 0, W}));
}

TEST(PnmReader, RefusesBadHeadersAndTruncatedFiles)
{
    EXPECT_EQ(img_errors_of([] { EXPECT_EQ(from_memory("P7\n1 1\n255\n\x01\x02\x03"), nullptr); }), 1);
    EXPECT_EQ(from_memory("P5 1 x 255\n\x01"), nullptr);  // a non-digit field counts as 0
    EXPECT_EQ(img_load_pnm(temp_path("missing.pnm").c_str()), nullptr);

    const std::vector<std::string> refused = {
        "P7\n1 1\n255\n\x01\x02\x03",
        "P6\n0 1\n255\n",
        "P",
        "P6 # comment without end",
        "P6\n2 1\n255\n\x12\x34\x56\xFF\x00"s,
        "P4\n12 2\n\xA5\x0F\xF0"s,
        "P3\n2 1\n255\n1 2 3 4 5\n#",
        "P2\n2 1\n255\n7",
        "P1\n4 1\n0110",
        "P5 65536 1025 255\n",  // more pixels than the readers accept
    };
    for (const std::string& bytes : refused) {
        EXPECT_EQ(from_file(bytes), nullptr) << bytes;
    }
}

TEST(PnmWriter, WritesBinaryP6ThatReadsBack)
{
    ImagePtr image = make_image(3, 2);
    const Pixels colours = {0xFF123456, 0x000000, 0xFFFFFF, 0x0A0B0C, 0x800000, 0x000080};
    std::ranges::copy(colours, image->pixels);
    const std::string path = temp_path("out.ppm");
    ASSERT_EQ(img_save_pnm(image.get(), path.c_str()), 1);
    EXPECT_EQ(read_file(path), "P6\n3 2\n255\n\x12\x34\x56\0\0\0\xFF\xFF\xFF\x0A\x0B\x0C\x80\0\0\0\0\x80"s);
    image->pixels[0] = 0x123456;  // the top byte is not written
    EXPECT_EQ(decode(from_file, read_file(path), 3, 2), Pixels(image->pixels, image->pixels + 6));
    std::remove(path.c_str());

    EXPECT_EQ(img_save_pnm(nullptr, path.c_str()) + img_save_pnm(image.get(), nullptr), 0);
    EXPECT_EQ(img_save_pnm(image.get(), "/nonexistent-dir/out.ppm"), 0);
    img_resize(image.get(), 0, 4);
    EXPECT_EQ(img_save_pnm(image.get(), path.c_str()), 0);
    EXPECT_EQ(read_file(path), "");
}

TEST(ImgText, LayoutRoundTripRefusalsAndFind)
{
    ImagePtr image = make_image(7, 1);
    for (uint32_t i = 0; i < 7; i++) {
        image->pixels[i] = i * 0x010101;
    }
    image->pixels[0] = 0xFFFF8001;  // the top byte is dropped
    EXPECT_EQ(text_of(image.get()), "IMG{\nP3\n7 1\n255\n"
                                    "255 128   1   1   1   1   2   2   2   3   3   3   4   4   4   5   5   5\n"
                                    "  6   6   6\n}\n");
    img_resize(image.get(), 3, 2);  // the sixth pixel is the last: no second newline
    EXPECT_EQ(text_of(image.get()).substr(16 + 5 * 12), "  0   0   0\n}\n");
    img_resize(image.get(), 0, 3);
    EXPECT_EQ(text_of(image.get()), "IMG{}");
    EXPECT_EQ(img_to_text(nullptr), nullptr);

    img_resize(image.get(), 13, 5);
    for (int32_t i = 0; i < 13 * 5; i++) {
        image->pixels[i] = static_cast<uint32_t>(rand()) & 0xFFFFFF;
    }
    const std::string text = text_of(image.get());
    EXPECT_EQ(img_equal(image.get(), ImagePtr(img_from_text(text.c_str())).get()), 1);
    EXPECT_EQ(img_from_text(text.substr(0, text.size() - 10).c_str()), nullptr);  // cut inside the samples
    const ImagePtr junk(img_from_text("junk IMG x { P3\n2 1\n9\n1 2 3\n256 0 0"));
    EXPECT_EQ(row_of(junk.get(), 0), (Pixels{0x010203, 0x01000000}));
    const ImagePtr empty(img_from_text("IMG{\nP3\n0 2\n255\n}\n"));  // an Image without pixels
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->width * 10 + empty->height, 2);
    for (const char* refused : {"IMG{}", "{IMG\nP3\n1 1\n255\n1 2 3", "IMG{\nP3\n1 1\n255",
                                "IMG{\nP3\n99999999999 99999999999\n255\n", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(img_from_text(refused), nullptr) << (refused ? refused : "null");
    }
    for (const auto& [text, offset] : {std::pair{"abcIMG{", 6}, {"XMG", 0}, {"IIMG", 4}, {"IMGIMG", 3}, {"", 0}}) {
        EXPECT_EQ(img_find_text(text, "IMG"), offset) << text;
    }
}

// Complete pictures of every kind, each as short as its reader allows: the
// last ASCII sample needs the byte that ends it, P1 digits and binary data
// do not. Every shorter prefix is cut inside the picture.
const std::string complete_pictures[] = {
    "P1\n# comment 9\n4 1\n0110", "P2\n3 1\n255\n1 20 255\n", "P3 1 1 255 10 20 300\n", "P4\n12 1\n\xA5\x0F"s,
    "3 P4 2\n\xA0"s,              "P5\n2 1\n255\n\x80\x00"s, "P6\n1 1\n255\n\x12\x34\x56"s,
};

// Reads each prefix of `picture` from an exact-size heap copy, so
// AddressSanitizer reports any read past its end.
template <typename Grid>
void check_bounded(const std::string& picture, Grid* (*bounded)(const uint8_t*, size_t),
                   Grid* (*unbounded)(const uint8_t*), int32_t (*equal)(const Grid*, const Grid*),
                   void (*release)(Grid**))
{
    for (size_t size = 0; size <= picture.size(); size++) {
        const auto bytes = std::make_unique<uint8_t[]>(size);
        std::copy_n(picture.data(), size, bytes.get());
        Grid* grid = bounded(bytes.get(), size);
        Grid* expected = size == picture.size() ? unbounded(bytes.get()) : nullptr;
        EXPECT_TRUE(grid == expected || equal(grid, expected) == 1) << picture << " cut at " << size;
        release(&grid);
        release(&expected);
    }
}

TEST(PnmBytes, ReadCompletePicturesAsTheMemoryReaderAndRefuseEveryPrefix)
{
    for (const std::string& picture : complete_pictures) {
        check_bounded(picture, img_from_pnm_bytes, img_from_pnm, img_equal, img_free);
        check_bounded(picture, bytemap_from_pnm_bytes, bytemap_from_pnm, bytemap_equal, bytemap_free);
    }
    const std::string cut = "P2\n3 2\n255\n1 2";
    EXPECT_EQ(img_from_pnm_bytes(reinterpret_cast<const uint8_t*>(cut.data()), cut.size()), nullptr);
    EXPECT_EQ(bytemap_from_pnm_bytes(nullptr, 0), nullptr);
    // In memory the "x" is never consumed, so this header would never end.
    const std::string endless = "1 1 x P5\n\x01";
    EXPECT_EQ(img_from_pnm_bytes(reinterpret_cast<const uint8_t*>(endless.data()), endless.size()), nullptr);
    EXPECT_EQ(bytemap_from_pnm(reinterpret_cast<const uint8_t*>(endless.data())), nullptr);
}
