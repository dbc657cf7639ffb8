#include "results/sort_command.h"

#include <algorithm>
#include <climits>

#include "document/result_navigation.h"
#include "engine/search_run.h"
#include "platform/user_interface.h"
#include "results/sort_dialog_model.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kMaxLine = settingKey("Sort", "MaxLine", "sort");
constexpr const SettingKey& kBeep = settingKey("Options", "Beep");


}  // namespace

bool confirmSortUnchanged(SortDialogModel& /*dialog*/) { return true; }

SortCommandResult runSortCommand(const ResultCommandPlace& place, const SortInput& input,
                                 const SortDialogStep& showDialog) {
    UserInterface& ui = place.ui;
    CPyxoDoc& document = place.document;
    SortCommandResult result;
    ui.setBeepSilenced(readInt(place.profile, kBeep) == 1);
    if (refuseWhileBusy(place.flags, place.view, ui)) return result;
    if (document.snapshot().history[0] == static_cast<int>(ResultKind::Sorted) &&
        ui.alert(kSortAgainQuestion, Buttons::YesNo) != Answer::Yes) {
        result.end = SortCommandEnd::Declined;
        return result;
    }

    SortDialogModel dialog(place.profile, ui);
    dialog.open();
    if (!showDialog(dialog)) {
        result.end = SortCommandEnd::Cancelled;
        return result;
    }
    dialog.ok();

    WordSortSpec spec;
    spec.keys = dialog.sortKeys();
    spec.sentenceFinal = dialog.sentenceFinal();
    spec.byteWise = dialog.byteWise();
    // A damaged formatted file can hold any column; gettoken finds no word outside the line.
    spec.keywordOffset = static_cast<int>(
        std::max<long long>(static_cast<long long>(input.keywordColumn) - 1, INT_MIN));
    spec.keywordLength = input.keywordLength;
    spec.maxLines = readStringAsInt(place.profile, kMaxLine);

    SortFields& record = document.sortFields;
    for (std::size_t box = 0; box < record.keyPositions.size(); ++box)
        record.keyPositions[box] = dialog.key(static_cast<int>(box)).index + kFirstWordPosition;
    record.sentenceFinal = spec.sentenceFinal ? 1 : 0;
    record.keywordOffset = spec.keywordOffset;
    record.keywordLength = spec.keywordLength;

    {
        BusyScope busy(place);
        ui.clearCancel();
        ui.showBusyTitle(document.id(), kSortBusyTitle);
        result.run =
            sortByWords(document.list(input.source), spec, document.list(ResultKind::Sorted), ui);
        document.selectKind(ResultKind::Sorted);
        ui.restoreTitle(document.id());
        pushDisplayHistory(document.snapshot(), ResultKind::Sorted);
    }
    ui.alertBeep();
    ui.refreshViews(document.id());
    result.end = SortCommandEnd::Done;
    return result;
}

}  // namespace vellmora
