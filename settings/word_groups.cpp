#include "settings/word_groups.h"

#include <algorithm>
#include <optional>

#include "settings/profile.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

bool isLead(char c) { return ximo::isLeadByte(static_cast<unsigned char>(c)); }

/// Byte length of the character at text[i]; a lead byte at the very end counts as one byte.
std::size_t charLengthAt(std::string_view text, std::size_t i) {
    return isLead(text[i]) && i + 1 < text.size() ? 2 : 1;
}

/// Calls visit(position, length) for every character of text, stopping when it returns false.
template <typename Visit>
void forEachChar(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = charLengthAt(text, i);
        if (!visit(i, length)) return;
        i += length;
    }
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

void appendNew(std::vector<std::string>& names, std::string_view stored) {
    for (const std::string& piece : splitBarList(stored)) {
        std::string name = normalizeGroupName(piece);
        if (!isStorableGroupName(name)) continue;
        bool listed = std::any_of(names.begin(), names.end(),
                                  [&](const std::string& n) { return sameGroupName(n, name); });
        if (!listed) names.push_back(std::move(name));
    }
}

std::string readWhole(Profile& profile, std::string_view section, std::string_view key) {
    return profile.readRaw(section, key).value_or(std::string());
}

}  // namespace

std::string nameChunkKey(int index) {
    return index == 0 ? std::string("Name") : "Name" + std::to_string(index);
}

std::vector<std::string> splitBarList(std::string_view list) {
    std::vector<std::string> items;
    std::size_t start = 0;
    forEachChar(list, [&](std::size_t i, std::size_t length) {
        if (length == 1 && list[i] == '|') {
            if (i > start) items.emplace_back(list.substr(start, i - start));
            start = i + 1;
        }
        return true;
    });
    if (start < list.size()) items.emplace_back(list.substr(start));
    return items;
}

std::string joinBarList(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) {
        list += item;
        list += '|';
    }
    return list;
}

bool holdsBar(std::string_view text) {
    bool found = false;
    forEachChar(text, [&](std::size_t i, std::size_t length) {
        found = length == 1 && text[i] == '|';
        return !found;
    });
    return found;
}

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string withoutBrokenTail(std::string_view text) {
    std::size_t end = text.size();
    forEachChar(text, [&](std::size_t i, std::size_t length) {
        if (length == 1 && isLead(text[i])) end = i;
        return true;
    });
    return std::string(text.substr(0, end));
}

std::string normalizeGroupName(std::string_view name) {
    std::string whole(name);
    // Dropping a broken tail can bare a blank, and trimming a blank can break a tail again.
    for (std::size_t before = std::string::npos; before != whole.size();) {
        before = whole.size();
        while (!whole.empty() && isBlank(whole.back())) whole.pop_back();
        whole = withoutBrokenTail(whole);
    }
    std::size_t start = 0;
    while (start < whole.size() && isBlank(whole[start])) ++start;
    return whole.substr(start);
}

bool isStorableGroupName(std::string_view name) {
    std::string key = normalizeGroupName(name);
    if (key.empty() || key.front() == '[' || holdsBar(key) || holdsLineBreak(key)) return false;
    // "=" is never a second byte, and the key of a settings line ends at its first "=".
    return key.find('=') == std::string::npos;
}

bool isStorableWord(std::string_view word) {
    return !word.empty() && !holdsBar(word) && !holdsLineBreak(word) &&
           withoutBrokenTail(word).size() == word.size();
}

bool sameGroupName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    bool same = true;
    forEachChar(a, [&](std::size_t i, std::size_t length) {
        if (length == 2) {
            same = a.substr(i, 2) == b.substr(i, 2);
        } else {
            same = ximo::toLower(static_cast<unsigned char>(a[i])) ==
                   ximo::toLower(static_cast<unsigned char>(b[i]));
        }
        return same;
    });
    return same;
}

std::vector<std::string> readAllGroupNames(Profile& profile) {
    std::vector<std::string> names;
    appendNew(names, readWhole(profile, kWordGroupNamesSection, nameChunkKey(0)));
    for (int index = 1;; ++index) {
        std::string chunk = readWhole(profile, kWordGroupNamesSection, nameChunkKey(index));
        if (chunk.empty()) break;
        appendNew(names, chunk);
    }
    return names;
}

std::vector<std::string> readFirstGroupNames(Profile& profile) {
    std::vector<std::string> names;
    appendNew(names, readWhole(profile, kWordGroupNamesSection, nameChunkKey(0)));
    return names;
}

std::vector<std::string> nameChunks(const std::vector<std::string>& names) {
    std::vector<std::string> chunks;
    std::string chunk;
    for (const std::string& name : names) {
        chunk += name;
        chunk += '|';
        if (chunk.size() > kNameChunkLimit) {
            chunks.push_back(chunk);
            chunk.clear();
        }
    }
    if (!chunk.empty()) chunks.push_back(std::move(chunk));
    return chunks;
}

int writeGroupNames(Profile& profile, const std::vector<std::string>& names, NameChunkWrite mode) {
    std::vector<std::string> chunks = nameChunks(names);
    int written = 0;
    for (const std::string& chunk : chunks) {
        if (mode == NameChunkWrite::CompleteOnly && chunk.size() <= kNameChunkLimit) break;
        profile.writeString(kWordGroupNamesSection, nameChunkKey(written), chunk);
        ++written;
    }
    if (mode == NameChunkWrite::All) {
        // Chunk keys a longer list used before would bring deleted names back on the next
        // opening. "Name" is read even when empty, the later keys only up to the first empty one.
        for (int index = written;; ++index) {
            std::optional<std::string> stale =
                profile.readRaw(kWordGroupNamesSection, nameChunkKey(index));
            bool present = stale && !stale->empty();
            if (!present && index > 0) break;
            if (present) profile.writeString(kWordGroupNamesSection, nameChunkKey(index), "");
        }
    }
    return written;
}

std::vector<std::string> readGroupWords(Profile& profile, std::string_view group) {
    std::vector<std::string> words;
    if (!isStorableGroupName(group)) return words;
    std::string key = normalizeGroupName(group);
    for (std::string& word : splitBarList(readWhole(profile, kWordGroupSection, key))) {
        if (std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(std::move(word));
    }
    return words;
}

bool writeGroupWords(Profile& profile, std::string_view group,
                     const std::vector<std::string>& words) {
    if (!isStorableGroupName(group)) return false;
    std::vector<std::string> storable;
    for (const std::string& word : words) {
        if (isStorableWord(word)) storable.push_back(word);
    }
    profile.writeString(kWordGroupSection, normalizeGroupName(group), joinBarList(storable));
    return true;
}

std::string readGroupPattern(Profile& profile, std::string_view group) {
    std::string list = joinBarList(readGroupWords(profile, group));
    if (!list.empty()) list.pop_back();
    return list;
}

}  // namespace vellmora
