#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "results/sort.h"

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kSortDialogTitle = "Sort KWIC Concordance";
inline constexpr std::string_view kSortMinusMessage = "Invalid value. Minus value is not allowed.";
inline constexpr std::string_view kSortTooBigMessage = "Too big number.";

/// Entries of each key box: index 0 is "未指定" (the first box, position -6) or "なし" (none,
/// the second and third boxes), then L5 ... L1, KW, R1 ... R5; position = index - 6.
inline constexpr int kSortKeyChoices = 12;
inline constexpr int kSortKeyBoxes = 3;
inline constexpr int kNoSortKeyIndex = 0;

/// The text of entry index of key box `box` (0 = first key), UTF-8; empty outside the list.
std::string_view sortKeyLabel(int box, int index);

/// text with each full-width digit (０ ... ９) replaced by its ASCII digit.
std::string withAsciiDigits(std::string text);

/// The text "Max Lines to be sorted" shows when a sort dialog opens: the stored "MaxLine" of
/// section "Sort", or "40000" when its number is not within 1 ... 100000.
std::string openingMaxLineText(Profile& profile);

/// What one key group of the dialog holds.
struct SortKeyChoice {
    int index = kNoSortKeyIndex;  ///< entry of the key box
    bool descending = false;      ///< "Decending" rather than "Accending"
    bool byTail = false;          ///< "By tail"
};

/// The model of the dialog "Sort KWIC Concordance" (CSortDialog): three key groups, "Recognize
/// Sentence End", "Use strcoll" and "Max Lines to be sorted", kept in section "Sort".
class SortDialogModel {
public:
    SortDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting and reads the keys. A stored position outside the box's list
    /// shows the key's default; a line count that is not 1 ... 100000 shows "40000".
    void open();

    const SortKeyChoice& key(int box) const { return m_keys[boxIndex(box)]; }
    /// Chooses an entry of a key box; an index outside the list is ignored.
    void setKeyIndex(int box, int index);
    void setDescending(int box, bool descending) { m_keys[boxIndex(box)].descending = descending; }
    void setByTail(int box, bool byTail) { m_keys[boxIndex(box)].byTail = byTail; }
    /// The second and third boxes are off while the first key is KW; the third is off while
    /// the second is KW.
    bool keyEnabled(int box) const;

    bool sentenceFinal() const { return m_sentenceFinal; }
    void setSentenceFinal(bool on) { m_sentenceFinal = on; }
    /// "Use strcoll": compare byte by byte instead of folding ASCII case.
    bool byteWise() const { return m_byteWise; }
    void setByteWise(bool on) { m_byteWise = on; }

    const std::string& maxLineText() const { return m_maxLineText; }
    /// The user changed "Max Lines to be sorted": full-width digits become ASCII digits; a
    /// negative number beeps (unless silenced), shows the minus message and gives "40000";
    /// one above 100000 shows "Too big number." and gives "100000". Returns the text the
    /// box must show now.
    const std::string& editMaxLine(std::string text);
    /// The small buttons: plus or minus 100, kept within 100 ... 100000.
    const std::string& stepMaxLine(bool up);

    /// OK: writes every key of the dialog and flushes the settings file.
    void ok();

    /// The keys the sort uses: the first always, the second and third when their box is
    /// enabled and not "なし".
    std::vector<WordSortKey> sortKeys() const;

private:
    static std::size_t boxIndex(int box);

    Profile& m_profile;
    UserInterface& m_ui;
    std::array<SortKeyChoice, kSortKeyBoxes> m_keys;
    bool m_sentenceFinal = false;
    bool m_byteWise = false;
    std::string m_maxLineText;
};

}  // namespace vellmora
