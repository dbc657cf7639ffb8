// The result commands of the main window: extraction, sort, collocation statistics and
// conversion of the list the active window shows, and the two tools. Each runs in the window
// through its command in results/, which keeps the busy rules; the window then shows the new
// list with its table widths.

#include "app/main_frame.h"

#include "app/colloq_strength_dialog.h"
#include "app/result_dialogs.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "results/colloq_command.h"
#include "results/column_sort_command.h"
#include "results/convert_command.h"
#include "results/extract_command.h"
#include "results/result_source.h"
#include "results/sort_command.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {

ResultCommandPlace CMainFrame::placeOf(ResultWindow& window) {
    return {m_profile, m_ui, window.document(), m_flags, window.searchState()};
}

void CMainFrame::afterResultCommand(ResultWindow& window) {
    refreshTableWidths(window);
    window.view().scrollToLine(0);
    updateCommandStates();
}

void CMainFrame::extract(bool byPosition) {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return;
    CPyxoDoc& document = window->document();
    const DisplaySnapshot& shown = document.snapshot();
    const ExtractionView view{document, window->searchState(), m_flags,
                              document.list(sourceKindOf(shown)),
                              {shown.keywordColumn, static_cast<int>(shown.keyword1.size())}};
    if (byPosition) {
        const auto request = askPositionExtraction(m_profile, m_ui, m_histories, this);
        if (!request) return;
        runPositionExtraction(*request, view, m_profile, m_histories, m_ui);
    } else {
        const auto request = askRangeExtraction(m_profile, m_ui, m_histories, this);
        if (!request) return;
        runRangeExtraction(*request, view, m_profile, m_histories, m_ui);
    }
    afterResultCommand(*window);
}

void CMainFrame::sort(bool byColumn) {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return;
    const DisplaySnapshot& shown = window->document().snapshot();
    const ResultKind source = sourceKindOf(shown);
    if (byColumn) {
        runColumnSortCommand(placeOf(*window), {source, shown.keywordColumn, shown.usableWidth},
                             [this](ColumnSortDialogModel& dialog) {
                                 return showColumnSortDialog(dialog, this);
                             });
    } else {
        runSortCommand(placeOf(*window),
                       {source, shown.keywordColumn, static_cast<int>(shown.keyword1.size())},
                       [this](SortDialogModel& dialog) { return showSortDialog(dialog, this); });
    }
    afterResultCommand(*window);
}

void CMainFrame::collocation(CollocationForm form) {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return;
    const ResultCommandPlace place = placeOf(*window);
    CPyxoDoc& document = window->document();
    switch (form) {
    case CollocationForm::Positions:
        runColloqCommand(place, colloqInputOf(document),
                         [this](ColloqDialogModel& dialog) { return showColloqDialog(dialog, this); });
        break;
    case CollocationForm::Table:
        runColloqTableCommand(place, colloqInputOf(document));
        break;
    case CollocationForm::Extended:
        runExColloqCommand(place, exColloqInputOf(document, m_profile),
                           [this](ExColloqDialogModel& dialog) {
                               return showExColloqDialog(dialog, this);
                           });
        break;
    case CollocationForm::Strength:
        runColloqStrengthCommand(place, exColloqInputOf(document, m_profile),
                                 [this](ColloqStrengthDialogModel& dialog) {
                                     return showColloqStrengthDialog(dialog, this);
                                 });
        break;
    }
    afterResultCommand(*window);
}

void CMainFrame::convert() {
    ResultWindow* window = activeResultWindow();
    if (window == nullptr) return;
    const DisplaySnapshot& shown = window->document().snapshot();
    const ConversionInput input{sourceKindOf(shown), shown.keywordColumn,
                                static_cast<int>(shown.keyword1.size()), shown.formatSelector};
    runConvertCommand(placeOf(*window), input, [this](SpreadsheetDialogModel& dialog) {
        return showSpreadsheetDialog(dialog, this);
    });
    afterResultCommand(*window);
}

void CMainFrame::averageWordLength() {
    AverageWordLengthDialogModel model(m_profile, m_ui, m_histories, m_flags);
    model.open();
    showAverageWordLengthDialog(model, m_profile, m_ui, this);
}

void CMainFrame::makeFileList() {
    // The tool belongs to no result: a window of its own keeps the busy rules.
    CPyxoDoc document("file list");
    SearchState state;
    ResultWindow* window = activeResultWindow();
    const ResultCommandPlace place =
        window != nullptr ? placeOf(*window)
                          : ResultCommandPlace{m_profile, m_ui, document, m_flags, state};
    FileListDialogModel dialog(m_profile, m_ui);
    runFileListCommand(place, dialog,
                       [this](FileListDialogModel& model) { return showFileListDialog(model, this); });
}

}  // namespace vellmora
