#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

class Profile;
struct SearchOptions;

/// A keyword as the request gives it: a word, or the name of a word group.
struct KeywordSpec {
    std::string text;
    bool isGroup = false;
};

/// An accepted occurrence of keyword 1 in the search copy of the current line.
struct Occurrence {
    std::size_t offset = 0;  ///< byte offset in the line
    std::size_t length = 0;  ///< K1: the byte length of the word found there
    bool continues = false;  ///< the keyword runs on into the next line
};

/// The range test type shared by the KWIC run, the extraction and Rekkc: 1 after, 2 before,
/// plus 10 within the sentence; negated 0, -1, -9 (after, within the sentence) and -10
/// (before, within the sentence).
int rangeTestType(bool before, bool withinSentence, bool negated);

/// Decides where keyword 1 occurs in a line and whether an occurrence is a hit: word or
/// group, boundary tests, continuation across the line end, and keyword 2 (or a group)
/// before or after it, within the sentence or not, AND, NOT or OR. Prepared once per run;
/// the search loop calls find() for each occurrence, builds the context, then asks
/// acceptsContext() and acceptsKeyword2().
///
/// A single keyword 1 is searched with the text library's one Boyer-Moore table, which
/// prepare() builds: nothing else may call bminitialize while the run uses this object.
/// After the first few calls, find() and the tests allocate nothing.
class KeywordMatcher {
public:
    /// Builds the word lists (groups read from the settings file; lower-cased with
    /// IgnoreCase; keyword 2 reversed character by character for a before-test unless
    /// positioned), the boundary modes, the range mode of keyword 2 (from the Way of Search:
    /// 0 AND, 1 NOT, 2 OR, where OR makes keyword 2's words alternatives of keyword 1) and
    /// the Boyer-Moore table of a single keyword 1.
    void prepare(const SearchOptions& options, Profile& profile, const KeywordSpec& keyword1,
                 const KeywordSpec& keyword2, bool positioned = false);

    /// The words of keyword 1 (one for a word; none for an empty or unknown group).
    const std::vector<std::string>& keyword1Words() const { return m_words1; }
    /// The words of keyword 2 as tested (reversed for a before-test); empty without one.
    const std::vector<std::string>& keyword2Words() const { return m_words2; }
    bool hasKeyword2() const { return !m_words2.empty(); }
    /// Keyword 1 is a single word, found with the Boyer-Moore table.
    bool singleKeyword1() const { return m_words1.size() == 1; }
    /// The range test type of keyword 2 (rangeTestType), 0 without a keyword 2 test. Note
    /// that 0 is also the negated after-test: hasKeyword2() tells them apart.
    int rangeMode() const { return m_range; }
    int boundaryMode1() const { return m_mode1; }
    int boundaryMode2() const { return m_mode2; }

    /// The next occurrence of keyword 1 at or after start in the search copy (lower-cased
    /// with IgnoreCase; searchCopy.data()[searchCopy.size()] must be the terminator, as a
    /// plain C string converts) that passes the boundary test on the line. nextLine is the
    /// following line of the window for the continuation across the line end, or null in
    /// line searches, where nothing continues.
    std::optional<Occurrence> find(std::string_view searchCopy, std::size_t start,
                                   const char* nextLine);

    /// The boundary test of keyword 1 repeated on the context buffer (keyword at byte l).
    bool acceptsContext(std::string_view context, int l, std::size_t k1) const;
    /// The keyword-2 condition on the context buffer (keyword 1 of length k1 at byte l): true
    /// without a keyword 2. With AND any word of keyword 2 in the range accepts; with NOT any
    /// word there refuses. w is the context width: an occurrence after keyword 1 counts only
    /// when it starts below w.
    bool acceptsKeyword2(std::string_view context, int l, std::size_t k1, int w);

private:
    /// The group's words by first byte, to sift the characters of a line in one walk.
    struct GroupIndex {
        std::array<std::uint32_t, 257> bucket{};  // words[bucket[b], bucket[b + 1]) begin with b
        std::vector<std::uint32_t> words;         // word indices, in list order within a bucket
        std::vector<std::uint64_t> pairs;         // bit set: a word can begin with these two bytes
        void build(const std::vector<std::string>& list);
        bool hasPair(unsigned char a, unsigned char b) const {
            const unsigned key = a << 8 | b;
            return (pairs[key >> 6] >> (key & 63)) & 1;
        }
    };

    std::optional<Occurrence> findSingle(std::string_view line, std::size_t start,
                                         const char* nextLine);
    std::optional<Occurrence> findGroup(std::string_view line, std::size_t start,
                                        const char* nextLine);
    /// The first occurrence of keyword-1 word index that begins in the line's last bytes,
    /// at an occurrence of the word's prefix, and runs on into nextLine.
    std::optional<Occurrence> findContinuation(std::string_view line, std::size_t start,
                                               const char* nextLine, std::size_t index,
                                               bool characterAligned);
    /// Word index at byte at of the line joined with nextLine, when it stands there.
    std::optional<Occurrence> joinedOccurrence(std::string_view line, std::size_t at,
                                               const char* nextLine, std::size_t index);
    /// Whether keyword-2 word index begins in [rangeStart, limit) of the context copy in
    /// m_scratch and stands as its boundary mode requires.
    bool occursAfter(std::string_view context, std::size_t rangeStart, std::size_t limit,
                     std::size_t index) const;
    /// Whether keyword-2 word index begins before limit in the reversed copy in m_reversed.
    bool occursBefore(std::string_view context, std::size_t limit, std::size_t index) const;

    std::vector<std::string> m_words1;
    std::vector<std::string> m_prefixes1;  // continuation prefix per word; empty = none
    std::vector<std::string> m_words2;
    std::vector<std::string> m_forward2;  // keyword-2 words in reading order
    std::size_t m_maxLength2 = 0;
    int m_mode1 = 0;
    int m_mode2 = 0;
    int m_range = 0;
    bool m_ignoreCase = false;
    bool m_characterSearchOnly = false;
    bool m_slashMarker = true;  // the line-end marker is "/", which a continuation reads as a blank
    std::string m_scratch;      // joined lines and the forward context copy, reused
    std::string m_reversed;     // the reversed context copy of a before-test, reused
    GroupIndex m_group;
};

}  // namespace vellmora
