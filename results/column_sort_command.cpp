#include "results/column_sort_command.h"

#include "document/result_navigation.h"

#include "engine/search_run.h"
#include "platform/user_interface.h"
#include "results/column_sort_dialog_model.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kColumn = settingKey("SortColumn", "Column");
constexpr const SettingKey& kAbc = settingKey("SortColumn", "Abc");
constexpr const SettingKey& kMaxLine = settingKey("Sort", "MaxLine", "columnSort");
constexpr const SettingKey& kXsize = settingKey("Options", "Xsize");
constexpr const SettingKey& kBeep = settingKey("Options", "Beep");

constexpr int kDefaultWidth = 80;

/// The widest column the dialog allows: the context width of the result, else the line width
/// the options name.
int maximumColumn(Profile& profile, const ColumnSortInput& input) {
    if (input.contextWidth > 0) return input.contextWidth;
    const int xsize = readStringAsInt(profile, kXsize);
    return xsize > 0 ? xsize : kDefaultWidth;
}

}  // namespace

bool confirmColumnSortUnchanged(ColumnSortDialogModel& /*dialog*/) { return true; }

ColumnSortCommandResult runColumnSortCommand(const ResultCommandPlace& place,
                                             const ColumnSortInput& input,
                                             const ColumnSortDialogStep& showDialog) {
    UserInterface& ui = place.ui;
    CPyxoDoc& document = place.document;
    ColumnSortCommandResult result;
    ui.setBeepSilenced(readInt(place.profile, kBeep) == 1);
    if (place.flags.running || place.view.busy) {
        ui.alert(kColumnSortBusyMessage);
        return result;
    }
    if (document.snapshot().history[0] == static_cast<int>(ResultKind::Sorted) &&
        ui.alert(kColumnSortAgainQuestion, Buttons::YesNo) != Answer::Yes) {
        result.end = SortCommandEnd::Declined;
        return result;
    }

    ColumnSortDialogModel dialog(place.profile, ui, input.keywordColumn,
                                 maximumColumn(place.profile, input));
    dialog.open();
    if (!showDialog(dialog)) {
        result.end = SortCommandEnd::Cancelled;
        return result;
    }
    dialog.ok();

    ColumnSortSpec spec;
    spec.column = readStringAsInt(place.profile, kColumn);
    spec.descending = readInt(place.profile, kAbc) != 1;
    spec.maxLines = readStringAsInt(place.profile, kMaxLine);
    result.column = spec.column;
    {
        BusyScope busy(place);
        ui.clearCancel();
        ui.showBusyTitle(document.id(), kColumnSortBusyTitle);
        ui.setWaitCursor(true);
        result.run =
            sortByColumn(document.list(input.source), spec, document.list(ResultKind::Sorted), ui);
        document.selectKind(ResultKind::Sorted);
        ui.setWaitCursor(false);
        ui.restoreTitle(document.id());
        pushDisplayHistory(document.snapshot(), ResultKind::Sorted);
    }
    ui.refreshViews(document.id());
    result.end = SortCommandEnd::Done;
    return result;
}

}  // namespace vellmora
