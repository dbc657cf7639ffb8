#include "containers/archive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/containers/temp_file.h"

namespace vellmora {
namespace {

using testing::TempFile;

TEST(Archive, IntegersAreLittleEndianBothWays) {
    TempFile out;
    ArchiveWriter writer(out.file());
    writer.writeU8(0xAB);
    writer.writeU16(0x1234);
    writer.writeI16(-2);
    writer.writeU32(0x89ABCDEF);
    writer.writeI32(-3);
    ASSERT_TRUE(writer.flush());
    EXPECT_EQ(out.bytes(), std::string("\xAB\x34\x12\xFE\xFF\xEF\xCD\xAB\x89\xFD\xFF\xFF\xFF", 13));

    ArchiveReader reader(out.file());
    std::uint8_t u8;
    std::uint16_t u16;
    std::int16_t i16;
    std::uint32_t u32;
    std::int32_t i32;
    EXPECT_TRUE(reader.readU8(u8) && reader.readU16(u16) && reader.readI16(i16) &&
                reader.readU32(u32) && reader.readI32(i32));
    EXPECT_EQ(u8, 0xAB);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(u32, 0x89ABCDEFu);
    EXPECT_EQ(i32, -3);
}

TEST(Archive, StringLengthPrefixFormsAtTheirLimits) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, std::string("\x00", 1)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {0xFFFD, "\xFF\xFD\xFF"},
        {0xFFFE, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        if (!text.empty()) text.front() = '\0', text.back() = '\xFF';  // any byte goes through
        TempFile out;
        ArchiveWriter writer(out.file());
        writer.writeString(text);
        ASSERT_TRUE(writer.flush());
        const std::string bytes = out.bytes();
        EXPECT_EQ(bytes, c.prefix + text);

        ArchiveReader reader(out.file());
        std::string back = "stale";
        EXPECT_TRUE(reader.readString(back));
        EXPECT_EQ(back, text);
    }
}

TEST(Archive, ShortInputFailsAtEveryCutAndStaysFailed) {
    TempFile out;
    ArchiveWriter writer(out.file());
    writer.writeU32(7);
    writer.writeString("abc");
    writer.writeString(std::string(300, 'y'));
    ASSERT_TRUE(writer.flush());
    const std::string whole = out.bytes();
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        SCOPED_TRACE(cut);
        TempFile in(whole.substr(0, cut));
        ArchiveReader reader(in.file());
        std::uint32_t number;
        std::string a, b;
        reader.readU32(number);
        reader.readString(a);
        EXPECT_FALSE(reader.readString(b));
        EXPECT_TRUE(b.empty());
        EXPECT_FALSE(reader.ok());
        // Later reads fail too and give zero, even where bytes would be left.
        EXPECT_FALSE(reader.readU32(number));
        EXPECT_EQ(number, 0u);
    }
}

TEST(Archive, HugeClaimedLengthFailsAtEndOfInputWithoutAllocatingIt) {
    // Claims 4 GiB - 1 bytes but holds three; an up-front allocation would exhaust memory
    // (and trip the sanitizer's allocation limit).
    TempFile in(
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF"
                    "abc",
                    10));
    ArchiveReader reader(in.file());
    std::string text;
    EXPECT_FALSE(reader.readString(text));
    EXPECT_TRUE(text.empty());
}

TEST(Archive, SixteenBitLength0xFFFEIsRefused) {
    TempFile in(std::string("\xFF\xFE\xFF\x02\x00\x00\x00", 7));
    ArchiveReader reader(in.file());
    std::string text;
    EXPECT_FALSE(reader.readString(text));
    EXPECT_FALSE(reader.ok());
}

TEST(Archive, WriteFailuresStick) {
    std::FILE* readOnly = std::fopen("/dev/null", "rb");
    ASSERT_NE(readOnly, nullptr);
    ArchiveWriter refused(readOnly);
    refused.writeU32(1);
    EXPECT_FALSE(refused.ok());
    std::fclose(readOnly);

    // A full disk shows only when the buffered bytes go out.
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    ArchiveWriter writer(full);
    writer.writeString("abc");
    EXPECT_FALSE(writer.flush());
    EXPECT_FALSE(writer.ok());
    std::fclose(full);

    EXPECT_FALSE(ArchiveWriter(nullptr).ok());
    EXPECT_FALSE(ArchiveReader(nullptr).ok());
}

}  // namespace
}  // namespace vellmora
