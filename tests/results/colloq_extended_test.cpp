#include "results/colloq_extended.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "containers/string_tree.h"
#include "platform/recording_user_interface.h"
#include "results/colloq_count.h"
#include "results/colloq_reference.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;
using testing::readFileBytes;
using testing::writeFileBytes;

std::string kwic(const std::string& left, const std::string& rest) {
    return "   1 | " + std::string(20 - left.size(), ' ') + left + rest + "\r\n";
}

TEST(ExtendedCellTest, FormatsTheSharesAndCounts) {
    // A word at R1 in every one of 40 lines that is 1 % of the corpus.
    EXPECT_EQ(extendedCell(ExColloqFormat::Default, 40, 40, 120, 12000), "100.0000");
    EXPECT_EQ(extendedCell(ExColloqFormat::Ratio, 40, 40, 120, 12000), "1.0000/0.0100");
    EXPECT_EQ(extendedCell(ExColloqFormat::Frequency, 3, 40, 120, 12000), "3/120");
    // 1 divided by the 0.4 occurrences expected in 40 words.
    EXPECT_EQ(extendedCell(ExColloqFormat::RatioExpectancy, 40, 40, 120, 12000), "2.5000");
    EXPECT_EQ(extendedCell(ExColloqFormat::Default, 1, 3, 1, 4), "1.3333");
}

TEST(ExtendedCellTest, NeverOccursWhereACountIsMissingAndNeverDividesByZero) {
    const std::vector<std::pair<ExColloqFormat, std::string>> forms = {
        {ExColloqFormat::Default, "-.----"},
        {ExColloqFormat::Ratio, "-.----/-.----"},
        {ExColloqFormat::Frequency, "----/----"},
        {ExColloqFormat::RatioExpectancy, "-.----"},
    };
    for (const auto& [format, never] : forms) {
        EXPECT_EQ(extendedCell(format, 0, 10, 5, 100), never);
        // Counted in the result but gone from the corpus: no inf, no nan.
        EXPECT_EQ(extendedCell(format, 2, 10, 0, 100), never);
        EXPECT_EQ(extendedCell(format, 2, 10, 0, 0), never);
        EXPECT_EQ(neverOccursCell(format), never);
    }
    EXPECT_EQ(exColloqFormatOf(2), ExColloqFormat::Frequency);
    EXPECT_EQ(exColloqFormatOf(4), ExColloqFormat::Default);
    EXPECT_EQ(exColloqFormatOf(-1), ExColloqFormat::Default);
}

TEST(ExtendedTableTest, OneRowPerWordWithACellPerPosition) {
    CExStringList source;
    source.addTail("-----[ /corpus/a.txt ]-----\r\n");
    source.addTail(kwic("the ", "cat sat"));
    source.addTail(kwic("The ", "cat ran"));
    RecordingUserInterface ui;
    CollocationCounts counts;
    ASSERT_TRUE(counts.count(source, {20, 3}, ui));
    CStringTree reference;
    reference.addNoCase("THE", 10);
    reference.addNoCase("cat", 5);
    reference.addNoCase("sat", 5);
    reference.addNoCase("other", 80);  // ran is missing: the files changed since the search

    CExStringList table;
    ASSERT_TRUE(writeExtendedTable(counts, reference, ExColloqFormat::Frequency, table, ui));
    EXPECT_EQ(Strings(table.begin(), table.end()),
              (Strings{"Word\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5\r\n",
                       "cat\t----/----\t----/----\t----/----\t----/----\t----/----\t----/----\t"
                       "----/----\t----/----\t----/----\t----/----\r\n",
                       "ran\t----/----\t----/----\t----/----\t----/----\t----/----\t----/----\t"
                       "----/----\t----/----\t----/----\t----/----\r\n",
                       "sat\t----/----\t----/----\t----/----\t----/----\t----/----\t1/5\t"
                       "----/----\t----/----\t----/----\t----/----\r\n",
                       "the\t----/----\t----/----\t----/----\t----/----\t2/10\t----/----\t"
                       "----/----\t----/----\t----/----\t----/----\r\n"}));

    ASSERT_TRUE(writeExtendedTable(counts, reference, ExColloqFormat::Default, table, ui));
    // the: 2 of 2 lines at L1 against 10 of 100 words.
    EXPECT_EQ(Strings(table.begin(), table.end())[4],
              "the\t-.----\t-.----\t-.----\t-.----\t10.0000\t-.----\t-.----\t-.----\t-.----\t"
              "-.----\r\n");
}

/// A corpus folder, a settings file and a word-list folder of their own.
class ReferenceTest : public ::testing::Test {
protected:
    ReferenceTest() {
        std::filesystem::create_directories(m_corpus);
        writeFileBytes(m_corpus + "/a.txt", "The cat sat.\nthe dog\r\n\n   \n");
        writeFileBytes(m_corpus + "/b.txt", "A cat, a hat\n");
        writeFileBytes(m_corpus + "/c.doc", "not read\n");
        m_request.files.fileName = "*.txt";
        m_request.files.directory = m_corpus + "/";
        m_request.wordListFolder = m_folder;
    }

    ReferenceOutcome build() {
        m_reference.clear();
        return buildReference(m_request, m_profile, m_reference, m_ui);
    }
    std::string recorded() {
        Profile reread(m_path);
        const WordListEntry entry = wordListEntryOf(m_request.files);
        return reread.readRaw(entry.section, entry.key).value_or("<none>");
    }
    /// Moves a file's modification time by seconds from now.
    static void setAge(const std::string& path, int seconds) {
        const auto when =
            std::filesystem::file_time_type::clock::now() + std::chrono::seconds(seconds);
        std::filesystem::last_write_time(path, when);
    }

    testing::TempDir m_dir;
    std::string m_corpus = m_dir.file("corpus");
    std::string m_folder = m_dir.file("WordList");
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
    ReferenceRequest m_request;
    CStringTree m_reference;
};

TEST_F(ReferenceTest, CountsEveryWordOfTheCorpusAndKeepsThemInAWordList) {
    const ReferenceOutcome first = build();
    EXPECT_FALSE(first.fromCache);
    EXPECT_EQ(first.filesRead, 2);
    EXPECT_EQ(first.cachePath, m_folder + "/wordlist.000");
    EXPECT_EQ(m_reference.total(), 9u);
    EXPECT_EQ(m_reference.countOf("the"), 2u);
    EXPECT_EQ(m_reference.countOf("a"), 2u);
    EXPECT_EQ(m_reference.countOf("not"), 0u);
    EXPECT_EQ(recorded(), first.cachePath);
    EXPECT_EQ(wordListEntryOf(m_request.files).section, m_corpus + "/*.txt");
    EXPECT_EQ(wordListEntryOf(m_request.files).key, "null");

    // The second run loads the word list: a change that leaves the time older goes unseen.
    writeFileBytes(m_corpus + "/a.txt", "changed words only\n");
    setAge(m_corpus + "/a.txt", -3600);
    const ReferenceOutcome second = build();
    EXPECT_TRUE(second.fromCache);
    EXPECT_EQ(second.filesRead, 0);
    EXPECT_EQ(second.cachePath, first.cachePath);
    EXPECT_EQ(m_reference.total(), 9u);
    EXPECT_EQ(m_reference.countOf("cat"), 2u);
}

TEST_F(ReferenceTest, ACorpusFileNewerThanTheWordListIsReadAgainIntoTheNextFile) {
    const std::string first = build().cachePath;
    writeFileBytes(m_corpus + "/b.txt", "cat cat cat\n");
    setAge(m_corpus + "/b.txt", 60);

    const ReferenceOutcome rebuilt = build();
    EXPECT_FALSE(rebuilt.fromCache);
    EXPECT_EQ(rebuilt.cachePath, m_folder + "/wordlist.001");
    EXPECT_EQ(recorded(), rebuilt.cachePath);
    EXPECT_EQ(m_reference.countOf("cat"), 4u);
    EXPECT_TRUE(std::filesystem::exists(first));

    setAge(m_corpus + "/b.txt", -60);
    EXPECT_TRUE(build().fromCache);
    EXPECT_EQ(m_reference.countOf("cat"), 4u);
}

TEST_F(ReferenceTest, ReadingTheCorpusCountsItsFilesInTheTitle) {
    m_request.document = 7;
    m_request.busyTitle = "<<Counting...>>";
    build();
    std::vector<std::string> titles;
    for (const std::string& entry : m_ui.transcript())
        if (entry.starts_with("title")) titles.push_back(entry);
    EXPECT_EQ(titles, (std::vector<std::string>{"title 7: <<Counting...>> 1/2 files",
                                                "title 7: <<Counting...>> 2/2 files",
                                                "title 7: <<Counting...>>"}));
}

TEST_F(ReferenceTest, ADamagedWordListIsNeverTrusted) {
    const std::string first = build().cachePath;
    const std::string stored = readFileBytes(first);
    const std::vector<std::string> damages = {
        "garbage",
        stored.substr(0, stored.size() - 3),  // cut short
        stored + "x",                         // something after the tree
        "",
    };
    int number = 1;
    for (const std::string& damage : damages) {
        writeFileBytes(recorded(), damage);
        setAge(recorded(), 3600);  // it looks current
        const ReferenceOutcome outcome = build();
        EXPECT_FALSE(outcome.fromCache) << number;
        EXPECT_EQ(outcome.cachePath, wordListFilePath(m_folder, number++));
        EXPECT_EQ(m_reference.total(), 9u);
        EXPECT_EQ(m_reference.countOf("the"), 2u);
    }
    // A recorded file that is gone, or is no file, is read again too.
    std::filesystem::remove(recorded());
    EXPECT_FALSE(build().fromCache);
    std::filesystem::remove(recorded());
    std::filesystem::create_directory(recorded());
    EXPECT_FALSE(build().fromCache);
}

TEST_F(ReferenceTest, WithoutAWritableFolderTheReferenceIsBuiltAndNothingRecorded) {
    writeFileBytes(m_folder, "a file where the folder should be");
    const ReferenceOutcome outcome = build();
    EXPECT_TRUE(outcome.cachePath.empty());
    EXPECT_EQ(m_reference.total(), 9u);
    EXPECT_EQ(recorded(), "<none>");

    m_request.wordListFolder.clear();
    EXPECT_TRUE(build().cachePath.empty());
    EXPECT_EQ(m_reference.total(), 9u);
}

TEST_F(ReferenceTest, AllThousandNumbersTakenWritesNoWordList) {
    std::filesystem::create_directories(m_folder);
    for (int number = 0; number < kMaxWordListFiles; ++number)
        writeFileBytes(wordListFilePath(m_folder, number), "x");
    EXPECT_EQ(wordListFilePath(m_folder, 7), m_folder + "/wordlist.007");
    const ReferenceOutcome outcome = build();
    EXPECT_TRUE(outcome.cachePath.empty());
    EXPECT_EQ(m_reference.total(), 9u);
    EXPECT_EQ(recorded(), "<none>");
}

TEST_F(ReferenceTest, AResponseFileNamesTheCorpusAndKeysItsEntry) {
    writeFileBytes(m_dir.file("set.lst"),
                   "# the corpus\n; comment\n" + m_corpus + "/b.txt\n" + m_corpus + "/*.doc\n");
    m_request.files.fileName.clear();
    m_request.files.resFile = "set";  // ".lst" is tried when the name has none
    m_request.files.resFileDir = m_dir.path() + "/";
    const ReferenceOutcome outcome = build();
    EXPECT_EQ(outcome.filesRead, 2);
    EXPECT_EQ(m_reference.total(), 6u);
    EXPECT_EQ(m_reference.countOf("read"), 1u);
    const WordListEntry entry = wordListEntryOf(m_request.files);
    EXPECT_EQ(entry.section, "null");
    EXPECT_EQ(entry.key, m_dir.path() + "/set");
    EXPECT_EQ(recorded(), outcome.cachePath);
}

TEST_F(ReferenceTest, ExcludedExtensionsAndUnreadableFilesAreSkipped) {
    m_request.files.fileName = "*.*";
    writeFileBytes(m_corpus + "/tool.exe", "binary words\n");
    std::filesystem::create_directory(m_corpus + "/folder.txt");
    m_profile.writeInt("Options", "Exclude", 1);
    m_profile.flush();
    const ReferenceOutcome outcome = build();
    EXPECT_EQ(outcome.filesRead, 3);  // a.txt, b.txt, c.doc
    EXPECT_EQ(m_reference.countOf("binary"), 0u);
    EXPECT_EQ(m_reference.countOf("read"), 1u);
}

TEST_F(ReferenceTest, ShiftJisWordsAreCountedWhole) {
    // 猫 が ソ 猫, and a line longer than a read piece.
    writeFileBytes(m_corpus + "/a.txt",
                   "\x94\x4c \x82\xaa \x83\x5c \x94\x4c\r\n" + std::string(9000, 'w') + " end\n");
    writeFileBytes(m_corpus + "/b.txt", "");
    build();
    EXPECT_EQ(m_reference.countOf("\x94\x4c"), 2u);
    EXPECT_EQ(m_reference.countOf("\x83\x5c"), 1u);
    EXPECT_EQ(m_reference.countOf("end"), 1u);
    EXPECT_EQ(m_reference.total(), 7u);  // the long word comes in two pieces
}

TEST_F(ReferenceTest, AutoReadsEachFileInItsOwnEncodingAndKeepsItsOwnWordList) {
    // 猫 が in Shift-JIS and in UTF-8 (with a byte-order mark).
    writeFileBytes(m_corpus + "/a.txt", "\x94\x4c \x82\xaa\n");
    writeFileBytes(m_corpus + "/b.txt", "\xef\xbb\xbf\xe7\x8c\xab \xe3\x81\x8c\n");
    const std::string asStored = build().cachePath;
    EXPECT_EQ(m_reference.countOf("\x94\x4c"), 1u);

    m_request.files.autoCode = true;
    const ReferenceOutcome converted = build();
    EXPECT_FALSE(converted.fromCache);  // the list read as stored is not the one wanted
    EXPECT_EQ(m_reference.countOf("\x94\x4c"), 2u);
    EXPECT_EQ(m_reference.countOf("\x82\xaa"), 2u);
    EXPECT_EQ(m_reference.total(), 4u);
    EXPECT_EQ(wordListEntryOf(m_request.files).key, "null|AutoCode");
    EXPECT_TRUE(build().fromCache);
    EXPECT_EQ(m_reference.countOf("\x94\x4c"), 2u);

    // Walking subdirectories names other files under the same names: a list of its own too.
    m_request.files.autoCode = false;
    EXPECT_TRUE(build().fromCache);
    EXPECT_EQ(build().cachePath, asStored);
    m_request.files.subdirectories = true;
    EXPECT_FALSE(build().fromCache);
}

TEST_F(ReferenceTest, ACancelRequestStopsWithoutWritingAWordList) {
    m_ui.cancelAtPump(4);
    const ReferenceOutcome outcome = build();
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_TRUE(outcome.cachePath.empty());
    EXPECT_FALSE(std::filesystem::exists(wordListFilePath(m_folder, 0)));
    EXPECT_EQ(recorded(), "<none>");
}

TEST(WordListEntryTest, OnlyNamesTheSettingsFileCanHoldAreUsed) {
    EXPECT_TRUE(entryFitsSettingsFile({"/corpus/*.txt", "null"}));
    EXPECT_TRUE(entryFitsSettingsFile({"null", "/lists/a[1].lst"}));
    EXPECT_FALSE(entryFitsSettingsFile({"/odd]dir/*.txt", "null"}));
    EXPECT_FALSE(entryFitsSettingsFile({"null", "/a=b/set.lst"}));
    EXPECT_FALSE(entryFitsSettingsFile({"null", "[set].lst"}));
    EXPECT_FALSE(entryFitsSettingsFile({"/a\nb", "null"}));
    EXPECT_FALSE(entryFitsSettingsFile({"  ", "null"}));

    ReferenceFileSet files;
    files.fileName = "*.txt;*.htm";
    files.directory = "/corpus";
    EXPECT_EQ(wordListEntryOf(files).section, "/corpus/*.txt;*.htm");
}

}  // namespace
}  // namespace vellmora
