#include "document/document_save.h"

#include "document/formatted_file.h"
#include "document/result_document.h"
#include "document/text_save.h"

namespace vellmora {

FileOutcome saveDocument(CPyxoDoc& document, const std::string& path, Profile& profile,
                         UserInterface& ui) {
    const SaveForm form = document.saveForm();
    FileOutcome outcome = form == SaveForm::Formatted ? writeFormattedFile(document, path, ui)
                                                      : writeTextFile(document, path, profile, ui);
    document.setSaveForm(SaveForm::Text);
    if (outcome) {
        document.setFilePath(path, form);
        document.setModified(false);
    }
    return outcome;
}

FileOutcome saveToTextFile(CPyxoDoc& document, const std::string& path, Profile& profile,
                           UserInterface& ui) {
    document.setSaveForm(SaveForm::Text);
    FileOutcome outcome = saveDocument(document, path, profile, ui);
    document.setSaveForm(SaveForm::Formatted);
    return outcome;
}

}  // namespace vellmora
