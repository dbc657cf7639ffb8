// The reader's prefilter lets the search pass over lines that cannot hold its keyword. It must
// change nothing: every result below is made twice, with and without it, and compared byte for
// byte, over real and random corpora and every option that changes a line's text.

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/result_document.h"
#include "engine/search_options.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

const std::string kData = VELLMORA_TEST_DATA;

std::vector<std::string> search(SearchOptions options, bool prefilter, const std::string& keyword,
                                const std::string& directory, const std::string& pattern,
                                Profile& profile) {
    options.prefilter = prefilter;
    RecordingUserInterface ui;
    CPyxoDoc document("test");
    SearchState state;
    SearchRequest request;
    request.keyword1 = {keyword, false};
    request.fileName = pattern;
    request.directory = directory;
    KwicSearchRun run(options, profile, ui, document, state);
    run.run(request);
    const CExStringList& lines = document.list(ResultKind::Original);
    return {lines.begin(), lines.end()};
}

std::vector<SearchOptions> optionSets() {
    std::vector<SearchOptions> sets;
    SearchOptions plain;
    plain.maxLine = 1000000;
    sets.push_back(plain);
    SearchOptions o = plain;
    o.noCrlf = true;
    sets.push_back(o);
    o = plain;
    o.crlf = true;
    o.ignoreKeta = 3;
    sets.push_back(o);
    o = plain;
    o.ignoreCase = true;
    sets.push_back(o);
    o = plain;
    o.ctrlCode = o.delSpace1 = o.delSpace3 = true;
    sets.push_back(o);
    o = plain;
    o.deHtml = true;
    o.kw1Both = true;
    sets.push_back(o);
    o = plain;
    o.oneLine = true;
    o.count = true;
    sets.push_back(o);
    return sets;
}

class PrefilterTest : public ::testing::Test {
protected:
    void expectSameResults(const std::string& directory, const std::string& pattern,
                           const std::vector<std::string>& keywords) {
        for (const SearchOptions& options : optionSets()) {
            for (const std::string& keyword : keywords) {
                std::vector<std::string> with =
                    search(options, true, keyword, directory, pattern, m_profile);
                std::vector<std::string> without =
                    search(options, false, keyword, directory, pattern, m_profile);
                ASSERT_EQ(with, without) << "keyword \"" << keyword << "\" in " << pattern;
            }
        }
    }

    testing::TempDir m_temp;
    Profile m_profile{m_temp.file("pyxo.ini")};
};

TEST_F(PrefilterTest, RealCorporaGiveTheSameLines) {
    expectSameResults(kData + "/reader/", "*.txt",
                      {"the", "e", "a/", "in the", "\t", "zebra", "\x82\xA0"});
    expectSameResults(kData + "/ja/sjis/", "subset.txt",
                      {"\x83\x70\x83\x62\x83\x50\x81\x5B\x83\x57", "Debian", "\x82\xCC", "apt"});
}

TEST_F(PrefilterTest, LinesPassedOverAcrossManyBuffersKeepTheirNumbers) {
    // Larger than several read buffers, with rare hits far apart: the bulk passing over runs
    // into buffer ends, the give-back of the kept lines and CR LF ends.
    std::string chunk = testing::readFileBytes(kData + "/reader/kjv-crlf.txt") +
                        testing::readFileBytes(kData + "/reader/devil-part.txt");
    std::string text;
    for (int i = 0; text.size() < 1'000'000; ++i) {
        text += chunk;
        if (i % 7 == 3) text += "a zebra here\n";
        if (i % 11 == 5) text += "zebra\r\nzebra at the start\n";
    }
    testing::writeFileBytes(m_temp.file("big.txt"), text);
    expectSameResults(m_temp.path() + "/", "big.txt", {"zebra", "Lord", "devil"});
}

TEST_F(PrefilterTest, RandomCorporaGiveTheSameLines) {
    std::mt19937 random(11);
    const std::vector<std::string> pieces = {"cat ", "the ",  "Cat",  "\t", "  ", "\r\n", "\n",
                                             "/",    "ca",    "t\n", "\x82\xA0", "\x83",
                                             "\0",   "<b>",   "cat/"};
    for (int file = 0; file < 6; ++file) {
        std::string text;
        const int count = 200 + static_cast<int>(random() % 2000);
        for (int i = 0; i < count; ++i) {
            const std::string& piece = pieces[random() % pieces.size()];
            text += piece.empty() ? std::string(1, '\0') : piece;
            if (random() % 500 == 0) text += std::string(9000, 'x') + "cat";
        }
        testing::writeFileBytes(m_temp.file("r" + std::to_string(file) + ".txt"), text);
    }
    expectSameResults(m_temp.path() + "/", "r*.txt", {"cat", "Cat", "t", "cat/", "\x82\xA0", "xcat"});
}

TEST_F(PrefilterTest, JapaneseKeywordCutByThePieceLimitIsStillFound) {
    // \x82\xA0\x82\xA2 (two kana) with its first character ending an 8,191-byte piece.
    std::string text = std::string(8189, 'x') + "\x82\xA0\x82\xA2 tail\n" + "\x82\xA0\n\x82\xA2\n";
    testing::writeFileBytes(m_temp.file("cut.txt"), text);
    expectSameResults(m_temp.path() + "/", "cut.txt", {"\x82\xA0\x82\xA2", "\x82\xA2"});
}

}  // namespace
}  // namespace vellmora
