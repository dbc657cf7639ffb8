#include "engine/regex_binding.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <optional>
#include <string>

#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

/// The binding's verdict as {offset, length}, or {-1, -1} for none.
std::pair<long, long> found(const std::optional<RegexMatch>& match) {
    if (!match) return {-1, -1};
    return {static_cast<long>(match->offset), static_cast<long>(match->length)};
}

class RegexBindingTest : public ::testing::Test {
protected:
    void SetUp() override { unsetenv("PYXO_JRE"); }
    void TearDown() override {
        unsetenv("PYXO_JRE");
        // Every binding of a test is gone: the next test loads the engine afresh.
        EXPECT_EQ(RegexBinding::liveBindings(), 0);
        EXPECT_FALSE(RegexBinding::engineLoaded());
    }
};

TEST_F(RegexBindingTest, EngineBesideTheProgramIsLoadedAndMatches) {
    RegexBinding binding;
    ASSERT_TRUE(binding.initialise()) << RegexBinding::loadFailure();
    EXPECT_NE(binding.version(), 0u);
    ASSERT_TRUE(binding.compile(1, "b+"));
    EXPECT_EQ(found(binding.match(1, "abbab", 0)), std::make_pair(1L, 2L));
    // Further matches in the same text start one byte after the previous one.
    EXPECT_EQ(found(binding.match(1, "abbab", 2)), std::make_pair(2L, 1L));
    EXPECT_EQ(found(binding.match(1, "", 0)), std::make_pair(-1L, -1L));
    EXPECT_EQ(found(binding.match(3, "abbab", 0)), std::make_pair(-1L, -1L));
}

TEST_F(RegexBindingTest, EmptyMatchIsNoHitAndTheSearchGoesOnAfterIt) {
    RegexBinding binding;
    ASSERT_TRUE(binding.initialise());
    for (int record : {1, 2}) {
        ASSERT_TRUE(binding.compile(record, "x*"));
        EXPECT_EQ(found(binding.match(record, "abc", 0)), std::make_pair(-1L, -1L));
        EXPECT_EQ(found(binding.match(record, "abxxc", 0)), std::make_pair(2L, 2L));
        ASSERT_TRUE(binding.compile(record, "^|$"));
        EXPECT_EQ(found(binding.match(record, "abc", 0)), std::make_pair(-1L, -1L));
    }
}

TEST_F(RegexBindingTest, PatternsThatCannotBeCompiled) {
    RegexBinding binding;
    ASSERT_TRUE(binding.initialise());
    EXPECT_FALSE(binding.compile(1, ""));
    EXPECT_TRUE(binding.lastError(1).empty());  // the engine was never asked
    EXPECT_FALSE(binding.compile(2, "a{2,1}|("));
    EXPECT_FALSE(binding.lastError(2).empty());
    EXPECT_EQ(found(binding.match(2, "a", 0)), std::make_pair(-1L, -1L));
    EXPECT_FALSE(binding.compile(0, "a"));
}

TEST_F(RegexBindingTest, IgnoreCaseKeepsTheMeaningOfClasses) {
    RegexBinding binding;
    ASSERT_TRUE(binding.initialise());
    ASSERT_TRUE(binding.compile(1, "\\W", true));  // lower-cased it would be \w
    EXPECT_EQ(found(binding.match(1, "ab cd", 0)), std::make_pair(2L, 1L));
    ASSERT_TRUE(binding.compile(1, "The|CAT", true));
    EXPECT_EQ(found(binding.match(1, "a cat", 0)), std::make_pair(2L, 3L));
    ASSERT_TRUE(binding.compile(1, "the", false));
    EXPECT_EQ(found(binding.match(1, "THE", 0)), std::make_pair(-1L, -1L));
}

TEST_F(RegexBindingTest, TwoLiveBindingsShareTheEngine) {
    auto first = std::make_unique<RegexBinding>();
    RegexBinding second;
    EXPECT_EQ(RegexBinding::liveBindings(), 2);
    ASSERT_TRUE(first->initialise());
    ASSERT_TRUE(second.initialise());  // at once: its records open on first use
    ASSERT_TRUE(second.ensureOpened(1));
    ASSERT_TRUE(second.compile(1, "c"));
    ASSERT_TRUE(first->compile(1, "a"));

    first.reset();
    EXPECT_EQ(RegexBinding::liveBindings(), 1);
    EXPECT_TRUE(RegexBinding::engineLoaded());
    EXPECT_EQ(found(second.match(1, "abc", 0)), std::make_pair(2L, 1L));
    EXPECT_NE(second.version(), 0u);

    // Closed records match nothing and can be opened again.
    second.closeRecords();
    EXPECT_EQ(found(second.match(1, "abc", 0)), std::make_pair(-1L, -1L));
    ASSERT_TRUE(second.ensureOpened(1));
    ASSERT_TRUE(second.compile(1, "b"));
    EXPECT_EQ(found(second.match(1, "abc", 0)), std::make_pair(1L, 1L));
}

TEST_F(RegexBindingTest, EngineThatCannotBeLoadedGivesVersionZero) {
    testing::TempDir dir;
    const std::string notALibrary = dir.file("libjre32.so");
    testing::writeFileBytes(notALibrary, "not an ELF file\n");
    for (const std::string& path :
         {dir.file("missing.so"), notALibrary, std::string(NOT_AN_ENGINE)}) {
        setenv("PYXO_JRE", path.c_str(), 1);
        RegexBinding binding;
        EXPECT_FALSE(binding.initialise()) << path;
        EXPECT_FALSE(RegexBinding::engineLoaded()) << path;
        EXPECT_FALSE(RegexBinding::loadFailure().empty()) << path;
        EXPECT_EQ(binding.version(), 0u);
        EXPECT_FALSE(binding.ensureOpened(1));
        EXPECT_FALSE(binding.compile(1, "a"));
        EXPECT_EQ(found(binding.match(1, "a", 0)), std::make_pair(-1L, -1L));
        EXPECT_TRUE(binding.lastError(1).empty());
    }
}

TEST_F(RegexBindingTest, RecordsThatCannotBeOpenedLeaveTheEngineLoaded) {
    setenv("PYXO_JRE", FAKE_JRE, 1);
    setenv("FAKE_JRE_OPENS", "1", 1);
    RegexBinding binding;
    EXPECT_FALSE(binding.initialise());  // record 2 refused
    EXPECT_TRUE(RegexBinding::engineLoaded());
    EXPECT_EQ(binding.version(), 0x100u);
    EXPECT_TRUE(binding.ensureOpened(1));
    EXPECT_FALSE(binding.ensureOpened(2));
    EXPECT_TRUE(binding.lastError(1).empty());  // the engine has no message call
    unsetenv("FAKE_JRE_OPENS");
}

TEST(FormatJreVersion, FullStopAfterTheFirstDigit) {
    EXPECT_EQ(formatJreVersion(0x698), "6.98");
    EXPECT_EQ(formatJreVersion(0x123), "1.23");
    EXPECT_EQ(formatJreVersion(0x5), "0.05");
}

}  // namespace
}  // namespace vellmora
