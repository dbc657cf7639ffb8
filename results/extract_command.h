#pragma once

#include <string_view>

#include "results/extract_dialog_model.h"
#include "results/extract_filter.h"

namespace vellmora {

class CExStringList;
class CPyxoDoc;
class Histories;
class Profile;
class UserInterface;
struct ApplicationSearchFlags;
struct SearchState;

inline constexpr std::string_view kRangeExtractionProgress = "Searching...";
inline constexpr std::string_view kPositionExtractionProgress = "<<Now Extracting...>>";

/// What the result view hands an extraction command.
struct ExtractionView {
    CPyxoDoc& document;                   ///< receives the extracted result (kind 1)
    SearchState& state;                   ///< its busy flag guards the view while it runs
    const ApplicationSearchFlags& flags;  ///< a search runs somewhere
    const CExStringList& source;          ///< the list read: any list, the extracted one too
    KeywordAnchor anchor;                 ///< keyword column and length of the result
};

enum class ExtractionStatus {
    Done,
    Busy,          ///< refused: a search runs, or the view is busy
    EngineFailed,  ///< the expression engine could not be set up or the pattern not compiled
    Cancelled,     ///< stopped on request; the extracted result is as it was
};

struct ExtractionOutcome {
    ExtractionStatus status = ExtractionStatus::Done;
    int kept = 0;  ///< hit lines in the extracted result, separators not counted
};

/// Extraction by range, after its dialog was confirmed. Refuses while busy (the message of
/// refuseWhileBusy); otherwise records the keyword in the extraction history and the last
/// values of "Setting", shows "Searching..." in the title and the wait cursor, and fills the
/// extracted result from the view's source with the range test (Rekkc, or the pattern when
/// "Regular Expression" is on and the engine is there). Engine failures show "Initialization
/// Error(;_;)1" or "Compilation Error(;_;)1" and change no list. When done, the extracted
/// result becomes the shown kind. histories is the application's, loaded at start-up: all of
/// its last values are written to "Setting".
ExtractionOutcome runRangeExtraction(const RangeExtractionRequest& request,
                                     const ExtractionView& view, Profile& profile,
                                     Histories& histories, UserInterface& ui);

/// Extraction by position, after its dialog was confirmed: as runRangeExtraction, with the
/// positional word test, "ExtractionOption"/"Word" and "Group" written, "<<Now
/// Extracting...>>" as the title, the wordings "Initialization Failure(;_;)1" and
/// "Compilation Failure(;_;)1", and a beep (unless silenced) when done.
ExtractionOutcome runPositionExtraction(const PositionExtractionRequest& request,
                                        const ExtractionView& view, Profile& profile,
                                        Histories& histories, UserInterface& ui);

}  // namespace vellmora
