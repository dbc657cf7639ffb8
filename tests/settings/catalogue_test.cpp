#include "settings/catalogue.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cctype>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>

#include "settings/ascii_case.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class CatalogueTest : public ::testing::Test {
protected:
    testing::TempDir m_temp;
    std::string m_dir = m_temp.path();
    std::string m_path = m_temp.file("pyxo.ini");
};

std::string describe(const SettingKey& entry) {
    return std::string(entry.section) + "/" + std::string(entry.key) + " [" +
           std::string(entry.reader) + "]";
}

bool isDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    return true;
}

TEST(CatalogueTableTest, EachReaderOfAKeyHasOneEntryAndSpellingsAgree) {
    for (std::size_t i = 0; i < std::size(kCatalogue); ++i) {
        for (std::size_t j = i + 1; j < std::size(kCatalogue); ++j) {
            const SettingKey& a = kCatalogue[i];
            const SettingKey& b = kCatalogue[j];
            EXPECT_FALSE(a.section == b.section && a.key == b.key && a.reader == b.reader)
                << "twice: " << describe(a);
            // Two spellings of one name are one entry in the file: the same reader must not
            // get a different type or default depending on how the code spells it.
            if (equalsIgnoringAsciiCase(a.section, b.section) &&
                equalsIgnoringAsciiCase(a.key, b.key) && a.reader == b.reader) {
                EXPECT_TRUE(a.type == b.type && a.defaultValue == b.defaultValue &&
                            a.hasDefault == b.hasDefault)
                    << describe(a) << " disagrees with " << describe(b);
            }
        }
    }
}

TEST(CatalogueTableTest, DefaultsParseAsTheirType) {
    for (const SettingKey& entry : kCatalogue) {
        if (!entry.hasDefault) {
            EXPECT_TRUE(entry.defaultValue.empty()) << describe(entry);
            continue;
        }
        if (entry.type == KeyType::Int || entry.type == KeyType::Colour) {
            EXPECT_TRUE(isDecimal(entry.defaultValue)) << describe(entry);
        }
        if (entry.type == KeyType::Colour) {
            int value = parseDecimal(entry.defaultValue);
            EXPECT_TRUE(value >= 0 && value <= 0xFFFFFF) << describe(entry);
        }
        if (entry.type == KeyType::Font) {
            std::istringstream fields{std::string(entry.defaultValue)};
            int count = 0;
            for (std::string field; fields >> field; ++count) {
                EXPECT_TRUE(isDecimal(field)) << describe(entry);
            }
            EXPECT_EQ(count, 16) << describe(entry);
        }
    }
}

TEST_F(CatalogueTest, FirstStartWithoutFileRunsOnTheDefaults) {
    Profile profile(m_path);
    EXPECT_EQ(readString(profile, settingKey("Setting", "Filename")), "*.*");
    EXPECT_EQ(readInt(profile, settingKey("Color", "BkColor")), 16777215);
    EXPECT_EQ(readInt(profile, settingKey("Color", "TxtColor")), 0);
    EXPECT_EQ(readString(profile, settingKey("Disp", "FontFace")), "FixedSys");
    EXPECT_EQ(readString(profile, settingKey("DispOption", "TabStop")), "15");
    EXPECT_EQ(readString(profile, settingKey("Options", "Xsize")), "80");
    EXPECT_EQ(readString(profile, settingKey("Sort", "MaxLine")), "40000");
    EXPECT_EQ(readInt(profile, settingKey("Sort", "MaxLine", "columnSort")), 100000);
    EXPECT_FALSE(std::filesystem::exists(m_path));
}

TEST_F(CatalogueTest, TwoSpellingsOfANameReachTheSameEntryInTheFile) {
    {
        Profile writer(m_path);
        writeInt(writer, settingKey("Options", "NoCRLF"), 1);
        writeInt(writer, settingKey("Display", "Toolbar1"), 0);
        writeInt(writer, settingKey("Excolloq", "bNoAsk"), 1);
        writeString(writer, settingKey("CorpusSet", "*resdir"), "kept");
        ASSERT_TRUE(writer.flush());
    }
    Profile reader(m_path);
    EXPECT_EQ(readInt(reader, settingKey("Options", "NoCrlf")), 1);
    EXPECT_EQ(readInt(reader, settingKey("Display", "ToolBar1")), 0);
    EXPECT_EQ(readInt(reader, settingKey("ExColloq", "bNoAsk")), 1);
    EXPECT_EQ(readString(reader, settingKey("CorpusSet", "*ResDir")), "kept");
}

}  // namespace
}  // namespace vellmora
