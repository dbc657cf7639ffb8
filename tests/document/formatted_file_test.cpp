#include "document/formatted_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/result_document.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/document/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using testing::ByteBuilder;
using testing::ByteCursor;

Lines linesOf(const CPyxoDoc& document, ResultKind kind) {
    const CExStringList& list = document.list(kind);
    return Lines(list.begin(), list.end());
}

void fill(CPyxoDoc& document, ResultKind kind, const Lines& lines) {
    for (const std::string& line : lines) document.list(kind).addTail(line);
}

/// The fields before the lists, as a version-5-to-10 file holds them.
ByteBuilder header(unsigned version, const std::string& keyword1 = "cat") {
    ByteBuilder bytes;
    bytes.u16(version).u16(static_cast<unsigned>(-3)).u16(1);
    bytes.u16(2).u16(1);
    for (int i = 2; i < 27; ++i) bytes.u16(0);
    bytes.str(keyword1).str("dog").u16(7).u16(10);
    return bytes;
}

class FormattedFileTest : public ::testing::Test {
protected:
    /// A document with something distinct in every field the file holds.
    void fillDocument(CPyxoDoc& document) {
        fill(document, ResultKind::Original, {"-----[ a.txt ]-----\r\n", "the cat sat\r\n"});
        fill(document, ResultKind::Extracted, {"the cat sat\r\n"});
        fill(document, ResultKind::Sorted, {"", std::string("\0\x1b\x83\x5c", 4) + "\r\n"});
        fill(document, ResultKind::Collocation, {"cat\t1\r\n"});
        fill(document, ResultKind::Spreadsheet, {"a\tb\r\n", "c\td\r\n"});
        DisplaySnapshot& display = document.snapshot();
        display.keywordColumn = -3;
        display.searchKind = 2;
        display.history[0] = 3;
        display.history[1] = 2;
        display.history[20] = 4;
        display.keyword1 = "\x94\x4c";  // 猫
        display.keyword2 = "sat";
        display.formatSelector = 11;
        display.usableWidth = 120;
        document.collocationValue1 = -7;
        document.collocationValue2 = 1;
        document.reserved.integer = -2;
        document.reserved.strings = {"r1", "r2", "r3", "r4"};
    }

    FileOutcome write(const CPyxoDoc& document) {
        return writeFormattedFile(document, m_path, m_ui);
    }
    FileOutcome read(CPyxoDoc& document) {
        return readFormattedFile(m_path, document, m_ui, m_profile);
    }
    FileOutcome readBytes(const std::string& bytes, CPyxoDoc& document) {
        testing::writeFileBytes(m_path, bytes);
        return read(document);
    }
    std::string fileBytes() const { return testing::readFileBytes(m_path); }
    /// Files in the directory other than the ini: a failed save must leave no litter.
    std::vector<std::string> directoryEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_dir.path()))
            names.push_back(entry.path().filename().string());
        return names;
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("result.vm2");
    Profile m_profile{m_dir.file("pyxo.ini")};
    RecordingUserInterface m_ui;
};

TEST_F(FormattedFileTest, WrittenBytesFollowTheLayoutFieldByField) {
    CPyxoDoc document("d");
    fillDocument(document);
    document.snapshot().keywordColumn = 70000;  // only the low 16 bits are kept
    ASSERT_TRUE(write(document));

    const std::string bytes = fileBytes();
    ByteCursor in(bytes);
    EXPECT_EQ(in.u16(), 11u);
    EXPECT_EQ(in.u16(), 70000u - 65536u);
    EXPECT_EQ(in.u16(), 2u);
    std::vector<int> history;
    for (int i = 0; i < 27; ++i) history.push_back(in.i16());
    EXPECT_EQ(history[0], 3);
    EXPECT_EQ(history[1], 2);
    EXPECT_EQ(history[20], 4);
    EXPECT_EQ(history[26], 0);
    EXPECT_EQ(in.str(), "\x94\x4c");
    EXPECT_EQ(in.str(), "sat");
    EXPECT_EQ(in.i16(), -2);
    EXPECT_EQ(in.u16(), 11u);
    EXPECT_EQ(in.str(), "r1");
    EXPECT_EQ(in.str(), "r2");
    for (int kind = 0; kind < kResultKinds; ++kind)
        EXPECT_EQ(in.list(), linesOf(document, static_cast<ResultKind>(kind))) << kind;
    EXPECT_EQ(static_cast<std::int32_t>(in.u32()), -7);
    EXPECT_EQ(in.u32(), 1u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(in.u32(), 0u);
    EXPECT_EQ(in.str(), "r4");
    EXPECT_EQ(in.str(), "r3");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(in.str(), "");
    EXPECT_TRUE(in.atEnd());
}

TEST_F(FormattedFileTest, StringLengthsSwitchPrefixAt255AndAt0xFFFE) {
    CPyxoDoc document("d");
    document.snapshot().keyword1 = std::string(255, 'k');
    document.snapshot().keyword2 = std::string(254, 'k');
    fill(document, ResultKind::Original, {std::string(0xFFFD, 'a'), std::string(0xFFFE, 'b')});
    ASSERT_TRUE(write(document));

    const std::string bytes = fileBytes();
    const std::size_t keyword1At = 2 + 2 + 2 + 27 * 2;
    EXPECT_EQ(bytes.substr(keyword1At, 3), std::string("\xFF\xFF\x00", 3));
    const std::size_t keyword2At = keyword1At + 3 + 255;
    EXPECT_EQ(static_cast<unsigned char>(bytes[keyword2At]), 254u);
    const std::size_t listAt = keyword2At + 1 + 254 + 2 + 2 + 1 + 1;
    EXPECT_EQ(bytes.substr(listAt, 4 + 3), std::string("\x02\x00\x00\x00\xFF\xFD\xFF", 7));
    const std::size_t longAt = listAt + 4 + 3 + 0xFFFD;
    EXPECT_EQ(bytes.substr(longAt, 7), std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7));

    CPyxoDoc reopened("r");
    ASSERT_TRUE(read(reopened));
    EXPECT_EQ(reopened.snapshot().keyword1, std::string(255, 'k'));
    EXPECT_EQ(linesOf(reopened, ResultKind::Original), linesOf(document, ResultKind::Original));
}

TEST_F(FormattedFileTest, RoundTripKeepsEveryListAndField) {
    CPyxoDoc document("d");
    fillDocument(document);
    ASSERT_TRUE(write(document));

    CPyxoDoc reopened("r");
    reopened.snapshot().usableWidth = 80;  // the window's, not the file's
    ASSERT_TRUE(read(reopened));
    for (int kind = 0; kind < kResultKinds; ++kind) {
        const ResultKind k = static_cast<ResultKind>(kind);
        EXPECT_EQ(linesOf(reopened, k), linesOf(document, k)) << kind;
    }
    const DisplaySnapshot& display = reopened.snapshot();
    EXPECT_EQ(display.keywordColumn, -3);
    EXPECT_EQ(display.searchKind, 2);
    EXPECT_EQ(display.history, document.snapshot().history);
    EXPECT_EQ(display.keyword1, "\x94\x4c");
    EXPECT_EQ(display.keyword2, "sat");
    EXPECT_EQ(display.formatSelector, 11);
    EXPECT_EQ(display.usableWidth, 80);
    EXPECT_EQ(reopened.collocationValue1, -7);
    EXPECT_EQ(reopened.collocationValue2, 1);
    EXPECT_EQ(reopened.reserved.integer, -2);
    EXPECT_EQ(reopened.reserved.strings, document.reserved.strings);
    EXPECT_EQ(reopened.displayedKind(), ResultKind::Collocation);
    EXPECT_FALSE(reopened.isModified());
    EXPECT_EQ(reopened.filePath(), m_path);
    EXPECT_TRUE(reopened.needsNewNameForTextSave());
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(FormattedFileTest, AnEmptySearchResultWritesAZeroLengthFileThatDoesNotOpen) {
    testing::writeFileBytes(m_path, "old content");
    CPyxoDoc document("d");
    fill(document, ResultKind::Sorted, {"ignored\r\n"});
    ASSERT_TRUE(write(document));
    EXPECT_EQ(fileBytes(), "");

    CPyxoDoc reopened("r");
    EXPECT_EQ(read(reopened).message, kEmptyFileMessage);
    EXPECT_EQ(reopened.list(ResultKind::Sorted).count(), 0);
}

TEST_F(FormattedFileTest, Version10FileOpensWithAllListsAndNoReservedStrings) {
    ByteBuilder bytes = header(10);
    bytes.list({"s1\r\n", "s2\r\n"}).list({"e\r\n"}).list({"o\r\n"}).list({"c\r\n"});
    bytes.list({"t\r\n"}).u32(0).u32(1).u32(0).u32(0).u32(0);

    CPyxoDoc document("d");
    ASSERT_TRUE(readBytes(bytes.bytes(), document));
    EXPECT_EQ(linesOf(document, ResultKind::Original), (Lines{"s1\r\n", "s2\r\n"}));
    EXPECT_EQ(linesOf(document, ResultKind::Extracted), (Lines{"e\r\n"}));
    EXPECT_EQ(linesOf(document, ResultKind::Sorted), (Lines{"o\r\n"}));
    EXPECT_EQ(linesOf(document, ResultKind::Collocation), (Lines{"c\r\n"}));
    EXPECT_EQ(linesOf(document, ResultKind::Spreadsheet), (Lines{"t\r\n"}));
    EXPECT_EQ(document.snapshot().keywordColumn, -3);  // sign-extended
    EXPECT_EQ(document.snapshot().keyword1, "cat");
    EXPECT_EQ(document.snapshot().keyword2, "dog");
    EXPECT_EQ(document.snapshot().formatSelector, 10);
    EXPECT_EQ(document.reserved.integer, 7);
    EXPECT_EQ(document.reserved.strings, (std::array<std::string, 4>{}));
    EXPECT_EQ(document.collocationValue2, 1);
    EXPECT_EQ(document.displayedKind(), ResultKind::Sorted);
}

TEST_F(FormattedFileTest, LaterVersionsAreReadUpToTheirLists) {
    ByteBuilder bytes = header(12);
    for (int i = 0; i < kResultKinds; ++i) bytes.list({"x\r\n"});
    bytes.str("whatever a later program adds");
    CPyxoDoc document("d");
    ASSERT_TRUE(readBytes(bytes.bytes(), document));
    EXPECT_EQ(linesOf(document, ResultKind::Spreadsheet), (Lines{"x\r\n"}));
    EXPECT_EQ(document.collocationValue2, 0);
}

TEST_F(FormattedFileTest, VersionBelowFiveIsRefusedAndLeavesTheDocumentEmpty) {
    ByteBuilder bytes = header(4);
    for (int i = 0; i < kResultKinds; ++i) bytes.list({"x\r\n"});
    CPyxoDoc document("d");
    fillDocument(document);
    const FileOutcome outcome = readBytes(bytes.bytes(), document);
    EXPECT_FALSE(outcome);
    EXPECT_EQ(outcome.message, kCannotReadMessage);
    EXPECT_EQ(
        m_ui.transcript(),
        (Lines{"wait on", "beep", "message OK: This Program cannot read this file.", "wait off"}));
    for (int kind = 0; kind < kResultKinds; ++kind)
        EXPECT_TRUE(document.list(static_cast<ResultKind>(kind)).isEmpty());
    EXPECT_EQ(document.snapshot().keyword1, "");
    EXPECT_EQ(document.snapshot().history[0], 0);
    EXPECT_EQ(document.collocationValue2, 0);
    EXPECT_EQ(document.displayedKind(), ResultKind::Original);

    m_profile.writeInt("Options", "Beep", 1);
    m_ui.clear();
    readBytes(bytes.bytes(), document);
    EXPECT_EQ(m_ui.beeps(), 0);
}

TEST_F(FormattedFileTest, EveryTruncationFailsCleanlyAndLeavesTheDocumentEmpty) {
    CPyxoDoc written("d");
    fillDocument(written);
    ASSERT_TRUE(write(written));
    const std::string whole = fileBytes();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        CPyxoDoc document("r");
        fill(document, ResultKind::Original, {"stale\r\n"});
        const FileOutcome outcome = readBytes(whole.substr(0, size), document);
        ASSERT_FALSE(outcome) << size;
        EXPECT_EQ(outcome.message, size == 0 ? kEmptyFileMessage : kDamagedFileMessage);
        for (int kind = 0; kind < kResultKinds; ++kind)
            ASSERT_TRUE(document.list(static_cast<ResultKind>(kind)).isEmpty()) << size;
    }
}

TEST_F(FormattedFileTest, LyingCountsAndLengthsFailWithoutReadingTheirClaim) {
    const std::string badLists[] = {
        ByteBuilder().u32(0xFFFFFFFFu).bytes(),                              // count past the end
        ByteBuilder().u32(1).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0u).bytes(),  // length too
        ByteBuilder().u32(1).u8(0xFF).u16(0xFFFE).bytes(),                   // not a length at all
        ByteBuilder().u32(2).str("only one").bytes(),
    };
    for (const std::string& badList : badLists) {
        CPyxoDoc document("d");
        const FileOutcome outcome =
            readBytes(header(11).str("").str("").bytes() + badList, document);
        EXPECT_EQ(outcome.message, kDamagedFileMessage);
        EXPECT_TRUE(document.list(ResultKind::Original).isEmpty());
    }
    // A count larger than the bytes left fails before a single string is taken.
    ByteBuilder manyEmpty;
    manyEmpty.u32(1000000);
    for (int i = 0; i < 1000; ++i) manyEmpty.str("");
    CPyxoDoc document("d");
    m_ui.clear();
    EXPECT_FALSE(readBytes(header(11).str("").str("").bytes() + manyEmpty.bytes(), document));
    EXPECT_EQ(m_ui.pumps(), 0);
}

TEST_F(FormattedFileTest, FilesThatCannotBeOpenedAreReportedAsSuch) {
    CPyxoDoc document("d");
    EXPECT_EQ(readFormattedFile(m_dir.file("missing.vm2"), document, m_ui, m_profile).message,
              kOpenFailedMessage);
    EXPECT_EQ(readFormattedFile(m_dir.path(), document, m_ui, m_profile).message,
              kOpenFailedMessage);
}

TEST_F(FormattedFileTest, AFailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    CPyxoDoc old("old");
    fill(old, ResultKind::Original, {"old line\r\n"});
    ASSERT_TRUE(write(old));
    const std::string oldBytes = fileBytes();
    const auto entriesBefore = directoryEntries();

    CPyxoDoc document("d");
    fill(document, ResultKind::Original, Lines(1000, std::string(100, 'x') + "\r\n"));
    {
        testing::FileSizeLimit fullDisk(4096);
        const FileOutcome outcome = write(document);
        EXPECT_FALSE(outcome);
        EXPECT_EQ(outcome.message, kSaveFailedMessage);
    }
    EXPECT_EQ(fileBytes(), oldBytes);
    EXPECT_EQ(directoryEntries(), entriesBefore);
    EXPECT_EQ(m_ui.messages(), (Lines{"Failed to save document."}));

    // A directory in the way, or no directory at all, fail the same way.
    fs::create_directory(m_dir.file("folder"));
    testing::writeFileBytes(m_dir.file("folder/inside"), "kept");
    EXPECT_FALSE(writeFormattedFile(document, m_dir.file("folder"), m_ui));
    EXPECT_EQ(testing::readFileBytes(m_dir.file("folder/inside")), "kept");
    EXPECT_FALSE(writeFormattedFile(document, m_dir.file("no/such/dir.vm2"), m_ui));
}

TEST_F(FormattedFileTest, SavingThroughALinkReplacesTheFileItNames) {
    CPyxoDoc document("d");
    fill(document, ResultKind::Original, {"line\r\n"});
    testing::writeFileBytes(m_path, "old");
    fs::create_symlink(m_path, m_dir.file("link.vm2"));
    ASSERT_TRUE(writeFormattedFile(document, m_dir.file("link.vm2"), m_ui));
    EXPECT_TRUE(fs::is_symlink(m_dir.file("link.vm2")));
    EXPECT_NE(fileBytes(), "old");
}

}  // namespace
}  // namespace vellmora
