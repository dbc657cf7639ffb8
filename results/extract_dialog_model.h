#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/keyword_matcher.h"
#include "engine/positioned_search.h"
#include "results/extract_options.h"

namespace vellmora {

class Histories;
class Profile;
class UserInterface;

inline constexpr std::string_view kRangeExtractionTitle = "Re-Extraction(Range)";
inline constexpr std::string_view kPositionExtractionTitle = "Re-Extraction(Position)";
inline constexpr std::string_view kEnterKeywordMessage = "Enter Keyword!";
inline constexpr std::string_view kEnterWordGroupMessage = "Enter Word Group!";
inline constexpr std::string_view kNoPositionsMessage = "Positions are not decided!(;_;)";

/// What an extraction by range runs with: the confirmed dialog.
struct RangeExtractionRequest {
    ExtractionOptions options;
    bool regExp = false;  ///< the keyword is a pattern (a group: its words as alternatives)
    KeywordSpec keyword;  ///< a word, a pattern, or a word-group name
};

/// What an extraction by position runs with: the confirmed dialog.
struct PositionExtractionRequest {
    ExtractionOptions options;
    bool regExp = false;
    KeywordSpec keyword;
    WordPositions positions;  ///< the ticked words; the sentence rule is options.bummatsu
};

/// The fields both extraction dialogs hold while they are open.
struct ExtractionFields {
    ExtractionOptions options;
    bool regExp = false;    ///< "Regular Expression"
    bool useGroup = false;  ///< "Group": the combo box names a word group; else "Word"
    std::string keyword;    ///< the text of the combo box
    KeywordSpec keywordSpec() const { return {keyword, useGroup}; }
};

/// The combo box of the extraction dialogs: the extraction-keyword history while "Word" is
/// chosen, the word-group names while "Group" is.
class ExtractionKeywordChoices {
public:
    void load(Profile& profile, const Histories& histories);
    const std::vector<std::string>& of(bool group) const { return group ? m_groups : m_history; }

private:
    std::vector<std::string> m_history;
    std::vector<std::string> m_groups;
};

/// The model of the "Re-Extraction(Range)" dialog (CReExtractionDlg): the extraction
/// options, the keyword and its combo box, the check on OK and the keys it keeps.
class RangeExtractionDialogModel {
public:
    RangeExtractionDialogModel(Profile& profile, UserInterface& ui, const Histories& histories);

    /// Takes the beep setting and reads every field with the opening rules: see
    /// readExtractionOptions(); equal "Word"/"Group" reads as "Word". The keyword is the last
    /// extraction keyword, or with "Group" the last group name.
    void open();

    ExtractionFields& fields() { return m_fields; }
    const ExtractionFields& fields() const { return m_fields; }
    /// Puts a keyword given elsewhere (the command line) into the dialog.
    void setKeyword(const KeywordSpec& keyword);
    /// The entries of the combo box for the current "Word"/"Group" choice.
    const std::vector<std::string>& choices() const { return m_choices.of(m_fields.useGroup); }

    /// OK: with an empty combo box beeps (unless silenced), shows "Enter Keyword!" ("Word")
    /// or "Enter Word Group!" ("Group") and returns false, storing nothing. Otherwise writes
    /// "ExtractionOptions", "Setting"/"Word", "Group", "ExtractionWord" (and with "Group"
    /// "GroupName"), flushes and returns true.
    bool ok();
    RangeExtractionRequest request() const;

private:
    Profile& m_profile;
    UserInterface& m_ui;
    const Histories& m_histories;
    ExtractionFields m_fields;
    ExtractionKeywordChoices m_choices;
};

/// The model of the "Re-Extraction(Position)" dialog: the word positions around the line's
/// keyword besides the shared extraction options and keyword.
class PositionExtractionDialogModel {
public:
    PositionExtractionDialogModel(Profile& profile, UserInterface& ui, const Histories& histories);

    /// Takes the beep setting and reads "PositionedRekkc", "ExtractionOptions" (with the
    /// opening rules of the range dialog), "ExtractionOption"/"Word" and "Group" and the
    /// last extraction keyword.
    void open();

    ExtractionFields& fields() { return m_fields; }
    const ExtractionFields& fields() const { return m_fields; }
    WordPositions& positions() { return m_positions; }
    const WordPositions& positions() const { return m_positions; }
    void setKeyword(const KeywordSpec& keyword);
    const std::vector<std::string>& choices() const { return m_choices.of(m_fields.useGroup); }

    /// OK: without a ticked position shows "Positions are not decided!(;_;)", with an empty
    /// combo box "Enter Keyword!" or "Enter Word Group!" (each after a beep unless silenced)
    /// and returns false, storing nothing. Otherwise writes "PositionedRekkc" and the shared
    /// "ExtractionOptions" keys, flushes and returns true.
    bool ok();
    PositionExtractionRequest request() const;

private:
    Profile& m_profile;
    UserInterface& m_ui;
    const Histories& m_histories;
    ExtractionFields m_fields;
    WordPositions m_positions;
    ExtractionKeywordChoices m_choices;
};

/// The batch front end's dialog: opened, given the command line's keyword when there is
/// one, and confirmed with OK. Empty when OK refuses (its message shown).
std::optional<RangeExtractionRequest> confirmRangeExtractionDialog(
    Profile& profile, UserInterface& ui, const Histories& histories,
    const std::optional<KeywordSpec>& keyword);
std::optional<PositionExtractionRequest> confirmPositionExtractionDialog(
    Profile& profile, UserInterface& ui, const Histories& histories,
    const std::optional<KeywordSpec>& keyword);

}  // namespace vellmora
