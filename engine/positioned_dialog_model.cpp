#include "engine/positioned_dialog_model.h"

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

void endWithSlash(std::string& directory) {
    if (!directory.empty() && directory.back() != '/') directory += '/';
}

}  // namespace

PositionedDialogModel::PositionedDialogModel(Profile& profile, UserInterface& ui,
                                             const Histories& histories)
    : m_profile(profile), m_ui(ui), m_request(profile, ui, histories) {}

void PositionedDialogModel::open() {
    m_request.open();
    m_positions = readWordPositions(m_profile);
    m_focus = SearchField::None;
}

bool PositionedDialogModel::refuse(std::string_view message, SearchField field) {
    m_ui.alert(message);
    m_focus = field;
    return false;
}

bool PositionedDialogModel::search() {
    m_focus = SearchField::None;
    SearchDialogFields& fields = m_request.fields();
    const CorpusFields& corpus = fields.corpus;
    if (fields.keyword1.empty()) return refuse(kNoKeywordMessage, SearchField::Keyword1);
    if (corpus.filename.empty() && corpus.resFile.empty())
        return refuse(kNoTargetFileMessage, SearchField::Filename);
    // With OR keyword 2 is one more keyword 1: no position of it is looked at.
    if (!fields.keyword2.empty() && fields.method != SearchMethod::Or && !m_positions.any())
        return refuse(kNoPositionMessage, SearchField::Keyword2);
    CExcludeFile excluded;
    excluded.build(m_profile);
    if (isUnusablePatternField(excluded, corpus.filename))
        return refuse(kUnusableFileMessage, SearchField::Filename);
    if (isUnusableSearchFile(excluded, corpus.resFile))
        return refuse(kUnusableFileMessage, SearchField::ResFile);

    endWithSlash(fields.corpus.directory);
    endWithSlash(fields.corpus.resFileDir);
    writeWordPositions(m_profile, m_positions);
    writeInt(m_profile, settingKey("Setting", "Word1"), fields.keyword1IsGroup ? 1 : 0);
    writeInt(m_profile, settingKey("Setting", "Word2"), fields.keyword2IsGroup ? 1 : 0);
    writeInt(m_profile, settingKey("Options", "Method"), static_cast<int>(fields.method));
    // A failed flush keeps the writes pending in the profile, where the run still reads them.
    m_profile.flush();
    return true;
}

}  // namespace vellmora
