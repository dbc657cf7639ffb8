#include "engine/kwoc_option_dialog_model.h"

#include <utility>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

// In the order of KwocContextField.
constexpr const SettingKey* kContextKeys[] = {
    &settingKey("KWOCOptions", "ContextMae"),
    &settingKey("KWOCOptions", "ContextAto"),
};
constexpr const SettingKey& kSepMatched = settingKey("KWOCOptions", "SepMatched");
constexpr const SettingKey& kBeep = settingKey("Options", "Beep");

constexpr int kMaxLines = 5;

/// Counts are checked as the run converts them; a text with no number in it reads as 0.
bool inRange(const std::string& text) {
    const int value = parseDecimal(text);
    return value >= 0 && value <= kMaxLines;
}

}  // namespace

std::string_view controlText(KwocContextField field) {
    return field == KwocContextField::Before ? "Lines before the matched line"
                                             : "Lines after the matched line";
}

KwocOptionDialogModel::KwocOptionDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

void KwocOptionDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, kBeep) == 1);
    m_focus.reset();
    for (std::size_t i = 0; i < m_texts.size(); ++i)
        m_texts[i] = readString(m_profile, *kContextKeys[i]);
    m_separatorOfFiles = readInt(m_profile, kSepMatched) == 1;
}

bool KwocOptionDialogModel::editText(KwocContextField field, std::string text) {
    m_texts[index(field)] = std::move(text);
    if (inRange(m_texts[index(field)])) return true;
    m_ui.alert(kKwocContextRangeMessage);
    return false;
}

bool KwocOptionDialogModel::hasContext() const {
    for (const std::string& text : m_texts) {
        if (parseDecimal(text) != 0) return true;
    }
    return false;
}

bool KwocOptionDialogModel::setSeparatorOfFiles(bool on) {
    if (on && hasContext()) {
        if (m_ui.alert(kKwocNoContextQuestion, Buttons::OkCancel) != Answer::Ok) {
            m_separatorOfFiles = false;
            return false;
        }
        for (std::string& text : m_texts) text = "0";
    }
    m_separatorOfFiles = on;
    return on;
}

bool KwocOptionDialogModel::ok() {
    m_focus.reset();
    for (KwocContextField field : {KwocContextField::Before, KwocContextField::After}) {
        if (inRange(text(field))) continue;
        m_ui.alert(kKwocContextRangeMessage);
        m_focus = field;
        return false;
    }
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        if (m_texts[i].empty()) m_texts[i] = "0";
        writeString(m_profile, *kContextKeys[i], m_texts[i]);
    }
    writeInt(m_profile, kSepMatched, m_separatorOfFiles ? 1 : 0);
    m_profile.flush();
    return true;
}

}  // namespace vellmora
