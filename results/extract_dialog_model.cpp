#include "results/extract_dialog_model.h"

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "settings/word_groups.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kBeep = settingKey("Options", "Beep");
constexpr const SettingKey& kRangeRegExp = settingKey("ExtractionOptions", "bRegExp");
constexpr const SettingKey& kPositionRegExp = settingKey("PositionedRekkc", "bRegExp");
constexpr const SettingKey& kRangeWord = settingKey("Setting", "Word");
constexpr const SettingKey& kRangeGroup = settingKey("Setting", "Group");
constexpr const SettingKey& kPositionWord = settingKey("ExtractionOption", "Word");
constexpr const SettingKey& kPositionGroup = settingKey("ExtractionOption", "Group");
constexpr const SettingKey& kExtractionWord = settingKey("Setting", "ExtractionWord");
constexpr const SettingKey& kGroupName = settingKey("Setting", "GroupName", "extraction");

/// "Group" chosen by the pair of keys; equal values read as "Word".
bool readsGroup(Profile& profile, const SettingKey& word, const SettingKey& group) {
    return readInt(profile, group) == 1 && readInt(profile, word) != 1;
}

/// The check both dialogs make of the combo box; false (after the message) when empty.
bool keywordGiven(const ExtractionFields& fields, UserInterface& ui) {
    if (!fields.keyword.empty()) return true;
    ui.alert(fields.useGroup ? kEnterWordGroupMessage : kEnterKeywordMessage);
    return false;
}

void takeKeyword(ExtractionFields& fields, const KeywordSpec& keyword) {
    fields.keyword = keyword.text;
    fields.useGroup = keyword.isGroup;
}

}  // namespace

void ExtractionKeywordChoices::load(Profile& profile, const Histories& histories) {
    const CExStringList& list = histories.list(HistoryKind::ExtractionWord);
    m_history.assign(list.begin(), list.end());
    m_groups = readFirstGroupNames(profile);
}

RangeExtractionDialogModel::RangeExtractionDialogModel(Profile& profile, UserInterface& ui,
                                                       const Histories& histories)
    : m_profile(profile), m_ui(ui), m_histories(histories) {}

void RangeExtractionDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, kBeep) == 1);
    m_fields = ExtractionFields{};
    m_fields.options = readExtractionOptions(m_profile);
    m_fields.regExp = readInt(m_profile, kRangeRegExp) == 1;
    m_fields.useGroup = readsGroup(m_profile, kRangeWord, kRangeGroup);
    m_fields.keyword = readString(m_profile, m_fields.useGroup ? kGroupName : kExtractionWord);
    m_choices.load(m_profile, m_histories);
}

void RangeExtractionDialogModel::setKeyword(const KeywordSpec& keyword) {
    takeKeyword(m_fields, keyword);
}

bool RangeExtractionDialogModel::ok() {
    if (!keywordGiven(m_fields, m_ui)) return false;
    writeRangeExtractionOptions(m_profile, m_fields.options);
    writeInt(m_profile, kRangeRegExp, m_fields.regExp ? 1 : 0);
    writeInt(m_profile, kRangeWord, m_fields.useGroup ? 0 : 1);
    writeInt(m_profile, kRangeGroup, m_fields.useGroup ? 1 : 0);
    writeString(m_profile, kExtractionWord, m_fields.keyword);
    if (m_fields.useGroup) writeString(m_profile, kGroupName, m_fields.keyword);
    // A failed flush keeps the writes pending in the profile, where later reads see them.
    m_profile.flush();
    return true;
}

RangeExtractionRequest RangeExtractionDialogModel::request() const {
    return {m_fields.options, m_fields.regExp, m_fields.keywordSpec()};
}

PositionExtractionDialogModel::PositionExtractionDialogModel(Profile& profile, UserInterface& ui,
                                                             const Histories& histories)
    : m_profile(profile), m_ui(ui), m_histories(histories) {}

void PositionExtractionDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, kBeep) == 1);
    m_fields = ExtractionFields{};
    m_fields.options = readExtractionOptions(m_profile);
    m_fields.regExp = readInt(m_profile, kPositionRegExp) == 1;
    m_fields.useGroup = readsGroup(m_profile, kPositionWord, kPositionGroup);
    m_fields.keyword = readString(m_profile, kExtractionWord);
    m_positions = readExtractionPositions(m_profile);
    m_choices.load(m_profile, m_histories);
}

void PositionExtractionDialogModel::setKeyword(const KeywordSpec& keyword) {
    takeKeyword(m_fields, keyword);
}

bool PositionExtractionDialogModel::ok() {
    if (!m_positions.any()) {
        m_ui.alert(kNoPositionsMessage);
        return false;
    }
    // An empty keyword would stand in every word: the range dialog's check holds here too.
    if (!keywordGiven(m_fields, m_ui)) return false;
    writeExtractionPositions(m_profile, m_positions);
    writeInt(m_profile, kPositionRegExp, m_fields.regExp ? 1 : 0);
    writeSharedExtractionOptions(m_profile, m_fields.options);
    m_profile.flush();
    return true;
}

PositionExtractionRequest PositionExtractionDialogModel::request() const {
    PositionExtractionRequest request;
    request.options = m_fields.options;
    request.regExp = m_fields.regExp;
    request.keyword = m_fields.keywordSpec();
    request.positions = m_positions;
    request.positions.bySentence = m_fields.options.bummatsu;
    return request;
}

std::optional<RangeExtractionRequest> confirmRangeExtractionDialog(
    Profile& profile, UserInterface& ui, const Histories& histories,
    const std::optional<KeywordSpec>& keyword) {
    RangeExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    if (keyword) dialog.setKeyword(*keyword);
    if (!dialog.ok()) return std::nullopt;
    return dialog.request();
}

std::optional<PositionExtractionRequest> confirmPositionExtractionDialog(
    Profile& profile, UserInterface& ui, const Histories& histories,
    const std::optional<KeywordSpec>& keyword) {
    PositionExtractionDialogModel dialog(profile, ui, histories);
    dialog.open();
    if (keyword) dialog.setKeyword(*keyword);
    if (!dialog.ok()) return std::nullopt;
    return dialog.request();
}

}  // namespace vellmora
