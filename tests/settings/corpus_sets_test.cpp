#include "settings/corpus_sets.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class CorpusSetsTest : public ::testing::Test {
protected:
    void writeFile(const std::string& content) { testing::writeFileBytes(m_path, content); }
    std::string readFile() const { return testing::readFileBytes(m_path); }

    testing::TempDir m_temp;
    std::string m_dir = m_temp.path();
    std::string m_path = m_temp.file("pyxo.ini");
};

const CorpusFields kTyped{"*.txt;*.htm", "/corpus/", "list.lst", "/lists/"};

TEST_F(CorpusSetsTest, UndefinedSetAsksForTheFileSetDialogAndOkDefinesIt) {
    Profile profile(m_path);
    CorpusSetButtons buttons;
    buttons.load(profile);
    for (int n = 1; n <= kCorpusSetCount; ++n) EXPECT_EQ(buttons.caption(n), "=-=-=");

    CorpusFields fields = kTyped;
    ASSERT_EQ(buttons.click(profile, 1, fields), CorpusSetButtons::Click::DefineRequested);
    EXPECT_EQ(fields, kTyped);

    CFileSetDlg dialog = CorpusSetButtons::fileSetDialog(1, fields);
    EXPECT_EQ(dialog.windowTitle(), "No.1");
    EXPECT_EQ(dialog.set().fields, kTyped);
    dialog.set().title = "Novels";
    dialog.set().fields.directory = "/novels/";
    ASSERT_TRUE(dialog.accept(profile));
    buttons.applyFileSet(dialog, fields);

    EXPECT_EQ(buttons.caption(1), "Novels");
    EXPECT_EQ(fields.directory, "/novels/");
    EXPECT_EQ(readFile(),
              "[CorpusSet]\n001Title=Novels\n001File=*.txt;*.htm\n001Dir=/novels/\n"
              "001ResFile=list.lst\n001resdir=/lists/\n");
}

TEST_F(CorpusSetsTest, SetDefinedInOneDialogLoadsInTheNextOne) {
    {
        Profile profile(m_path);
        CFileSetDlg dialog(3, CorpusSet{"Press", kTyped});
        ASSERT_TRUE(dialog.accept(profile));
    }
    Profile profile(m_path);
    CorpusSetButtons buttons;
    buttons.load(profile);
    EXPECT_EQ(buttons.caption(3), "Press");
    CorpusFields fields;
    EXPECT_EQ(buttons.click(profile, 3, fields), CorpusSetButtons::Click::Loaded);
    EXPECT_EQ(fields, kTyped);
}

TEST_F(CorpusSetsTest, OnlyTheTitleDecidesWhetherASetIsDefined) {
    writeFile(
        "[CorpusSet]\n002Title=\n002File=*.doc\n002Dir=/x/\n"
        "004Title==-=-=\n004File=*.txt\n");
    Profile profile(m_path);
    CorpusSetButtons buttons;
    buttons.load(profile);
    EXPECT_EQ(buttons.caption(2), "=-=-=");
    CorpusFields fields = kTyped;
    EXPECT_EQ(buttons.click(profile, 2, fields), CorpusSetButtons::Click::DefineRequested);
    EXPECT_EQ(fields, kTyped);
    // A set titled like the undefined caption is still a defined set.
    EXPECT_EQ(buttons.click(profile, 4, fields), CorpusSetButtons::Click::Loaded);
    EXPECT_EQ(fields.filename, "*.txt");
    EXPECT_THROW(buttons.click(profile, 7, fields), std::out_of_range);
}

TEST_F(CorpusSetsTest, DefinedSetCanBeEditedAndCleared) {
    writeFile("[CorpusSet]\n005Title=Old\n005File=*.old\n005ResDir=/r/\n");
    Profile profile(m_path);
    CorpusSetButtons buttons;
    buttons.load(profile);

    CFileSetDlg edit = CorpusSetButtons::editDialog(profile, 5);
    EXPECT_EQ(edit.set().title, "Old");
    EXPECT_EQ(edit.set().fields.resFileDir, "/r/");
    edit.set().title = "New";
    ASSERT_TRUE(edit.accept(profile));
    CorpusFields fields;
    buttons.applyFileSet(edit, fields);
    EXPECT_EQ(buttons.caption(5), "New");
    EXPECT_EQ(fields.filename, "*.old");

    ASSERT_TRUE(buttons.clear(profile, 5));
    EXPECT_EQ(buttons.caption(5), "=-=-=");
    Profile reread(m_path);
    EXPECT_EQ(reread.readRaw("CorpusSet", "005Title"), "");
    EXPECT_EQ(reread.readRaw("CorpusSet", "005ResDir"), "");
}

}  // namespace
}  // namespace vellmora
