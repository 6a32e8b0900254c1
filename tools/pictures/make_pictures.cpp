// make_pictures FONT_TEXT OUTPUT_DIR
// Draws the demo's eight pictures, writes each as a PNM file into OUTPUT_DIR
// and writes pictures_data.cpp there, which holds the same files as byte
// arrays for the program.
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "sheets.h"

struct Picture {
    std::string symbol;  // name of the byte array in the program
    std::string file;    // name of the PNM file
    std::string pnm;     // the complete file image
};

static std::vector<Picture> draw_pictures(const GlyphSet& glyphs)
{
    const std::string by = "drawn by make_pictures";
    return {
        {"pnm_font", "font.pbm",
         pnm_encode_p4(sheet_font(glyphs), {"KELP4090 font", "8x8 glyphs, 16 per row, codes 0-287",
                                            "10 heart, 13 star, 32-127 ASCII", by})},
        {"pnm_sprites", "sprites.ppm",
         pnm_encode_p6(sheet_sprites(glyphs),
                       {"KELP4090 sprite sheet", "32x32 cells, 16 per row, codes 0-127",
                        "hearts, stars, tiles, balls, signature, letters", by})},
        {"pnm_blocks", "blocks.ppm",
         pnm_encode_p6(sheet_blocks(), {"KELP4090 blocks", "16x16 cells, codes 0-7",
                                        "white red orange yellow-green green cyan magenta pink", by})},
        {"pnm_bubbles", "bubbles.ppm",
         pnm_encode_p6(sheet_bubbles(), {"KELP4090 bubbles", "16x16 cells, codes 0-7", "far to near", by})},
        {"pnm_logo", "logo.ppm",
         pnm_encode_p6(sheet_logo(), {"KELP4090 logo", "gold letters on black", "black is transparent", by})},
        {"pnm_frame", "frame.ppm",
         pnm_encode_p6(sheet_window_frame(),
                       {"KELP4090 window frame", "green rim of the D window", "black is transparent", by})},
        {"pnm_mask", "mask.pbm",
         pnm_encode_p4(sheet_window_mask(),
                       {"KELP4090 window mask", "the D window, filled", "set bits are inside", by})},
    };
}

static std::string byte_array(const Picture& picture)
{
    constexpr size_t per_line = 24;
    std::string source = "const uint8_t " + picture.symbol + "[] = {";
    for (size_t i = 0; i < picture.pnm.size(); ++i) {
        source += i % per_line == 0 ? "\n    " : " ";
        source += std::to_string(static_cast<unsigned char>(picture.pnm[i])) + ",";
    }
    source += "\n};\nconst size_t " + picture.symbol + "_size = sizeof(" + picture.symbol + ");\n\n";
    return source;
}

static void write_file(const std::string& path, const std::string& contents)
{
    std::ofstream file(path, std::ios::binary);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!file)
        throw std::runtime_error(path + ": cannot write");
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_pictures FONT_TEXT OUTPUT_DIR\n");
        return 2;
    }
    try {
        const std::vector<Picture> pictures = draw_pictures(glyphs_load(argv[1]));
        const std::string directory = std::string(argv[2]) + "/";
        std::string source =
            "// Written by make_pictures: the demo's pictures as PNM file images.\n"
            "#include \"assets.h\"\n\n";
        for (const Picture& picture : pictures) {
            write_file(directory + picture.file, picture.pnm);
            source += byte_array(picture);
        }
        write_file(directory + "pictures_data.cpp", source);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
