// Every save under the faults a desktop meets: a write that stops half-way (the file size
// limit of the process stands in for a disk that fills up), a disk already full, and a folder
// that cannot take a new file. The old file must survive byte for byte, no temporary file may
// stay behind, and the failure must be reported.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "containers/ex_string_list.h"
#include "containers/string_tree.h"
#include "document/formatted_file.h"
#include "document/result_document.h"
#include "document/text_save.h"
#include "platform/recording_user_interface.h"
#include "tests/document/file_bytes.h"
#include "results/colloq_reference.h"
#include "results/file_list.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using testing::readFileBytes;
using testing::writeFileBytes;

/// Runs save where it cannot create a file in folder: as a user without the right to write
/// there (in a child process when this one is root, whom modes do not stop). True when save
/// reported success.
bool saveInReadOnlyFolder(const std::string& folder, const std::function<bool()>& save) {
    chmod(folder.c_str(), 0555);
    bool succeeded = false;
    if (geteuid() != 0) {
        succeeded = save();
    } else {
        const pid_t child = fork();
        if (child == 0) {
            const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
            _exit(dropped ? (save() ? 0 : 1) : 2);
        }
        int status = 0;
        waitpid(child, &status, 0);
        succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        EXPECT_NE(WEXITSTATUS(status), 2) << "could not become an unprivileged user";
    }
    chmod(folder.c_str(), 0755);
    return succeeded;
}

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

/// A save that replaces the file "target" in a folder of its own.
using Save = std::function<bool(const std::string& target, RecordingUserInterface& ui)>;

/// The three faults for one save: each leaves the old target as it was, and nothing else.
void expectFaultsLeaveTheOldFile(const Save& save, bool reportsToTheUser) {
    const std::string old = "the old file\n";
    struct Fault {
        const char* name;
        rlim_t limit;  // of the file size; 0 with readOnly: none
        bool readOnly;
    };
    for (const Fault& fault : {Fault{"half-way", 4096, false}, Fault{"full disk", 0, false},
                               Fault{"read-only folder", 0, true}}) {
        testing::TempDir dir;
        const std::string target = dir.file("target");
        writeFileBytes(target, old);
        RecordingUserInterface ui;
        bool saved = false;
        if (fault.readOnly) {
            saved = saveInReadOnlyFolder(dir.path(), [&] { return save(target, ui); });
        } else {
            testing::FileSizeLimit limit(fault.limit);
            saved = save(target, ui);
        }
        EXPECT_FALSE(saved) << fault.name;
        EXPECT_TRUE(readFileBytes(target) == old) << fault.name << ": the old file changed";
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"target"}) << fault.name;
        // The child's messages stay in the child; its exit status said how the save ended.
        if (reportsToTheUser && !fault.readOnly) {
            EXPECT_EQ(ui.messages().size(), 1u) << fault.name;
        }
    }
}

/// A search result of many lines, more than the half-way limit holds.
void fill(CPyxoDoc& document) {
    document.addSearchLine("-----[ a.txt ]-----", 100000);
    for (int i = 1; i <= 400; ++i)
        document.addSearchLine("   " + std::to_string(i) + " | the cat sat on the mat", 100000);
}

TEST(SaveFaultsTest, FormattedFileTextSaveAndConversion) {
    CPyxoDoc document("PYXO");
    fill(document);
    expectFaultsLeaveTheOldFile(
        [&](const std::string& target, RecordingUserInterface& ui) {
            return bool(writeFormattedFile(document, target, ui));
        },
        true);
    testing::TempDir settings;
    Profile profile(settings.file("pyxo.ini"));
    for (const ResultKind kind : {ResultKind::Original, ResultKind::Spreadsheet}) {
        if (kind == ResultKind::Spreadsheet)
            for (int i = 0; i < 400; ++i) document.list(kind).addTail("1\tthe\tcat\tsat\ton the mat");
        document.selectKind(kind);
        expectFaultsLeaveTheOldFile(
            [&](const std::string& target, RecordingUserInterface& ui) {
                return bool(writeTextFile(document, target, profile, ui));
            },
            true);
    }
}

TEST(SaveFaultsTest, SettingsFileAndFileList) {
    expectFaultsLeaveTheOldFile(
        [](const std::string& target, RecordingUserInterface&) {
            Profile profile(target);
            for (int i = 0; i < 400; ++i)
                profile.writeString("Section", "Key" + std::to_string(i), std::string(20, 'v'));
            // Its flush as it goes away meets the same fault.
            return profile.flush();
        },
        false);
    CExStringList files;
    for (int i = 0; i < 400; ++i) files.addTail("/corpus/texts/file" + std::to_string(i) + ".txt");
    expectFaultsLeaveTheOldFile(
        [&](const std::string& target, RecordingUserInterface&) {
            FileListOutcome outcome;
            return writeFileList(files, nullptr, target, outcome);
        },
        false);
}

TEST(SaveFaultsTest, AWordListThatCannotBeWrittenWholeIsNeitherKeptNorRecorded) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir.file("corpus"));
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "word" + std::to_string(i) + " ";
    writeFileBytes(dir.file("corpus/a.txt"), text + "\n");
    ReferenceRequest request;
    request.files.fileName = "*.txt";
    request.files.directory = dir.file("corpus") + "/";
    request.wordListFolder = dir.file("cache");
    std::filesystem::create_directories(request.wordListFolder);
    Profile profile(dir.file("pyxo.ini"));
    RecordingUserInterface ui;
    CStringTree reference;
    for (const rlim_t limit : {rlim_t{4096}, rlim_t{0}}) {
        ReferenceOutcome outcome;
        {
            testing::FileSizeLimit fault(limit);
            outcome = buildReference(request, profile, reference, ui);
        }
        EXPECT_EQ(outcome.filesRead, 1);
        EXPECT_TRUE(outcome.cachePath.empty());
        EXPECT_TRUE(std::filesystem::is_empty(request.wordListFolder)) << limit;
    }
    // Without the fault the next run reads the corpus again and keeps its word list.
    const ReferenceOutcome outcome = buildReference(request, profile, reference, ui);
    EXPECT_FALSE(outcome.fromCache);
    EXPECT_FALSE(outcome.cachePath.empty());
}

}  // namespace
}  // namespace vellmora
