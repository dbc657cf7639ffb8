#include "engine/keyword_matcher.h"

#include <string.h>  // memmem

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "engine/search_options.h"
#include "settings/word_groups.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool isAfterType(int type) { return type == 1 || type == 11 || type == 0 || type == -9; }
bool isBeforeType(int type) { return type == 2 || type == 12 || type == -1 || type == -10; }
bool isSentenceType(int type) { return type == 11 || type == -9 || type == 12 || type == -10; }

/// First byte-wise occurrence of needle in hay[from, to), or kNone.
std::size_t findBytes(std::string_view hay, std::size_t from, std::size_t to,
                      std::string_view needle) {
    if (from >= to || to - from < needle.size()) return kNone;
    const void* hit = memmem(hay.data() + from, to - from, needle.data(), needle.size());
    return hit == nullptr ? kNone : static_cast<const char*>(hit) - hay.data();
}

/// True when pos starts a character of s, given that known (<= pos) does. A byte outside
/// the lead-byte ranges always ends a character, so only the run of lead-range bytes right
/// before pos is ambiguous, and its parity settles it.
bool isCharacterStart(std::string_view s, std::size_t known, std::size_t pos) {
    std::size_t q = pos;
    while (q > known && ximo::isLeadByte(static_cast<unsigned char>(s[q - 1]))) --q;
    return (pos - q) % 2 == 0;
}

/// wordcheck's verdict on s[pos, pos + len). wordcheck measures its whole text on every call;
/// handing it only the two neighbouring bytes keeps the test constant-time, keeps it inside
/// the view, and leaves the rules of each mode to the library.
bool attached(int mode, std::string_view s, std::size_t pos, std::size_t len) {
    if (mode == 0) return false;
    // A blank stands for "no byte before": it is neither a letter nor a digit.
    char probe[4] = {pos > 0 && pos - 1 < s.size() ? s[pos - 1] : ' ', 'x',
                     pos + len < s.size() ? s[pos + len] : '\0', '\0'};
    return wordcheck(mode, probe, 1, 1) != 0;
}

std::vector<std::string> wordsOf(Profile& profile, const KeywordSpec& spec) {
    if (spec.isGroup) return readGroupWords(profile, spec.text);
    std::vector<std::string> words;
    words.push_back(spec.text);
    return words;
}

/// Lower-cased as the search copies are, without half characters, without empty words and
/// each once: a half character can never be matched whole, and an empty word would match
/// everywhere.
void normalize(std::vector<std::string>& words, bool ignoreCase) {
    std::vector<std::string> kept;
    for (std::string& word : words) {
        word = withoutBrokenTail(word);
        if (word.empty()) continue;
        if (ignoreCase) mbstrlwr(word.data());
        if (std::find(kept.begin(), kept.end(), word) == kept.end())
            kept.push_back(std::move(word));
    }
    words = std::move(kept);
}

/// The bytes a continuation looks for in the line's last bytes: the text before the first
/// blank of a phrase, else the first character when it is a double-byte one. A single-byte
/// word without blanks never runs on into the next line.
std::string continuationPrefix(const std::string& word) {
    std::size_t blank = word.find(' ');
    if (blank != std::string::npos) return word.substr(0, blank);
    if (word.size() >= 2 && ximo::isLeadByte(static_cast<unsigned char>(word[0])))
        return word.substr(0, 2);
    return std::string();
}

}  // namespace

int rangeTestType(bool before, bool withinSentence, bool negated) {
    int type = (before ? 2 : 1) + (withinSentence ? 10 : 0);
    if (!negated) return type;
    // 1 - type for the plain tests. Within the sentence 1 - type would give -10 and -11,
    // and Rekkc reads -10 as the negated before-test and knows no -11: -9 and -10 it is.
    return withinSentence ? 2 - type : 1 - type;
}

void KeywordMatcher::prepare(const SearchOptions& options, Profile& profile,
                             const KeywordSpec& keyword1, const KeywordSpec& keyword2,
                             bool positioned) {
    m_ignoreCase = options.ignoreCase;
    m_slashMarker = options.lineEndMarker() == '/';
    m_mode1 = options.boundaryMode1();
    m_mode2 = options.boundaryMode2();

    m_words1 = wordsOf(profile, keyword1);
    m_words2 = keyword2.text.empty() ? std::vector<std::string>() : wordsOf(profile, keyword2);
    if (options.method == 2) {
        // OR: every keyword-2 word is one more alternative of keyword 1.
        m_words1.insert(m_words1.end(), m_words2.begin(), m_words2.end());
        m_words2.clear();
    }
    normalize(m_words1, m_ignoreCase);
    normalize(m_words2, m_ignoreCase);

    m_prefixes1.clear();
    for (const std::string& word : m_words1) m_prefixes1.push_back(continuationPrefix(word));

    m_range = 0;
    if (!m_words2.empty())
        m_range = rangeTestType(options.mae, options.bummatsu, options.method == 1);
    m_forward2 = m_words2;
    m_maxLength2 = 0;
    for (std::string& word : m_words2) {
        m_maxLength2 = std::max(m_maxLength2, word.size());
        // The before-test searches the context reversed character by character, so that a
        // Japanese keyword 2 is found there; the positioned test takes the words as they are.
        if (options.mae && !positioned) word = ximo::reversedCharacters(word);
    }

    // The line search with a keyword 2 looks for keyword 1 as a group does, at character
    // starts, even when it is a single word.
    m_characterSearchOnly = options.oneLine && !m_words2.empty();
    if (m_words1.size() == 1) bminitialize(m_words1.front().c_str());
    m_group.build(m_words1);
}

void KeywordMatcher::GroupIndex::build(const std::vector<std::string>& list) {
    bucket.fill(0);
    pairs.assign(65536 / 64, 0);
    for (const std::string& word : list) ++bucket[static_cast<unsigned char>(word[0]) + 1];
    for (std::size_t b = 1; b < bucket.size(); ++b) bucket[b] += bucket[b - 1];
    words.assign(list.size(), 0);
    std::array<std::uint32_t, 256> next;
    std::copy(bucket.begin(), bucket.end() - 1, next.begin());
    auto mark = [this](unsigned key) { pairs[key >> 6] |= std::uint64_t{1} << (key & 63); };
    for (std::uint32_t i = 0; i < list.size(); ++i) {
        const unsigned char first = static_cast<unsigned char>(list[i][0]);
        words[next[first]++] = i;
        const unsigned base = static_cast<unsigned>(first) << 8;
        if (list[i].size() > 1) {
            mark(base | static_cast<unsigned char>(list[i][1]));
        } else {
            // A one-byte word may stand before any byte, the terminator included.
            for (unsigned second = 0; second < 256; ++second) mark(base | second);
        }
    }
}

std::optional<Occurrence> KeywordMatcher::find(std::string_view searchCopy, std::size_t start,
                                               const char* nextLine) {
    if (m_words1.empty() || start > searchCopy.size()) return std::nullopt;
    return m_words1.size() == 1 && !m_characterSearchOnly
               ? findSingle(searchCopy, start, nextLine)
               : findGroup(searchCopy, start, nextLine);
}

std::optional<Occurrence> KeywordMatcher::findSingle(std::string_view line, std::size_t start,
                                                     const char* nextLine) {
    const std::string& word = m_words1.front();
    // Byte-wise: an occurrence may begin on the second byte of a double-byte character.
    for (std::size_t pos = start; pos <= line.size();) {
        const char* hit = bmstrstr(line.data() + pos, word.c_str());
        if (hit == nullptr) break;
        std::size_t offset = static_cast<std::size_t>(hit - line.data());
        if (!attached(m_mode1, line, offset, word.size())) return Occurrence{offset, word.size()};
        pos = offset + 1;
    }
    return findContinuation(line, start, nextLine, 0, false);
}

std::optional<Occurrence> KeywordMatcher::findGroup(std::string_view line, std::size_t start,
                                                    const char* nextLine) {
    // The words are found at character starts only. The caller goes on one byte after an
    // occurrence, which may be a second byte: the search then begins at the next character.
    std::size_t from = start;
    if (from > 0 && from < line.size() && !isCharacterStart(line, 0, from)) ++from;

    // The first character where some word stands free is the earliest occurrence, and the
    // words are tried there in list order, so that the first one wins a tie. The bytes are
    // sifted by their first two (the byte after the last is the terminator), and only a
    // byte that passes is checked for being a character start: the scan itself then does
    // not wait on the text to know where the next character begins.
    const std::size_t n = line.size();
    std::optional<Occurrence> best;
    std::size_t bestIndex = 0;
    for (std::size_t p = from; p < n && !best; ++p) {
        const unsigned char first = static_cast<unsigned char>(line[p]);
        if (!m_group.hasPair(first, static_cast<unsigned char>(line[p + 1]))) continue;
        if (!isCharacterStart(line, from, p)) continue;
        const std::uint32_t* word = m_group.words.data() + m_group.bucket[first];
        const std::uint32_t* bucketEnd = m_group.words.data() + m_group.bucket[first + 1];
        for (; word != bucketEnd; ++word) {
            const std::string& text = m_words1[*word];
            if (text.size() > n - p || std::memcmp(line.data() + p, text.data(), text.size()) ||
                attached(m_mode1, line, p, text.size())) {
                continue;
            }
            best = Occurrence{p, text.size()};
            bestIndex = *word;
            break;
        }
    }

    // A word that runs on into the next line begins in the line's last bytes. One that also
    // stands whole in the line is found there first, so this changes the result only when
    // the continuing occurrence is earlier, or as early and earlier in the list.
    if (nextLine == nullptr) return best;
    for (std::size_t i = 0; i < m_words1.size(); ++i) {
        if (m_prefixes1[i].empty()) continue;
        const std::size_t size = m_words1[i].size();
        const std::size_t earliest = std::max(from, n > size ? n - size : 0);
        if (best && (earliest > best->offset || (earliest == best->offset && i >= bestIndex)))
            continue;
        auto crossing = findContinuation(line, from, nextLine, i, true);
        if (crossing && (!best || crossing->offset < best->offset ||
                         (crossing->offset == best->offset && i < bestIndex))) {
            best = crossing;
            bestIndex = i;
        }
    }
    return best;
}

std::optional<Occurrence> KeywordMatcher::findContinuation(std::string_view line, std::size_t start,
                                                           const char* nextLine, std::size_t index,
                                                           bool characterAligned) {
    const std::string& prefix = m_prefixes1[index];
    const std::string& word = m_words1[index];
    if (prefix.empty() || nextLine == nullptr) return std::nullopt;

    const std::size_t n = line.size();
    const std::size_t k1 = word.size();
    const std::size_t regionStart = std::max(start, n > k1 ? n - k1 : 0);
    // Only the first occurrence of the prefix in the line's last bytes is tried, so that every
    // implementation of the search finds the same continuing hits.
    for (std::size_t at = findBytes(line, regionStart, n, prefix); at != kNone;
         at = findBytes(line, at + 1, n, prefix)) {
        // A group word is matched at character starts: its prefix is looked for the same way.
        if (characterAligned && !isCharacterStart(line, start, at)) continue;
        return joinedOccurrence(line, at, nextLine, index);
    }
    return std::nullopt;
}

std::optional<Occurrence> KeywordMatcher::joinedOccurrence(std::string_view line, std::size_t at,
                                                           const char* nextLine,
                                                           std::size_t index) {
    const std::string& word = m_words1[index];
    const std::size_t k1 = word.size();
    // The joined text around the occurrence: one byte before it for the boundary test, the
    // rest of the line with the "/" line-end marker read as a blank, then as much of the next
    // line as the keyword and the byte after it need.
    const std::size_t before = at > 0 ? 1 : 0;
    m_scratch.assign(line.substr(at - before));
    if (m_slashMarker && !m_scratch.empty() && m_scratch.back() == '/') m_scratch.back() = ' ';
    const std::size_t lineBytes = m_scratch.size();
    const std::size_t wanted = before + k1 + 1;
    if (wanted > lineBytes) {
        m_scratch.append(nextLine, strnlen(nextLine, wanted - lineBytes));
        if (m_ignoreCase) mbstrlwr(m_scratch.data() + lineBytes);
    }
    if (m_scratch.size() < before + k1 ||
        std::memcmp(m_scratch.data() + before, word.data(), k1) != 0) {
        return std::nullopt;
    }
    if (attached(m_mode1, m_scratch, before, k1)) return std::nullopt;
    return Occurrence{at, k1, at + k1 > line.size()};
}

bool KeywordMatcher::acceptsContext(std::string_view context, int l, std::size_t k1) const {
    if (l < 0 || static_cast<std::size_t>(l) > context.size()) return false;
    return !attached(m_mode1, context, static_cast<std::size_t>(l), k1);
}

bool KeywordMatcher::acceptsKeyword2(std::string_view context, int l, std::size_t k1, int w) {
    if (m_words2.empty()) return true;
    const bool foundMeansAccept = m_range > 0;
    if (l < 0 || static_cast<std::size_t>(l) > context.size()) return !foundMeansAccept;
    const std::size_t column = static_cast<std::size_t>(l);

    bool found = false;
    if (isAfterType(m_range)) {
        const std::size_t rangeStart = column + k1;
        // Only occurrences that begin below w are visible, so without a sentence limit the
        // copy can stop once it holds them whole. The sentence end needs the whole context:
        // a question mark anywhere after keyword 1 decides whether an exclamation mark counts.
        const std::size_t visibleEnd = std::min<std::size_t>(context.size(), w > 0 ? w : 0);
        if (rangeStart >= visibleEnd) return !foundMeansAccept;
        const std::size_t copied = isSentenceType(m_range)
                                       ? context.size()
                                       : std::min(context.size(), visibleEnd + m_maxLength2);
        m_scratch.assign(context.substr(0, copied));
        if (m_ignoreCase) mbstrlwr(m_scratch.data());
        std::size_t limit = visibleEnd;
        if (isSentenceType(m_range)) {
            const char* mark = getSF(0, m_scratch.c_str() + rangeStart);
            limit = std::min(limit, static_cast<std::size_t>(mark - m_scratch.c_str()));
        }
        for (std::size_t i = 0; i < m_words2.size() && !found; ++i)
            found = occursAfter(context, rangeStart, limit, i);
    } else if (isBeforeType(m_range)) {
        m_scratch.assign(context.substr(0, column));
        // Byte 0 of a context is never printed and may be the second half of a cut character:
        // characters are read from byte 1, and byte 0 stays a byte of its own.
        if (m_ignoreCase && !m_scratch.empty()) {
            m_scratch[0] = static_cast<char>(ximo::toLower(static_cast<unsigned char>(m_scratch[0])));
            mbstrlwr(m_scratch.data() + 1);
        }
        m_reversed.assign(m_scratch, m_scratch.empty() ? 0 : 1);
        ximo::reverseCharacters(m_reversed);
        if (!m_scratch.empty()) m_reversed.push_back(m_scratch[0]);
        std::size_t limit = m_reversed.size();
        if (isSentenceType(m_range))
            limit = static_cast<std::size_t>(getSF(1, m_reversed.c_str()) - m_reversed.c_str());
        for (std::size_t i = 0; i < m_words2.size() && !found; ++i)
            found = occursBefore(context, limit, i);
    } else {
        return !foundMeansAccept;
    }
    // NOT refuses the occurrence when any word of keyword 2 stands in the range.
    return found == foundMeansAccept;
}

bool KeywordMatcher::occursAfter(std::string_view context, std::size_t rangeStart,
                                 std::size_t limit, std::size_t index) const {
    const std::string& word = m_words2[index];
    const std::size_t end = std::min(m_scratch.size(), limit + word.size() - 1);
    for (std::size_t pos = rangeStart;;) {
        std::size_t hit = findBytes(m_scratch, pos, end, word);
        if (hit == kNone || hit >= limit) return false;
        // The boundary is judged on the whole context: keyword 2 stuck to the end of
        // keyword 1 is not a word of its own.
        if (!attached(m_mode2, context, hit, word.size())) return true;
        pos = hit + 1;
    }
}

bool KeywordMatcher::occursBefore(std::string_view context, std::size_t limit,
                                  std::size_t index) const {
    const std::string& reversedWord = m_words2[index];
    const std::string& word = m_forward2[index];
    const std::size_t length = m_reversed.size();
    const std::size_t end = std::min(length, limit + word.size() - 1);
    for (std::size_t pos = 0;;) {
        std::size_t hit = findBytes(m_reversed, pos, end, reversedWord);
        if (hit == kNone || hit >= limit) return false;
        pos = hit + 1;
        const std::size_t forward = length - hit - word.size();
        // A byte-wise hit across characters of the reversed text need not be the word when
        // read forwards again.
        if (std::memcmp(m_scratch.data() + forward, word.data(), word.size()) != 0) continue;
        if (!attached(m_mode2, context, forward, word.size())) return true;
    }
}

}  // namespace vellmora
