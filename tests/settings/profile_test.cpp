#include "settings/profile.h"
#include "tests/support/temp_dir.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vellmora {
namespace {

namespace fs = std::filesystem;

class ProfileTest : public ::testing::Test {
protected:
    void writeFile(const std::string& content) { testing::writeFileBytes(m_path, content); }
    std::string readFile() const { return testing::readFileBytes(m_path); }

    testing::TempDir m_temp;
    std::string m_dir = m_temp.path();
    std::string m_path = m_temp.file("pyxo.ini");
};

TEST_F(ProfileTest, MissingFileReadsDefaultsAndFlushCreatesIt) {
    Profile profile(m_dir + "/sub/dir/pyxo.ini");
    EXPECT_EQ(profile.readInt("Options", "Beep", 7), 7);
    EXPECT_EQ(profile.readString("Setting", "Filename", "*.*"), "*.*");
    EXPECT_FALSE(profile.readRaw("Setting", "Filename"));
    profile.writeString("Setting", "Filename", "*.txt");
    ASSERT_TRUE(profile.flush());
    std::ifstream in(m_dir + "/sub/dir/pyxo.ini", std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "[Setting]\nFilename=*.txt\n");
}

TEST_F(ProfileTest, NamesMatchWithoutCaseAndAfterTrimmingBlanks) {
    writeFile("[Display]\nToolbar1=0\n [ display ] \n");
    Profile profile(m_path);
    EXPECT_EQ(profile.readInt("DISPLAY", "ToolBar1", 1), 0);
    profile.writeInt("display", "  TOOLBAR1 ", 5);
    EXPECT_EQ(profile.readInt("Display", "Toolbar1", 1), 5);
    ASSERT_TRUE(profile.flush());
    // The stored spelling of the key stays; only the value changes.
    EXPECT_EQ(readFile(), "[Display]\nToolbar1=5\n [ display ] \n");
}

TEST_F(ProfileTest, JapaneseNamesAreNotFoldedInsideCharacters) {
    // ア is 0x83 0x41 and ヂ is 0x83 0x61: a byte-wise fold would make them one key.
    Profile profile(m_path);
    profile.writeString("WordGroup", "\x83\x41", "a|");
    profile.writeString("WordGroup", "\x83\x61", "b|");
    EXPECT_EQ(profile.readString("WordGroup", "\x83\x41", ""), "a|");
    EXPECT_EQ(profile.readString("WordGroup", "\x83\x61", ""), "b|");
}

TEST_F(ProfileTest, ValuesAreTheBytesAfterTheEqualsSign) {
    writeFile("[Setting]\nKeyword1= cat \r\nKeyword2=\x83\x5C\x83\x74\x83\x67=x\r\n");
    Profile profile(m_path);
    EXPECT_EQ(profile.readString("Setting", "Keyword1", ""), " cat ");
    EXPECT_EQ(profile.readString("Setting", "Keyword2", ""), "\x83\x5C\x83\x74\x83\x67=x");
}

TEST_F(ProfileTest, EmptyWriteReadsBackEmptyNotAsDefault) {
    Profile profile(m_path);
    profile.writeString("Setting", "Filename", "");
    EXPECT_EQ(profile.readString("Setting", "Filename", "*.*"), "");
    ASSERT_TRUE(profile.flush());
    Profile again(m_path);
    EXPECT_EQ(again.readString("Setting", "Filename", "*.*"), "");
}

TEST_F(ProfileTest, IntegersParseLikeTheProgramExpects) {
    writeFile(
        "[Sort]\nMode2=-6\nA=abc\nB=12abc\nC=\nD=99999999999999\nE=-99999999999999\nF= 4\n");
    Profile profile(m_path);
    EXPECT_EQ(profile.readInt("Sort", "Mode2", 1), -6);
    EXPECT_EQ(profile.readInt("Sort", "A", 1), 0);
    EXPECT_EQ(profile.readInt("Sort", "B", 1), 12);
    EXPECT_EQ(profile.readInt("Sort", "C", 1), 0);
    EXPECT_EQ(profile.readInt("Sort", "D", 1), 2147483647);
    EXPECT_EQ(profile.readInt("Sort", "E", 1), -2147483647 - 1);
    EXPECT_EQ(profile.readInt("Sort", "F", 1), 4);
    EXPECT_EQ(profile.readInt("Sort", "Missing", -3), -3);
}

TEST_F(ProfileTest, LongStringsComeBackCutWithoutSplittingACharacter) {
    Profile profile(m_path);
    profile.writeString("WordGroup", "ascii", std::string(300, 'a'));
    // 129 kana (258 bytes) then one more: the 259th byte would split it.
    std::string kana;
    for (int i = 0; i < 130; ++i) kana += "\x82\xA0";
    profile.writeString("WordGroup", "kana", kana);
    ASSERT_TRUE(profile.flush());
    Profile again(m_path);
    EXPECT_EQ(again.readString("WordGroup", "ascii", ""), std::string(259, 'a'));
    EXPECT_EQ(again.readString("WordGroup", "kana", ""), kana.substr(0, 258));
    EXPECT_EQ(again.readRaw("WordGroup", "ascii")->size(), 300u);
}

TEST_F(ProfileTest, FirstOccurrenceOfASectionOrKeyIsReadAndWritten) {
    writeFile("[A]\nk=1\nk=2\n[B]\nx=0\n[a]\nk=3\nj=4\n");
    Profile profile(m_path);
    EXPECT_EQ(profile.readInt("A", "k", 0), 1);
    EXPECT_EQ(profile.readInt("A", "j", 0), 0);  // under the repeated header: not read
    profile.writeInt("A", "k", 9);
    profile.writeInt("A", "j", 8);
    ASSERT_TRUE(profile.flush());
    EXPECT_EQ(readFile(), "[A]\nk=9\nk=2\nj=8\n[B]\nx=0\n[a]\nk=3\nj=4\n");
}

TEST_F(ProfileTest, WritingKeepsEveryOtherLineByteForByte) {
    const std::string original =
        "stray=before any section\r\n"
        "; a comment\r\n"
        "[Options]\r\n"
        "no equals sign here\r\n"
        "Beep=0\r\n"
        "\r\n"
        "[Unknown]\r\n"
        "\x01\x02\xFF\xFE=binary\r\n"
        "last=line without end";
    writeFile(original);
    Profile profile(m_path);
    EXPECT_FALSE(profile.readRaw("Options", "stray"));
    profile.writeInt("Options", "Beep", 1);
    profile.writeInt("Options", "Method", 2);
    profile.writeString("New", "Key", "v");
    ASSERT_TRUE(profile.flush());
    EXPECT_EQ(readFile(),
              "stray=before any section\r\n"
              "; a comment\r\n"
              "[Options]\r\n"
              "no equals sign here\r\n"
              "Beep=1\r\n"
              "Method=2\r\n"
              "\r\n"
              "[Unknown]\r\n"
              "\x01\x02\xFF\xFE=binary\r\n"
              "last=line without end\r\n"
              "[New]\r\n"
              "Key=v\r\n");
}

TEST_F(ProfileTest, ANewKeyNeverJoinsALastLineWithoutItsEnd) {
    for (const auto& [original, expected] :
         {std::pair{"[Options]\nXsize=80", "[Options]\nXsize=80\nMethod=0\n"},
          std::pair{"[Options]", "[Options]\nMethod=0\n"},
          std::pair{"[Options]\r\nXsize=80", "[Options]\r\nXsize=80\r\nMethod=0\r\n"},
          // The value's own CR stays its own: it must not become the line end.
          std::pair{"[Options]\nXsize=80\r", "[Options]\nXsize=80\r\r\nMethod=0\n"}}) {
        writeFile(original);
        Profile profile(m_path);
        profile.writeInt("Options", "Method", 0);
        ASSERT_TRUE(profile.flush());
        EXPECT_EQ(readFile(), expected);
        EXPECT_EQ(Profile(m_path).readInt("Options", "Method", -1), 0);
    }
}

TEST_F(ProfileTest, AValueCannotBreakTheFileWithALineEnd) {
    Profile profile(m_path);
    profile.writeString("Setting", "Keyword1", "cat\r\n[Evil]\nx=1");
    ASSERT_TRUE(profile.flush());
    EXPECT_EQ(readFile(), "[Setting]\nKeyword1=cat\n");
}

TEST_F(ProfileTest, HandEditsBetweenReadsAreSeenAndKeptByTheNextFlush) {
    writeFile("[Exclude]\nUserExt=.AAA\n");
    Profile profile(m_path);
    EXPECT_EQ(profile.readString("Exclude", "UserExt", ""), ".AAA");
    profile.writeInt("Options", "Beep", 1);
    // Someone edits the file by hand while the program runs.
    writeFile("[Exclude]\nUserExt=.BBB|.CCC\n");
    EXPECT_EQ(profile.readString("Exclude", "UserExt", ""), ".BBB|.CCC");
    EXPECT_EQ(profile.readInt("Options", "Beep", 0), 1);  // the pending write survives
    ASSERT_TRUE(profile.flush());
    EXPECT_EQ(readFile(), "[Exclude]\nUserExt=.BBB|.CCC\n[Options]\nBeep=1\n");
}

TEST_F(ProfileTest, VeryLongLinesAndNulBytesReadSafely) {
    std::string content = "[S]\nlong=" + std::string(100000, 'x') + "\nnul=a";
    content += '\0';
    content += "b\n";
    writeFile(content);
    Profile profile(m_path);
    EXPECT_EQ(profile.readString("S", "long", "").size(), 259u);
    EXPECT_EQ(profile.readRaw("S", "nul")->size(), 3u);
}

TEST_F(ProfileTest, FailedFlushReportsAndLeavesTheOldFileIntact) {
    writeFile("[Options]\nBeep=0\n");
    Profile profile(m_path);
    profile.writeInt("Options", "Beep", 1);
    // A directory where the temporary file must go: even root cannot write there.
    const std::string temporary = m_path + ".tmp-" + std::to_string(getpid());
    ASSERT_TRUE(fs::create_directory(temporary));
    std::vector<std::string> reported;
    profile.setFlushFailureReporter([&](const std::string& reason) { reported.push_back(reason); });
    EXPECT_FALSE(profile.flush());
    EXPECT_TRUE(profile.hasPendingWrites());
    EXPECT_EQ(readFile(), "[Options]\nBeep=0\n");
    // Told once why, not at every setting stored while the fault lasts.
    profile.writeInt("Options", "Method", 1);
    EXPECT_FALSE(profile.flush());
    EXPECT_EQ(reported, std::vector<std::string>{std::strerror(EISDIR)});
    fs::remove(temporary);
    EXPECT_TRUE(profile.flush());
    EXPECT_EQ(readFile(), "[Options]\nBeep=1\nMethod=1\n");
    // A fault after a success is news again.
    ASSERT_TRUE(fs::create_directory(temporary));
    profile.writeInt("Options", "Method", 2);
    EXPECT_FALSE(profile.flush());
    EXPECT_EQ(reported.size(), 2u);
    fs::remove(temporary);
}

TEST_F(ProfileTest, FlushIntoAPathThatCannotBeAFileFails) {
    // The settings path names a directory: nothing can replace it.
    fs::create_directory(m_path);
    Profile profile(m_path);
    EXPECT_EQ(profile.readInt("Options", "Beep", 3), 3);
    profile.writeInt("Options", "Beep", 1);
    EXPECT_FALSE(profile.flush());
    EXPECT_TRUE(fs::is_directory(m_path));
    fs::remove(m_path);
}

TEST_F(ProfileTest, PendingWritesAreFlushedWhenTheProfileGoesAway) {
    {
        Profile profile(m_path);
        profile.writeString("Setting", "Keyword1", "dog");
    }
    EXPECT_EQ(readFile(), "[Setting]\nKeyword1=dog\n");
}

TEST(ProfileLocation, EnvironmentDecides) {
    const char* savedIni = std::getenv("PYXO_INI");
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    std::string ini = savedIni ? savedIni : "";
    std::string xdg = savedXdg ? savedXdg : "";
    std::string home = savedHome ? savedHome : "";
    setenv("PYXO_INI", "/x/my.ini", 1);
    EXPECT_EQ(Profile::defaultPath(), "/x/my.ini");
    unsetenv("PYXO_INI");
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(Profile::defaultPath(), "/cfg/vellmora/pyxo.ini");
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(Profile::defaultPath(), "/home/u/.config/vellmora/pyxo.ini");
    if (savedIni) setenv("PYXO_INI", ini.c_str(), 1);
    if (savedXdg) setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    if (savedHome) setenv("HOME", home.c_str(), 1);
}

}  // namespace
}  // namespace vellmora
