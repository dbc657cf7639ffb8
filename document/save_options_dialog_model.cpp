#include "document/save_options_dialog_model.h"

#include <algorithm>

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

struct BoxBinding {
    std::string_view label;
    const SettingKey& key;
};

constexpr std::array<BoxBinding, kSaveOptionBoxes> kBindings = {{
    {"Displayed Result Only", settingKey("SaveOptions", "DispOnly")},
    {"Save All", settingKey("SaveOptions", "SaveAll")},
    {"Displayed Result", settingKey("SaveOptions", "Disp")},
    {"Result of Search", settingKey("SaveOptions", "SearchResult")},
    {"Sorted Result", settingKey("SaveOptions", "Sorted")},
    {"Extracted Result", settingKey("SaveOptions", "Extracted")},
    {"Collocation Statistics", settingKey("SaveOptions", "Colloq")},
    {"TSV,CSV", settingKey("SaveOptions", "Spreadsheet")},
}};

const SettingKey& kUtf8Key = settingKey("SaveOptions", "UTF8");

}  // namespace

SaveOptionsDialogModel::SaveOptionsDialogModel(Profile& profile) : m_profile(profile) {}

std::string_view SaveOptionsDialogModel::label(SaveOptionBox box) {
    return kBindings[index(box)].label;
}

std::string_view SaveOptionsDialogModel::key(SaveOptionBox box) {
    return kBindings[index(box)].key.key;
}

void SaveOptionsDialogModel::open() {
    for (int i = 0; i < kSaveOptionBoxes; ++i)
        m_checked[i] = readInt(m_profile, kBindings[i].key) == 1;
    m_utf8 = readInt(m_profile, kUtf8Key) == 1;
}

void SaveOptionsDialogModel::setChecked(SaveOptionBox box, bool on) {
    m_checked[index(box)] = on;
    if (on) {
        if (box == SaveOptionBox::SaveAll) {
            m_checked.fill(false);
            m_checked[index(SaveOptionBox::SaveAll)] = true;
        } else {
            m_checked[index(SaveOptionBox::SaveAll)] = false;
            if (box != SaveOptionBox::DispOnly) m_checked[index(SaveOptionBox::DispOnly)] = false;
        }
    }
    if (std::none_of(m_checked.begin(), m_checked.end(), [](bool c) { return c; }))
        m_checked[index(SaveOptionBox::DispOnly)] = true;
}

bool SaveOptionsDialogModel::confirm() {
    for (int i = 0; i < kSaveOptionBoxes; ++i)
        writeInt(m_profile, kBindings[i].key, m_checked[i] ? 1 : 0);
    writeInt(m_profile, kUtf8Key, m_utf8 ? 1 : 0);
    return m_profile.flush();
}

TextSaveOptions SaveOptionsDialogModel::options() const {
    TextSaveOptions options;
    options.dispOnly = checked(SaveOptionBox::DispOnly);
    options.saveAll = checked(SaveOptionBox::SaveAll);
    options.disp = checked(SaveOptionBox::Disp);
    options.searchResult = checked(SaveOptionBox::SearchResult);
    options.sorted = checked(SaveOptionBox::Sorted);
    options.extracted = checked(SaveOptionBox::Extracted);
    options.colloq = checked(SaveOptionBox::Colloq);
    options.spreadsheet = checked(SaveOptionBox::Spreadsheet);
    options.utf8 = m_utf8;
    return options;
}

}  // namespace vellmora
