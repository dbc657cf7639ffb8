#pragma once

#include <string_view>

#include "results/colloq_strength.h"

namespace vellmora {

class Profile;

inline constexpr std::string_view kColloqStrengthDialogTitle = "Collocation Strength";
inline constexpr std::string_view kColloqStrengthMeasureLabel = "Measure";
inline constexpr std::string_view kColloqStrengthSpanGroup = "Span of words around KW1";
inline constexpr std::string_view kColloqStrengthFromLabel = "From";
inline constexpr std::string_view kColloqStrengthToLabel = "To";
inline constexpr std::string_view kColloqStrengthMinFreqLabel = "Minimum frequency";
inline constexpr std::string_view kColloqStrengthSpanRefusal =
    "Choose a span of at least one word besides KW1: its first position must not come "
    "after its last (for example L5 to R5).";

inline constexpr int kMaxColloqMinFrequency = 999999;

/// The label of a span end: "L5" ... "L1" for -5 ... -1, "R1" ... "R5" for 1 ... 5; empty for
/// 0 and outside. The dialog offers the ten positions of kTableColumnPositions.
std::string_view colloqSpanPositionLabel(int position);

/// The model of the dialog "Collocation Strength": the measure the table is ordered by, the
/// span of positions counted and the minimum frequency, kept in section "ColloqStrength".
class ColloqStrengthDialogModel {
public:
    explicit ColloqStrengthDialogModel(Profile& profile);

    /// The entries of the measure list: "MI", "MI3", "t-score", "log-likelihood",
    /// "logDice"; empty outside 0 ... 4.
    static std::string_view measureLabel(int index);

    /// Reads the four keys, repairing what a hand edit can leave: a measure outside the list
    /// reads as MI, ends outside -5 ... 5 are clamped, and a span that holds no word then
    /// reads as L5 ... R5; the minimum frequency is clamped to 0 ... kMaxColloqMinFrequency.
    void open();

    int measureIndex() const { return m_measure; }
    /// An index outside the list is ignored.
    void setMeasureIndex(int index);
    int spanFrom() const { return m_span.first; }
    int spanTo() const { return m_span.last; }
    /// Ends outside -5 ... 5 are ignored. An end at 0 counts from the nearest word on its
    /// side (From 0 is R1, To 0 is L1), which counts the same positions.
    void setSpanFrom(int position);
    void setSpanTo(int position);
    int minFrequency() const { return m_minFrequency; }
    /// Clamped to 0 ... kMaxColloqMinFrequency.
    void setMinFrequency(int frequency);

    /// The message OK shows instead of closing; empty when the fields may be stored.
    std::string_view refusal() const;
    /// Writes the four keys and flushes the settings file.
    void store();

    StrengthSpec spec() const;

private:
    Profile& m_profile;
    int m_measure = 0;
    ColloqSpan m_span;
    int m_minFrequency = 3;
};

}  // namespace vellmora
