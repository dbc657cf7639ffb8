#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vellmora {

class CExStringList;
class LineReader;
class UserInterface;

inline constexpr std::string_view kAverageRule = "==============================\r\n";
inline constexpr std::string_view kAverageTotalLabel = "<<Total>>";

/// Words and their bytes, for one file or for all of them.
struct WordLengthCount {
    long long words = 0;  ///< W: words that are not empty
    long long bytes = 0;  ///< C: their byte lengths added up (a double-byte character is 2)

    void add(const WordLengthCount& other) {
        words += other.words;
        bytes += other.bytes;
    }
};

/// "%6.3f : label\r\n" with C / W; without any word " -.--- : label\r\n", the dashes
/// standing where the number would.
std::string averageLengthLine(const WordLengthCount& count, std::string_view label);

/// Adds the words of text, as the word scanner strword splits them, to count. text is
/// changed (the scanner writes terminators into it).
void countWords(std::string& text, WordLengthCount& count);

/// Counts the words of one file, reading whole lines: a word is never cut where a read
/// buffer ends. A line without a line end for more than a mebibyte is taken in pieces that
/// end at a word break, so memory stays flat even for a file without line ends; only a run
/// of more than a mebibyte without any word break is cut (and counts as several words).
class FileWordCounter {
public:
    FileWordCounter();
    ~FileWordCounter();
    FileWordCounter(const FileWordCounter&) = delete;
    FileWordCounter& operator=(const FileWordCounter&) = delete;

    /// Adds the words of the file at path to count. False, with count unchanged, when the
    /// file cannot be opened. Pumps once per line; a cancel request stops the count where it
    /// is (check ui.cancelRequested()).
    bool count(const std::string& path, WordLengthCount& count, UserInterface& ui);

private:
    void countPending(std::size_t end, WordLengthCount& count);

    std::unique_ptr<LineReader> m_reader;
    std::string m_slot;
    std::string m_pending;  // the line read so far
    std::string m_text;     // the part handed to the scanner
};

struct AverageWordLengthOutcome {
    bool cancelled = false;  ///< stopped on request: no total was written
    int filesCounted = 0;    ///< files that could be opened
    WordLengthCount total;
};

/// Appends to lines the average word length of each file of files that can be opened, in
/// list order, then the rule and the total over all words of those files. lineAdded runs
/// after each appended line, so that a dialog shows the text as it grows.
AverageWordLengthOutcome averageWordLength(const CExStringList& files, CExStringList& lines,
                                           UserInterface& ui,
                                           const std::function<void()>& lineAdded = {});

}  // namespace vellmora
