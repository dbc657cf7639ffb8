#include "settings/excluded_types.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class ExcludedTypesTest : public ::testing::Test {
protected:
    /// Builds the lists from a settings file holding section (without its header).
    void build(const std::string& section) {
        if (!section.empty()) std::ofstream(m_path, std::ios::binary) << "[Exclude]\n" << section;
        Profile profile(m_path);
        m_exclude.build(profile);
    }

    testing::TempDir m_temp;
    std::string m_dir = m_temp.path();
    std::string m_path = m_temp.file("pyxo.ini");
    CExcludeFile m_exclude;
};

TEST(FileExtensionTest, TextAfterTheLastDotOfTheNameAsWritten) {
    EXPECT_EQ(fileExtension("/data/a.txt"), "txt");
    EXPECT_EQ(fileExtension("archive.tar.GZ"), "GZ");
    EXPECT_EQ(fileExtension("/home/me/.profile"), "");
    EXPECT_EQ(fileExtension("/home/me/.notes.txt"), "");
    EXPECT_EQ(fileExtension("a.b/c"), "");
    EXPECT_EQ(fileExtension("name."), "");
    EXPECT_EQ(fileExtension("README"), "");
    EXPECT_EQ(fileExtension(std::string(300, 'd') + "/x.exe"), "exe");
}

TEST_F(ExcludedTypesTest, WithoutSectionTheTwentyThreeDefaultsAreExcluded) {
    build("");
    EXPECT_EQ(m_exclude.extensions().count(), 23);
    EXPECT_EQ(*m_exclude.extensions().begin(), ".EXE");
    EXPECT_EQ(CExStringList::at(m_exclude.extensions().tailPosition()), ".CPT");
    for (const char* path : {"/b/tool.exe", "/b/TOOL.EXE", "p.Jpg", "a.b/c.hlp", "x.tar.zip"}) {
        EXPECT_TRUE(m_exclude.isExcluded(path)) << path;
    }
    for (const char* path :
         {"/t/novel.txt", "a.b/c", "README", ".profile", "zip", "x.zip.txt", "y.exe/notes"}) {
        EXPECT_FALSE(m_exclude.isExcluded(path)) << path;
    }
}

TEST_F(ExcludedTypesTest, OnlyASwitchOfExactlyOneContributes) {
    build("Pict=0\nData=2\nArc=1\n");
    EXPECT_FALSE(m_exclude.isExcluded("photo.JPG"));
    EXPECT_FALSE(m_exclude.isExcluded("clip.avi"));
    EXPECT_TRUE(m_exclude.isExcluded("setup.EXE"));
    EXPECT_TRUE(m_exclude.isExcluded("old.lzh"));
}

TEST_F(ExcludedTypesTest, UserExtensionsMatchWithoutRegardToAsciiCase) {
    build("UserExt=.DOC|.RTF\n");
    EXPECT_EQ(m_exclude.extensions().count(), 25);
    EXPECT_TRUE(m_exclude.isExcluded("letter.doc"));
    EXPECT_TRUE(m_exclude.isExcluded("letter.Rtf"));

    build("User=0\nUserExt=.DOC\n");
    EXPECT_FALSE(m_exclude.isExcluded("letter.doc"));
}

TEST_F(ExcludedTypesTest, ListsAreSplitAsWrittenWithEmptyPiecesSkipped) {
    build("ExecExt=EXE|COM\nPictExt=\nDataExt=||.WAV||\nArcExt=.\n");
    EXPECT_EQ(
        (std::vector<std::string>(m_exclude.extensions().begin(), m_exclude.extensions().end())),
        (std::vector<std::string>{"EXE", "COM", ".WAV", "."}));
    // Without their dots the entries can never equal an extension under test.
    EXPECT_FALSE(m_exclude.isExcluded("tool.exe"));
    EXPECT_FALSE(m_exclude.isExcluded("RUN.COM"));
    EXPECT_FALSE(m_exclude.isExcluded("a.gif"));
    EXPECT_TRUE(m_exclude.isExcluded("a.wav"));
    // "." is what a name without extension is tested as.
    EXPECT_TRUE(m_exclude.isExcluded("/usr/bin/ls"));
    EXPECT_TRUE(m_exclude.isExcluded(".bashrc"));
}

TEST_F(ExcludedTypesTest, ShiftJisExtensionsStayWholeAndExact) {
    // ポ is 0x83 0x7C: its second byte is the separator's value.
    build("User=1\nUserExt=.\x83\x7C|.\x82\x60\n");
    EXPECT_EQ(m_exclude.extensions().count(), 25);
    EXPECT_TRUE(m_exclude.isExcluded("file.\x83\x7C"));
    EXPECT_TRUE(m_exclude.isExcluded("file.\x82\x60"));
    // Full-width small a (0x82 0x81) is not a case variant of full-width A.
    EXPECT_FALSE(m_exclude.isExcluded("file.\x82\x81"));
}

TEST_F(ExcludedTypesTest, LongHandEditedListsAreReadWhole) {
    std::string list;
    while (list.size() < 300) list += ".X" + std::to_string(list.size()) + "|";
    list += ".HTML";
    build("UserExt=" + list + "\n");
    EXPECT_TRUE(m_exclude.isExcluded("page.html"));
    EXPECT_FALSE(m_exclude.isExcluded("page.ht"));
}

}  // namespace
}  // namespace vellmora
