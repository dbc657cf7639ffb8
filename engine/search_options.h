#pragma once

#include <string>

namespace vellmora {

class Profile;

/// The search options of section "Options" (and the KWOC and positioned sections), read once
/// when a search command starts: the run reads only this record, never the settings file.
/// The normalisations the run relies on are applied on reading.
struct SearchOptions {
    // What a run reads besides the record.
    int maxLine = 100000;  ///< result-line limit

    bool oneLine = false;  ///< bOneLine: context from the hit's own line only
    bool grep = false;     ///< bGrep: keywords are regular expressions
    bool subdir = false;
    bool exclude = false;
    bool ignoreCase = false;

    bool eucToSjis = false;
    bool jisToSjis = false;
    bool utf8ToSjis = false;
    /// AutoCode: each file's own encoding, told from its first bytes, decides its conversion
    /// in place of the three switches above.
    bool autoCode = false;
    bool deHtml = false;
    bool ctrlCode = false;
    bool delSpace1 = false;
    bool delSpace3 = false;

    bool crlf = false;     ///< a line end inside the context shows as a space
    bool noCrlf = false;   ///< a line end inside the context shows as nothing
    bool noLineNumber = false;  ///< LineNumber = 1: line numbers are NOT printed

    bool separator = true;
    bool sepMatched = false;
    bool noSeparator = false;
    bool tagAsIs = false;
    bool tagFName = false;
    bool tagForm = false;

    bool count = false;
    bool countMatched = false;
    bool beepSilenced = false;  ///< Beep = 1
    bool noDialog = false;

    /// Let the reader pass over lines that cannot hold the keyword (never a setting: tests
    /// turn it off to prove the results are the same).
    bool prefilter = true;
    /// Files searched at once, each on a thread of its own (never a setting: the programs set
    /// it from the machine, tests to compare the runs).
    int jobs = 1;

    int xsize = 80;       ///< Xsize, decimal text
    int offset = 0;       ///< Offset, negated when OffsetLeft is 1
    int ignoreKeta = 0;   ///< IgnoreKeta, decimal text

    bool kw1Both = false, kw1Mae = false, kw1Ato = false, kw1Apo = false, kw1Hyph = false;
    bool kw2Both = false, kw2Mae = false, kw2Ato = false, kw2Apo = false, kw2Hyph = false;

    bool andSearch = true;
    bool notSearch = false;
    int method = 0;       ///< Way of Search: 0 AND, 1 NOT, 2 OR
    bool mae = false;     ///< keyword 2 before keyword 1
    bool bummatsu = false;  ///< keyword 2's range stops at a sentence end

    /// The character a line end shows as inside a context: ' ', none (0) or '/'.
    char lineEndMarker() const { return crlf ? ' ' : (noCrlf ? '\0' : '/'); }
    /// The boundary mode of keyword 1 or 2 for wordcheck.
    int boundaryMode1() const;
    int boundaryMode2() const;
    /// A conversion applies to every file of the run.
    bool convertsEveryFile() const { return !autoCode && (eucToSjis || jisToSjis || utf8ToSjis); }
    /// Any line rewrite is on for every file (with AutoCode, a file may add its conversion).
    bool preprocessing() const {
        return convertsEveryFile() || deHtml || ctrlCode || delSpace1 || delSpace3;
    }
};

/// Reads the snapshot with every default and normalisation of the run.
SearchOptions readSearchOptions(Profile& profile);

/// How many files a run searches at once: PYXO_JOBS when it names 1 to 64, else one per core.
int defaultSearchJobs();

}  // namespace vellmora
