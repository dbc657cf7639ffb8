// The reader's prefilter lets the search pass over lines that cannot hold its keyword. It must
// change nothing: every result below is made twice, with and without it, and compared byte for
// byte, over real and random corpora and every option that changes a line's text.

#include <stdlib.h>

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
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

const std::string kData = VELLMORA_TEST_DATA;

enum class SearchKind { Kwic, Kwoc };

std::vector<std::string> searchLines(SearchKind kind, SearchOptions options, bool prefilter,
                                     const SearchRequest& request, Profile& profile) {
    options.prefilter = prefilter;
    RecordingUserInterface ui;
    CPyxoDoc document("test");
    SearchState state;
    if (kind == SearchKind::Kwic) {
        KwicSearchRun run(options, profile, ui, document, state);
        run.run(request);
    } else {
        KwocSearchRun run(options, readKwocOptions(profile), profile, ui, document, state);
        run.run(request);
    }
    const CExStringList& lines = document.list(ResultKind::Original);
    std::vector<std::string> result(lines.begin(), lines.end());
    const std::vector<std::string> messages = ui.messages();
    result.insert(result.end(), messages.begin(), messages.end());
    return result;
}

std::vector<std::string> search(const SearchOptions& options, bool prefilter,
                                const std::string& keyword, const std::string& directory,
                                const std::string& pattern, Profile& profile) {
    SearchRequest request;
    request.keyword1 = {keyword, false};
    request.fileName = pattern;
    request.directory = directory;
    return searchLines(SearchKind::Kwic, options, prefilter, request, profile);
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

    /// Every pattern as a regular expression, by the KWIC and the KWOC search, with and
    /// without the literals the reader passes lines over by, under every option set.
    void expectSameExpressionResults(const std::string& directory, const std::string& files,
                                     const std::vector<std::string>& patterns) {
        setenv("PYXO_JRE", JRE, 1);
        for (SearchOptions options : optionSets()) {
            options.grep = true;
            for (const std::string& pattern : patterns) {
                SearchRequest request;
                request.keyword1 = {pattern, false};
                request.fileName = files;
                request.directory = directory;
                for (SearchKind kind : {SearchKind::Kwic, SearchKind::Kwoc}) {
                    std::vector<std::string> with =
                        searchLines(kind, options, true, request, m_profile);
                    std::vector<std::string> without =
                        searchLines(kind, options, false, request, m_profile);
                    ASSERT_EQ(with, without)
                        << (kind == SearchKind::Kwic ? "KWIC" : "KWOC") << " expression \"" << pattern
                        << "\" in " << files << ", ignoring case " << options.ignoreCase;
                }
            }
        }
        unsetenv("PYXO_JRE");
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
    // Several literals at once, a frequent one beside a rare one, each found anew in every
    // buffer.
    expectSameExpressionResults(m_temp.path() + "/", "big.txt", {"zebra|Lord", "devil|zebra at"});
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

namespace vellmora {
namespace {

TEST_F(PrefilterTest, ExpressionsFindTheSameLinesWhenOnlyLinesWithTheirLiteralsAreSearched) {
    // Choices, classes, optional and repeated parts, groups, anchors, escapes, the marker.
    expectSameExpressionResults(
        kData + "/reader/", "*.txt",
        {"the[a-z]+", "Lord|God", "LORD|devil|wine", "colou?r", "\\bwh[a-z]*", "[Tt]he",
         "in the", "x{0,2}the", "(?:th)+e", "Ho*ly", "the(?:m|re)", "a/", "[a-z]+ed\\b",
         "^And", "man$", "g.d", "(?:Lord|God) of"});
    expectSameExpressionResults(
        kData + "/ja/sjis/", "subset.txt",
        {"\x83\x70\x83\x62\x83\x50\x81\x5B\x83\x57", "\x82\xCC|\x82\xF0", "apt[- ]get",
         "Debian|GNU", "[\x83\x40-\x83\x96]+\x82\xF0", "debian"});
}

TEST_F(PrefilterTest, ExpressionsOverRandomTextFindTheSameLines) {
    std::mt19937 random(23);
    const std::vector<std::string> pieces = {"cat ", "CAT",  "Cat", "\t",   "  ",   "\r\n", "\n",
                                             "/",    "ca",   "t\n", "\x82\xA0", "\x83", "cat/",
                                             "dog",  "\x82\x60", "\x82\x81", "ccaatt", "c-at"};
    for (int file = 0; file < 4; ++file) {
        std::string text;
        const int count = 500 + static_cast<int>(random() % 3000);
        for (int i = 0; i < count; ++i) {
            text += pieces[random() % pieces.size()];
            if (random() % 700 == 0) text += std::string(9000, 'x') + "cat";
        }
        testing::writeFileBytes(m_temp.file("e" + std::to_string(file) + ".txt"), text);
    }
    // \x82\x60 and \x82\x81 are a full-width A and a.
    expectSameExpressionResults(
        m_temp.path() + "/", "e*.txt",
        {"cat|dog", "ca+t", "c(?:at)?/", "\x82\xA0t", "Cat", "cat dog", "c.at", "(?:ca)+t",
         "\x82\x60", "dog|cat|\x82\xA0", "at/", "xcat"});
}

}  // namespace
}  // namespace vellmora
