// The regular-expression binding and the engine plug-in behind it, with pattern and text from
// the input: each match the binding accepts is non-empty, lies in the text after the start
// asked for, and begins and ends on character boundaries. The matches of a line are walked as
// a search walks them.
//
// Input: "icase" or anything else, the separator line, the pattern, the separator line, the
// text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/regex_binding.h"
#include "tests/fuzz/fuzz_support.h"
#include "textlib/sjis.h"

namespace {

/// boundary[i] is false only inside a well-formed double-byte character (a lead byte and a
/// second byte of the second-byte ranges). How a lead byte followed by anything else splits
/// is the engine's own choice.
std::vector<bool> characterBoundaries(std::string_view text) {
    std::vector<bool> boundary(text.size() + 1, true);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (ximo::isLeadByte(static_cast<unsigned char>(text[i])) &&
            ximo::isTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            boundary[++i] = false;
        }
    }
    return boundary;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    // One binding for the whole run keeps the engine loaded, as a long search does.
    static RegexBinding binding;
    static const bool loaded = binding.initialise();
    fuzz::check(loaded && binding.version() != 0, "the engine loads from beside the program");

    const std::vector<std::string_view> parts = fuzz::splitParts(data, size, 3);
    if (parts.size() < 3) return 0;
    const bool ignoreCase = parts[0] == "icase";
    const std::string pattern(fuzz::terminatedPart(parts[1]));
    const std::string text(fuzz::terminatedPart(parts[2]));

    fuzz::check(binding.ensureOpened(1), "a record opens");
    if (!binding.compile(1, pattern, ignoreCase)) return 0;
    const std::vector<bool> boundary = characterBoundaries(text);
    std::size_t from = 0;
    std::size_t matches = 0;
    while (from <= text.size()) {
        const std::optional<RegexMatch> match = binding.match(1, text, from);
        if (!match) break;
        fuzz::check(match->length > 0 && match->offset >= from &&
                        match->offset + match->length <= text.size(),
                    "a match is non-empty and lies in the text after its start");
        fuzz::check(boundary[match->offset] && boundary[match->offset + match->length],
                    "a match begins and ends on character boundaries");
        fuzz::check(++matches <= text.size(), "every match moves the search on");
        from = match->offset + match->length;
    }
    return 0;
}
