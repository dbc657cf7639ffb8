#include "results/colloq_dialog_model.h"

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kMode = settingKey("Colloq", "Mode");
constexpr const SettingKey& kSentenceFinal = settingKey("Colloq", "SentenceFinal");
constexpr const SettingKey& kFreqOrder = settingKey("Colloq", "FreqOrder");
constexpr const SettingKey& kPercent = settingKey("Colloq", "Percent");
constexpr const SettingKey& kTail = settingKey("Colloq", "Tail");
constexpr const SettingKey& kEuropean = settingKey("Colloq", "European");
constexpr const SettingKey& kFormat = settingKey("ExColloq", "Format");
constexpr const SettingKey& kNoAsk = settingKey("ExColloq", "bNoAsk");

constexpr int kDefaultMode = 1;

constexpr std::string_view kOrdinalLabels[] = {"1st word", "2nd word", "3rd word", "4th word",
                                               "5th word"};
constexpr std::string_view kFormatLabels[kExColloqFormats] = {"Default", "Ratio", "Frequency",
                                                              "Ratio/Expactancy"};

bool validPosition(int position) {
    return position >= kFirstColloqPosition && position <= kLastColloqPosition;
}

std::size_t boxOf(int position) {
    return static_cast<std::size_t>(position - kFirstColloqPosition);
}

bool isOne(Profile& profile, const SettingKey& key) { return readInt(profile, key) == 1; }

}  // namespace

std::string_view colloqPositionLabel(int position) {
    if (!validPosition(position)) return {};
    if (position == 0) return "kw1 itself";
    return kOrdinalLabels[(position < 0 ? -position : position) - 1];
}

ColloqDialogModel::ColloqDialogModel(Profile& profile) : m_profile(profile) {}

void ColloqDialogModel::open() {
    const int stored = readInt(m_profile, kMode);
    m_openedMode = validPosition(stored) ? stored : kDefaultMode;
    m_boxes.fill(false);
    m_boxes[boxOf(m_openedMode)] = true;
    m_sentenceFinal = isOne(m_profile, kSentenceFinal);
    m_frequencyOrder = isOne(m_profile, kFreqOrder);
    m_european = isOne(m_profile, kEuropean);
    m_percent = isOne(m_profile, kPercent);
    m_tail = isOne(m_profile, kTail);
}

bool ColloqDialogModel::positionChecked(int position) const {
    return validPosition(position) && m_boxes[boxOf(position)];
}

void ColloqDialogModel::setPositionChecked(int position, bool checked) {
    if (!validPosition(position)) return;
    if (checked) m_boxes.fill(false);
    m_boxes[boxOf(position)] = checked;
}

int ColloqDialogModel::mode() const {
    if (positionChecked(0)) return 0;
    for (int position = 1; position <= kLastColloqPosition; ++position)
        if (positionChecked(position)) return position;
    for (int position = -1; position >= kFirstColloqPosition; --position)
        if (positionChecked(position)) return position;
    return m_openedMode;
}

void ColloqDialogModel::ok() {
    writeInt(m_profile, kMode, mode());
    writeInt(m_profile, kSentenceFinal, m_sentenceFinal ? 1 : 0);
    writeInt(m_profile, kFreqOrder, m_frequencyOrder ? 1 : 0);
    writeInt(m_profile, kEuropean, m_european ? 1 : 0);
    writeInt(m_profile, kPercent, m_percent ? 1 : 0);
    writeInt(m_profile, kTail, m_tail ? 1 : 0);
    m_profile.flush();
}

ExColloqDialogModel::ExColloqDialogModel(Profile& profile) : m_profile(profile) {}

std::string_view ExColloqDialogModel::formatLabel(int index) {
    return index >= 0 && index < kExColloqFormats ? kFormatLabels[index] : std::string_view();
}

void ExColloqDialogModel::open() {
    m_format = static_cast<int>(exColloqFormatOf(readInt(m_profile, kFormat)));
    m_disabled = isOne(m_profile, kNoAsk);
}

void ExColloqDialogModel::setFormatIndex(int index) {
    if (index >= 0 && index < kExColloqFormats) m_format = index;
}

void ExColloqDialogModel::ok() {
    writeInt(m_profile, kFormat, m_format);
    writeInt(m_profile, kNoAsk, m_disabled ? 1 : 0);
    m_profile.flush();
}

}  // namespace vellmora
