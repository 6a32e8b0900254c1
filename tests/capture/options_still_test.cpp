// Command-line refusals and the key list; the checksums of the PNG writer
// and the digest of the stored references.
#include "capture_options.h"
#include "capture_still.h"
#include "sha256.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

struct Parsed {
    bool ok;
    CaptureOptions options;
    std::string error;
};

Parsed parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "kelp4090-capture");
    Parsed parsed{};
    parsed.ok = capture_parse_options(static_cast<int>(arguments.size()), arguments.data(), parsed.options,
                                      parsed.error);
    return parsed;
}

std::span<const uint8_t> bytes_of(std::string_view text)
{
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

}  // namespace

TEST(CaptureOptions, RefusalsNameTheOffendingArgument)
{
    const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
        {{"-o", "x.mp4", "--scale", "9"}, "--scale: '9'"},
        {{"-o", "x.mp4", "--scale", "2x"}, "--scale: '2x'"},
        {{"-o", "x.mp4", "--frames", "0"}, "--frames: '0'"},
        {{"-o", "x.mp4", "--passes", "11"}, "--passes: '11'"},
        {{"-o", "x.mp4", "--keys", "10:space,12"}, "--keys: '12'"},
        {{"-o", "x.mp4", "--keys", "10:shift"}, "--keys: '10:shift'"},
        {{"-o", "x.mp4", "--passes", "2", "--frames", "5"}, "--passes and --frames"},
        {{"--frame", "3", "-o", "x.mp4"}, "-o: a still"},
        {{"-o", "x.png"}, "--frame N"},
        {{"--wav"}, "--wav needs a value"},
        {{"--scale=3", "--fast"}, "'--fast'"},
        {{"--benchmark", "-o", "x.mp4"}, "--benchmark"},
        {{}, "nothing to write"},
        {{"-o", "x.mp4", "--fit", "0x0"}, "--fit: '0x0' is smaller than the picture, 256x256"},
        {{"-o", "x.mp4", "--fit", "1921x1080"}, "--fit: '1921x1080' has an odd side"},
        {{"-o", "x.mp4", "--fit", "200x200"}, "--fit: '200x200' is smaller"},
        {{"-o", "x.mp4", "--fit", "8194x4320"}, "--fit: '8194x4320' is larger than 8192x8192"},
        {{"-o", "x.mp4", "--fit", "abc"}, "--fit: 'abc' is not WIDTHxHEIGHT"},
        {{"-o", "x.mp4", "--fit", "1920x"}, "--fit: '1920x' is not WIDTHxHEIGHT"},
        {{"-o", "x.mp4", "--fit", "1920x1080", "--scale", "2"}, "--fit and --scale exclude each other"},
    };
    for (const auto& [arguments, named] : cases) {
        const Parsed parsed = parse(arguments);
        EXPECT_FALSE(parsed.ok) << named;
        EXPECT_NE(parsed.error.find(named), std::string::npos) << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << parsed.error;
    }
}

TEST(CaptureOptions, KeysAreReadAsSymbolsAStillRendersUpToItsFrameAndTheSizeFollowsScaleOrFit)
{
    const Parsed keyed = parse({"--wav", "x.wav", "--keys=300:q,10:space,20:esc,25:8"});
    ASSERT_TRUE(keyed.ok) << keyed.error;
    std::vector<std::pair<int64_t, int32_t>> keys;
    for (const VirtualKey& key : keyed.options.keys) {
        keys.emplace_back(key.frame, key.symbol);
    }
    EXPECT_EQ(keys, (std::vector<std::pair<int64_t, int32_t>>{{300, 'q'}, {10, ' '}, {20, 27}, {25, '8'}}));
    EXPECT_EQ(keyed.options.frames, 0);

    const Parsed still = parse({"--frame", "40", "-o", "x.png", "--scale", "1"});
    ASSERT_TRUE(still.ok) << still.error;
    EXPECT_EQ(still.options.frames, 41);
    EXPECT_EQ(capture_options_layout(still.options).width, 256);

    const Parsed fitted = parse({"-o", "x.mp4", "--fit=1920x1080"});
    ASSERT_TRUE(fitted.ok) << fitted.error;
    const CaptureLayout layout = capture_options_layout(fitted.options);
    EXPECT_EQ(layout.width, 1920);
    EXPECT_EQ(layout.height, 1080);
    EXPECT_EQ(layout.scale, 4);
    EXPECT_EQ(capture_options_layout(parse({"-o", "x.mp4"}).options).width, 1024);
}

TEST(Checksums, CrcAdlerAndSha256MatchTheirPublishedCheckValues)
{
    EXPECT_EQ(capture_crc32(bytes_of("123456789")), 0xCBF43926u);
    EXPECT_EQ(capture_crc32({}), 0u);
    EXPECT_EQ(capture_adler32(bytes_of("Wikipedia")), 0x11E60398u);
    EXPECT_EQ(capture_adler32({}), 1u);
    EXPECT_EQ(sha256_of(bytes_of("abc")), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256_of({}), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    // 56 bytes: the length no longer fits the first block, so the padding takes a second one.
    EXPECT_EQ(sha256_of(bytes_of("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    // Fed in pieces that straddle the blocks, and as little-endian words.
    const std::string million(1000000, 'a');
    Sha256 pieces = sha256_begin();
    for (size_t at = 0; at < million.size(); at += 999) {
        sha256_add(pieces, bytes_of(std::string_view(million).substr(at, 999)));
    }
    EXPECT_EQ(sha256_hex(pieces), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    const std::vector<uint32_t> words = {0x00636261};  // "abc" and a zero byte
    Sha256 little = sha256_begin();
    sha256_add_le(little, std::span<const uint32_t>(words));
    EXPECT_EQ(sha256_hex(little), sha256_of(bytes_of(std::string_view("abc\0", 4))));
}
