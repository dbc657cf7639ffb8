#include "results/colloq_command.h"
#include "results/result_source.h"

#include <algorithm>
#include <climits>

#include "containers/string_tree.h"
#include "document/result_navigation.h"
#include "engine/search_run.h"
#include "platform/user_interface.h"
#include "results/colloq_dialog_model.h"
#include "results/colloq_extended.h"
#include "results/colloq_strength.h"
#include "results/colloq_strength_dialog_model.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kBeep = settingKey("Options", "Beep");
constexpr const SettingKey& kTail = settingKey("Colloq", "Tail");
constexpr const SettingKey& kPercent = settingKey("Colloq", "Percent");
constexpr const SettingKey& kFormat = settingKey("ExColloq", "Format");
constexpr const SettingKey& kNoAsk = settingKey("Excolloq", "bNoAsk");

KeywordPlace keywordPlaceOf(const ColloqInput& input) {
    // A damaged formatted file can hold any column; gettoken finds no word outside the line.
    const long long offset = static_cast<long long>(input.keywordColumn) - 1;
    return {static_cast<int>(std::max<long long>(offset, INT_MIN)), input.keywordLength};
}

/// Takes the beep setting and refuses while busy; true when the command may go on.
bool mayStart(const ResultCommandPlace& place) {
    place.ui.setBeepSilenced(readInt(place.profile, kBeep) == 1);
    return !refuseWhileBusy(place.flags, place.view, place.ui);
}

/// The collocation list now holds a finished statistic: shown, recorded, the table display
/// flag set for a formatted file.
void showCollocation(CPyxoDoc& document) {
    document.collocationValue1 = 0;
    document.collocationValue2 = 1;
    document.selectKind(ResultKind::Collocation);
    pushDisplayHistory(document.snapshot(), ResultKind::Collocation);
}

/// The run of both tables: busy flags, title and wait cursor around writeTable, which
/// returns false when stopped; then the display, the column widths and the closing beep.
template <class WriteTable>
void runTable(const ResultCommandPlace& place, ColloqTableResult& result, WriteTable&& writeTable) {
    UserInterface& ui = place.ui;
    CPyxoDoc& document = place.document;
    bool done = false;
    {
        BusyScope busy(place);
        ui.clearCancel();
        ui.showBusyTitle(document.id(), kColloqTableBusyTitle);
        ui.setWaitCursor(true);
        done = writeTable(document.list(ResultKind::Collocation));
        if (done) {
            showCollocation(document);
            result.columnWidths = tabColumnWidths(document.list(ResultKind::Collocation));
        }
        ui.setWaitCursor(false);
    }
    if (done) ui.alertBeep();
    ui.restoreTitle(document.id());
    ui.refreshViews(document.id());
    result.end = done ? ColloqCommandEnd::Done : ColloqCommandEnd::Stopped;
}

/// The words around the keyword in the search result, and the corpus word counts (from the
/// word-list cache while it is current) that the extended statistics compare them with;
/// false when a cancel request stopped either.
bool countAgainstCorpus(const ResultCommandPlace& place, const ExColloqInput& input,
                        CollocationCounts& counts, CStringTree& reference,
                        ColloqTableResult& result) {
    if (!counts.count(place.document.list(ResultKind::Original), keywordPlaceOf(input.view),
                      place.ui))
        return false;
    result.lines = counts.lines();
    const ReferenceRequest request{input.files, input.wordListFolder, place.document.id(),
                                   kColloqTableBusyTitle};
    result.reference = buildReference(request, place.profile, reference, place.ui);
    return !result.reference.cancelled;
}

}  // namespace

ColloqInput colloqInputOf(const CPyxoDoc& document) {
    const DisplaySnapshot& shown = document.snapshot();
    ColloqInput input;
    input.source = sourceKindOf(shown);
    input.keywordColumn = shown.keywordColumn;
    input.keywordLength = static_cast<int>(std::min<std::size_t>(shown.keyword1.size(), INT_MAX));
    return input;
}

bool confirmColloqUnchanged(ColloqDialogModel& /*dialog*/) { return true; }

ColloqCommandResult runColloqCommand(const ResultCommandPlace& place, const ColloqInput& input,
                                     const ColloqDialogStep& showDialog) {
    UserInterface& ui = place.ui;
    CPyxoDoc& document = place.document;
    ColloqCommandResult result;
    if (!mayStart(place)) return result;

    ColloqDialogModel dialog(place.profile);
    dialog.open();
    if (!showDialog(dialog)) {
        result.end = ColloqCommandEnd::Cancelled;
        return result;
    }
    dialog.ok();

    ColloqSpec spec;
    spec.position = dialog.mode();
    spec.sentenceFinal = dialog.sentenceFinal();
    spec.european = dialog.european();
    spec.frequencyOrder = dialog.frequencyOrder();
    // The count reads these two as the settings file holds them, which is what OK stored.
    spec.tail = readInt(place.profile, kTail) == 1;
    spec.percent = readInt(place.profile, kPercent) == 1;
    spec.keyword = keywordPlaceOf(input);

    // The statistic replaces the collocation list before it reads: shown itself, it counts
    // nothing.
    const CExStringList nothing;
    const CExStringList& source =
        input.source == ResultKind::Collocation ? nothing : document.list(input.source);
    {
        BusyScope busy(place);
        ui.clearCancel();
        ui.showBusyTitle(document.id(), kColloqBusyTitle);
        ui.setWaitCursor(true);
        result.run = countWordsAtPosition(source, spec, document.list(ResultKind::Collocation), ui);
        ui.restoreTitle(document.id());
        if (!result.run.cancelled) showCollocation(document);
        ui.setWaitCursor(false);
    }
    if (!result.run.cancelled) ui.alertBeep();
    ui.refreshViews(document.id());
    result.end = result.run.cancelled ? ColloqCommandEnd::Stopped : ColloqCommandEnd::Done;
    return result;
}

ColloqTableResult runColloqTableCommand(const ResultCommandPlace& place, const ColloqInput& input) {
    ColloqTableResult result;
    if (!mayStart(place)) return result;
    runTable(place, result, [&](CExStringList& table) {
        CollocationCounts counts;
        if (!counts.count(place.document.list(ResultKind::Original), keywordPlaceOf(input),
                          place.ui))
            return false;
        result.lines = counts.lines();
        return writeFrequencyTable(counts, table, place.ui);
    });
    return result;
}

ExColloqInput exColloqInputOf(const CPyxoDoc& document, Profile& profile) {
    return {colloqInputOf(document), lastSearchFileSet(profile), defaultWordListFolder()};
}

bool confirmExColloqUnchanged(ExColloqDialogModel& /*dialog*/) { return true; }

ColloqTableResult runExColloqCommand(const ResultCommandPlace& place, const ExColloqInput& input,
                                     const ExColloqDialogStep& showDialog) {
    ColloqTableResult result;
    if (!mayStart(place)) return result;
    if (readInt(place.profile, kNoAsk) != 1 && !runExColloqOptions(place.profile, showDialog)) {
        result.end = ColloqCommandEnd::Cancelled;
        return result;
    }

    runTable(place, result, [&](CExStringList& table) {
        const ExColloqFormat format = exColloqFormatOf(readInt(place.profile, kFormat));
        CollocationCounts counts;
        CStringTree reference;
        return countAgainstCorpus(place, input, counts, reference, result) &&
               writeExtendedTable(counts, reference, format, table, place.ui);
    });
    return result;
}

bool confirmColloqStrengthUnchanged(ColloqStrengthDialogModel& /*dialog*/) { return true; }

ColloqTableResult runColloqStrengthCommand(const ResultCommandPlace& place,
                                           const ExColloqInput& input,
                                           const ColloqStrengthDialogStep& showDialog) {
    ColloqTableResult result;
    if (!mayStart(place)) return result;
    ColloqStrengthDialogModel dialog(place.profile);
    dialog.open();
    if (!showDialog(dialog)) {
        result.end = ColloqCommandEnd::Cancelled;
        return result;
    }
    // The window's dialog does not close on values it refuses; a step that confirms them
    // anyway (the batch front end's options) gets the same answer.
    if (const std::string_view refusal = dialog.refusal(); !refusal.empty()) {
        place.ui.message(refusal, Buttons::Ok);
        result.end = ColloqCommandEnd::Rejected;
        return result;
    }
    dialog.store();
    const StrengthSpec spec = dialog.spec();

    runTable(place, result, [&](CExStringList& table) {
        CollocationCounts counts;
        CStringTree reference;
        return countAgainstCorpus(place, input, counts, reference, result) &&
               writeStrengthTable(counts, reference, spec, table, place.ui);
    });
    return result;
}

bool runExColloqOptions(Profile& profile, const ExColloqDialogStep& showDialog) {
    ExColloqDialogModel dialog(profile);
    dialog.open();
    if (!showDialog(dialog)) return false;
    dialog.ok();
    return true;
}

}  // namespace vellmora
