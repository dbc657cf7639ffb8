#include "engine/search_dialog_model.h"

#include "engine/corpus_file_set.h"
#include "engine/option_dialog_model.h"
#include "platform/user_interface.h"
#include "settings/ascii_case.h"
#include "settings/catalogue.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kWord1 = settingKey("Setting", "Word1");
constexpr const SettingKey& kWord2 = settingKey("Setting", "Word2");
constexpr const SettingKey& kMethod = settingKey("Options", "Method");
constexpr const SettingKey& kMae = settingKey("Options", "Mae");
constexpr const SettingKey& kBummatsu = settingKey("Options", "Bummatsu");

std::vector<std::string> toVector(const CExStringList& list) {
    return std::vector<std::string>(list.begin(), list.end());
}

/// The corpus code joins names to the directory verbatim.
void endWithSlash(std::string& directory) {
    if (!directory.empty() && directory.back() != '/') directory += '/';
}

}  // namespace

SearchRequest searchRequestOf(const SearchDialogFields& fields) {
    SearchRequest request;
    request.keyword1 = {fields.keyword1, fields.keyword1IsGroup};
    request.keyword2 = {fields.keyword2, fields.keyword2IsGroup};
    request.fileName = fields.corpus.filename;
    request.directory = fields.corpus.directory;
    request.resFile = fields.corpus.resFile;
    request.resFileDir = fields.corpus.resFileDir;
    return request;
}

bool isUnusableSearchFile(const CExcludeFile& excluded, std::string_view name) {
    std::string_view extension = fileExtension(name);
    if (equalsIgnoringAsciiCase(extension, "vm2") || equalsIgnoringAsciiCase(extension, "vm1")) {
        return true;
    }
    return excluded.isExcluded(name);
}

bool isUnusablePatternField(const CExcludeFile& excluded, std::string_view field) {
    for (std::string_view pattern : splitPatterns(field)) {
        if (isUnusableSearchFile(excluded, pattern)) return true;
    }
    return false;
}

SearchDialogModel::SearchDialogModel(Profile& profile, UserInterface& ui,
                                     const Histories& histories)
    : m_profile(profile), m_ui(ui), m_histories(histories) {}

void SearchDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_focus = SearchField::None;

    const LastSearchValues& request = m_histories.lastValues();
    m_fields.keyword1 = request.keyword1;
    m_fields.keyword2 = request.keyword2;
    m_fields.corpus = {request.filename, request.directory, request.resFile, request.resFileDir};
    m_fields.keyword1IsGroup = readInt(m_profile, kWord1) == 1;
    m_fields.keyword2IsGroup = readInt(m_profile, kWord2) == 1;
    int method = readInt(m_profile, kMethod);
    m_fields.method = method == 1   ? SearchMethod::Not
                      : method == 2 ? SearchMethod::Or
                                    : SearchMethod::And;
    m_fields.beforeKeyword1 = readInt(m_profile, kMae) == 1;
    // Read back as well: a box that opened cleared would reset the stored choice at every
    // search the user confirms without looking at it.
    m_fields.recognizeSentence = readInt(m_profile, kBummatsu) == 1;

    m_keyword1History = toVector(m_histories.list(HistoryKind::Keyword1));
    m_keyword2History = toVector(m_histories.list(HistoryKind::Keyword2));
    m_filenames = toVector(m_histories.list(HistoryKind::Filename));
    m_directories = toVector(m_histories.list(HistoryKind::Directory));
    m_resFiles = toVector(m_histories.list(HistoryKind::ResFile));
    m_resFileDirs = toVector(m_histories.list(HistoryKind::ResFileDir));
    reloadGroupNames();
    m_corpusSets.load(m_profile);
}

const std::vector<std::string>& SearchDialogModel::keyword1Choices() const {
    return m_fields.keyword1IsGroup ? m_groupNames : m_keyword1History;
}

const std::vector<std::string>& SearchDialogModel::keyword2Choices() const {
    return m_fields.keyword2IsGroup ? m_groupNames : m_keyword2History;
}

void SearchDialogModel::reloadGroupNames() { m_groupNames = readFirstGroupNames(m_profile); }

bool SearchDialogModel::refuse(std::string_view message, SearchField field) {
    m_ui.alert(message);
    m_focus = field;
    return false;
}

bool SearchDialogModel::checkRequired() {
    m_focus = SearchField::None;
    if (m_fields.keyword1.empty()) return refuse(kNoKeywordMessage, SearchField::Keyword1);
    if (m_fields.corpus.filename.empty() && m_fields.corpus.resFile.empty())
        return refuse(kNoTargetFileMessage, SearchField::Filename);
    return true;
}

bool SearchDialogModel::checkUsable() {
    // Refused whatever Options/Exclude says: that switch only skips files during the run.
    CExcludeFile excluded;
    excluded.build(m_profile);
    if (isUnusablePatternField(excluded, m_fields.corpus.filename))
        return refuse(kUnusableFileMessage, SearchField::Filename);
    if (isUnusableSearchFile(excluded, m_fields.corpus.resFile))
        return refuse(kUnusableFileMessage, SearchField::ResFile);
    return true;
}

void SearchDialogModel::storeRequestChoices() {
    endWithSlash(m_fields.corpus.directory);
    endWithSlash(m_fields.corpus.resFileDir);
    writeInt(m_profile, kWord1, m_fields.keyword1IsGroup ? 1 : 0);
    writeInt(m_profile, kWord2, m_fields.keyword2IsGroup ? 1 : 0);
    writeInt(m_profile, kMethod, static_cast<int>(m_fields.method));
}

bool SearchDialogModel::search() {
    if (!checkRequired() || !checkUsable()) return false;
    storeRequestChoices();
    writeInt(m_profile, kMae, m_fields.beforeKeyword1 ? 1 : 0);
    writeInt(m_profile, kBummatsu, m_fields.recognizeSentence ? 1 : 0);
    // A failed flush keeps the writes pending in the profile, where the run still reads them.
    m_profile.flush();
    return true;
}

void SearchDialogModel::copyRequestTo(LastSearchValues& request) const {
    request.keyword1 = m_fields.keyword1;
    request.keyword2 = m_fields.keyword2;
    request.filename = m_fields.corpus.filename;
    request.directory = m_fields.corpus.directory;
    request.resFile = m_fields.corpus.resFile;
    request.resFileDir = m_fields.corpus.resFileDir;
}

CorpusSetButtons::Click SearchDialogModel::clickCorpusSet(int number) {
    return m_corpusSets.click(m_profile, number, m_fields.corpus);
}

CFileSetDlg SearchDialogModel::fileSetDialog(int number) const {
    return CorpusSetButtons::fileSetDialog(number, m_fields.corpus);
}

bool SearchDialogModel::acceptFileSet(const CFileSetDlg& dialog) {
    bool written = dialog.accept(m_profile);
    m_corpusSets.applyFileSet(dialog, m_fields.corpus);
    return written;
}

WordGroupDialogModel SearchDialogModel::wordGroupDialog() const {
    std::string group;
    if (m_fields.keyword1IsGroup) {
        group = m_fields.keyword1;
    } else if (m_fields.keyword2IsGroup) {
        group = m_fields.keyword2;
    }
    return WordGroupDialogModel(m_profile, m_ui, group);
}

GroupChooserModel SearchDialogModel::groupChooser(std::string group) const {
    return GroupChooserModel(m_profile, m_ui, std::move(group));
}

OptionDialogModel SearchDialogModel::optionDialog() const {
    return OptionDialogModel(m_profile, m_ui);
}

}  // namespace vellmora
