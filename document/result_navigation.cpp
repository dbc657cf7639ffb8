#include "document/result_navigation.h"

#include <algorithm>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr std::array<std::string_view, kResultKinds> kCommandNames = {
    "Original result", "Extracted result", "Sorted result", "Collocation statistics", "TSV,CSV",
};

struct CountFormat {
    ResultKind kind;
    std::string_view format;
};

constexpr std::array<CountFormat, kResultKinds> kCountFormats = {{
    {ResultKind::Original, "元の検索結果 : %d行"},
    {ResultKind::Extracted, "絞込検索結果 : %d行"},
    {ResultKind::Collocation, "計 数 結 果  : %d行"},
    {ResultKind::Spreadsheet, "TSV/CSV結果  : %d行"},
    {ResultKind::Sorted, "並べ替え結果 : %d行"},
}};

std::string formatCount(std::string_view format, long count) {
    std::string text(format);
    const std::size_t at = text.find("%d");
    return text.replace(at, 2, std::to_string(count));
}

}  // namespace

std::string_view kindCommandName(ResultKind kind) { return kCommandNames[static_cast<int>(kind)]; }

void pushDisplayHistory(DisplaySnapshot& snapshot, ResultKind kind) {
    auto recorded = snapshot.history.begin();
    std::copy_backward(recorded, recorded + kDisplayHistoryDepth - 1,
                       recorded + kDisplayHistoryDepth);
    snapshot.history[0] = static_cast<int>(kind);
}

std::optional<std::int64_t> lineWidthFor(CPyxoDoc& document, ResultKind kind) {
    if (kind == ResultKind::Spreadsheet) return std::nullopt;
    return document.list(kind).longestLength();
}

std::optional<std::int64_t> showKind(CPyxoDoc& document, ResultKind kind, UserInterface& ui) {
    document.selectKind(kind);
    pushDisplayHistory(document.snapshot(), kind);
    std::optional<std::int64_t> width = lineWidthFor(document, kind);
    ui.refreshViews(document.id());
    return width;
}

bool kindEnabled(const CPyxoDoc& document, ResultKind kind) {
    return !document.list(kind).isEmpty();
}

bool previousResultEnabled(const CPyxoDoc& document, bool searchRunning) {
    return !searchRunning && kindEnabled(document, kindFromValue(document.snapshot().history[0]));
}

bool previousResult(CPyxoDoc& document, bool busy, UserInterface& ui, Profile& profile) {
    if (busy) {
        ui.setBeepSilenced(readInt(profile, settingKey("Options", "Beep")) == 1);
        ui.alert(kNavigationBusyMessage);
        return false;
    }
    // The older entries keep their record, but the window goes back to the search result,
    // from which every other list derives, not to the kind shown before.
    auto recorded = document.snapshot().history.begin();
    std::copy(recorded + 1, recorded + kDisplayHistoryDepth, recorded);
    recorded[kDisplayHistoryDepth - 1] = 0;
    recorded[0] = static_cast<int>(ResultKind::Original);
    document.selectKind(ResultKind::Original);
    ui.refreshViews(document.id());
    return true;
}

std::array<ResultCountLine, kResultKinds> resultCountLines(const CPyxoDoc& document) {
    std::array<ResultCountLine, kResultKinds> lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const CountFormat& entry = kCountFormats[i];
        const long count = document.list(entry.kind).count();
        lines[i] = {entry.kind, count, formatCount(entry.format, count), count == 0};
    }
    return lines;
}

}  // namespace vellmora
