// One frame as a picture: PNG or binary PPM, chosen by the file name.
#pragma once

#include "capture_picture.h"
#include "capture_recorder.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// The picture of frame `frame`, enlarged into the layout.
std::unique_ptr<CaptureSink> capture_still_new(const std::string& path, int64_t frame, const CaptureLayout& layout);

// 8-bit RGB encodings of 0x00RRGGBB pixels. The PNG keeps its pixel data in
// stored (uncompressed) deflate blocks, so it needs no compressor.
std::vector<uint8_t> capture_encode_ppm(const uint32_t* pixels, int32_t width, int32_t height);
std::vector<uint8_t> capture_encode_png(const uint32_t* pixels, int32_t width, int32_t height);

// The checksums PNG asks for: CRC-32 of every chunk, Adler-32 of the zlib data.
uint32_t capture_crc32(std::span<const uint8_t> bytes);
uint32_t capture_adler32(std::span<const uint8_t> bytes);
