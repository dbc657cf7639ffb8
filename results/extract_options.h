#pragma once

#include "engine/positioned_search.h"
#include "engine/search_options.h"

namespace vellmora {

class Profile;

/// The choices both extraction dialogs share, section "ExtractionOptions". The defaults are
/// what a dialog shows after its opening rules on an empty settings file: AND, "Output all".
struct ExtractionOptions {
    bool both = false;        ///< "@Both@": the keyword must stand free on both sides
    bool mae = false;         ///< "@Head": free before it
    bool ato = false;         ///< "Tail@": free after it
    bool alnum = false;       ///< "Default" delimiters: stored only
    bool hyph = false;        ///< "Exclude Hyphen"
    bool apo = false;         ///< "Exclude Apostrophy"
    bool reMae = false;       ///< "Before KW1": look left of the line's keyword (range only)
    bool bummatsu = false;    ///< "Recognize Sentence Final"
    bool sep = true;          ///< "Output all": every file separator line is kept
    bool sepMatched = false;  ///< "Matched Files only": a separator only before a kept line
    bool ignoreCase = false;
    bool andSearch = true;   ///< keep the lines that pass
    bool notSearch = false;  ///< keep the lines that fail

    /// The boundary mode for wordcheck and Rekkc: 1 both, 2 head, 3 tail (the later one
    /// wins), +10 apostrophe, +20 hyphen; 0 without a side.
    int boundaryMode() const;
    /// The Rekkc test type: 1 after, 2 before, +10 within the sentence; negated with NOT.
    int rangeType() const;
    /// A search-options record whose keyword-2 choices, case rule and Way of Search are these
    /// options: what the positioned search's word test reads.
    SearchOptions asKeyword2Options() const;

    bool operator==(const ExtractionOptions&) const = default;
};

/// Reads "ExtractionOptions" with the rules both dialogs apply when they open: without a
/// side, "Default", "Exclude Hyphen" and "Exclude Apostrophy" are cleared, otherwise
/// "Default" is checked; equal AND/NOT reads as AND; equal "Output all"/"Matched Files only"
/// reads as "Output all".
ExtractionOptions readExtractionOptions(Profile& profile);
/// Writes every key the position dialog shares with the range dialog (all of them but
/// "reMae" and "bRegExp"). Nothing is flushed.
void writeSharedExtractionOptions(Profile& profile, const ExtractionOptions& options);
/// Writes those and "reMae", the range dialog's set. Nothing is flushed.
void writeRangeExtractionOptions(Profile& profile, const ExtractionOptions& options);

/// The word positions of the position dialog, section "PositionedRekkc" (the sentence rule
/// is the shared "Recognize Sentence Final" and is not read here).
WordPositions readExtractionPositions(Profile& profile);
/// Writes the eleven position keys. Nothing is flushed.
void writeExtractionPositions(Profile& profile, const WordPositions& positions);

}  // namespace vellmora
