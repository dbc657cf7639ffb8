#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

class Profile;

// Word groups live in two sections: "WordGroupNames" holds the group names as "|"-lists spread
// over the keys "Name", "Name1", "Name2", ...; "WordGroup" holds one key per group, named after
// the group, whose value is the group's words, each followed by "|". Names and words are
// Shift-JIS bytes and may hold blanks; a "|" standing as a character of its own is never part of
// one, but a "|" that is the second byte of a double-byte character is.
//
// Every value here is read whole: a group of many words or a chunk holding a long name is longer
// than the 259 bytes a plain string read returns, and a cut value would drop words or hand back
// a shortened one that a search would then look for.

inline constexpr std::string_view kWordGroupNamesSection = "WordGroupNames";
inline constexpr std::string_view kWordGroupSection = "WordGroup";
/// A chunk of names is closed as soon as its length exceeds this many bytes.
inline constexpr std::size_t kNameChunkLimit = 200;

/// The key of name chunk index: "Name" for 0, then "Name1", "Name2", ...
std::string nameChunkKey(int index);

/// The items of a "|"-list in order, empty ones skipped; text after the last "|" is an item too.
std::vector<std::string> splitBarList(std::string_view list);
/// Each item followed by "|".
std::string joinBarList(const std::vector<std::string>& items);

/// True when text holds a "|" that is a character of its own (not the second byte of a
/// double-byte character).
bool holdsBar(std::string_view text);
/// True when text holds a byte that would end the settings line (CR or LF).
bool holdsLineBreak(std::string_view text);
/// text without a final lead byte that has lost its second byte: stored before a "|", such a
/// byte would swallow the separator.
std::string withoutBrokenTail(std::string_view text);

/// The name as the settings file can key it: outer blanks dropped (key names are matched after
/// trimming) and without a broken final character.
std::string normalizeGroupName(std::string_view name);
/// True when name, normalized, can be a key of "WordGroup" and an item of a name list: not
/// empty, no "|", "=" or line break, not starting with "[" (which would read as a section).
bool isStorableGroupName(std::string_view name);
/// True when word can be an item of a word list: not empty, no "|", no line break, no broken
/// final character.
bool isStorableWord(std::string_view word);
/// True when the settings file keys a and b as the same group: ASCII letters compare without
/// regard to case, double-byte characters exactly.
bool sameGroupName(std::string_view a, std::string_view b);

/// The group names of every chunk, "Name" first, stopping at the first later chunk that is
/// empty or missing; names the file cannot key are skipped, and so is a name the list holds
/// already. What the word-group dialog lists.
std::vector<std::string> readAllGroupNames(Profile& profile);
/// The group names of the key "Name" only, read the same way. What the group chooser and the
/// search and extraction dialogs list.
std::vector<std::string> readFirstGroupNames(Profile& profile);

/// names distributed into chunks, each name followed by "|"; every chunk but the last is longer
/// than kNameChunkLimit, and the last is complete only when it is longer too.
std::vector<std::string> nameChunks(const std::vector<std::string>& names);

enum class NameChunkWrite {
    CompleteOnly,  ///< only the chunks that are full: what adding or deleting a group writes
    All,           ///< every chunk, and the chunk keys after them cleared: what OK writes
};
/// Writes the names to "Name", "Name1", ...; returns the number of chunk keys written. Nothing is
/// flushed.
int writeGroupNames(Profile& profile, const std::vector<std::string>& names, NameChunkWrite mode);

/// The words of a group in stored order, each once; empty for a group that is not stored.
std::vector<std::string> readGroupWords(Profile& profile, std::string_view group);
/// Stores the words as the group's value, leaving out any word that is not storable. Returns
/// false, writing nothing, when the group name cannot be a key. Nothing is flushed.
bool writeGroupWords(Profile& profile, std::string_view group,
                     const std::vector<std::string>& words);
/// The group's words as the alternatives of one regular expression ("w1|w2"); empty for a group
/// without words.
std::string readGroupPattern(Profile& profile, std::string_view group);

}  // namespace vellmora
