#include "document/result_document.h"

#include <atomic>

namespace vellmora {
namespace {

DocumentId nextDocumentId() {
    static std::atomic<DocumentId> next{1};
    return next++;
}

}  // namespace

CPyxoDoc::CPyxoDoc(std::string baseTitle)
    : m_id(nextDocumentId()), m_baseTitle(std::move(baseTitle)) {}

bool CPyxoDoc::addSearchLine(std::string_view line, unsigned maxLine) {
    // Lines already in the list count, whoever put them there (an opened file, an earlier run).
    if (static_cast<unsigned long>(searchResultCount()) >= maxLine) return false;
    ++m_searchLines;
    m_modified = true;
    if (m_sink != nullptr) {
        m_lineBuffer.assign(line);
        m_lineBuffer.append("\r\n");
        m_sink->take(m_lineBuffer);
        return true;
    }
    std::string stored;
    stored.reserve(line.size() + 2);
    stored.append(line);
    stored.append("\r\n");
    list(ResultKind::Original).addTail(std::move(stored));
    return true;
}

void CPyxoDoc::addTo(ResultKind kind, std::string_view line) { list(kind).addTail(line); }

void CPyxoDoc::recordDisplaySnapshot(const DisplaySnapshot& snapshot) {
    m_snapshot = snapshot;
    m_saveForm = SaveForm::Formatted;
}

void CPyxoDoc::setFilePath(std::string path, SaveForm form) {
    m_filePath = std::move(path);
    m_filePathForm = form;
}

bool CPyxoDoc::needsNewName(SaveForm form) const {
    return m_filePath.empty() || m_filePathForm != form;
}

void CPyxoDoc::clearResults() {
    for (CExStringList& results : m_lists) results.removeAll();
    m_searchLines = 0;
    m_modified = false;
}

}  // namespace vellmora
