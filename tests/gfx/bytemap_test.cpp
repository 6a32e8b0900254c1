// BYTEMAP: drawing checked against the Image twin on byte values, the
// places where bytes differ (wrap, fade, half blend, palette), and the
// codec's grey conversions and text form.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bytemap.h"
#include "gfx_test_helpers.h"

namespace {

struct ByteMapFree {
    void operator()(ByteMap* map) const { bytemap_free(&map); }
};
using ByteMapPtr = std::unique_ptr<ByteMap, ByteMapFree>;
using Bytes = std::vector<uint8_t>;

// A w x h map whose value i is (first + 7i) mod 256: distinct neighbours,
// and a 0 (the key) now and then.
ByteMapPtr make_map(int32_t w, int32_t h, uint32_t first)
{
    ByteMapPtr map(bytemap_new());
    bytemap_resize(map.get(), w, h);
    for (int32_t i = 0; i < w * h; i++) {
        map->pixels[i] = static_cast<uint8_t>(first + 7 * i);
    }
    return map;
}

ImagePtr twin_of(const ByteMap* map)
{
    ImagePtr image = make_image(map->width, map->height);
    std::copy_n(map->pixels, map->width * map->height, image->pixels);
    return image;
}

// The values of a ByteMap, or the low bytes of an Image's pixels.
template <typename Grid>
Bytes values(const Grid* grid)
{
    Bytes bytes;
    for (int32_t i = 0; grid && i < grid->width * grid->height; i++) {
        bytes.push_back(static_cast<uint8_t>(grid->pixels[i]));
    }
    return bytes;
}

template <typename... Calls>
std::string bytemap_errors_of(Calls... calls)
{
    testing::internal::CaptureStdout();
    bytemap_debug = 1;
    (calls(), ...);
    bytemap_debug = 0;
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(ByteMap, DrawingMatchesTheImageTwinOnByteValues)
{
    const ByteMapPtr src = make_map(6, 5, 3);
    src->pixels[7] = 0;  // a keyed value
    const ImagePtr src_image = twin_of(src.get());
    for (int32_t a : {-7, -2, 0, 3, 6}) {
        for (int32_t b : {-4, 0, 2, 5}) {
            ByteMapPtr map = make_map(8, 7, 200);
            ImagePtr image = twin_of(map.get());
            bytemap_blit(src.get(), map.get(), a, b, b, a, 5, 4);
            img_blit(src_image.get(), image.get(), a, b, b, a, 5, 4);
            bytemap_blit_spread(src.get(), map.get(), b, b, a, a + 1, 4, 3, 2, 3);
            img_blit_spread(src_image.get(), image.get(), b, b, a, a + 1, 4, 3, 2, 3);
            bytemap_blend(src.get(), map.get(), a, b);
            img_blend(src_image.get(), image.get(), a, b);
            bytemap_blit_row_wrap(src.get(), map.get(), 1, 2, a);
            img_blit_row_wrap(src_image.get(), image.get(), 1, 2, a);
            bytemap_or_row_wrap(src.get(), map.get(), 4, 6, b);
            img_or_row_wrap(src_image.get(), image.get(), 4, 6, b);
            bytemap_blit_column_wrap(src.get(), map.get(), 5, 7, b);
            img_blit_column_wrap(src_image.get(), image.get(), 5, 7, b);
            bytemap_circle(map.get(), a + 7, b + 4, 5 - b, 9);
            img_circle(image.get(), a + 7, b + 4, 5 - b, 9);
            ASSERT_EQ(values(map.get()), values(image.get())) << a << " " << b;
            bytemap_fade(map.get(), 256 + 3 * b + 13);  // only the low byte counts
            img_fade(image.get(), 256 + 3 * b + 13);
            ASSERT_EQ(values(map.get()), values(image.get())) << a << " " << b;
        }
    }
    ByteMapPtr map = make_map(8, 7, 1);
    ImagePtr image = twin_of(map.get());
    bytemap_rect(map.get(), 1, 2, 6, 5, 9);
    img_rect(image.get(), 1, 2, 6, 5, 9);
    bytemap_and(src.get(), map.get());
    img_and(src_image.get(), image.get());
    EXPECT_EQ(values(map.get()), values(image.get()));

    for (const auto& [w, h] : {std::pair{2, 3}, {13, 4}, {4, 11}, {9, 9}, {3, 2}}) {
        bytemap_resize(map.get(), w, h);
        img_resize(image.get(), w, h);
        bytemap_scale(src.get(), map.get());
        img_scale(src_image.get(), image.get());
        EXPECT_EQ(values(map.get()), values(image.get())) << w << "x" << h;
    }
    for (int32_t angle : {0, 100, 300, -700}) {
        ByteMapPtr turned(bytemap_rotate(src.get(), angle));
        ImagePtr turned_image(img_rotate(src_image.get(), angle));
        ASSERT_TRUE(turned && turned_image);
        EXPECT_EQ(turned->width, turned_image->width);
        EXPECT_EQ(values(turned.get()), values(turned_image.get())) << angle;
    }
}

TEST(ByteMap, ValuesWrapFadeAndBlendAsBytes)
{
    ByteMapPtr map = make_map(4, 1, 0);
    bytemap_put_pixel(map.get(), 1, 0, 0x1FF);
    EXPECT_EQ(bytemap_get_pixel(map.get(), 1, 0), 255);
    for (const auto& [from, add, to] : {std::tuple{250, 10, 4}, {0, 255, 255}, {5, 255, 4}, {7, 256, 7}}) {
        map->pixels[2] = static_cast<uint8_t>(from);
        bytemap_add_value(map.get(), add);
        EXPECT_EQ(map->pixels[2], to) << from << " + " << add;
    }
    map->pixels[0] = 5;
    map->pixels[1] = 200;
    bytemap_fade(map.get(), 8);
    EXPECT_EQ(values(map.get())[0], 0);
    EXPECT_EQ(values(map.get())[1], 192);

    ByteMapPtr white = make_map(1, 1, 255);
    bytemap_blend(white.get(), white.get(), 0, 0);
    EXPECT_EQ(white->pixels[0], 254);

    const Bytes before = values(map.get());
    EXPECT_EQ(bytemap_errors_of([&] { bytemap_fill_rect(map.get(), 1, 0, 4, 1, 9); },
                                [&] { bytemap_rect(map.get(), 0, 0, 4, 2, 9); },
                                [&] { EXPECT_EQ(bytemap_get_pixel(map.get(), 4, 0), 0); }),
              "BYTEMAP error\nBYTEMAP error\n");
    EXPECT_EQ(values(map.get()), before);
}

TEST(ByteMap, ToImageLooksEveryValueUpInThePalette)
{
    ByteMapPtr map = make_map(3, 2, 250);
    ImagePtr image = make_image(3, 3);
    Palette* palette = palette_new();
    for (int32_t i = 0; i < 256; i++) {
        palette->data[i] = 0x10000 * i + 0x0101 * (255 - i);
    }
    palette->count = 255;
    ImagePtr narrow = make_image(4, 2);
    ImagePtr short_image = make_image(3, 1);
    EXPECT_EQ(bytemap_errors_of([&] { bytemap_to_image(map.get(), image.get(), palette); },
                                [&] { bytemap_to_image(map.get(), image.get(), nullptr); }),
              "BYTEMAP error\nBYTEMAP error\n");
    palette->count = 256;
    bytemap_to_image(map.get(), narrow.get(), palette);
    bytemap_to_image(map.get(), short_image.get(), palette);
    EXPECT_EQ(img_get_pixel(narrow.get(), 0, 0) | img_get_pixel(short_image.get(), 0, 0), 0u);
    bytemap_to_image(map.get(), image.get(), palette);
    for (int32_t i = 0; i < 6; i++) {
        EXPECT_EQ(image->pixels[i], static_cast<uint32_t>(palette->data[map->pixels[i]])) << i;
    }
    EXPECT_EQ(image->pixels[6], 0u);
    palette_free(&palette);
}

namespace {

// Reads PNM bytes through the memory reader (zero padding stands in for the
// rest of an embedded picture) or through a file.
ByteMapPtr from_memory(const std::string& bytes)
{
    const std::string padded = bytes + std::string(64, '\0');
    return ByteMapPtr(bytemap_from_pnm(reinterpret_cast<const uint8_t*>(padded.data())));
}

std::string temp_path()
{
    return testing::TempDir() + "bytemap_" + std::to_string(getpid()) + ".pnm";
}

ByteMapPtr from_file(const std::string& bytes)
{
    std::ofstream(temp_path(), std::ios::binary) << bytes;
    ByteMapPtr map(bytemap_load_pnm(temp_path().c_str()));
    std::remove(temp_path().c_str());
    return map;
}

}  // namespace

TEST(ByteMap, ReadersTurnEveryKindIntoOneGreyByteAndFollowTheImageReader)
{
    using namespace std::string_literals;
    // (0x12 + 0x34 + 0x56) / 3 = 52; ASCII samples are summed unmasked.
    EXPECT_EQ(values(from_memory("P6\n# comment 9\n2 1\n255\n\x12\x34\x56\xFF\xFF\xFE"s).get()), (Bytes{52, 254}));
    EXPECT_EQ(values(from_file("P6 2 1 255 \x12\x34\x56\xFF\xFF\xFE"s).get()), (Bytes{52, 254}));
    EXPECT_EQ(values(from_memory("P3\n2 1\n255\n10 20 31 300 0 0\n").get()), (Bytes{20, 100}));
    EXPECT_EQ(values(from_memory("P5\n2 1\n255\n\x80\x00"s).get()), (Bytes{128, 0}));
    EXPECT_EQ(values(from_file("P2\n2 1\n255\n300 7\n").get()), (Bytes{44, 7}));
    // P4: a set bit is white; a file row skips the bits that pad it to whole bytes.
    EXPECT_EQ(values(from_file("P4\n12 1\n\xA0\xFF"s).get()), (Bytes{255, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255}));
    // A width read before the magic is not rounded: row 2 takes bits 3-5 of 0xA0.
    EXPECT_EQ(values(from_memory("3 P4 2\n\xA0\xFF").get()), (Bytes{255, 0, 255, 0, 0, 0}));
    EXPECT_EQ(from_file("P5\n2 2\n255\n\x01\x02"s), nullptr);
    EXPECT_EQ(from_memory("P7\n1 1\n255\n"), nullptr);

    int32_t* tables[] = {bytemap_run_table(-7, 3), img_run_table(-7, 3), bytemap_line_points(0, 0, -5, -2),
                         img_line_points(0, 0, -5, -2)};
    EXPECT_TRUE(std::equal(tables[0], tables[0] + 4, tables[1]));
    EXPECT_TRUE(std::equal(tables[2], tables[2] + 13, tables[3]));
    std::for_each(std::begin(tables), std::end(tables), free);
}

TEST(ByteMap, TextFormHoldsBlueSamplesAndReadsBackAThird)
{
    ByteMapPtr map = make_map(7, 1, 100);
    char* text = bytemap_to_text(map.get());
    const std::string six = "  0   0 100   0   0 107   0   0 114   0   0 121   0   0 128   0   0 135\n";
    EXPECT_EQ(std::string(text), "BYTEMAP{\nP3\n7 1\n255\n" + six + "  0   0 142\n}\n");
    EXPECT_EQ(values(ByteMapPtr(bytemap_from_text(text)).get()), (Bytes{33, 35, 38, 40, 42, 45, 47}));
    free(text);
    bytemap_resize(map.get(), 0, 5);
    text = bytemap_to_text(map.get());
    EXPECT_STREQ(text, "BYTEMAP{}");
    free(text);

    map = make_map(3, 1, 0xFE);
    ASSERT_EQ(bytemap_save_pnm(map.get(), temp_path().c_str()), 1);
    std::ifstream in(temp_path(), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string("P5\n3 1\n255\n\xFE\x05\x0C", 14));
    EXPECT_EQ(bytemap_equal(ByteMapPtr(bytemap_load_pnm(temp_path().c_str())).get(), map.get()), 1);
    std::remove(temp_path().c_str());
}
