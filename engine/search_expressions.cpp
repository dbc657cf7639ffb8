#include "engine/search_expressions.h"

#include "engine/keyword_matcher.h"
#include "platform/user_interface.h"
#include "settings/word_groups.h"

namespace vellmora {
namespace {

/// The pattern of a keyword: its text, or a group's words as alternatives.
std::string patternOf(Profile& profile, const KeywordSpec& keyword) {
    return keyword.isGroup ? readGroupPattern(profile, keyword.text) : keyword.text;
}

}  // namespace

bool SearchExpressions::openEngine() {
    m_binding = std::make_unique<RegexBinding>();
    // A failed initialisation shows up when the records are needed; only a missing engine
    // (version 0) turns the search into a plain one.
    m_binding->initialise();
    if (m_binding->version() != 0) return true;
    m_binding.reset();
    return false;
}

bool SearchExpressions::compile(const KeywordSpec& keyword1, const KeywordSpec& keyword2,
                                int method, bool ignoreCase, Profile& profile,
                                const ExpressionMessages& messages, UserInterface& ui) {
    std::string pattern1 = patternOf(profile, keyword1);
    m_second = !keyword2.text.empty();
    m_negateSecond = method == 1;
    if (m_second && method == 2) {
        pattern1 += "|" + patternOf(profile, keyword2);
        m_second = false;
    }
    std::string_view failure;
    if (!m_binding->ensureOpened(1)) {
        failure = messages.initialise1;
    } else if (!m_binding->compile(1, pattern1, ignoreCase)) {
        failure = messages.compile1;
    } else if (m_second && !m_binding->ensureOpened(2)) {
        failure = messages.initialise2;
    } else if (m_second && !m_binding->compile(2, patternOf(profile, keyword2), ignoreCase)) {
        failure = messages.compile2;
    }
    if (failure.empty()) {
        m_firstPattern = std::move(pattern1);
        return true;
    }
    ui.alert(failure);
    m_binding.reset();
    return false;
}

}  // namespace vellmora
