#include "platform/finder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vellmora {
namespace {

TEST(MatchesWildcard, StarAndQuestionMarkIgnoreAsciiCase) {
    EXPECT_TRUE(matchesWildcard("*.txt", "a.TXT"));
    EXPECT_FALSE(matchesWildcard("*.txt", "a.txt.bak"));
    EXPECT_TRUE(matchesWildcard("ch??.txt", "CH01.txt"));
    EXPECT_FALSE(matchesWildcard("ch??.txt", "ch1.txt"));
    EXPECT_TRUE(matchesWildcard("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(matchesWildcard("a*b*c", "aXbYbZ"));
    EXPECT_FALSE(matchesWildcard("", "x"));
}

TEST(MatchesWildcard, TrailingDotStarAlsoMatchesNamesWithoutTheDot) {
    for (const char* name : {"a.txt", "README", "x.tar.gz"}) {
        EXPECT_TRUE(matchesWildcard("*.*", name)) << name;
    }
    EXPECT_TRUE(matchesWildcard("notes.*", "notes"));
    EXPECT_FALSE(matchesWildcard("notes.*", "notesx"));
}

TEST(MatchesWildcard, DotNamesNeedAPatternThatStartsWithADot) {
    EXPECT_FALSE(matchesWildcard("*", ".profile"));
    EXPECT_FALSE(matchesWildcard("*.*", ".profile"));
    EXPECT_FALSE(matchesWildcard("?profile", ".profile"));
    EXPECT_TRUE(matchesWildcard(".*", ".profile"));
    EXPECT_TRUE(matchesWildcard(".prof*", ".profile"));
}

TEST(MatchesWildcard, DoubleByteCharactersStayWhole) {
    const std::string a = "\x83\x41";   // ア: its second byte is "A"
    const std::string di = "\x83\x61";  // ヂ: its second byte is "a"
    EXPECT_TRUE(matchesWildcard("?.txt", a + ".txt"));
    EXPECT_FALSE(matchesWildcard("??.txt", a + ".txt"));
    // Neither a star nor the case fold may see the second byte as a letter of its own.
    EXPECT_FALSE(matchesWildcard("*a", "x" + a));
    EXPECT_FALSE(matchesWildcard("*A.txt", a + ".txt"));
    EXPECT_FALSE(matchesWildcard(di, a));
    EXPECT_TRUE(matchesWildcard("*" + a + "*", "x" + a + "y"));
}

TEST(MatchesWildcard, Utf8NamesKeepTheirOwnCharacters) {
    // 前半の部分.txt: read as Shift-JIS, the last byte of 分 (0x86) would take the dot along.
    const std::string name = "\xE5\x89\x8D\xE5\x8D\x8A\xE3\x81\xAE\xE9\x83\xA8\xE5\x88\x86.txt";
    EXPECT_TRUE(matchesWildcard("*.txt", name));
    EXPECT_TRUE(matchesWildcard("*.*", name.substr(0, name.size() - 4)));
    EXPECT_TRUE(matchesWildcard("?????.txt", name));
    EXPECT_FALSE(matchesWildcard("????.txt", name));
    EXPECT_TRUE(matchesWildcard("*\xE9\x83\xA8*", name));   // 部
    EXPECT_FALSE(matchesWildcard("*\xE9\x83\xA9*", name));  // a character differing in its last byte
}

class FinderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/finder_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = std::string(pattern) + "/";
    }
    void TearDown() override {
        chmod(m_root.c_str(), 0700);
        std::filesystem::remove_all(m_root);
    }

    void touch(const std::string& relative) { std::ofstream(m_root + relative) << "x\n"; }
    void makeDirectory(const std::string& relative) {
        std::filesystem::create_directories(m_root + relative);
    }
    void link(const std::string& target, const std::string& relative) {
        ASSERT_EQ(symlink(target.c_str(), (m_root + relative).c_str()), 0);
    }

    /// "name" for files, "name/" for directories, "name@" added for links.
    static std::vector<std::string> describe(const std::vector<FinderEntry>& entries) {
        std::vector<std::string> names;
        for (const FinderEntry& entry : entries) {
            names.push_back(entry.name + (entry.isDirectory ? "/" : "") +
                            (entry.isSymlink ? "@" : ""));
        }
        return names;
    }

    std::string m_root;
};

TEST_F(FinderTest, ListsMatchesInByteOrderTellingDirectoriesFromFiles) {
    for (const char* name : {"b.txt", "a.TXT", "B.txt", "c.htm", "\x83\x41.txt", ".hidden.txt"}) {
        touch(name);
    }
    makeDirectory("old.txt");
    makeDirectory("sub");
    touch("sub/inner.txt");
    EXPECT_EQ(describe(findEntries(m_root + "*.txt")),
              (std::vector<std::string>{"B.txt", "a.TXT", "b.txt", "old.txt/", "\x83\x41.txt"}));
    EXPECT_EQ(describe(findEntries(m_root + "*.*")),
              (std::vector<std::string>{"B.txt", "a.TXT", "b.txt", "c.htm", "old.txt/", "sub/",
                                        "\x83\x41.txt"}));
    EXPECT_EQ(describe(findEntries(m_root + "sub/*")), (std::vector<std::string>{"inner.txt"}));
    EXPECT_TRUE(findEntries(m_root).empty());
    EXPECT_TRUE(findEntries(m_root + "*.doc").empty());
}

TEST_F(FinderTest, LinksAreFollowedAndWhatCannotBeReadSafelyIsLeftOut) {
    touch("real.txt");
    makeDirectory("dir");
    link(m_root + "real.txt", "to_file.txt");
    link(m_root + "dir", "to_dir");
    link(m_root + "missing.txt", "dangling.txt");
    ASSERT_EQ(mkfifo((m_root + "pipe.txt").c_str(), 0600), 0);
    EXPECT_EQ(describe(findEntries(m_root + "*")),
              (std::vector<std::string>{"dir/", "real.txt", "to_dir/@", "to_file.txt@"}));
    EXPECT_TRUE(isDirectory(m_root + "to_dir"));
    EXPECT_FALSE(isDirectory(m_root + "to_file.txt"));
    EXPECT_FALSE(isDirectory(m_root + "dangling.txt"));
}

TEST_F(FinderTest, ListDirectoryKeepsDotNamesButNotDotAndDotDot) {
    touch(".profile");
    touch("z");
    makeDirectory(".cache");
    EXPECT_EQ(describe(listDirectory(m_root)),
              (std::vector<std::string>{".cache/", ".profile", "z"}));
    EXPECT_EQ(describe(listDirectory(m_root + ".cache")), std::vector<std::string>{});
}

TEST_F(FinderTest, UnreadableDirectoriesGiveNothing) {
    touch("file");
    EXPECT_TRUE(findEntries(m_root + "missing/*").empty());
    EXPECT_TRUE(findEntries(m_root + "file/*").empty());
    EXPECT_TRUE(listDirectory(m_root + "file").empty());
    EXPECT_TRUE(listDirectory(std::string(m_root) + '\0' + "x").empty());
    EXPECT_TRUE(listDirectory("").empty());
    EXPECT_TRUE(listDirectory(m_root + std::string(5000, 'd')).empty());

    makeDirectory("locked");
    touch("locked/a.txt");
    ASSERT_EQ(chmod((m_root + "locked").c_str(), 0), 0);
    if (geteuid() != 0) {
        EXPECT_TRUE(findEntries(m_root + "locked/*").empty());
    }
    chmod((m_root + "locked").c_str(), 0700);
}

}  // namespace
}  // namespace vellmora
