#include "engine/corpus_file_set.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/recording_user_interface.h"

namespace vellmora {
namespace {

constexpr DocumentId kDocument = 7;
using Paths = std::vector<std::string>;

/// Runs an action from inside the n-th pump, to change the tree while it is being walked.
class MeddlingUserInterface : public RecordingUserInterface {
public:
    void pump() override {
        RecordingUserInterface::pump();
        if (pumps() == m_atPump && m_action) m_action();
    }
    void atPump(long n, std::function<void()> action) {
        m_atPump = n;
        m_action = std::move(action);
    }

private:
    long m_atPump = -1;
    std::function<void()> m_action;
};

class CorpusFileSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/corpus_file_set_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = std::string(pattern) + "/";
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    void write(const std::string& relative, const std::string& content = "text\n") {
        std::filesystem::path path = m_root + relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    void makeDirectory(const std::string& relative) {
        std::filesystem::create_directories(m_root + relative);
    }
    void link(const std::string& target, const std::string& relative) {
        ASSERT_EQ(symlink(target.c_str(), (m_root + relative).c_str()), 0);
    }

    CorpusRequest patterns(const std::string& fileName, bool subdirectories) const {
        return CorpusRequest{fileName, m_root, "", subdirectories};
    }
    CorpusRequest responseFile(const std::string& relative, bool subdirectories = false) const {
        return CorpusRequest{"", m_root, m_root + relative, subdirectories};
    }

    /// The collected paths, with the temporary root taken off those under it.
    Paths collect(const CorpusRequest& request) {
        CExStringList files;
        m_completed = collectCorpusFiles(request, files, m_ui, kDocument);
        Paths paths;
        for (const std::string& path : files) {
            bool under = path.compare(0, m_root.size(), m_root) == 0;
            paths.push_back(under ? path.substr(m_root.size()) : path);
        }
        return paths;
    }

    std::string m_root;
    MeddlingUserInterface m_ui;
    bool m_completed = false;
};

TEST_F(CorpusFileSetTest, PatternsInTurnWithoutSubdirectories) {
    for (const char* name : {"b.txt", "a.TXT", "x.htm", "c.doc", "sub/d.txt", "\x83\x41.htm"}) {
        write(name);
    }
    makeDirectory("old.txt");  // matches, but is no file
    EXPECT_EQ(collect(patterns("*.txt;*.htm", false)),
              (Paths{"a.TXT", "b.txt", "x.htm", "\x83\x41.htm"}));
    EXPECT_TRUE(m_completed);
    EXPECT_TRUE(m_ui.transcript().empty());
    EXPECT_EQ(m_ui.pumps(), 5);

    EXPECT_EQ(collect(patterns("*.doc;;nothing*", false)), (Paths{"c.doc"}));
}

TEST_F(CorpusFileSetTest, SubdirectoriesCollectEveryFileBelowTheTopLevel) {
    for (const char* name : {"a.txt", "c.doc", "plain/skipped.txt", "sub.txt/inner.doc",
                             "sub.txt/deeper/e.bin", "sub.txt/.git/config", "sub.txt/.hidden"}) {
        write(name);
    }
    EXPECT_EQ(collect(patterns("*.txt", true)),
              (Paths{"a.txt", "sub.txt/deeper/e.bin", "sub.txt/inner.doc"}));
    EXPECT_TRUE(m_completed);
    EXPECT_EQ(m_ui.transcript(), (Paths{"title 7: Collecting filenames...", "restore 7"}));
}

TEST_F(CorpusFileSetTest, FoundFilesAreAddedUnderTheDirectoryTheyWereFoundIn) {
    write("corpus1.txt");
    write("corpus/a.txt");
    write("sub/b.txt");
    // Without a trailing "/" the directory is joined verbatim, so this lists "corpus*.txt"
    // in the root; the names must still come out as paths that exist.
    CorpusRequest request{"*.txt", m_root + "corpus", "", false};
    EXPECT_EQ(collect(request), (Paths{"corpus1.txt"}));
    EXPECT_EQ(collect(patterns("sub/*.txt", false)), (Paths{"sub/b.txt"}));
}

TEST_F(CorpusFileSetTest, ResponseFileIsRetriedWithLstOnlyWithoutAnExtension) {
    write("list.lst", m_root + "from-lst\n");
    EXPECT_EQ(collect(responseFile("list")), (Paths{"from-lst"}));
    EXPECT_EQ(collect(responseFile("list.")), (Paths{"from-lst"}));
    EXPECT_EQ(collect(responseFile("list.txt")), Paths{});
    EXPECT_TRUE(m_completed);

    write("list", m_root + "from-bare\n");
    EXPECT_EQ(collect(responseFile("list")), (Paths{"from-bare"}));

    // A directory cannot be read as a list, although the system would open it.
    makeDirectory("folder");
    write("folder.lst", m_root + "from-folder-lst\n");
    EXPECT_EQ(collect(responseFile("folder")), (Paths{"from-folder-lst"}));

    // Only the name decides: a dot in a directory is no extension.
    EXPECT_EQ(responseFileRetryPath("/data.d/list"), "/data.d/list.lst");
}

TEST_F(CorpusFileSetTest, ResponseLinesReachTheListWithoutCommentsOrLineEnds) {
    write("sub/b.txt");
    write("sub/c.htm");
    write("list.lst", "# comment\r\n;another\n" + m_root + "a.txt\r\n\r\n" +
                          "relative/name with blanks \n" + m_root + "sub/*.TXT\r\n" +
                          " #not a comment\nlast line");
    EXPECT_EQ(collect(responseFile("list.lst")),
              (Paths{"a.txt", "", "relative/name with blanks ", "sub/b.txt", " #not a comment",
                     "last line"}));
}

TEST_F(CorpusFileSetTest, WildcardLinesWalkDirectoriesWhateverSubdirSays) {
    write("top.txt");
    write("dir/one.doc");
    write("dir/two/three.txt");
    write("dir/.hidden");
    write("list.lst", m_root + "*\n");
    EXPECT_EQ(collect(responseFile("list.lst", false)),
              (Paths{"dir/one.doc", "dir/two/three.txt", "list.lst", "top.txt"}));
}

TEST_F(CorpusFileSetTest, TheSameFileThroughPatternAndResponseFileIsListedTwice) {
    write("a.txt");
    write("list.lst", m_root + "a.txt\n");
    CorpusRequest request{"a.txt", m_root, m_root + "list.lst", false};
    EXPECT_EQ(collect(request), (Paths{"a.txt", "a.txt"}));
}

TEST_F(CorpusFileSetTest, LinksToDirectoriesAreNotWalkedSoLoopsEnd) {
    write("tree/a.txt");
    write("elsewhere/b.txt");
    link(m_root, "tree/up");
    link(".", "tree/self");
    link(m_root + "elsewhere/b.txt", "tree/b-link.txt");
    link(m_root + "tree", "tree-link");
    write("list.lst", m_root + "tree*\n");
    EXPECT_EQ(collect(patterns("tree*", true)), (Paths{"tree/a.txt", "tree/b-link.txt"}));
    EXPECT_EQ(collect(responseFile("list.lst")), (Paths{"tree/a.txt", "tree/b-link.txt"}));
    EXPECT_TRUE(m_completed);
}

TEST_F(CorpusFileSetTest, UnreadableDirectoriesAndOddResponseFilesAddNothing) {
    write("a/1.txt");
    write("b/2.txt");
    write("c/3.txt");
    // Pump 1 is the top-level entry "a", pump 2 the entry inside it; then "b" goes away
    // just before the walk reaches it, which no permission bit can fake for root.
    m_ui.atPump(2, [this] { std::filesystem::remove_all(m_root + "b"); });
    EXPECT_EQ(collect(patterns("*", true)), (Paths{"a/1.txt", "c/3.txt"}));

    if (geteuid() != 0) {
        ASSERT_EQ(chmod((m_root + "c").c_str(), 0), 0);
        EXPECT_EQ(collect(patterns("*", true)), (Paths{"a/1.txt"}));
        chmod((m_root + "c").c_str(), 0700);
    }

    write("empty.lst", "");
    EXPECT_EQ(collect(responseFile("empty.lst")), Paths{});
    write("dirs.lst", m_root + "a\n" + m_root + "a/\n");
    EXPECT_EQ(collect(responseFile("dirs.lst")), (Paths{"a", "a/"}));
    const char binary[] = "\x00\xff*\x01\xfe\n\x89PNG\x00/*\x1a";
    write("binary.lst", std::string(binary, sizeof binary - 1));
    EXPECT_EQ(collect(responseFile("binary.lst")), (Paths{"", "\x89PNG"}));
    EXPECT_TRUE(m_completed);
}

TEST_F(CorpusFileSetTest, CancelStopsCollectingAtThePumpThatRequestedIt) {
    for (int i = 0; i < 20; ++i) write("d/f" + std::to_string(i / 10) + std::to_string(i % 10));
    m_ui.cancelAtPump(5);
    Paths found = collect(patterns("*", true));
    EXPECT_FALSE(m_completed);
    EXPECT_TRUE(m_ui.cancelRequested());
    EXPECT_EQ(m_ui.pumps(), 5);
    EXPECT_EQ(found, (Paths{"d/f00", "d/f01", "d/f02"}));
    EXPECT_EQ(m_ui.transcript().back(), "restore 7");

    // Inside a response file the check comes once per line.
    write("list.lst", "one\ntwo\nthree\n");
    m_ui.clear();
    m_ui.clearCancel();
    m_ui.cancelAtPump(2);
    EXPECT_EQ(collect(responseFile("list.lst")), (Paths{"one"}));
    EXPECT_FALSE(m_completed);

    // A cancelled pattern expansion does not go on to the response file.
    m_ui.clear();
    m_ui.clearCancel();
    m_ui.cancelAtPump(1);
    CorpusRequest both{"list.lst", m_root, m_root + "list.lst", false};
    EXPECT_EQ(collect(both), Paths{});
    EXPECT_EQ(m_ui.pumps(), 1);
}

}  // namespace
}  // namespace vellmora
