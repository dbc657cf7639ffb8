// A run that searches its files on several threads must give what a run on one thread gives:
// the same lines in the same order, the same counts and separators, the same stop at the line
// limit, the same messages. Every case below is run both ways and compared byte for byte over
// a corpus of many files: real texts, random ones, empty ones, binary-looking ones.

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/result_document.h"
#include "engine/kwoc_search.h"
#include "engine/search_options.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/corpus_search.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

const std::string kData = VELLMORA_TEST_DATA;

struct RunResult {
    std::vector<std::string> lines;  // result lines, then the messages
    SearchOutcome outcome;
};

class ParallelSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_JRE", JRE, 1);
        std::mt19937 random(5);
        const std::vector<std::string> texts = {
            testing::readFileBytes(kData + "/reader/devil-part.txt"),
            testing::readFileBytes(kData + "/reader/fortunes-part.txt"),
            testing::readFileBytes(kData + "/reader/kjv-crlf.txt"),
            testing::readFileBytes(kData + "/ja/sjis/subset.txt")};
        for (int i = 0; i < 40; ++i) {
            std::string text;
            switch (i % 8) {
            case 0: break;  // empty
            case 1: {
                // Binary-looking: short NUL-ended pieces the guard counts, across files.
                for (int k = 0; k < 3 + i % 5; ++k) text += std::string("x\0\n", 3);
                text += "the end\n";
                break;
            }
            case 2: {
                const std::vector<std::string> words = {"the ", "cat ", "Lord ", "\n", "\t"};
                for (int k = 0; k < 3000; ++k) text += words[random() % words.size()];
                break;
            }
            default: {
                const std::string& source = texts[random() % texts.size()];
                const std::size_t from = random() % source.size();
                text = source.substr(from, 20000 + random() % 20000);
            }
            }
            testing::writeFileBytes(m_temp.file("c" + std::to_string(100 + i) + ".txt"), text);
        }
        // Matches the file names but cannot be read as a file.
        std::filesystem::create_directory(m_temp.file("c999.txt"));
    }
    void TearDown() override { unsetenv("PYXO_JRE"); }

    RunResult run(SearchOptions options, int jobs, const std::string& keyword, bool kwoc = false,
                  long cancelAtPump = 0) {
        options.jobs = jobs;
        RecordingUserInterface ui;
        if (cancelAtPump > 0) ui.cancelAtPump(cancelAtPump);
        testing::CorpusSearchResult found =
            testing::searchCorpus(options, m_profile, m_temp.path() + "/", keyword, kwoc, ui);
        RunResult result{std::move(found.lines), found.outcome};
        for (const std::string& message : ui.messages()) result.lines.push_back(message);
        return result;
    }

    void expectSameRuns(const SearchOptions& options, const std::vector<std::string>& keywords,
                        bool kwoc = false) {
        for (const std::string& keyword : keywords) {
            const RunResult one = run(options, 1, keyword, kwoc);
            const RunResult three = run(options, 3, keyword, kwoc);
            ASSERT_EQ(one.lines, three.lines) << "keyword \"" << keyword << "\"";
            EXPECT_EQ(one.outcome.filesOpened, three.outcome.filesOpened);
            EXPECT_EQ(one.outcome.total, three.outcome.total);
            EXPECT_EQ(one.outcome.limitReached, three.outcome.limitReached);
        }
    }

    testing::TempDir m_temp;
    Profile m_profile{m_temp.file("pyxo.ini")};
};

SearchOptions withCounts() {
    SearchOptions o;
    o.count = true;
    return o;
}

TEST_F(ParallelSearchTest, SeparatorsCountsAndEveryLoopGiveTheLinesOfOneThread) {
    const std::vector<std::string> keywords = {"the", "Lord", "zebra", "x", "\x82\xCC"};
    SearchOptions o = withCounts();
    expectSameRuns(o, keywords);
    o.countMatched = true;
    o.sepMatched = true;
    expectSameRuns(o, keywords);
    o = withCounts();
    o.tagFName = true;
    o.oneLine = true;
    o.ignoreCase = true;
    expectSameRuns(o, keywords);
    o = withCounts();
    o.noSeparator = true;
    o.kw1Both = true;
    expectSameRuns(o, keywords);
    o = withCounts();
    o.grep = true;
    expectSameRuns(o, {"Lord|God", "[a-z]+ing\\b", "the", "c.t"});
}

TEST_F(ParallelSearchTest, TheLineLimitStopsAtTheSameLine) {
    // Limits that fall on a separator, inside a file's hits, on a count line, past the end.
    for (int limit : {1, 2, 7, 40, 41, 150, 1000, 100000}) {
        SearchOptions o = withCounts();
        o.maxLine = limit;
        SCOPED_TRACE(limit);
        expectSameRuns(o, {"the", "Lord"});
        o.oneLine = true;
        o.sepMatched = true;
        expectSameRuns(o, {"the"});
    }
}

TEST_F(ParallelSearchTest, KwocGivesTheLinesOfOneThread) {
    SearchOptions o = withCounts();
    expectSameRuns(o, {"the", "Lord", "zebra"}, true);
    // Context lines around each match, and a limit that falls among them.
    m_profile.writeInt("KWOCOptions", "ContextMae", 2);
    m_profile.writeInt("KWOCOptions", "ContextAto", 1);
    m_profile.flush();
    expectSameRuns(o, {"the", "Lord"}, true);
    for (int limit : {3, 37, 38, 39}) {
        o.maxLine = limit;
        expectSameRuns(o, {"the"}, true);
    }
    o.grep = true;
    expectSameRuns(o, {"Lord|God", "c.t"}, true);
}

TEST_F(ParallelSearchTest, ACancelKeepsWhatWasFoundBeforeIt) {
    SearchOptions o = withCounts();
    o.autoCode = true;
    const RunResult whole = run(o, 1, "the");
    for (long pump : {1, 2, 5, 20, 100, 1000}) {
        const RunResult cancelled = run(o, 3, "the", false, pump);
        ASSERT_FALSE(cancelled.lines.empty());
        EXPECT_TRUE(cancelled.outcome.cancelled);
        // The lines found before the cancel, as one thread finds them, then the total.
        const std::vector<std::string> before(cancelled.lines.begin(), cancelled.lines.end() - 1);
        ASSERT_LE(before.size(), whole.lines.size());
        EXPECT_TRUE(std::equal(before.begin(), before.end(), whole.lines.begin()));
        EXPECT_EQ(cancelled.lines.back().rfind("Total : ", 0), 0u) << cancelled.lines.back();
        // What the files were read as names those whose lines are in, not those read ahead.
        EXPECT_EQ(cancelled.outcome.readAs.size(), std::size_t(cancelled.outcome.filesOpened));
    }
}

}  // namespace
}  // namespace vellmora
