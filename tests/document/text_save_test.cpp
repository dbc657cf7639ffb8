#include "document/text_save.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "document/formatted_file.h"
#include "document/utf8_output.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/document/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class TextSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_document.addSearchLine("-----[ a.txt ]-----", 100);
        m_document.addSearchLine("the cat sat", 100);
        m_document.addSortedLine("sorted\r\n");
        m_document.list(ResultKind::Spreadsheet).addTail("a\tb\r\n");
        m_document.selectKind(ResultKind::Sorted);
    }
    void set(std::string_view key, int value) { m_profile.writeInt("SaveOptions", key, value); }
    std::string save() {
        EXPECT_TRUE(writeTextFile(m_document, m_path, m_profile, m_ui));
        return testing::readFileBytes(m_path);
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("out.txt");
    Profile m_profile{m_dir.file("pyxo.ini")};
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"d"};
};

TEST_F(TextSaveTest, ByDefaultOnlyTheDisplayedListIsWrittenBare) {
    EXPECT_EQ(save(), "sorted\r\n");
    EXPECT_GE(m_ui.pumps(), 1);
}

constexpr std::string_view kEverything =
    "===[ Displayed Result ]===\r\nsorted\r\n"
    "===[ Result of Search ]===\r\n-----[ a.txt ]-----\r\nthe cat sat\r\n"
    "===[ Sorted Result ]===\r\nsorted\r\n"
    "===[ TSV,CSV Formatted result ]===\r\na\tb\r\n";

TEST_F(TextSaveTest, SaveAllWritesEveryNonEmptyListUnderItsHeader) {
    set("DispOnly", 0);
    set("SaveAll", 1);
    EXPECT_EQ(save(), kEverything);
}

TEST_F(TextSaveTest, DisplayedOnlyAndSaveAllTogetherWriteTheDisplayedListTwiceAndMore) {
    set("SaveAll", 1);
    EXPECT_EQ(save(), "sorted\r\n" + std::string(kEverything));
}

TEST_F(TextSaveTest, EachKindHasItsOwnHeader) {
    set("DispOnly", 0);
    m_document.addExtractedLine("e\r\n");
    m_document.addCollocationLine("c\r\n");
    const char* keys[] = {"SearchResult", "Extracted", "Sorted", "Colloq", "Spreadsheet"};
    const char* expected[] = {
        "===[ Result of Search ]===\r\n-----[ a.txt ]-----\r\nthe cat sat\r\n",
        "===[ Extracted Result ]===\r\ne\r\n",
        "===[ Sorted Result ]===\r\nsorted\r\n",
        "===[ Collocation Statistics ]===\r\nc\r\n",
        "===[ TSV,CSV Formatted result ]===\r\na\tb\r\n",
    };
    for (int kind = 0; kind < kResultKinds; ++kind) {
        for (const char* key : keys) set(key, 0);
        set(keys[kind], 1);
        EXPECT_EQ(save(), expected[kind]) << keys[kind];
    }
}

TEST_F(TextSaveTest, AnEmptyDisplayedListGetsNoDisplayedHeader) {
    set("DispOnly", 0);
    set("Disp", 1);
    set("Extracted", 1);
    m_document.selectKind(ResultKind::Extracted);
    EXPECT_EQ(save(), "");
}

/// Lines of Shift-JIS as a corpus gives them: the Japanese sample, ASCII with each line-end
/// marker a search can write, half-width katakana, NEC special characters, IBM extensions
/// and code page 932's own mappings of the wave dash, the backslash and the not sign. (The
/// code page's second codes of one character, as 0x87 0x90 for 0x81 0xE0, come back as the
/// first: no UTF-8 save could keep them apart.)
std::vector<std::string> japaneseLines() {
    std::vector<std::string> lines = {"the cat sat/on the mat\r\n",
                                      "the cat sat on the mat\r\n",
                                      "the cat saton the mat\r\n",
                                      "\xB6\xC0\xB6\xC5 \xA1\xDF\r\n",  // ｶﾀｶﾅ ｡ﾟ
                                      "\x87\x40\x87\x54\x87\x8A\x87\x80\r\n",  // ①Ⅰ㈱〝
                                      "\xFB\xFC\xFA\x40\xFA\x55\xFC\x4B\r\n",  // 髙ⅰ￤黑
                                      "\x81\x60\x81\x5F\x81\xCA\x5C\x7E\r\n",
                                      "\xF0\x40 user-defined\r\n",
                                      "a line ending in LF only\n",
                                      "\x82\xA0 and a last line without an end"};
    const std::string sample =
        testing::readFileBytes(std::string(VELLMORA_TEST_DATA) + "/ja/sjis/subset.txt");
    for (std::size_t start = 0, end; (end = sample.find('\n', start)) != std::string::npos;
         start = end + 1)
        lines.insert(lines.end() - 2, sample.substr(start, end - start) + "\r\n");
    return lines;
}

int shell(const std::string& command) { return std::system(command.c_str()); }

TEST_F(TextSaveTest, AUtf8SaveDecodesStrictlyAndConvertsBackToTheShiftJisSave) {
    for (const std::string& line : japaneseLines()) m_document.addSortedLine(line);
    set("SaveAll", 1);  // every list, the displayed one twice, under every header
    const std::string sjis = save();
    set("UTF8", 1);
    const std::string utf8 = save();
    EXPECT_NE(utf8.find("\xE2\x91\xA0\xE2\x85\xA0"), std::string::npos);  // ①Ⅰ
    EXPECT_NE(utf8.find("\xE9\xAB\x99"), std::string::npos);              // 髙
    EXPECT_NE(utf8.find("an end===[ Displayed Result ]===\r\n"), std::string::npos);

    const std::string strictDecode =
        "python3 -c 'import sys; open(sys.argv[1], encoding=\"utf-8\", errors=\"strict\").read()' ";
    EXPECT_EQ(shell(strictDecode + m_path), 0);
    const std::string back = m_dir.file("back.txt");
    ASSERT_EQ(shell("iconv -f UTF-8 -t CP932 " + m_path + " > " + back), 0);
    EXPECT_TRUE(testing::readFileBytes(back) == sjis) << "not the Shift-JIS save's bytes";
}

TEST_F(TextSaveTest, BytesThatStartNoCharacterBecomeOneReplacementEachAndSwallowNothing) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(utf8FromSjis("a\x81\r\n"), "a" + r + "\r\n");
    EXPECT_EQ(utf8FromSjis("\x81 b\x82\xA0"), r + " b\xE3\x81\x82");
    EXPECT_EQ(utf8FromSjis("\x85\x40x\x82"), r + "x" + r);  // a pair the code page leaves empty
    EXPECT_EQ(utf8FromSjis("\x80\xA0\xFD\xFE\xFF\n"), r + r + r + r + r + "\n");
    EXPECT_EQ(utf8FromSjis(std::string("\0\x82", 2)), std::string("\0", 1) + r);
}

TEST_F(TextSaveTest, AnHtmlConversionSavedAsUtf8DeclaresIt) {
    CExStringList& page = m_document.list(ResultKind::Spreadsheet);
    page = CExStringList();
    for (std::string_view line : {"<HTML>\r\n", "<HEAD>\r\n"}) page.addTail(line);
    page.addTail(kHtmlContentTypeLine);
    page.addTail("<TR><TD>\x87\x40</TD></TR>\r\n");
    m_document.addSortedLine(std::string(kHtmlContentTypeLine));  // a hit line, not the page's
    m_document.selectKind(ResultKind::Spreadsheet);
    set("Spreadsheet", 1);
    set("Sorted", 1);
    const std::string sjisPage = "<HTML>\r\n<HEAD>\r\n" + std::string(kHtmlContentTypeLine) +
                                 "<TR><TD>\x87\x40</TD></TR>\r\n";
    const std::string sjisSorted =
        "===[ Sorted Result ]===\r\nsorted\r\n" + std::string(kHtmlContentTypeLine);
    EXPECT_EQ(save(), sjisPage + sjisSorted + "===[ TSV,CSV Formatted result ]===\r\n" + sjisPage);
    set("UTF8", 1);
    const std::string utf8Page = "<HTML>\r\n<HEAD>\r\n" + std::string(kHtmlUtf8ContentTypeLine) +
                                 "<TR><TD>\xE2\x91\xA0</TD></TR>\r\n";
    EXPECT_EQ(save(), utf8Page + sjisSorted + "===[ TSV,CSV Formatted result ]===\r\n" + utf8Page);
}

TEST_F(TextSaveTest, AFailedSaveLeavesTheOldTextFile) {
    testing::writeFileBytes(m_path, "old text");
    for (int i = 0; i < 1000; ++i) m_document.addSortedLine(std::string(100, 'x') + "\r\n");
    {
        testing::FileSizeLimit fullDisk(4096);
        const FileOutcome outcome = writeTextFile(m_document, m_path, m_profile, m_ui);
        EXPECT_FALSE(outcome);
        EXPECT_EQ(outcome.message, kSaveFailedMessage);
    }
    EXPECT_EQ(testing::readFileBytes(m_path), "old text");
    EXPECT_FALSE(writeTextFile(m_document, m_dir.path(), m_profile, m_ui));
}

}  // namespace
}  // namespace vellmora
