#include "sample_values.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using V = std::vector<int32_t>;
using Bytes = std::vector<uint8_t>;

namespace {

Bytes written(const V& values, int32_t width, char order)
{
    FILE* file = tmpfile();
    sample_write_raw(make_sample(values).get(), file, width, order);
    rewind(file);
    Bytes bytes;
    for (int c = fgetc(file); c != EOF; c = fgetc(file)) {
        bytes.push_back(static_cast<uint8_t>(c));
    }
    fclose(file);
    return bytes;
}

SamplePtr read_back(const Bytes& bytes, int32_t width, char order, char sign)
{
    FILE* file = tmpfile();
    for (uint8_t byte : bytes) {
        fputc(byte, file);
    }
    rewind(file);
    SamplePtr s(sample_read_raw(file, width, order, sign));
    fclose(file);
    return s;
}

std::string text_of(const Sample* s)
{
    char* text = sample_to_text(s);
    std::string result = text ? text : "(null)";
    free(text);
    return result;
}

SamplePtr parsed(const char* text)
{
    return SamplePtr(sample_from_text(text));
}

}  // namespace

TEST(SampleRaw, WriterClampsAndOrdersBytes)
{
    EXPECT_EQ(written({40000}, 16, 'l'), Bytes({0xFF, 0x7F}));
    EXPECT_EQ(written({-2}, 12, 'x'), Bytes({0xFE, 0xFF}));
    EXPECT_EQ(written({300, -300, 5}, 8, 'b'), Bytes({0x7F, 0x80, 0x05}));
    EXPECT_EQ(written({INT32_MIN}, 32, 'l'), Bytes({0x01, 0x00, 0x00, 0x80}));
    EXPECT_EQ(written({-9000000, 0x010203}, 24, 'b'), Bytes({0x80, 0x00, 0x00, 0x01, 0x02, 0x03}));
    sample_write_raw(nullptr, nullptr, 16, 'l');
}

TEST(SampleRaw, ReaderScalesToSixteenBits)
{
    EXPECT_EQ(values_of(read_back({0x01, 0x80}, 16, 'l', 's').get()), V({-32767}));
    EXPECT_EQ(values_of(read_back({0x01, 0x80}, 16, 'b', 's').get()), V({384}));
    EXPECT_EQ(values_of(read_back({0xFF, 0x00}, 8, 'l', 's').get()), V({-256, 0}));
    EXPECT_EQ(values_of(read_back({0xFF, 0x00}, 8, 'b', 'u').get()), V({127 * 256, -32768}));
    EXPECT_EQ(values_of(read_back({1, 2, 3}, 16, 'l', 's').get()), V({0x0201}));
    EXPECT_EQ(read_back({}, 16, 'l', 's')->capacity, 1024);
    EXPECT_EQ(read_back(Bytes(2048, 0), 8, 'l', 's')->capacity, 4096);
    EXPECT_EQ(read_back({1, 2}, 12, 'l', 's'), nullptr);
    EXPECT_EQ(read_back({1, 2}, 16, 'l', 'x'), nullptr);
    EXPECT_EQ(sample_read_raw(nullptr, 16, 'l', 's'), nullptr);
}

TEST(SampleText, RoundTripAndForgivingScan)
{
    SamplePtr s = make_sample({5, -3});
    EXPECT_EQ(text_of(s.get()), "SAMPLE{2\n5\n-3\n}\n");
    SamplePtr extremes = make_sample({INT32_MIN, INT32_MAX, 0, -1});
    SamplePtr again = parsed(text_of(extremes.get()).c_str());
    EXPECT_TRUE(sample_equal(again.get(), extremes.get()));
    EXPECT_EQ(again->capacity, 4);

    SamplePtr empty(sample_new());
    EXPECT_EQ(text_of(empty.get()), "SAMPLE{}\n");
    EXPECT_EQ(parsed("SAMPLE{}\n")->count, 0);
    EXPECT_EQ(values_of(parsed("xxSAMPLE{ 3 : 10, -20, 30 }").get()), V({10, -20, 30}));
    EXPECT_EQ(values_of(parsed("SAMPLE{3 -x 4294967297 -}").get()), V({0, 1, 0}));
    EXPECT_EQ(text_of(nullptr), "(null)");
}

TEST(SampleText, MalformedTextGivesNull)
{
    for (const char* text : {"SAMPL{1 2}", "SAMPLE 1 2", "SAMPLE{", "SAMPLE{3\n1\n2\n", "SAMPLE{99999999999999999999999 1}",
                             "SAMPLE{2000000000 1 2 3}", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(parsed(text), nullptr) << (text ? text : "null");
    }
}
