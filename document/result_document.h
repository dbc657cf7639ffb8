#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "containers/ex_string_list.h"
#include "platform/user_interface.h"

namespace vellmora {

/// The five result kinds of a document, in file order; the number is used everywhere.
enum class ResultKind : int {
    Original = 0,     ///< result of search
    Extracted = 1,    ///< extracted result
    Sorted = 2,       ///< sorted result
    Collocation = 3,  ///< collocation statistics
    Spreadsheet = 4,  ///< TSV/CSV conversion
};

inline constexpr int kResultKinds = 5;

/// The kind a stored value names; a value outside 0 to 4 (a damaged or foreign formatted
/// file) names the search result.
constexpr ResultKind kindFromValue(int value) {
    return value >= 0 && value < kResultKinds ? static_cast<ResultKind>(value)
                                              : ResultKind::Original;
}

/// Entries of the display history that record shown kinds; the rest of the stored array is 0.
inline constexpr int kDisplayHistoryDepth = 21;

/// What a view needs to find the keyword in restored lines and to show them as they were.
struct DisplaySnapshot {
    int keywordColumn = 0;          ///< L of the layout
    int searchKind = 0;             ///< 0 none, 1 KWIC, 2 KWOC
    std::array<int, 27> history{};  ///< kinds shown, most recent first; the last six are 0
    std::string keyword1;
    std::string keyword2;
    int formatSelector = 0;  ///< 0, 1, 10, 11 or 20
    int usableWidth = 0;     ///< kept in memory only
};

/// What the last sort was asked for; the sort command stores it, nothing else reads it back
/// from a file (the formatted file has no place for it).
struct SortFields {
    std::array<int, 3> keyPositions{1, -6, -6};  ///< -6 ... 5; -6 for a second or third: none
    int sentenceFinal = 0;
    int keywordOffset = 0;  ///< K - 1: the keyword's first byte in the context
    int keywordLength = 0;
};

/// Values the formatted file carries through save and load; nothing sets them.
struct ReservedFields {
    std::array<std::string, 4> strings;  ///< reserved strings 1 to 4
    int integer = 0;
};

/// The form the document's save step writes.
enum class SaveForm { Text, Formatted };

/// Receives search result lines instead of the document's list (the batch front end streams
/// them to its output instead of keeping millions of lines it would only print at the end).
class SearchLineSink {
public:
    virtual ~SearchLineSink() = default;
    /// line comes with its line end.
    virtual void take(std::string_view line) = 0;
};

/// One result window's results: the lines a search found and the lists derived from them.
/// Every stored line carries its own line end.
class CPyxoDoc {
public:
    explicit CPyxoDoc(std::string baseTitle);
    CPyxoDoc(const CPyxoDoc&) = delete;
    CPyxoDoc& operator=(const CPyxoDoc&) = delete;

    /// Identifies the document towards the user interface (titles, refresh).
    DocumentId id() const { return m_id; }
    const std::string& baseTitle() const { return m_baseTitle; }
    void setBaseTitle(std::string title) { m_baseTitle = std::move(title); }

    CExStringList& list(ResultKind kind) { return m_lists[static_cast<int>(kind)]; }
    const CExStringList& list(ResultKind kind) const { return m_lists[static_cast<int>(kind)]; }

    /// Stores line + "\r\n" in the search result unless it already holds maxLine lines
    /// (compared unsigned, as the limit is read from the settings file); false when refused.
    /// With a sink, the line goes there instead and only counts towards the limit.
    bool addSearchLine(std::string_view line, unsigned maxLine);
    /// Sends search lines to sink (null: store them again). The sink must outlive its use.
    void setSearchLineSink(SearchLineSink* sink) { m_sink = sink; }
    /// Lines of the search result: those in the list, or those sent to the sink.
    long searchResultCount() const {
        return m_sink != nullptr ? m_searchLines : list(ResultKind::Original).count();
    }
    /// The producers of the derived lists give their lines with the line end in place.
    void addExtractedLine(std::string_view line) { addTo(ResultKind::Extracted, line); }
    void addSortedLine(std::string_view line) { addTo(ResultKind::Sorted, line); }
    void addCollocationLine(std::string_view line) { addTo(ResultKind::Collocation, line); }

    /// Empties all five lists and clears the modified flag.
    void clearResults();

    ResultKind displayedKind() const { return m_displayed; }
    void selectKind(ResultKind kind) { m_displayed = kind; }

    bool isModified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    DisplaySnapshot& snapshot() { return m_snapshot; }
    const DisplaySnapshot& snapshot() const { return m_snapshot; }
    /// Stores the view's display state and marks the next save as formatted.
    void recordDisplaySnapshot(const DisplaySnapshot& snapshot);

    /// The form the next save through the document's save step writes.
    SaveForm saveForm() const { return m_saveForm; }
    void setSaveForm(SaveForm form) { m_saveForm = form; }

    /// The file the document was last opened from or saved to (empty: none yet), and the
    /// form that file holds.
    const std::string& filePath() const { return m_filePath; }
    SaveForm filePathForm() const { return m_filePathForm; }
    void setFilePath(std::string path, SaveForm form);
    /// True when a save in form must ask for a file name: the document has none, or its
    /// file holds the other form (a formatted file is never replaced by text, nor a text
    /// file by the formatted form).
    bool needsNewName(SaveForm form) const;
    /// "Save to Text File" asks for a name when this is true instead of writing over the
    /// document's file.
    bool needsNewNameForTextSave() const { return needsNewName(SaveForm::Text); }

    /// The collocation values of the formatted file (0 and 1 after a collocation run).
    int collocationValue1 = 0;
    int collocationValue2 = 0;
    /// Set by the sort; kept in memory only.
    SortFields sortFields;
    ReservedFields reserved;

private:
    void addTo(ResultKind kind, std::string_view line);

    DocumentId m_id;
    SearchLineSink* m_sink = nullptr;
    long m_searchLines = 0;
    std::string m_lineBuffer;
    std::string m_baseTitle;
    std::array<CExStringList, kResultKinds> m_lists;
    ResultKind m_displayed = ResultKind::Original;
    bool m_modified = false;
    DisplaySnapshot m_snapshot;
    SaveForm m_saveForm = SaveForm::Text;
    std::string m_filePath;
    SaveForm m_filePathForm = SaveForm::Text;
};

}  // namespace vellmora
