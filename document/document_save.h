#pragma once

#include <string>

#include "document/file_outcome.h"

namespace vellmora {

class CPyxoDoc;
class Profile;
class UserInterface;

/// The document's save step: writes the form document.saveForm() names to path and sets
/// the save form back to text, whatever the outcome. On success path becomes the
/// document's file and the document is unmodified. The caller asks for a name first when
/// document.needsNewName(document.saveForm()) is true.
FileOutcome saveDocument(CPyxoDoc& document, const std::string& path, Profile& profile,
                         UserInterface& ui);

/// "Save to Text File" once it has its path: the text form goes to path, then the save form
/// becomes formatted, so that a later save of the document (on closing) keeps every result.
/// The caller asks for a name first when document.needsNewNameForTextSave() is true.
FileOutcome saveToTextFile(CPyxoDoc& document, const std::string& path, Profile& profile,
                           UserInterface& ui);

}  // namespace vellmora
