#include "results/avelen.h"

#include <cstdio>
#include <cstring>

#include "containers/ex_string_list.h"
#include "platform/line_reader.h"
#include "platform/user_interface.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

// A line held back without its end grows to this before a piece of it is counted.
constexpr std::size_t kMaxPendingLine = std::size_t{1} << 20;

/// Where the longest part of text that the word scanner splits exactly as it would split
/// all of text ends: just after the last separator that ends a word (or stands between
/// words) and is followed by a known byte. Failing one, at the start of the last character,
/// which may lack its second byte. A separator with letters or digits on both sides is
/// passed over: it may stay inside its word (3.14, don't).
std::size_t countableLength(std::string_view text) {
    std::size_t cut = 0;
    std::size_t lastCharacter = 0;
    for (std::size_t i = 0; i < text.size(); i += ximo::characterLength(text, i)) {
        lastCharacter = i;
        const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
        if (i + 1 >= text.size() || !ximo::isSeparator(byte(i))) continue;
        const bool joins =
            i > 0 && ximo::isLetterOrDigit(byte(i - 1)) && ximo::isLetterOrDigit(byte(i + 1));
        if (!joins) cut = i + 1;
    }
    return cut > 0 ? cut : lastCharacter;
}

}  // namespace

std::string averageLengthLine(const WordLengthCount& count, std::string_view label) {
    char mean[64];
    if (count.words > 0) {
        std::snprintf(mean, sizeof mean, "%6.3f",
                      static_cast<double>(count.bytes) / static_cast<double>(count.words));
    } else {
        std::snprintf(mean, sizeof mean, "%6s", "-.---");
    }
    std::string line(mean);
    line += " : ";
    line += label;
    line += "\r\n";
    return line;
}

void countWords(std::string& text, WordLengthCount& count) {
    // An empty text would make strword continue from the last scan instead.
    if (text.empty()) return;
    for (char* word = strword(text.data()); word != nullptr; word = strword(nullptr)) {
        const std::size_t length = std::strlen(word);
        if (length == 0) continue;
        ++count.words;
        count.bytes += static_cast<long long>(length);
    }
}

FileWordCounter::FileWordCounter()
    : m_reader(std::make_unique<LineReader>()), m_slot(kMinLineSlotSize, '\0') {}

FileWordCounter::~FileWordCounter() = default;

bool FileWordCounter::count(const std::string& path, WordLengthCount& count, UserInterface& ui) {
    if (!m_reader->open(path)) return false;
    m_pending.clear();
    LinePiece piece;
    while (m_reader->next(m_slot.data(), piece)) {
        m_pending.append(m_slot.data(), piece.length);
        // A NUL byte ends the text of its line: nothing after it joins the word before it.
        if (piece.lineEnd || piece.cutAtNul) {
            countPending(m_pending.size(), count);
        } else if (m_pending.size() > kMaxPendingLine) {
            countPending(countableLength(m_pending), count);
        }
        // Once per line, not per word as the scan goes: a pump may run another command, and
        // the word scanner's continuation is one for the whole program.
        ui.pump();
        if (ui.cancelRequested()) break;
    }
    countPending(m_pending.size(), count);
    m_reader->close();
    return true;
}

void FileWordCounter::countPending(std::size_t end, WordLengthCount& count) {
    m_text.assign(m_pending, 0, end);
    m_pending.erase(0, end);
    countWords(m_text, count);
}

AverageWordLengthOutcome averageWordLength(const CExStringList& files, CExStringList& lines,
                                           UserInterface& ui,
                                           const std::function<void()>& lineAdded) {
    AverageWordLengthOutcome outcome;
    FileWordCounter counter;
    const auto add = [&](std::string line) {
        lines.addTail(std::move(line));
        if (lineAdded) lineAdded();
    };
    for (const std::string& path : files) {
        ui.pump();
        if (ui.cancelRequested()) {
            outcome.cancelled = true;
            return outcome;
        }
        WordLengthCount file;
        if (!counter.count(path, file, ui)) continue;
        if (ui.cancelRequested()) {
            outcome.cancelled = true;
            return outcome;
        }
        ++outcome.filesCounted;
        outcome.total.add(file);
        add(averageLengthLine(file, path));
    }
    add(std::string(kAverageRule));
    add(averageLengthLine(outcome.total, kAverageTotalLabel));
    return outcome;
}

}  // namespace vellmora
