#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/result_document.h"

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr std::string_view kNavigationBusyMessage =
    "I'm busy now. Please wait for a minutes.m(__)m";
/// Title of the dialog of "The numbers of results...".
inline constexpr std::string_view kResultCountsTitle = "Information";

/// The menu entry that shows kind.
std::string_view kindCommandName(ResultKind kind);

/// Pushes kind onto the display history: every entry moves one place back and the oldest
/// of the 21 is dropped. The six stored values after them stay 0.
void pushDisplayHistory(DisplaySnapshot& snapshot, ResultKind kind);

/// The line width a view takes for kind: the longest line of its list for kinds 0 to 3;
/// none for the TSV/CSV result, whose width follows the view's tab unit.
std::optional<std::int64_t> lineWidthFor(CPyxoDoc& document, ResultKind kind);

/// Shows kind: makes it the displayed kind, pushes it onto the history and redisplays.
/// Returns lineWidthFor(kind).
std::optional<std::int64_t> showKind(CPyxoDoc& document, ResultKind kind, UserInterface& ui);

/// A kind's menu entry is enabled while its list holds a line.
bool kindEnabled(const CPyxoDoc& document, ResultKind kind);

/// "Previous result" is enabled unless a search runs or the most recent kind's list is
/// empty.
bool previousResultEnabled(const CPyxoDoc& document, bool searchRunning);

/// "Previous result": refused with kNavigationBusyMessage (beeping as profile allows) while
/// busy (a search or another long command runs anywhere, or in this view). Otherwise drops
/// the most recent history entry, puts the search result in its place, shows it and
/// redisplays. False when refused.
bool previousResult(CPyxoDoc& document, bool busy, UserInterface& ui, Profile& profile);

/// One line of "The numbers of results...": shown greyed out when its count is 0.
struct ResultCountLine {
    ResultKind kind = ResultKind::Original;
    long count = 0;
    std::string text;
    bool greyed = true;
};

/// The five lines in the order the dialog shows them: search, extracted, collocation,
/// TSV/CSV, sorted. Counts include file separator lines.
std::array<ResultCountLine, kResultKinds> resultCountLines(const CPyxoDoc& document);

}  // namespace vellmora
