// The formatted result file (.vm2) as a hostile or damaged file gives it: the reader must
// refuse it whole or take it whole, and whatever it takes must come back unchanged after a
// save and a second read.

#include <cstddef>
#include <cstdint>
#include <string>

#include "document/formatted_file.h"
#include "document/result_document.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/fuzz/fuzz_support.h"

namespace vellmora {
namespace {

bool sameList(const CExStringList& a, const CExStringList& b) {
    if (a.count() != b.count()) return false;
    auto j = b.begin();
    for (const std::string& line : a) {
        if (line != *j) return false;
        ++j;
    }
    return true;
}

/// Everything the file carries; the usable width belongs to the window, not to the file.
bool sameContent(const CPyxoDoc& a, const CPyxoDoc& b) {
    for (int kind = 0; kind < kResultKinds; ++kind) {
        if (!sameList(a.list(static_cast<ResultKind>(kind)), b.list(static_cast<ResultKind>(kind))))
            return false;
    }
    const DisplaySnapshot& x = a.snapshot();
    const DisplaySnapshot& y = b.snapshot();
    return x.keywordColumn == y.keywordColumn && x.searchKind == y.searchKind &&
           x.history == y.history && x.keyword1 == y.keyword1 && x.keyword2 == y.keyword2 &&
           x.formatSelector == y.formatSelector && a.collocationValue1 == b.collocationValue1 &&
           a.collocationValue2 == b.collocationValue2 && a.reserved.integer == b.reserved.integer &&
           a.reserved.strings == b.reserved.strings && a.displayedKind() == b.displayedKind();
}

bool isEmpty(const CPyxoDoc& document) {
    for (int kind = 0; kind < kResultKinds; ++kind) {
        if (!document.list(static_cast<ResultKind>(kind)).isEmpty()) return false;
    }
    return document.snapshot().keyword1.empty() && document.snapshot().keyword2.empty();
}

}  // namespace
}  // namespace vellmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    static fuzz::ScratchDir dir;
    const std::string given = dir.file("given.vm2");
    const std::string saved = dir.file("saved.vm2");
    fuzz::writeFile(given, std::string_view(reinterpret_cast<const char*>(data), size));

    RecordingUserInterface ui;
    Profile profile(dir.file("pyxo.ini"));  // never written: reads as empty
    CPyxoDoc first("Result1");
    first.snapshot().usableWidth = 77;
    if (!readFormattedFile(given, first, ui, profile)) {
        fuzz::check(isEmpty(first), "a refused file leaves the document empty");
        fuzz::check(first.snapshot().usableWidth == 77, "a refused file keeps the usable width");
        return 0;
    }
    fuzz::check(!first.isModified() && first.filePath() == given,
                "a read document is unmodified and names its file");

    fuzz::check(static_cast<bool>(writeFormattedFile(first, saved, ui)),
                "a document that was read can be saved");
    if (first.list(ResultKind::Original).isEmpty()) {
        // Without search lines there is nothing to show: the saved file is empty on purpose.
        fuzz::check(fuzz::readFile(saved).empty(), "a result without search lines saves empty");
        return 0;
    }
    CPyxoDoc second("Result2");
    fuzz::check(static_cast<bool>(readFormattedFile(saved, second, ui, profile)),
                "a saved document reads back");
    fuzz::check(sameContent(first, second), "a saved document reads back the same");
    return 0;
}
