#include "results/sort_dialog_model.h"

#include <algorithm>
#include <utility>

#include "engine/preprocessor.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey* kModeKeys[] = {
    &settingKey("Sort", "Mode"),
    &settingKey("Sort", "Mode2"),
    &settingKey("Sort", "Mode3"),
};
constexpr const SettingKey* kOrderKeys[] = {
    &settingKey("Sort", "Order1"),
    &settingKey("Sort", "Order2"),
    &settingKey("Sort", "Order3"),
};
constexpr const SettingKey* kTailKeys[] = {
    &settingKey("Sort", "Tail1"),
    &settingKey("Sort", "Tail2"),
    &settingKey("Sort", "Tail3"),
};
constexpr const SettingKey& kSentenceFinal = settingKey("Sort", "SentenceFinal");
constexpr const SettingKey& kEuropean = settingKey("Sort", "European");
constexpr const SettingKey& kMaxLine = settingKey("Sort", "MaxLine");
constexpr const SettingKey& kBeep = settingKey("Options", "Beep");

constexpr int kPositionOfIndex0 = -kFirstWordPosition;  // position = index - 6
constexpr int kKwIndex = kPositionOfIndex0;
constexpr int kMaxLinesLimit = 100000;
constexpr int kMaxLinesStep = 100;
constexpr int kMaxLinesFloor = 100;
constexpr std::string_view kDefaultMaxLines = "40000";

constexpr std::string_view kPositionLabels[kSortKeyChoices] = {
    "", "L5", "L4", "L3", "L2", "L1", "KW", "R1", "R2", "R3", "R4", "R5",
};

int indexOfStoredPosition(int position, int defaultIndex) {
    // Hand edits can store anything; the box can show only its own entries.
    const long long index = static_cast<long long>(position) + kPositionOfIndex0;
    if (index < 0 || index >= kSortKeyChoices) return defaultIndex;
    return static_cast<int>(index);
}

}  // namespace

std::string_view sortKeyLabel(int box, int index) {
    if (index < 0 || index >= kSortKeyChoices) return {};
    if (index == 0) return box == 0 ? "未指定" : "なし";
    return kPositionLabels[index];
}

std::string withAsciiDigits(std::string text) {
    foldFullWidthDigits(text.data());
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

std::string openingMaxLineText(Profile& profile) {
    std::string text = readString(profile, kMaxLine);
    // A negative count can only come from a hand edit; it would sort nothing, like 0.
    const int maxLines = parseDecimal(text);
    if (maxLines < 1 || maxLines > kMaxLinesLimit) return std::string(kDefaultMaxLines);
    return text;
}

SortDialogModel::SortDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

std::size_t SortDialogModel::boxIndex(int box) {
    return static_cast<std::size_t>(std::clamp(box, 0, kSortKeyBoxes - 1));
}

void SortDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, kBeep) == 1);
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const int defaultIndex =
            indexOfStoredPosition(parseDecimal(kModeKeys[i]->defaultValue), kNoSortKeyIndex);
        m_keys[i].index = indexOfStoredPosition(readInt(m_profile, *kModeKeys[i]), defaultIndex);
        m_keys[i].descending = readInt(m_profile, *kOrderKeys[i]) == 1;
        m_keys[i].byTail = readInt(m_profile, *kTailKeys[i]) == 1;
    }
    m_sentenceFinal = readInt(m_profile, kSentenceFinal) == 1;
    m_byteWise = readInt(m_profile, kEuropean) == 1;
    m_maxLineText = openingMaxLineText(m_profile);
}

void SortDialogModel::setKeyIndex(int box, int index) {
    if (index < 0 || index >= kSortKeyChoices) return;
    m_keys[boxIndex(box)].index = index;
}

bool SortDialogModel::keyEnabled(int box) const {
    if (box <= 0) return true;
    if (m_keys[0].index == kKwIndex) return false;
    return box == 1 || m_keys[1].index != kKwIndex;
}

const std::string& SortDialogModel::editMaxLine(std::string text) {
    m_maxLineText = withAsciiDigits(std::move(text));
    const int maxLines = parseDecimal(m_maxLineText);
    if (maxLines < 0) {
        m_ui.alert(kSortMinusMessage);
        m_maxLineText = kDefaultMaxLines;
    } else if (maxLines > kMaxLinesLimit) {
        m_ui.alert(kSortTooBigMessage);
        m_maxLineText = std::to_string(kMaxLinesLimit);
    }
    return m_maxLineText;
}

const std::string& SortDialogModel::stepMaxLine(bool up) {
    // Wide enough that a count near the int limit does not overflow.
    const long long stepped =
        static_cast<long long>(parseDecimal(m_maxLineText)) + (up ? kMaxLinesStep : -kMaxLinesStep);
    m_maxLineText = std::to_string(std::clamp<long long>(stepped, kMaxLinesFloor, kMaxLinesLimit));
    return m_maxLineText;
}

void SortDialogModel::ok() {
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        writeInt(m_profile, *kModeKeys[i], m_keys[i].index - kPositionOfIndex0);
        writeInt(m_profile, *kOrderKeys[i], m_keys[i].descending ? 1 : 0);
        writeInt(m_profile, *kTailKeys[i], m_keys[i].byTail ? 1 : 0);
    }
    writeInt(m_profile, kSentenceFinal, m_sentenceFinal ? 1 : 0);
    writeInt(m_profile, kEuropean, m_byteWise ? 1 : 0);
    writeString(m_profile, kMaxLine, m_maxLineText);
    m_profile.flush();
}

std::vector<WordSortKey> SortDialogModel::sortKeys() const {
    std::vector<WordSortKey> keys;
    for (int box = 0; box < kSortKeyBoxes; ++box) {
        const SortKeyChoice& choice = m_keys[static_cast<std::size_t>(box)];
        // The first box's entry 0 is a position (the sixth word left); the others' is "none".
        if (box > 0 && (choice.index == kNoSortKeyIndex || !keyEnabled(box))) continue;
        keys.push_back({choice.index - kPositionOfIndex0, choice.descending, choice.byTail});
    }
    return keys;
}

}  // namespace vellmora
