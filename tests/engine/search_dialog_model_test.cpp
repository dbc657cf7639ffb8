#include "engine/search_dialog_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

Strings texts(std::initializer_list<std::string_view> items) {
    return Strings(items.begin(), items.end());
}

class SearchDialogModelTest : public ::testing::Test {
protected:
    /// A dialog opened on the current file and histories, with a keyword and a file given.
    SearchDialogModel openedDialog() {
        SearchDialogModel dialog(m_profile, m_ui, m_histories);
        dialog.open();
        dialog.fields().keyword1 = "cat";
        dialog.fields().corpus = {"*.txt", "/corpus/", "", ""};
        return dialog;
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
    Histories m_histories;
};

TEST_F(SearchDialogModelTest, OpensWithTheRequestListsGroupsAndCorpusSets) {
    testing::writeFileBytes(m_path,
                            "[Setting]\nKeyword1=fruit\nKeyword2=big\nFilename=*.htm\n"
                            "Directory=/c/\nWord1=1\n[Options]\nMethod=2\nMae=1\nBummatsu=1\n"
                            "[History]\nKeyword1A=cat\nKeyword2A=big\nKeyword2B=small\n"
                            "[WordGroupNames]\nName=fruit|veg|\nName1=late|\n"
                            "[CorpusSet]\n002Title=Novels\n003File=*.txt\n");
    m_histories.load(m_profile);
    SearchDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();

    const SearchDialogFields& fields = dialog.fields();
    EXPECT_EQ(fields.keyword1, "fruit");
    EXPECT_TRUE(fields.keyword1IsGroup);
    EXPECT_EQ(fields.keyword2, "big");
    EXPECT_FALSE(fields.keyword2IsGroup);
    EXPECT_EQ(fields.corpus, (CorpusFields{"*.htm", "/c/", "", ""}));
    EXPECT_EQ(fields.method, SearchMethod::Or);
    EXPECT_TRUE(fields.beforeKeyword1);
    EXPECT_TRUE(fields.recognizeSentence);

    // Only the first name chunk is offered, as in the group chooser.
    EXPECT_EQ(dialog.keyword1Choices(), (Strings{"fruit", "veg"}));
    EXPECT_EQ(dialog.keyword2Choices(), (Strings{"big", "small"}));
    dialog.fields().keyword1IsGroup = false;
    EXPECT_EQ(dialog.keyword1Choices(), (Strings{"cat"}));
    EXPECT_EQ(dialog.wordGroupDialog().selectedGroup(), "");

    EXPECT_EQ(dialog.corpusSetCaption(1), "=-=-=");
    EXPECT_EQ(dialog.corpusSetCaption(2), "Novels");
    EXPECT_EQ(dialog.corpusSetCaption(3), "=-=-=");
}

TEST_F(SearchDialogModelTest, ChecksRunInOrderAndStoreNothingUntilAllPass) {
    SearchDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();
    SearchDialogFields& fields = dialog.fields();
    fields.keyword1IsGroup = true;
    fields.method = SearchMethod::Not;
    fields.corpus = {"", "", "", ""};

    // Every check fails at once: the first one speaks.
    fields.corpus.resFile = "list.VM2";
    EXPECT_FALSE(dialog.search());
    EXPECT_EQ(dialog.focus(), SearchField::Keyword1);

    fields.keyword1 = "cat";
    fields.corpus.resFile.clear();
    EXPECT_FALSE(dialog.search());
    EXPECT_EQ(dialog.focus(), SearchField::Filename);

    fields.corpus.filename = "*.txt";
    fields.corpus.resFile = "old.vm1";
    EXPECT_FALSE(dialog.search());
    EXPECT_EQ(dialog.focus(), SearchField::ResFile);

    fields.corpus.filename = "setup.exe";
    EXPECT_FALSE(dialog.search());
    EXPECT_EQ(dialog.focus(), SearchField::Filename);

    EXPECT_EQ(m_ui.messages(), texts({kNoKeywordMessage, kNoTargetFileMessage, kUnusableFileMessage,
                                      kUnusableFileMessage}));
    EXPECT_EQ(m_ui.beeps(), 4);
    EXPECT_FALSE(m_profile.hasPendingWrites());
    EXPECT_FALSE(std::filesystem::exists(m_path));

    fields.corpus = {"", "", "list.lst", "/lists"};
    EXPECT_TRUE(dialog.search());
    EXPECT_EQ(dialog.focus(), SearchField::None);
    EXPECT_FALSE(m_profile.hasPendingWrites());
    Profile reread(m_path);
    EXPECT_EQ(reread.readInt("Setting", "Word1", -1), 1);
    EXPECT_EQ(reread.readInt("Setting", "Word2", -1), 0);
    EXPECT_EQ(reread.readInt("Options", "Method", -1), 1);
    // The request itself is the driver's to store.
    EXPECT_EQ(reread.readString("Setting", "Keyword1", "none"), "none");
}

TEST_F(SearchDialogModelTest, RefusesExcludedAndFormattedFilesWhateverExcludeSays) {
    ASSERT_EQ(m_profile.readInt("Options", "Exclude", 0), 0);
    m_profile.writeString("Exclude", "UserExt", ".DOC");
    m_profile.writeInt("Exclude", "Pict", 0);
    struct Case {
        const char* filename;
        const char* resFile;
        bool refused;
    };
    const Case cases[] = {
        {"A.EXE", "", true},
        {"setup.exe", "", true},
        {"notes.Doc", "", true},
        {"*.txt;*.exe", "", true},
        {"*.exe;*.txt", "", true},  // a harmless last pattern does not hide an earlier one
        {"r.vM2", "", true},
        {"", "files.exe", true},
        {"photo.jpg", "", false},  // its category is switched off
        {"*.*", "", false},
        {"README", "", false},
        {"*.txt;;*.htm", "corpus.lst", false},
        {"/data.exe/*.txt", "", false},  // only the name's extension counts
    };
    for (const Case& c : cases) {
        SearchDialogModel dialog = openedDialog();
        dialog.fields().corpus = {c.filename, "/c/", c.resFile, ""};
        EXPECT_EQ(dialog.search(), !c.refused) << c.filename << " " << c.resFile;
    }
}

TEST_F(SearchDialogModelTest, BeepFollowsTheDisableBeepOption) {
    for (int beep : {0, 1}) {
        m_profile.writeInt("Options", "Beep", beep);
        m_ui.clear();
        SearchDialogModel dialog(m_profile, m_ui, m_histories);
        dialog.open();
        dialog.fields().keyword1.clear();
        EXPECT_FALSE(dialog.search());
        EXPECT_EQ(m_ui.messages(), texts({kNoKeywordMessage}));
        EXPECT_EQ(m_ui.beeps(), beep == 1 ? 0 : 1);
    }
}

TEST_F(SearchDialogModelTest, ConfirmingUnchangedWritesTheSameValuesBack) {
    const std::string stored =
        "[Setting]\nKeyword1=cat\nKeyword2=fruit\nFilename=*.txt\nDirectory=/c/\n"
        "ResFile=a.lst\nResFileDir=/l/\nWord1=0\nWord2=1\n"
        "[Options]\nMethod=1\nMae=1\nBummatsu=1\n";
    testing::writeFileBytes(m_path, stored);
    m_histories.load(m_profile);
    SearchDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();
    ASSERT_TRUE(dialog.search());
    EXPECT_EQ(testing::readFileBytes(m_path), stored);

    LastSearchValues request;
    dialog.copyRequestTo(request);
    const LastSearchValues& before = m_histories.lastValues();
    EXPECT_EQ(request.keyword1, before.keyword1);
    EXPECT_EQ(request.keyword2, before.keyword2);
    EXPECT_EQ(request.filename, before.filename);
    EXPECT_EQ(request.directory, before.directory);
    EXPECT_EQ(request.resFile, before.resFile);
    EXPECT_EQ(request.resFileDir, before.resFileDir);
}

TEST_F(SearchDialogModelTest, DirectoriesReachTheRunWithTheirSeparator) {
    SearchDialogModel dialog = openedDialog();
    dialog.fields().corpus = {"*.txt", "/corpus", "a.lst", "lists"};
    ASSERT_TRUE(dialog.search());
    LastSearchValues request;
    dialog.copyRequestTo(request);
    EXPECT_EQ(request.directory, "/corpus/");
    EXPECT_EQ(request.resFileDir, "lists/");

    dialog.fields().corpus = {"*.txt", "", "", ""};
    ASSERT_TRUE(dialog.search());
    EXPECT_EQ(dialog.fields().corpus.directory, "");
}

TEST_F(SearchDialogModelTest, CorpusSetButtonsLoadOrDefineASet) {
    m_profile.writeString("CorpusSet", "001Title", "Novels");
    m_profile.writeString("CorpusSet", "001File", "*.nov");
    m_profile.writeString("CorpusSet", "001Dir", "/n/");
    SearchDialogModel dialog = openedDialog();

    EXPECT_EQ(dialog.clickCorpusSet(1), CorpusSetButtons::Click::Loaded);
    EXPECT_EQ(dialog.fields().corpus, (CorpusFields{"*.nov", "/n/", "", ""}));

    dialog.fields().corpus = {"*.txt", "/t/", "", ""};
    ASSERT_EQ(dialog.clickCorpusSet(4), CorpusSetButtons::Click::DefineRequested);
    CFileSetDlg fileSet = dialog.fileSetDialog(4);
    EXPECT_EQ(fileSet.windowTitle(), "No.4");
    EXPECT_EQ(fileSet.set().fields, dialog.fields().corpus);
    fileSet.set().title = "Texts";
    fileSet.set().fields.resFile = "t.lst";
    ASSERT_TRUE(dialog.acceptFileSet(fileSet));
    EXPECT_EQ(dialog.corpusSetCaption(4), "Texts");
    EXPECT_EQ(dialog.fields().corpus.resFile, "t.lst");

    Profile reread(m_path);
    EXPECT_EQ(reread.readString("CorpusSet", "004Title", ""), "Texts");
    EXPECT_EQ(reread.readString("CorpusSet", "004ResDir", "none"), "");
}

}  // namespace
}  // namespace vellmora
