#include "results/file_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "document/result_document.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "results/file_list_dialog_model.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;
using testing::readFileBytes;
using testing::TempDir;
using testing::writeFileBytes;

class FileListTest : public ::testing::Test {
protected:
    void touch(const std::string& name) { writeFileBytes(m_tree.file(name), "x"); }
    void mkdir(const std::string& name) { std::filesystem::create_directory(m_tree.file(name)); }
    std::string path(const std::string& name) const { return m_tree.path() + "/" + name; }

    FileListOutcome runJob(bool excludeBinary = false) {
        return runFileListJob(m_place,
                              FileListRequest{m_tree.path() + "/", m_output, excludeBinary});
    }
    std::string output() const { return readFileBytes(m_output); }
    std::string id() const { return std::to_string(m_document.id()); }

    TempDir m_tree;
    TempDir m_dir;
    std::string m_output = m_dir.file("DEFAULT.LST");
    Profile m_profile{m_dir.file("pyxo.ini")};
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"result"};
    ApplicationSearchFlags m_flags;
    SearchState m_view;
    ResultCommandPlace m_place{m_profile, m_ui, m_document, m_flags, m_view};
};

TEST_F(FileListTest, WritesEveryFileDepthFirstAsFound) {
    touch("b.txt");
    touch("ReadMe.TXT");
    mkdir("a");
    touch("a/x.txt");
    mkdir("a/deeper");
    touch("a/deeper/y");
    touch("c.txt");
    const FileListOutcome outcome = runJob();

    ASSERT_EQ(outcome.end, FileListEnd::Done);
    EXPECT_EQ(outcome.written, 5);
    // Byte order within a directory, each subdirectory where it stands; case kept.
    EXPECT_EQ(output(), path("ReadMe.TXT") + "\n" + path("a/deeper/y") + "\n" + path("a/x.txt") +
                            "\n" + path("b.txt") + "\n" + path("c.txt") + "\n");
    EXPECT_EQ(m_ui.transcript(), (Lines{"title " + id() + ": making filelist...", "restore " + id(),
                                        "beep", "message OK: Finished!!"}));
    EXPECT_TRUE(m_view.files.isEmpty());
    EXPECT_FALSE(m_flags.running);
    EXPECT_FALSE(m_view.busy);
}

TEST_F(FileListTest, ExcludedTypesAreLeftOutOnlyWhenAsked) {
    touch("setup.EXE");
    touch("data.zip");
    touch("notes.txt");
    touch("Makefile");
    EXPECT_EQ(runJob(true).end, FileListEnd::Done);
    EXPECT_EQ(output(), path("Makefile") + "\n" + path("notes.txt") + "\n");

    EXPECT_EQ(runJob(false).written, 4);
}

TEST_F(FileListTest, HiddenEntriesLinkedDirectoriesAndLineEndsStayOut) {
    touch(".hidden");
    mkdir(".git");
    touch(".git/config");
    mkdir("real");
    touch("real/r.txt");
    ASSERT_EQ(symlink(path("real").c_str(), path("link").c_str()), 0);
    touch("bad\nname.txt");
    const FileListOutcome outcome = runJob();
    EXPECT_EQ(output(), path("real/r.txt") + "\n");
    EXPECT_EQ(outcome.skipped, 1);
}

TEST_F(FileListTest, AnEmptyDirectoryGivesAnEmptyList) {
    writeFileBytes(m_output, "old content\n");
    EXPECT_EQ(runJob().end, FileListEnd::Done);
    EXPECT_EQ(output(), "");
    EXPECT_EQ(m_ui.messages(), Lines{"Finished!!"});
}

TEST_F(FileListTest, AnOutputThatCannotBeCreatedIsReported) {
    touch("a.txt");
    m_output = m_dir.file("no/such/dir/LIST.LST");
    const FileListOutcome outcome = runJob();
    EXPECT_EQ(outcome.end, FileListEnd::OutputFailed);
    EXPECT_EQ(outcome.written, 0);
    EXPECT_EQ(m_ui.messages(), Lines{"Failed to open output file...(/_;)"});
    EXPECT_FALSE(std::filesystem::exists(m_output));
    EXPECT_TRUE(m_view.files.isEmpty());
    EXPECT_FALSE(m_flags.running);
}

TEST_F(FileListTest, NothingHappensWhileASearchRunsOrAfterACancel) {
    touch("a.txt");
    m_flags.running = true;
    EXPECT_EQ(runJob().end, FileListEnd::Refused);
    EXPECT_TRUE(m_ui.transcript().empty());
    EXPECT_FALSE(std::filesystem::exists(m_output));
    m_flags.running = false;

    m_ui.cancelAtPump(1);
    EXPECT_EQ(runJob().end, FileListEnd::Stopped);
    EXPECT_FALSE(std::filesystem::exists(m_output));
    EXPECT_EQ(m_ui.transcript(),
              (Lines{"title " + id() + ": making filelist...", "restore " + id()}));
    EXPECT_FALSE(m_ui.cancelRequested());
    EXPECT_FALSE(m_view.busy);
}

TEST_F(FileListTest, BeepFollowsTheSetting) {
    m_profile.writeInt("Options", "Beep", 1);
    m_profile.flush();
    runJob();
    EXPECT_EQ(m_ui.beeps(), 0);
    EXPECT_EQ(m_ui.messages(), Lines{"Finished!!"});
}

class FileListDialogTest : public FileListTest {
protected:
    FileListDialogModel m_dialog{m_profile, m_ui};
};

TEST_F(FileListDialogTest, EmptyFieldsGetTheCurrentDirectoryAndTheDefaultName) {
    m_dialog.open("/home/Me/Corpus");
    EXPECT_EQ(m_dialog.referenceDirectory(), "/home/Me/Corpus/");
    EXPECT_EQ(m_dialog.outputFile(), "/home/Me/Corpus/DEFAULT.LST");
    EXPECT_EQ(m_dialog.directoryToOffer(), "/home/Me/Corpus/");  // never upper-cased

    // Fields the user filled stay for the next opening.
    m_dialog.setOutputFile("/tmp/Mine.lst");
    m_dialog.takeChosenDirectory("/data/Texts");
    m_dialog.open("/elsewhere");
    EXPECT_EQ(m_dialog.referenceDirectory(), "/data/Texts/");
    EXPECT_EQ(m_dialog.outputFile(), "/tmp/Mine.lst");

    FileListDialogModel fresh(m_profile, m_ui);
    fresh.open();
    EXPECT_TRUE(fresh.referenceDirectory().ends_with('/'));
}

TEST_F(FileListDialogTest, OkRefusesEmptyFieldsInOrder) {
    m_dialog.open("/corpus/");
    m_dialog.setReferenceDirectory("");
    m_dialog.setOutputFile("");
    EXPECT_FALSE(m_dialog.ok());
    EXPECT_EQ(m_dialog.focus(), FileListField::ReferenceDirectory);
    m_dialog.setReferenceDirectory("/corpus/");
    EXPECT_FALSE(m_dialog.ok());
    EXPECT_EQ(m_dialog.focus(), FileListField::OutputFile);
    EXPECT_EQ(m_ui.transcript(), (Lines{"beep", "message OK: Enter REFERENCE DIRECTORY!!", "beep",
                                        "message OK: Enter OUTPUT FILE!!"}));
    m_dialog.setOutputFile("/corpus/a.lst");
    EXPECT_TRUE(m_dialog.ok());
    EXPECT_EQ(m_dialog.focus(), FileListField::None);
}

TEST_F(FileListDialogTest, TheCommandRunsTheJobOnTheConfirmedDialog) {
    touch("a.txt");
    touch("b.exe");
    m_dialog.setReferenceDirectory(m_tree.path());
    m_dialog.setOutputFile(m_output);
    m_dialog.setExcludeBinary(true);
    EXPECT_EQ(runFileListCommand(m_place, m_dialog).end, FileListEnd::Done);
    EXPECT_EQ(output(), path("a.txt") + "\n");

    // Cancelled, or refused by its checks: no job.
    std::filesystem::remove(m_output);
    EXPECT_EQ(runFileListCommand(m_place, m_dialog, [](FileListDialogModel&) { return false; }).end,
              FileListEnd::Refused);
    m_dialog.setOutputFile("");
    m_dialog.setReferenceDirectory("");
    m_ui.clear();
    EXPECT_EQ(runFileListCommand(m_place, m_dialog,
                                 [](FileListDialogModel& d) {
                                     d.setReferenceDirectory("");
                                     return confirmFileListAsSet(d);
                                 })
                  .end,
              FileListEnd::Refused);
    EXPECT_EQ(m_dialog.focus(), FileListField::ReferenceDirectory);
    EXPECT_FALSE(std::filesystem::exists(m_output));
}

}  // namespace
}  // namespace vellmora
