#include "engine/option_dialog_model.h"

#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

struct CheckControl {
    OptionCheck id;
    std::string_view text;
    const SettingKey& key;
    const SettingKey& writtenKey;
};

consteval CheckControl option(OptionCheck id, std::string_view text, std::string_view key) {
    return {id, text, settingKey("Options", key), settingKey("Options", key)};
}

constexpr CheckControl kChecks[] = {
    option(OptionCheck::KW1Both, "@Both@", "KW1Both"),
    option(OptionCheck::KW1Mae, "@Head", "KW1Mae"),
    option(OptionCheck::KW1Ato, "Tail@", "KW1Ato"),
    option(OptionCheck::KW1Alnum, "Default Setting", "KW1Alnum"),
    option(OptionCheck::KW1Hyph, "Exclude hyphen", "KW1Hyph"),
    option(OptionCheck::KW1Apo, "Exclude apostrophe", "KW1Apo"),
    option(OptionCheck::KW2Both, "@Both@", "KW2Both"),
    option(OptionCheck::KW2Mae, "@Head", "KW2Mae"),
    option(OptionCheck::KW2Ato, "Tail@", "KW2Ato"),
    option(OptionCheck::KW2Alnum, "Default Setting", "KW2Alnum"),
    option(OptionCheck::KW2Hyph, "Exclude hyphen", "KW2Hyph"),
    option(OptionCheck::KW2Apo, "Exclude apostrophe", "KW2Apo"),
    option(OptionCheck::IgnoreCase, "Ignore case", "IgnoreCase"),
    option(OptionCheck::LineNumber, "Disable Line number", "LineNumber"),
    option(OptionCheck::Crlf, "Express CR/LF by Space", "CRLF"),
    // Read under one spelling and written under the other: the same entry of the file.
    CheckControl{OptionCheck::NoCrlf, "Ignore CR/LF", settingKey("Options", "NoCrlf"),
                 settingKey("Options", "NoCRLF")},
    option(OptionCheck::Count, "Count All Files", "Count"),
    option(OptionCheck::CountMatched, "Matched files ONLY", "CountMatched"),
    option(OptionCheck::Beep, "Disable BEEP", "Beep"),
    option(OptionCheck::Separator, "Output all", "Separator"),
    option(OptionCheck::SepMatched, "matched files only", "SepMatched"),
    option(OptionCheck::NoSeparator, "never output", "NoSeparator"),
    option(OptionCheck::TagAsIs, "With directory", "TagAsIs"),
    option(OptionCheck::TagFName, "Filename only", "TagFName"),
    option(OptionCheck::TagForm, "Compiler-Compatille Tag-Format", "TagForm"),
    option(OptionCheck::DelSpace1, "Delete spaces at the head of line", "DelSpace1"),
    option(OptionCheck::DelSpace3, "Convert succeeding spaces to one ", "DelSpace3"),
    option(OptionCheck::CtrlCode, "Convert Ctrl codes to spaces", "CtrlCode"),
    option(OptionCheck::NoDialog, "Disable Dialog to Quit to Search", "NoDialog"),
    option(OptionCheck::OffsetLeft, "Leftward", "OffsetLeft"),
    option(OptionCheck::OffsetRight, "Rightward", "OffsetRight"),
    option(OptionCheck::Subdir, "Recursively find files under directories", "Subdir"),
    option(OptionCheck::Exclude, "Exclude Binary Files", "Exclude"),
    option(OptionCheck::JisToSjis, "JIS->SHIFT-JIS", "JIStoSJIS"),
    option(OptionCheck::EucToSjis, "EUC(Japanese)->SHIFT-JIS", "EUCtoSJIS"),
    option(OptionCheck::Utf8ToSjis, "UTF-8->SHIFT-JIS", "UTF8toSJIS"),
    option(OptionCheck::AutoCode, "Auto (each file its own)->SHIFT-JIS", "AutoCode"),
    option(OptionCheck::DeHtml, "Delete HTML tags", "DeHTML"),
    option(OptionCheck::Grep, "Use Regular Expression", "bGrep"),
    option(OptionCheck::OneLine, "one sentence per line", "bOneLine"),
};

constexpr bool checksInEnumOrder() {
    for (int i = 0; i < kOptionCheckCount; ++i) {
        if (static_cast<int>(kChecks[i].id) != i) return false;
    }
    return true;
}
static_assert(std::size(kChecks) == kOptionCheckCount && checksInEnumOrder());

struct TextControl {
    std::string_view text;
    const SettingKey& key;
};

constexpr TextControl kTexts[] = {
    {"chars ignored(head of each line)", settingKey("Options", "IgnoreKeta")},
    {"Width of Output", settingKey("Options", "Xsize")},
    {"Offset of KW1", settingKey("Options", "Offset")},
    {"Max Result Lines", settingKey("Options", "MaxLine")},
};
static_assert(std::size(kTexts) == kOptionTextCount);

constexpr int kDefaultWidth = 80;
constexpr int kMinWidth = 30;
constexpr int kMaxWidth = 256;
constexpr int kMaxResultLines = 100000;
constexpr std::string_view kDefaultMaxLine = "100000";

/// A group of alternatives; a required group always has one member on.
struct Group {
    std::initializer_list<OptionCheck> members;
    bool required;
};

using enum OptionCheck;

const Group kGroups[] = {
    {{Separator, SepMatched, NoSeparator, TagAsIs, TagFName}, true},
    {{OffsetLeft, OffsetRight}, true},
    {{KW1Both, KW1Mae, KW1Ato}, false},
    {{KW2Both, KW2Mae, KW2Ato}, false},
    {{Crlf, NoCrlf}, false},
    {{JisToSjis, EucToSjis, Utf8ToSjis, AutoCode}, false},
};

const Group* groupOf(OptionCheck check) {
    for (const Group& group : kGroups) {
        for (OptionCheck member : group.members) {
            if (member == check) return &group;
        }
    }
    return nullptr;
}

/// The delimiter rules only exist for a keyword whose end is tested.
struct KeywordChecks {
    OptionCheck both, mae, ato, alnum, hyph, apo;
};
constexpr KeywordChecks kKeywords[] = {
    {KW1Both, KW1Mae, KW1Ato, KW1Alnum, KW1Hyph, KW1Apo},
    {KW2Both, KW2Mae, KW2Ato, KW2Alnum, KW2Hyph, KW2Apo},
};

bool isEmptyOrZero(const std::string& text) { return text.empty() || parseDecimal(text) == 0; }

}  // namespace

std::string_view controlText(OptionCheck check) {
    return kChecks[static_cast<std::size_t>(check)].text;
}
std::string_view controlText(OptionText text) {
    return kTexts[static_cast<std::size_t>(text)].text;
}
const SettingKey& settingKeyOf(OptionCheck check) {
    return kChecks[static_cast<std::size_t>(check)].key;
}
const SettingKey& settingKeyOf(OptionText text) {
    return kTexts[static_cast<std::size_t>(text)].key;
}

OptionDialogModel::OptionDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

void OptionDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_focus.reset();
    for (const CheckControl& control : kChecks) {
        set(control.id, readInt(m_profile, control.key) == 1);
    }
    for (std::size_t i = 0; i < std::size(kTexts); ++i) {
        m_texts[i] = readString(m_profile, kTexts[i].key);
    }

    // A hand-edited file can hold several members of a group; show the one the run acts on.
    for (const KeywordChecks& keyword : kKeywords) {
        // The run takes Both, Mae, Ato in that order, a later one overriding.
        if (check(keyword.ato)) {
            set(keyword.both, false);
            set(keyword.mae, false);
        } else if (check(keyword.mae)) {
            set(keyword.both, false);
        }
        if (check(keyword.hyph) || check(keyword.apo)) set(keyword.alnum, false);
    }
    // Tags suppress every separator; otherwise "never" beats "matched only" beats "all".
    for (OptionCheck mark : {TagFName, TagAsIs, NoSeparator, SepMatched, Separator}) {
        if (check(mark)) {
            for (OptionCheck other : {Separator, SepMatched, NoSeparator, TagAsIs, TagFName}) {
                set(other, other == mark);
            }
            break;
        }
        if (mark == Separator) set(Separator, true);  // none set: the run prints them all
    }
    set(OffsetRight, !check(OffsetLeft));
    if (check(Crlf)) set(NoCrlf, false);
    // The run converts in this order; keep the first so the shown choice is a real one.
    if (check(Utf8ToSjis)) {
        set(EucToSjis, false);
        set(JisToSjis, false);
    } else if (check(EucToSjis)) {
        set(JisToSjis, false);
    }
}

void OptionDialogModel::setCheck(OptionCheck check, bool on) {
    if (const Group* group = groupOf(check)) {
        if (!on) {
            if (!group->required) set(check, false);
            return;
        }
        for (OptionCheck member : group->members) set(member, member == check);
        return;
    }
    set(check, on);
    if (!on) return;
    for (const KeywordChecks& keyword : kKeywords) {
        if (check == keyword.alnum) {
            set(keyword.hyph, false);
            set(keyword.apo, false);
        } else if (check == keyword.hyph || check == keyword.apo) {
            set(keyword.alnum, false);
        }
    }
}

bool OptionDialogModel::isEnabled(OptionCheck check) const {
    for (const KeywordChecks& keyword : kKeywords) {
        if (check == keyword.alnum || check == keyword.hyph || check == keyword.apo) {
            return this->check(keyword.both) || this->check(keyword.ato);
        }
    }
    if (check == CountMatched) return this->check(Count);
    if (check == TagForm) return this->check(TagAsIs) || this->check(TagFName);
    return true;
}

int OptionDialogModel::effectiveWidth() const {
    const std::string& width = text(OptionText::Xsize);
    return isEmptyOrZero(width) ? kDefaultWidth : parseDecimal(width);
}

bool OptionDialogModel::editText(OptionText field, std::string text) {
    m_texts[index(field)] = std::move(text);
    int value = parseDecimal(m_texts[index(field)]);
    switch (field) {
        case OptionText::IgnoreKeta:
            if (value < 0) {
                m_ui.alert(kMinusIgnoredCharsMessage);
                return false;
            }
            if (value >= effectiveWidth()) {
                m_ui.alert(kTooManyIgnoredCharsMessage);
                return false;
            }
            return true;
        case OptionText::MaxLine:
            if (value < 0 || value > kMaxResultLines) {
                m_ui.alert(value < 0 ? kMinusMaxLineMessage : kTooBigMaxLineMessage);
                m_texts[index(field)] = kDefaultMaxLine;
                return false;
            }
            return true;
        case OptionText::Xsize:
        case OptionText::Offset:
            return true;
    }
    return true;
}

bool OptionDialogModel::refuse(std::string_view message, OptionText field) {
    m_ui.alert(message);
    m_focus = field;
    return false;
}

void OptionDialogModel::clearUnusableDelimiters() {
    // With "@Head" or no position the end of the keyword is never tested, and a delimiter
    // rule there makes a boundary mode that rejects every occurrence: the search would find
    // nothing at all.
    for (const KeywordChecks& keyword : kKeywords) {
        if (check(keyword.both) || check(keyword.ato)) continue;
        if (!check(keyword.hyph) && !check(keyword.apo)) continue;
        set(keyword.hyph, false);
        set(keyword.apo, false);
        set(keyword.alnum, true);
    }
}

bool OptionDialogModel::ok() {
    m_focus.reset();
    std::string& width = m_texts[index(OptionText::Xsize)];
    if (isEmptyOrZero(width)) {
        width = std::to_string(kDefaultWidth);
    } else if (int value = parseDecimal(width); value < kMinWidth || value > kMaxWidth) {
        return refuse(kWidthRangeMessage, OptionText::Xsize);
    }
    int halfWidth = parseDecimal(width) / 2;

    std::string& offset = m_texts[index(OptionText::Offset)];
    if (isEmptyOrZero(offset)) {
        offset = "0";
    } else if (std::abs(static_cast<long long>(parseDecimal(offset))) > halfWidth) {
        // The direction is the "Leftward"/"Rightward" choice; a negative entry must not get
        // past the bound by turning the keyword the other way.
        return refuse(kOffsetTooBigMessage, OptionText::Offset);
    }

    // The checks made while typing only warn; a value they warned about must not be stored
    // (a negative count would move the line start backwards).
    std::string& ignored = m_texts[index(OptionText::IgnoreKeta)];
    if (isEmptyOrZero(ignored)) {
        ignored = "0";
    } else if (int value = parseDecimal(ignored); value < 0) {
        return refuse(kMinusIgnoredCharsMessage, OptionText::IgnoreKeta);
    } else if (value >= parseDecimal(width)) {
        return refuse(kTooManyIgnoredCharsMessage, OptionText::IgnoreKeta);
    }

    // A limit of 0 would refuse every result line; the file may also hold a value the
    // field's own checks never let through.
    std::string& maxLine = m_texts[index(OptionText::MaxLine)];
    if (isEmptyOrZero(maxLine)) {
        maxLine = kDefaultMaxLine;
    } else if (!editText(OptionText::MaxLine, maxLine)) {
        m_focus = OptionText::MaxLine;
        return false;
    }

    clearUnusableDelimiters();
    for (const CheckControl& control : kChecks) {
        writeInt(m_profile, control.writtenKey, check(control.id) ? 1 : 0);
    }
    for (std::size_t i = 0; i < std::size(kTexts); ++i) {
        writeString(m_profile, kTexts[i].key, m_texts[i]);
    }
    m_profile.flush();
    m_ui.setBeepSilenced(check(Beep));
    return true;
}

}  // namespace vellmora
