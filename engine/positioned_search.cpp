#include "engine/positioned_search.h"

#include <algorithm>
#include <cstring>

#include "engine/search_options.h"
#include "settings/catalogue.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

/// The keys of the positions, n = -5 first.
constexpr std::array<const SettingKey*, 11> kPositionKeys = {
    &settingKey("PositionedKwic", "prev5"), &settingKey("PositionedKwic", "prev4"),
    &settingKey("PositionedKwic", "prev3"), &settingKey("PositionedKwic", "prev2"),
    &settingKey("PositionedKwic", "prev1"), &settingKey("PositionedKwic", "kw1pos"),
    &settingKey("PositionedKwic", "pos1"),  &settingKey("PositionedKwic", "pos2"),
    &settingKey("PositionedKwic", "pos3"),  &settingKey("PositionedKwic", "pos4"),
    &settingKey("PositionedKwic", "pos5"),
};
constexpr const SettingKey& kBySentence = settingKey("PositionedKwic", "Bummatsu");

/// True when byte pos of s begins a character; s begins with one.
bool isCharacterStart(std::string_view s, std::size_t pos) {
    std::size_t i = 0;
    while (i < pos) {
        i += ximo::isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    }
    return i == pos;
}

/// Where a copy of context may end at or before limit without splitting a character. Byte
/// 1 always begins a character; byte 0 stands alone.
std::size_t wholeCharacterCut(std::string_view context, std::size_t limit) {
    if (context.size() <= limit) return context.size();
    std::size_t i = 1;
    while (i < limit) {
        std::size_t step = ximo::isLeadByte(static_cast<unsigned char>(context[i])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return std::min(i, limit);
}

}  // namespace

bool WordPositions::any() const {
    return std::find(ticked.begin(), ticked.end(), true) != ticked.end();
}

WordPositions readWordPositions(Profile& profile) {
    WordPositions positions;
    for (std::size_t i = 0; i < kPositionKeys.size(); ++i)
        positions.ticked[i] = readInt(profile, *kPositionKeys[i]) == 1;
    positions.bySentence = readInt(profile, kBySentence) == 1;
    return positions;
}

void writeWordPositions(Profile& profile, const WordPositions& positions) {
    for (std::size_t i = 0; i < kPositionKeys.size(); ++i)
        writeInt(profile, *kPositionKeys[i], positions.ticked[i] ? 1 : 0);
    writeInt(profile, kBySentence, positions.bySentence ? 1 : 0);
}

void PositionedCondition::prepare(const SearchOptions& options, Profile& profile,
                                  const KeywordSpec& keyword2, const WordPositions& positions) {
    m_positions = positions;
    m_boundaryMode = options.boundaryMode2();
    m_ignoreCase = options.ignoreCase;
    m_notSearch = options.method == 1;
    m_words.clear();
    // With OR the run's matcher takes keyword 2's words as alternatives of keyword 1.
    if (keyword2.text.empty() || options.method == 2) return;

    std::vector<std::string> words;
    if (keyword2.isGroup) {
        words = readGroupWords(profile, keyword2.text);
    } else {
        words.push_back(keyword2.text);
    }
    // The same list the matcher would test: a half character is never matched whole and
    // an empty word would stand in every taken word.
    for (std::string& word : words) {
        word = withoutBrokenTail(word);
        if (word.empty()) continue;
        if (m_ignoreCase) mbstrlwr(word.data());
        if (std::find(m_words.begin(), m_words.end(), word) == m_words.end())
            m_words.push_back(std::move(word));
    }
}

bool PositionedCondition::accepts(std::string_view context, int l, std::size_t k1, int /*w*/) {
    if (m_words.empty()) return true;
    m_context.assign(context.substr(0, wholeCharacterCut(context, kContextLimit)));
    // Byte 0 may be the second half of a cut character, or a first half whose partner the
    // layout blanked: either way gettoken would pair it with byte 1 and read every later
    // character out of step.
    if (!m_context.empty() && ximo::isLeadByte(static_cast<unsigned char>(m_context[0])))
        m_context[0] = ' ';

    for (int n = WordPositions::kFirst; n <= WordPositions::kLast; ++n) {
        if (!m_positions.at(n)) continue;
        gettoken(n, m_positions.bySentence ? 1 : 0, l, static_cast<int>(k1), m_context.c_str(),
                 m_word.data());
        // Character-wise: a byte-wise fold would change second bytes such as the 0x41 of ア.
        if (m_ignoreCase) mbstrlwr(m_word.data());
        if (holdsKeyword2(m_word.data())) return !m_notSearch;
    }
    return m_notSearch;
}

bool PositionedCondition::holdsKeyword2(std::string_view taken) const {
    for (const std::string& word : m_words) {
        for (std::size_t hit = taken.find(word); hit != std::string_view::npos;
             hit = taken.find(word, hit + 1)) {
            // A match that begins on a second byte is part of another character.
            if (!isCharacterStart(taken, hit)) continue;
            if (m_boundaryMode != 0 &&
                wordcheck(m_boundaryMode, taken.data(), static_cast<int>(hit),
                          static_cast<int>(word.size())) != 0)
                continue;
            return true;
        }
    }
    return false;
}

SearchOptions positionedSearchOptions(SearchOptions options) {
    options.oneLine = false;
    return options;
}

SearchOutcome runPositionedSearch(const SearchOptions& options, Profile& profile, UserInterface& ui,
                                  CPyxoDoc& document, SearchState& state,
                                  const SearchRequest& request, const WordPositions& positions,
                                  ApplicationSearchFlags* flags) {
    const SearchOptions positioned = positionedSearchOptions(options);
    PositionedCondition condition;
    condition.prepare(positioned, profile, request.keyword2, positions);
    KwicSearchRun run(positioned, profile, ui, document, state);
    run.setHitCondition(&condition);
    run.setExpressionMessages(
        {regex_messages::kInitializationFailure1, regex_messages::kCompilationFailure1,
         regex_messages::kInitializationFailure2, regex_messages::kCompilationError2});
    return run.run(request, flags);
}

}  // namespace vellmora
