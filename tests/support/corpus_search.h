#pragma once

// A KWIC or KWOC run over the files "c*.txt" of a directory: the engine tests that compare
// runs with each other make their results this one way.

#include <string>
#include <vector>

#include "document/result_document.h"
#include "engine/kwoc_search.h"
#include "engine/search_options.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"

namespace vellmora::testing {

struct CorpusSearchResult {
    std::vector<std::string> lines;  ///< the search result's lines
    SearchOutcome outcome;
};

/// Searches keyword in directory's "c*.txt" (directory ends with "/") with options, as KWOC
/// when kwoc is set; ui sees the run.
inline CorpusSearchResult searchCorpus(const SearchOptions& options, Profile& profile,
                                       const std::string& directory, const std::string& keyword,
                                       bool kwoc, RecordingUserInterface& ui) {
    CPyxoDoc document("test");
    SearchState state;
    SearchRequest request;
    request.keyword1 = {keyword, false};
    request.fileName = "c*.txt";
    request.directory = directory;
    CorpusSearchResult result;
    if (kwoc) {
        KwocSearchRun search(options, readKwocOptions(profile), profile, ui, document, state);
        result.outcome = search.run(request);
    } else {
        KwicSearchRun search(options, profile, ui, document, state);
        result.outcome = search.run(request);
    }
    const CExStringList& lines = document.list(ResultKind::Original);
    result.lines.assign(lines.begin(), lines.end());
    return result;
}

}  // namespace vellmora::testing
