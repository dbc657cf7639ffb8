#include "results/convert_command.h"
#include "results/result_source.h"

#include "document/result_navigation.h"
#include "engine/search_run.h"
#include "platform/user_interface.h"
#include "results/convert_dialog_model.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {

bool confirmConversionUnchanged(SpreadsheetDialogModel& /*dialog*/) { return true; }

ConversionCommandResult runConvertCommand(const ResultCommandPlace& place,
                                          const ConversionInput& input,
                                          const ConversionDialogStep& showDialog) {
    UserInterface& ui = place.ui;
    CPyxoDoc& document = place.document;
    ConversionCommandResult result;
    ui.setBeepSilenced(readInt(place.profile, settingKey("Options", "Beep")) == 1);
    if (refuseWhileBusy(place.flags, place.view, ui)) return result;

    SpreadsheetDialogModel dialog(place.profile, ui);
    dialog.open();
    if (!showDialog(dialog)) {
        result.end = ConversionCommandEnd::Cancelled;
        return result;
    }
    dialog.ok();

    ConversionSpec spec;
    spec.layout = dialog.layout();
    spec.tagInfo = dialog.tagInfo();
    spec.keywordColumn = input.keywordColumn;
    spec.keywordLength = input.keywordLength;
    spec.formatSelector = input.formatSelector;

    {
        BusyScope busy(place);
        ui.clearCancel();
        ui.showBusyTitle(document.id(), kConvertBusyTitle);
        ui.setWaitCursor(true);
        CExStringList& converted = document.list(ResultKind::Spreadsheet);
        result.run = convertToSpreadsheet(document.list(input.source), spec, converted, ui);
        if (!result.run.cancelled) {
            document.selectKind(ResultKind::Spreadsheet);
            if (spec.layout == SpreadsheetLayout::Tsv1) result.lineWidth = kTsvLineWidth;
            pushDisplayHistory(document.snapshot(), ResultKind::Spreadsheet);
            result.columnWidths = tabColumnWidths(converted);
        }
        ui.setWaitCursor(false);
        ui.restoreTitle(document.id());
        ui.clearCancel();
    }
    ui.refreshViews(document.id());
    result.end = result.run.cancelled ? ConversionCommandEnd::Stopped : ConversionCommandEnd::Done;
    return result;
}

}  // namespace vellmora
