#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "tests/textlib/text_helpers.h"
#include "textlib/ximo.h"

namespace vellmora::test {
namespace {

constexpr std::size_t kPathOut = 260;
constexpr std::size_t kParseOut = 4096;

/// A caller's output buffer of exactly size bytes, holding "KEEP" to show
/// whether the call wrote it.
class OutBuffer {
  public:
    explicit OutBuffer(std::size_t size) : m_data(new char[size]) {
        std::memset(m_data.get(), 'Z', size);
        std::memcpy(m_data.get(), "KEEP", 5);
    }
    char* get() { return m_data.get(); }
    std::string str() const { return m_data.get(); }

  private:
    std::unique_ptr<char[]> m_data;
};

struct PathCase {
    std::string path;
    std::string filename;
    std::string directory;
    std::optional<std::string> extension;  // none: GetExtension writes nothing
};

TEST(PathParts, SplitAtTheLastSlashKeepingTheCaseOfEveryByte) {
    const std::string jaDir = bytes({0x93, 0xFA, 0x96, 0x7B, '/'});  // 日本/
    const std::string jaName = bytes({0x83, 0x5C, 'x', '.', 't', 'x', 't'});
    const std::vector<PathCase> cases = {
        {"/home/me/file.txt", "file.txt", "/home/me/", "txt"},
        {"file.txt", "file.txt", "", "txt"},
        {"Dir/File.TXT", "File.TXT", "Dir/", "TXT"},
        {"archive.tar.gz", "archive.tar.gz", "", "gz"},
        {"name.", "name.", "", ""},
        {".profile", ".profile", "", std::nullopt},
        {"/home/me/.profile", ".profile", "/home/me/", std::nullopt},
        {".config.bak", ".config.bak", "", std::nullopt},
        {"dir.d/file", "file", "dir.d/", std::nullopt},
        {"/dir/", "", "/dir/", std::nullopt},
        {"/", "", "/", std::nullopt},
        {"", "", "", std::nullopt},
        {"a\\b.c", "a\\b.c", "", "c"},  // a backslash is no separator here
        {jaDir + jaName, jaName, jaDir, "txt"},
    };
    for (const auto& c : cases) {
        HeapText path(c.path);
        OutBuffer file(kPathOut), dir(kPathOut), ext(kPathOut);
        EXPECT_EQ(GetFilename(path.get(), file.get()), file.get());
        EXPECT_EQ(GetDirectory(path.get(), dir.get()), dir.get());
        EXPECT_EQ(GetExtension(path.get(), ext.get()), ext.get());
        EXPECT_EQ(file.str(), c.filename) << c.path;
        EXPECT_EQ(dir.str(), c.directory) << c.path;
        EXPECT_EQ(ext.str(), c.extension.value_or("KEEP")) << c.path;
        EXPECT_EQ(path.str(), c.path) << "the path itself stays as it is";
    }
}

class ParseFilename : public ::testing::Test {
  protected:
    void SetUp() override {
        char saved[kParseOut];
        ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
        m_saved = saved;
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(tmp != nullptr && *tmp ? tmp : "/tmp") + "/ximo-paths-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        ASSERT_EQ(chdir(pattern.c_str()), 0);
        char here[kParseOut];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        m_dir = here;  // resolved, in case the temporary folder is reached through a link
        ASSERT_EQ(mkdir("sub", 0700), 0);
        ASSERT_EQ(mkdir("sub/deeper", 0700), 0);
        ASSERT_EQ(mkdir("MixedCase", 0700), 0);
        std::ofstream("sub/file.txt") << "x";
        std::ofstream("MixedCase/File.TXT") << "x";
    }

    void TearDown() override {
        EXPECT_EQ(chdir(m_saved.c_str()), 0);
        if (!m_dir.empty()) {
            for (const char* f : {"/sub/file.txt", "/MixedCase/File.TXT"})
                unlink((m_dir + f).c_str());
            for (const char* d : {"/sub/deeper", "/sub", "/MixedCase", ""})
                rmdir((m_dir + d).c_str());
        }
    }

    struct Parsed {
        int result;
        std::string dir;
        std::string pattern;
    };

    Parsed parse(const std::string& fileSpec) {
        HeapText text(fileSpec);
        OutBuffer dir(kParseOut), pattern(kParseOut);
        Parsed p{parse_filename(dir.get(), pattern.get(), text.get()), dir.str(), pattern.str()};
        EXPECT_EQ(text.str(), fileSpec) << "nothing is upper-cased";
        return p;
    }

    std::string m_saved;
    std::string m_dir;
};

TEST_F(ParseFilename, NamesWithoutSlashStayInTheCurrentDirectory) {
    for (const std::string fileSpec : {"notes.txt", "*.txt", "sub"}) {
        Parsed p = parse(fileSpec);
        EXPECT_EQ(p.result, 0) << fileSpec;
        EXPECT_EQ(p.dir, m_dir + "/") << fileSpec;
        EXPECT_EQ(p.pattern, fileSpec);
    }
    Parsed empty = parse("");
    EXPECT_EQ(empty.result, 0);
    EXPECT_EQ(empty.dir, m_dir + "/");
    EXPECT_EQ(empty.pattern, "*.*");
}

TEST_F(ParseFilename, TheRootAsCurrentDirectoryGetsOneSlash) {
    ASSERT_EQ(chdir("/"), 0);
    Parsed p = parse("");
    EXPECT_EQ(p.dir, "/");
    EXPECT_EQ(p.pattern, "*.*");
}

TEST_F(ParseFilename, ADirectoryGivesItselfAndEveryName) {
    for (const std::string& fileSpec : {m_dir + "/sub", m_dir + "/sub/"}) {
        Parsed p = parse(fileSpec);
        EXPECT_EQ(p.result, 0) << fileSpec;
        EXPECT_EQ(p.dir, m_dir + "/sub/") << fileSpec;
        EXPECT_EQ(p.pattern, "*.*") << fileSpec;
    }
    Parsed deeper = parse("sub/deeper");
    EXPECT_EQ(deeper.dir, "sub/deeper/");
    EXPECT_EQ(deeper.pattern, "*.*");

    Parsed root = parse("/");
    EXPECT_EQ(root.result, 0);
    EXPECT_EQ(root.dir, "/");
    EXPECT_EQ(root.pattern, "*.*");

    // A relative directory must still name it, however it is spelt.
    Parsed relative = parse("sub/");
    EXPECT_EQ(relative.pattern, "*.*");
    ASSERT_GE(relative.dir.size(), 4u);
    EXPECT_EQ(relative.dir.substr(relative.dir.size() - 4), "sub/");
    EXPECT_EQ(access((relative.dir + "file.txt").c_str(), F_OK), 0) << relative.dir;
}

TEST_F(ParseFilename, FilesAndWildcardsSplitAtTheLastSlash) {
    Parsed wildcard = parse(m_dir + "/sub/*.txt");
    EXPECT_EQ(wildcard.result, 0);
    EXPECT_EQ(wildcard.dir, m_dir + "/sub/");
    EXPECT_EQ(wildcard.pattern, "*.txt");

    Parsed file = parse(m_dir + "/sub/file.txt");
    EXPECT_EQ(file.result, 0);
    EXPECT_EQ(file.dir, m_dir + "/sub/");
    EXPECT_EQ(file.pattern, "file.txt");

    Parsed relative = parse("sub/file.txt");
    EXPECT_EQ(relative.dir, "sub/");
    EXPECT_EQ(relative.pattern, "file.txt");

    Parsed mixed = parse(m_dir + "/MixedCase/File.TXT");
    EXPECT_EQ(mixed.dir, m_dir + "/MixedCase/");
    EXPECT_EQ(mixed.pattern, "File.TXT");
}

TEST_F(ParseFilename, ANameRightBelowTheRootIsLookedUp) {
    EXPECT_EQ(parse("/no-such-entry-" + std::to_string(getpid())).result, 1);

    const std::string top = m_dir.substr(0, m_dir.find('/', 1));  // e.g. /tmp, a directory
    Parsed p = parse(top);
    EXPECT_EQ(p.result, 0);
    EXPECT_EQ(p.dir, top + "/");
    EXPECT_EQ(p.pattern, "*.*");
}

TEST(Identity, EditionVersionAndLanguage) {
    EXPECT_EQ(VmExType(), 0);
    EXPECT_EQ(GetExDllVersion(), 6);
    std::unique_ptr<char[]> language(new char[1]);
    language[0] = 'X';
    EXPECT_EQ(GetLanguage(language.get()), language.get());
    EXPECT_EQ(language[0], '\0');
}

}  // namespace
}  // namespace vellmora::test
