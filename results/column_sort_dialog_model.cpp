#include "results/column_sort_dialog_model.h"

#include <utility>

#include "platform/user_interface.h"
#include "results/sort_dialog_model.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kColumn = settingKey("SortColumn", "Column");
constexpr const SettingKey& kAbc = settingKey("SortColumn", "Abc");
constexpr const SettingKey& kMaxLine = settingKey("Sort", "MaxLine");
constexpr const SettingKey& kBeep = settingKey("Options", "Beep");

constexpr int kFallbackColumn = 40;
constexpr int kMaxLinesLimit = 100000;
constexpr int kMaxLinesStep = 100;
constexpr std::string_view kDefaultMaxLines = "40000";

}  // namespace

ColumnSortDialogModel::ColumnSortDialogModel(Profile& profile, UserInterface& ui, int offeredColumn,
                                             int maximum)
    : m_profile(profile), m_ui(ui), m_offeredColumn(offeredColumn), m_maximum(maximum) {}

void ColumnSortDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, kBeep) == 1);
    m_initialColumn =
        m_offeredColumn >= 1 && m_offeredColumn <= m_maximum ? m_offeredColumn : kFallbackColumn;
    m_columnText = std::to_string(m_initialColumn);
    m_alphabetical = readInt(m_profile, kAbc) == 1;
    m_maxLineText = openingMaxLineText(m_profile);
}

std::string ColumnSortDialogModel::minimumLine() const {
    return "Minimum : " + std::to_string(minimum());
}

std::string ColumnSortDialogModel::maximumLine() const {
    return "Maximum : " + std::to_string(m_maximum);
}

std::string ColumnSortDialogModel::initialValueLine() const {
    return "Initial value : " + std::to_string(m_initialColumn);
}

const std::string& ColumnSortDialogModel::editColumn(std::string text) {
    m_columnText = withAsciiDigits(std::move(text));
    const int column = parseDecimal(m_columnText);
    if (column < 0) {
        m_ui.alert(kColumnNegativeMessage);
        m_columnText = std::to_string(kFallbackColumn);
    } else if (column > m_maximum) {
        m_ui.alert(kColumnTooBigMessage);
        m_columnText = std::to_string(kFallbackColumn);
    }
    return m_columnText;
}

const std::string& ColumnSortDialogModel::editMaxLine(std::string text) {
    m_maxLineText = withAsciiDigits(std::move(text));
    const int maxLines = parseDecimal(m_maxLineText);
    if (maxLines < 0) {
        m_ui.alert(kColumnMaxLineMinusMessage);
        m_maxLineText = kDefaultMaxLines;
    } else if (maxLines > kMaxLinesLimit) {
        m_ui.alert(kColumnMaxLineTooBigMessage);
        m_maxLineText = kDefaultMaxLines;
    }
    return m_maxLineText;
}

const std::string& ColumnSortDialogModel::stepMaxLine(bool up) {
    // Wide enough that a count near the int limit does not overflow.
    const long long stepped =
        static_cast<long long>(parseDecimal(m_maxLineText)) + (up ? kMaxLinesStep : -kMaxLinesStep);
    if (stepped > kMaxLinesLimit) {
        m_maxLineText = std::to_string(kMaxLinesLimit);
    } else if (stepped < 0) {
        m_maxLineText = kDefaultMaxLines;
    } else {
        m_maxLineText = std::to_string(stepped);
    }
    return m_maxLineText;
}

void ColumnSortDialogModel::ok() {
    writeString(m_profile, kColumn, m_columnText);
    writeInt(m_profile, kAbc, m_alphabetical ? 1 : 0);
    writeString(m_profile, kMaxLine, m_maxLineText);
    m_profile.flush();
}

}  // namespace vellmora
