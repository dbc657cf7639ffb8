#include "results/colloq_strength_dialog_model.h"

#include <algorithm>

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kMeasure = settingKey("ColloqStrength", "Measure");
constexpr const SettingKey& kSpanFrom = settingKey("ColloqStrength", "SpanFrom");
constexpr const SettingKey& kSpanTo = settingKey("ColloqStrength", "SpanTo");
constexpr const SettingKey& kMinFreq = settingKey("ColloqStrength", "MinFreq");

constexpr std::string_view kMeasureLabels[kStrengthMeasures] = {"MI", "MI3", "t-score",
                                                                "log-likelihood", "logDice"};
constexpr std::string_view kLeftLabels[] = {"L1", "L2", "L3", "L4", "L5"};
constexpr std::string_view kRightLabels[] = {"R1", "R2", "R3", "R4", "R5"};

bool isSpanEnd(int position) {
    return position >= kFirstColloqPosition && position <= kLastColloqPosition;
}

}  // namespace

std::string_view colloqSpanPositionLabel(int position) {
    if (!isSpanEnd(position) || position == 0) return {};
    return position < 0 ? kLeftLabels[-position - 1] : kRightLabels[position - 1];
}

ColloqStrengthDialogModel::ColloqStrengthDialogModel(Profile& profile) : m_profile(profile) {}

std::string_view ColloqStrengthDialogModel::measureLabel(int index) {
    return index >= 0 && index < kStrengthMeasures ? kMeasureLabels[index] : std::string_view();
}

void ColloqStrengthDialogModel::open() {
    m_measure = static_cast<int>(strengthMeasureOf(readInt(m_profile, kMeasure)));
    m_span = ColloqSpan{};
    setSpanFrom(
        std::clamp(readInt(m_profile, kSpanFrom), kFirstColloqPosition, kLastColloqPosition));
    setSpanTo(std::clamp(readInt(m_profile, kSpanTo), kFirstColloqPosition, kLastColloqPosition));
    if (!isValidSpan(m_span)) m_span = ColloqSpan{};
    setMinFrequency(readInt(m_profile, kMinFreq));
}

void ColloqStrengthDialogModel::setMeasureIndex(int index) {
    if (index >= 0 && index < kStrengthMeasures) m_measure = index;
}

void ColloqStrengthDialogModel::setSpanFrom(int position) {
    if (isSpanEnd(position)) m_span.first = position == 0 ? 1 : position;
}

void ColloqStrengthDialogModel::setSpanTo(int position) {
    if (isSpanEnd(position)) m_span.last = position == 0 ? -1 : position;
}

void ColloqStrengthDialogModel::setMinFrequency(int frequency) {
    m_minFrequency = std::clamp(frequency, 0, kMaxColloqMinFrequency);
}

std::string_view ColloqStrengthDialogModel::refusal() const {
    return isValidSpan(m_span) ? std::string_view() : kColloqStrengthSpanRefusal;
}

void ColloqStrengthDialogModel::store() {
    writeInt(m_profile, kMeasure, m_measure);
    writeInt(m_profile, kSpanFrom, m_span.first);
    writeInt(m_profile, kSpanTo, m_span.last);
    writeInt(m_profile, kMinFreq, m_minFrequency);
    m_profile.flush();
}

StrengthSpec ColloqStrengthDialogModel::spec() const {
    return {strengthMeasureOf(m_measure), m_span, static_cast<std::uint64_t>(m_minFrequency)};
}

}  // namespace vellmora
