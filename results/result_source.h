#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "document/result_document.h"

namespace vellmora {

class Profile;
class UserInterface;
struct ApplicationSearchFlags;
struct SearchState;

/// Where a result command runs: the settings, the user interface, the document of the view,
/// the program-wide running flag and the view's own state (its busy flag).
struct ResultCommandPlace {
    Profile& profile;
    UserInterface& ui;
    CPyxoDoc& document;
    ApplicationSearchFlags& flags;
    SearchState& view;
};

/// Sets the program-wide running flag and the view's busy flag for its lifetime, so that
/// no other long command starts while one runs.
class BusyScope {
public:
    explicit BusyScope(const ResultCommandPlace& place);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const ResultCommandPlace& m_place;
};

/// A file separator line of a result ("-----[ name ]-----"). Only at the start: a hit whose
/// context quotes "-----[ " is still a hit line and must not be dropped or misfiled.
inline bool isSeparatorLine(std::string_view line) { return line.starts_with("-----[ "); }

/// The widest byte length of each tab-separated column of list (line ends not counted): the
/// widths a view gives the columns of a table result (collocation table, TSV/CSV).
std::vector<std::int64_t> tabColumnWidths(const CExStringList& list);

/// The list a result command (sort, extraction, statistics) reads: the kind the window shows
/// last, the first entry of the display history. A history entry outside the five kinds (a
/// damaged formatted file) reads the search result.
ResultKind sourceKindOf(const DisplaySnapshot& snapshot);

}  // namespace vellmora
