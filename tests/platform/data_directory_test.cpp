#include "platform/data_directory.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace vellmora {
namespace {

/// Sets or unsets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name) {
        if (const char* old = getenv(name)) m_old = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class DataDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/data_directory_test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    std::string m_root;
};

TEST_F(DataDirectoryTest, VariablesChooseTheLocationInOrder) {
    // Every test points all three variables somewhere harmless, so no test can reach the
    // user's real data directory.
    ScopedVariable home("HOME", (m_root + "/home").c_str());
    {
        ScopedVariable pyxo("PYXO_DATA_DIR", (m_root + "/mine/").c_str());
        ScopedVariable xdg("XDG_DATA_HOME", (m_root + "/xdg").c_str());
        EXPECT_EQ(dataDirectory(), m_root + "/mine");
    }
    {
        ScopedVariable pyxo("PYXO_DATA_DIR", "");
        ScopedVariable xdg("XDG_DATA_HOME", (m_root + "/xdg").c_str());
        EXPECT_EQ(dataDirectory(), m_root + "/xdg/vellmora");
    }
    {
        ScopedVariable pyxo("PYXO_DATA_DIR", nullptr);
        ScopedVariable xdg("XDG_DATA_HOME", "relative/share");
        EXPECT_EQ(dataDirectory(), m_root + "/home/.local/share/vellmora");
    }
}

TEST_F(DataDirectoryTest, PreparingCreatesTheFoldersAndIsRepeatable) {
    std::string directory = m_root + "/a/b/vellmora";
    for (int round = 0; round < 2; ++round) {
        DataDirectoryStatus status = prepareDataDirectory(directory);
        EXPECT_TRUE(status.ok()) << status.detail;
        EXPECT_TRUE(status.detail.empty());
        for (const char* folder : {"WordList", "Macro", "ErrorLog"}) {
            EXPECT_TRUE(std::filesystem::is_directory(directory + "/" + folder)) << folder;
        }
    }
}

TEST_F(DataDirectoryTest, AFileInTheWayIsReportedWithItsPath) {
    std::string directory = m_root + "/vellmora";
    std::filesystem::create_directories(directory);
    std::ofstream(directory + "/Macro") << "not a folder";
    DataDirectoryStatus status = prepareDataDirectory(directory);
    EXPECT_EQ(status.problem, DataDirectoryStatus::Problem::CannotCreate);
    EXPECT_NE(status.detail.find(directory + "/Macro: "), std::string::npos) << status.detail;

    std::ofstream(m_root + "/plain") << "x";
    EXPECT_FALSE(prepareDataDirectory(m_root + "/plain/vellmora").ok());
    EXPECT_FALSE(prepareDataDirectory("").ok());
}

TEST_F(DataDirectoryTest, NotWritableWhenTheFolderIsReadOnly) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes through any permission";
    std::string directory = m_root + "/vellmora";
    ASSERT_TRUE(prepareDataDirectory(directory).ok());
    chmod((directory + "/ErrorLog").c_str(), 0500);
    DataDirectoryStatus status = prepareDataDirectory(directory);
    chmod((directory + "/ErrorLog").c_str(), 0700);
    EXPECT_EQ(status.problem, DataDirectoryStatus::Problem::NotWritable);
}

TEST_F(DataDirectoryTest, MessageFileIsLookedForInTheDataDirectoryFirst) {
    std::string data = m_root + "/data";
    std::string program = m_root + "/bin";
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(program);
    EXPECT_EQ(findMessageFile(data, program), std::nullopt);

    std::ofstream(program + "/corpus.mes") << "Be brief.\n";
    EXPECT_EQ(findMessageFile(data, program), program + "/corpus.mes");

    std::filesystem::create_directories(data + "/corpus.mes");  // a folder is not the file
    EXPECT_EQ(findMessageFile(data, program), program + "/corpus.mes");
    std::filesystem::remove(data + "/corpus.mes");

    std::ofstream(data + "/corpus.mes") << "Be relevant.\n";
    EXPECT_EQ(findMessageFile(data + "/", program), data + "/corpus.mes");
}

}  // namespace
}  // namespace vellmora
