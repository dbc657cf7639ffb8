#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/regex_binding.h"

namespace vellmora {

class Profile;
class UserInterface;
struct KeywordSpec;

/// The messages that abandon a regular-expression search: the engine cannot open the record
/// of keyword 1 or 2, or its pattern does not compile. The KWIC search's wordings by default.
struct ExpressionMessages {
    std::string_view initialise1 = regex_messages::kInitializingError1;
    std::string_view compile1 = regex_messages::kCompileError1;
    std::string_view initialise2 = regex_messages::kInitializingError2;
    std::string_view compile2 = regex_messages::kCompileError2;
};

/// The expressions of one regular-expression search run: keyword 1's pattern and, when a
/// keyword 2 is given, keyword 2's, which accepts or (with NOT) refuses what keyword 1 found.
/// With OR keyword 2 is one more alternative of keyword 1 instead, so only one expression is
/// searched. Holds the engine for as long as the run lasts.
class SearchExpressions {
public:
    /// Loads the engine; false (and nothing held) when it cannot be had, so that the run
    /// searches its keywords as words.
    bool openEngine();
    /// Opens and compiles the expressions. method is Options/Method (1 NOT, 2 OR). On a
    /// failure shows its message and releases the engine.
    bool compile(const KeywordSpec& keyword1, const KeywordSpec& keyword2, int method,
                 bool ignoreCase, Profile& profile, const ExpressionMessages& messages,
                 UserInterface& ui);
    /// Releases the engine.
    void release() { m_binding.reset(); }
    bool active() const { return m_binding != nullptr; }

    /// The first match of keyword 1's expression in text at or after start (text terminated
    /// at text[size]).
    std::optional<RegexMatch> findFirst(std::string_view text, std::size_t start) {
        return m_binding->match(1, text, start);
    }
    /// Whether text passes keyword 2's test: always without a keyword 2; with one, it must
    /// match there, or with NOT must not.
    bool secondAccepts(std::string_view text) {
        return !m_second || m_binding->match(2, text, 0).has_value() != m_negateSecond;
    }
    bool hasSecond() const { return m_second; }
    /// The pattern keyword 1's expression was compiled from (with OR, keyword 2's joined).
    const std::string& firstPattern() const { return m_firstPattern; }

private:
    std::unique_ptr<RegexBinding> m_binding;
    std::string m_firstPattern;
    bool m_second = false;
    bool m_negateSecond = false;
};

}  // namespace vellmora
