#pragma once

#include <array>
#include <string_view>

#include "results/colloq_count.h"
#include "results/colloq_extended.h"

namespace vellmora {

class Profile;

inline constexpr std::string_view kColloqDialogTitle = "Collocation Statistics";
inline constexpr std::string_view kColloqPositionGroup = "Select a position of words";
inline constexpr std::string_view kColloqBeforeGroup = "Before KW1";
inline constexpr std::string_view kColloqAfterGroup = "After KW1";
inline constexpr std::string_view kColloqSentenceFinalLabel = "Recognize Sentence Final";
inline constexpr std::string_view kColloqSentenceFinalNote = "(very loose judgement)";
inline constexpr std::string_view kColloqFrequencyOrderLabel = "Frequency-order";
inline constexpr std::string_view kColloqEuropeanLabel = "European Language";
inline constexpr std::string_view kColloqPercentLabel = "Output percentage, too!";
inline constexpr std::string_view kColloqTailLabel = "Ordered by end of words";

/// The label of the position box of position -5 ... 5: "1st word" ... "5th word" under
/// "Before KW1" or "After KW1", "kw1 itself" for 0; empty outside.
std::string_view colloqPositionLabel(int position);

/// The model of the dialog "Collocation Statistics": eleven position boxes that act as one
/// choice, and five options, kept in section "Colloq".
class ColloqDialogModel {
public:
    explicit ColloqDialogModel(Profile& profile);

    /// Reads the six keys and checks the one position box "Mode" names. A "Mode" outside
    /// -5 ... 5 (a hand edit) reads as R1, so that one box is always checked.
    void open();

    bool positionChecked(int position) const;
    /// Checking a box clears the other ten; a position outside -5 ... 5 is ignored.
    void setPositionChecked(int position, bool checked);
    /// The "Mode" OK writes: 0 when "kw1 itself" is checked, else the first checked of R1 ...
    /// R5, else of L1 ... L5; with no box checked, the value read when the dialog opened.
    int mode() const;

    bool sentenceFinal() const { return m_sentenceFinal; }
    void setSentenceFinal(bool on) { m_sentenceFinal = on; }
    bool frequencyOrder() const { return m_frequencyOrder; }
    void setFrequencyOrder(bool on) { m_frequencyOrder = on; }
    bool european() const { return m_european; }
    void setEuropean(bool on) { m_european = on; }
    bool percent() const { return m_percent; }
    void setPercent(bool on) { m_percent = on; }
    bool tail() const { return m_tail; }
    void setTail(bool on) { m_tail = on; }

    /// OK: writes "Mode" and the five options and flushes the settings file.
    void ok();

private:
    Profile& m_profile;
    std::array<bool, kColloqPositions> m_boxes{};
    int m_openedMode = 1;
    bool m_sentenceFinal = false;
    bool m_frequencyOrder = false;
    bool m_european = false;
    bool m_percent = false;
    bool m_tail = false;
};

inline constexpr std::string_view kExColloqDialogTitle = "Extended Collocation";
inline constexpr std::string_view kExColloqDisableLabel = "Disable this dialog";

/// The model of the dialog "Extended Collocation": the cell format and "Disable this dialog",
/// kept in section "ExColloq". The Data command shows it unless it is disabled; the Options
/// menu always shows it, so that it can be enabled again.
class ExColloqDialogModel {
public:
    explicit ExColloqDialogModel(Profile& profile);

    /// The entries of the format list: "Default", "Ratio", "Frequency", "Ratio/Expactancy";
    /// empty outside 0 ... 3.
    static std::string_view formatLabel(int index);

    /// Reads "Format" (one outside the list shows "Default") and "bNoAsk".
    void open();

    int formatIndex() const { return m_format; }
    /// Chooses an entry of the list; an index outside it is ignored.
    void setFormatIndex(int index);
    bool dialogDisabled() const { return m_disabled; }
    void setDialogDisabled(bool disabled) { m_disabled = disabled; }

    /// OK: writes "Format" and "bNoAsk" and flushes the settings file.
    void ok();

private:
    Profile& m_profile;
    int m_format = 0;
    bool m_disabled = false;
};

}  // namespace vellmora
