#include "settings/font_record.h"

#include <gtest/gtest.h>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

TEST(FontRecordTest, TheStoredDefaultReadsAsTheDefaultRecordAndWritesBackUnchanged) {
    const FontRecord record = parseFontRecord(kDefaultFontRecordText);
    EXPECT_EQ(record, FontRecord{});
    EXPECT_EQ(formatFontRecord(record), kDefaultFontRecordText);
}

TEST(FontRecordTest, EveryFieldSurvivesARoundTripAndFifteenAndSixteenAreAlwaysZero) {
    FontRecord record;
    record.height = 20;
    record.width = 9;
    record.escapement = 900;
    record.orientation = -900;
    record.weight = 700;
    record.italic = 1;
    record.underline = 1;
    record.strikeOut = 1;
    record.charSet = 0;
    record.outPrecision = 3;
    record.clipPrecision = 4;
    record.quality = 5;
    record.pitchAndFamily = 49;
    record.textColour = 0x123456;
    EXPECT_EQ(formatFontRecord(record), "20 9 900 -900 700 1 1 1 0 3 4 5 49 1193046 0 0");
    EXPECT_EQ(parseFontRecord(formatFontRecord(record)), record);
    EXPECT_EQ(parseFontRecord("20 9 900 -900 700 1 1 1 0 3 4 5 49 1193046 77 -3"), record);
}

TEST(FontRecordTest, HostileTextGivesAUsableRecord) {
    // Nothing that parses: the default.
    EXPECT_EQ(parseFontRecord(""), FontRecord{});
    EXPECT_EQ(parseFontRecord("abc"), FontRecord{});
    EXPECT_EQ(parseFontRecord("   \t  "), FontRecord{});

    // A short record keeps the default for the fields it lacks; reading stops at garbage.
    FontRecord shortRecord = parseFontRecord("-20 0 0 0 700 1");
    EXPECT_EQ(shortRecord.height, -20);
    EXPECT_EQ(shortRecord.weight, 700);
    EXPECT_EQ(shortRecord.italic, 1);
    EXPECT_EQ(shortRecord.charSet, 128);
    EXPECT_EQ(shortRecord.pitchAndFamily, 1);
    FontRecord stopped = parseFontRecord("-16 x 5 5 900");
    EXPECT_EQ(stopped.height, -16);
    EXPECT_EQ(stopped.width, 0);
    EXPECT_EQ(stopped.weight, 400);

    // Sizes that would make a font of absurd size or overflow when negated are cut.
    FontRecord huge = parseFontRecord("-99999999999999999999 2147483648 0 0 -7");
    EXPECT_EQ(huge.height, -kMaxFontHeight);
    EXPECT_EQ(huge.width, kMaxFontHeight);
    EXPECT_EQ(huge.weight, 0);
    EXPECT_EQ(parseFontRecord("-2147483648").height, -kMaxFontHeight);
    EXPECT_EQ(parseFontRecord("13 0 0 0 5000").weight, 1000);

    // The byte fields keep their low byte, as the record stores bytes; the colour 24 bits.
    FontRecord bytes = parseFontRecord("-13 0 0 0 400 300 -1 256 1000 1 2 1 1 -1");
    EXPECT_EQ(bytes.italic, 300 & 0xFF);
    EXPECT_EQ(bytes.underline, 255);
    EXPECT_EQ(bytes.strikeOut, 0);
    EXPECT_EQ(bytes.charSet, 1000 & 0xFF);
    EXPECT_EQ(bytes.textColour, 0xFFFFFF);

    // Blanks and tabs of any number separate; a sign and trailing bytes of a field are read as
    // a decimal conversion reads them.
    FontRecord loose = parseFontRecord("  +12\t\t0  0 0 400px 0");
    EXPECT_EQ(loose.height, 12);
    EXPECT_EQ(loose.weight, 400);
    EXPECT_EQ(parseFontRecord("--5 0").height, FontRecord{}.height);
}

TEST(FontRecordTest, SettingIsReadFromDispAndWrittenWithTheTextColour) {
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    FontSetting setting = readFontSetting(profile);
    EXPECT_EQ(setting.record, FontRecord{});
    EXPECT_EQ(setting.face, "FixedSys");

    setting.record.height = -16;
    setting.record.textColour = 255;
    setting.face = "IPAGothic";
    ASSERT_TRUE(writeFontSetting(profile, setting));

    Profile reread(dir.file("pyxo.ini"));
    EXPECT_EQ(reread.readString("Disp", "Font", ""), "-16 0 0 0 400 0 0 0 128 1 2 1 1 255 0 0");
    EXPECT_EQ(reread.readString("Disp", "FontFace", ""), "IPAGothic");
    EXPECT_EQ(reread.readInt("Color", "TxtColor", -1), 255);
    EXPECT_EQ(readFontSetting(reread).record, setting.record);
}

}  // namespace
}  // namespace vellmora
