#include "document/print_layout.h"

#include <algorithm>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kLine = settingKey("Print", "Line");
constexpr const SettingKey& kColumn = settingKey("Print", "Column");
constexpr const SettingKey& kOffset = settingKey("Print", "Offset");
constexpr const SettingKey& kMaxPage = settingKey("Print", "MaxPage");
constexpr const SettingKey& kPageNum = settingKey("Print", "PageNum");
constexpr const SettingKey& kTop = settingKey("Print", "Top");
constexpr const SettingKey& kLeft = settingKey("Print", "Left");
constexpr int kLargestOffset = 20;

const SettingKey& keyOf(PrintOptionField field) {
    switch (field) {
    case PrintOptionField::Offset: return kOffset;
    case PrintOptionField::Columns: return kColumn;
    case PrintOptionField::Lines: return kLine;
    case PrintOptionField::MaxPage: return kMaxPage;
    }
    return kOffset;
}

}  // namespace

PrintSettings PrintSettings::read(Profile& profile) {
    PrintSettings settings;
    settings.linesPerPage = readStringAsInt(profile, kLine);
    settings.columns = readStringAsInt(profile, kColumn);
    settings.offset = readStringAsInt(profile, kOffset);
    settings.maxPage = readStringAsInt(profile, kMaxPage);
    settings.pageNumber = readInt(profile, kPageNum) != 0;
    settings.top = readStringAsInt(profile, kTop);
    settings.left = readStringAsInt(profile, kLeft);
    return settings;
}

PrintLayout::PrintLayout(const PrintSettings& settings, std::size_t lineCount,
                         TextLines textLines) {
    const int maxPage = std::max(settings.maxPage, 1);
    std::size_t line = 0;
    do {
        const std::size_t first = line;
        int used = 0;
        // Lines go on the page while its text lines stay below the limit. A line that alone
        // takes the whole page goes on a page of its own: otherwise it would never be printed
        // and every page after it would stay empty.
        while (line < lineCount) {
            const int needs = std::max(textLines(line), 1);
            if (used + needs >= settings.linesPerPage) {
                if (line == first && settings.linesPerPage > 0) ++line;
                break;
            }
            used += needs;
            ++line;
        }
        m_pageStarts.push_back(first);
        m_pageEnds.push_back(line);
    } while (line < lineCount && static_cast<int>(m_pageStarts.size()) < maxPage);
}

std::pair<std::size_t, std::size_t> PrintLayout::linesOf(int page) const {
    if (page < 1 || page > pageCount()) return {0, 0};
    const auto index = static_cast<std::size_t>(page - 1);
    return {m_pageStarts[index], m_pageEnds[index]};
}

PrintOptionDialogModel::PrintOptionDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

void PrintOptionDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    for (PrintOptionField field : {PrintOptionField::Offset, PrintOptionField::Columns,
                                   PrintOptionField::Lines, PrintOptionField::MaxPage})
        m_texts[static_cast<int>(field)] = readString(m_profile, keyOf(field));
    m_pageNumber = readInt(m_profile, kPageNum) != 0;
}

const std::string& PrintOptionDialogModel::text(PrintOptionField field) const {
    return m_texts[static_cast<int>(field)];
}

void PrintOptionDialogModel::setText(PrintOptionField field, std::string text) {
    m_texts[static_cast<int>(field)] = std::move(text);
}

bool PrintOptionDialogModel::leaveField(PrintOptionField field, std::string text) {
    const int value = parseDecimal(text);
    std::string& stored = m_texts[static_cast<int>(field)];
    stored = std::move(text);
    const auto refuse = [&](std::string_view message, const char* reset) {
        m_ui.alert(message);
        stored = reset;
        return false;
    };
    switch (field) {
    case PrintOptionField::Lines:
        return value >= 0 || refuse(kInvalidPrintValueMessage, "30");
    case PrintOptionField::MaxPage:
        return value >= 0 || refuse(kInvalidPrintValueMessage, "10");
    case PrintOptionField::Columns:
        return value >= 0 || refuse(kInvalidPrintValueMessage, "70");
    case PrintOptionField::Offset:
        return (value >= 0 && value <= kLargestOffset) || refuse(kPrintOffsetMessage, "0");
    }
    return true;
}

bool PrintOptionDialogModel::ok() {
    const int offset = parseDecimal(text(PrintOptionField::Offset));
    if (offset < 0 || offset > kLargestOffset) {
        m_ui.alert(kPrintOffsetMessage);
        return false;
    }
    for (PrintOptionField field : {PrintOptionField::Offset, PrintOptionField::MaxPage,
                                   PrintOptionField::Columns, PrintOptionField::Lines})
        writeString(m_profile, keyOf(field), text(field));
    writeInt(m_profile, kPageNum, m_pageNumber ? 1 : 0);
    m_profile.flush();
    return true;
}

}  // namespace vellmora
