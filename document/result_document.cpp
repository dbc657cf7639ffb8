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
    CExStringList& results = list(ResultKind::Original);
    if (static_cast<unsigned>(results.count()) >= maxLine) return false;
    std::string stored;
    stored.reserve(line.size() + 2);
    stored.append(line);
    stored.append("\r\n");
    results.addTail(std::move(stored));
    m_modified = true;
    return true;
}

void CPyxoDoc::addTo(ResultKind kind, std::string_view line) { list(kind).addTail(line); }

void CPyxoDoc::clearResults() {
    for (CExStringList& results : m_lists) results.removeAll();
    m_modified = false;
}

}  // namespace vellmora
