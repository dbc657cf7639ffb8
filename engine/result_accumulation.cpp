#include "engine/result_accumulation.h"

#include "document/result_document.h"
#include "engine/corpus_file_set.h"
#include "engine/kwoc_search.h"
#include "engine/search_dialog_model.h"
#include "platform/user_interface.h"
#include "settings/ascii_case.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr std::string_view kBusyMessage = "I'm busy now. Please wait for a minutes.m(__)m";
constexpr const SettingKey& kGroup1 = settingKey("Setting", "Group1");
constexpr const SettingKey& kGroup2 = settingKey("Setting", "Group2");

void takeBeepSetting(UserInterface& ui, Profile& profile) {
    ui.setBeepSilenced(readInt(profile, settingKey("Options", "Beep")) == 1);
}

bool searchEnabled(const SearchState& state, int otherKind) {
    return state.resultState == 0 && state.resultKind != otherKind;
}

}  // namespace

bool prepareToAddResult(SearchState& state, UserInterface& ui, Profile& profile) {
    takeBeepSetting(ui, profile);
    if (state.resultState == 2) {
        ui.alert(kCannotAddMoreMessage);
        return false;
    }
    state.resultState = 0;
    return true;
}

bool clearResult(const ApplicationSearchFlags& flags, SearchState& state, CPyxoDoc& document,
                 UserInterface& ui, Profile& profile) {
    takeBeepSetting(ui, profile);
    if (flags.running || state.busy) {
        ui.alert(kClearBusyMessage);
        return false;
    }
    if (state.resultState == 2) {
        ui.alert(kCannotContinueMessage);
        return false;
    }
    document.clearResults();
    document.selectKind(ResultKind::Original);
    DisplaySnapshot& display = document.snapshot();
    display.keywordColumn = 0;
    display.searchKind = 0;
    display.history.fill(0);
    display.formatSelector = 0;
    display.usableWidth = 0;
    ui.refreshViews(document.id());
    state.resultState = 0;
    state.resultKind = 0;
    state.resultLines = 0;
    state.layout = LayoutValues{};
    return true;
}

bool kwicSearchEnabled(const SearchState& state) { return searchEnabled(state, 2); }

bool kwocSearchEnabled(const SearchState& state) { return searchEnabled(state, 1); }

SearchOutcome runKeepingRetainedKind(SearchState& state,
                                     const std::function<SearchOutcome()>& run) {
    // Only a prepared view can still hold a kind here: "Clear result" sets it to 0.
    const int retainedKind = state.resultKind;
    SearchOutcome outcome = run();
    if (state.resultKind == 0) state.resultKind = retainedKind;
    return outcome;
}

void recordSearchInDocument(const SearchState& state, std::string_view keyword1,
                            std::string_view keyword2, CPyxoDoc& document) {
    DisplaySnapshot& display = document.snapshot();
    display.keywordColumn = state.layout.l;
    display.searchKind = state.resultKind;
    display.formatSelector = state.layout.selector;
    display.usableWidth = state.layout.w;
    display.keyword1 = keyword1;
    display.keyword2 = keyword2;
}

BreakResult breakAndSave(const ApplicationSearchFlags& flags, const SearchState& state,
                         CPyxoDoc& document, UserInterface& ui, Profile& profile,
                         std::string_view keyword1, std::string_view keyword2,
                         const std::function<bool(CPyxoDoc&)>& save) {
    takeBeepSetting(ui, profile);
    if (flags.running && ui.alert(kStillSearchingQuestion, Buttons::YesNo) == Answer::No) {
        ui.requestCancel();
        return BreakResult::SearchQuit;
    }
    recordSearchInDocument(state, keyword1, keyword2, document);
    return save(document) ? BreakResult::Saved : BreakResult::SaveFailed;
}

DropDialogModel::DropDialogModel(Profile& profile, UserInterface& ui, const Histories& histories)
    : m_profile(profile), m_ui(ui), m_histories(histories) {}

void DropDialogModel::open(int fileCount) {
    takeBeepSetting(m_ui, m_profile);
    keyword1 = m_histories.lastValues().keyword1;
    keyword2 = m_histories.lastValues().keyword2;
    keyword1IsGroup = readInt(m_profile, kGroup1) == 1;
    keyword2IsGroup = readInt(m_profile, kGroup2) == 1;
    m_caption = std::to_string(fileCount) + " Files are dropped";
}

bool DropDialogModel::confirm() {
    if (keyword1.empty()) {
        m_ui.alert(kNoKeywordMessage);
        return false;
    }
    writeInt(m_profile, kGroup1, keyword1IsGroup ? 1 : 0);
    writeInt(m_profile, kGroup2, keyword2IsGroup ? 1 : 0);
    m_profile.flush();
    return true;
}

SearchOutcome runDroppedFileSearch(SearchRequest request, const CExStringList& files,
                                   Profile& profile, UserInterface& ui, CPyxoDoc& document,
                                   SearchState& state, ApplicationSearchFlags* flags) {
    const SearchOptions options = readSearchOptions(profile);
    request.droppedFiles = &files;
    // A view that collects KWOC lines takes the dropped files' lines in KWOC form: the lines
    // of one view are all of one kind.
    if (state.resultKind == kKwocResultKind) {
        KwocSearchRun run(options, readKwocOptions(profile), profile, ui, document, state);
        return run.run(request, flags);
    }
    KwicSearchRun run(options, profile, ui, document, state);
    run.setExpressionMessages(kDropExpressionMessages);
    return run.run(request, flags);
}

DropResult dropFiles(const std::vector<std::string>& paths, const ApplicationSearchFlags& flags,
                     SearchState& state, UserInterface& ui, Profile& profile, Histories& histories,
                     const DropHandlers& handlers) {
    takeBeepSetting(ui, profile);
    // Gathered apart from the view's corpus list: while this view searches, that list is the
    // running search's own.
    CExStringList corpus;
    for (const std::string& path : paths) {
        std::string_view extension = fileExtension(path);
        if (equalsIgnoringAsciiCase(extension, "vm2")) {
            handlers.openFormatted(path);
        } else if (equalsIgnoringAsciiCase(extension, "vm1")) {
            ui.alert(path + std::string(kOldFormattedFileMessage));
        } else {
            addDroppedFile(corpus, path);
        }
    }
    if (corpus.count() == 0) return DropResult::NothingToSearch;
    if (flags.running || state.busy) {
        ui.alert(kBusyMessage);
        return DropResult::Refused;
    }
    if (!kwicSearchEnabled(state) && !kwocSearchEnabled(state)) {
        ui.alert(kDropOnResultMessage);
        return DropResult::Refused;
    }

    DropDialogModel dialog(profile, ui, histories);
    dialog.open(static_cast<int>(corpus.count()));
    if (!handlers.showDialog(dialog)) return DropResult::Cancelled;

    LastSearchValues& last = histories.lastValues();
    last.keyword1 = dialog.keyword1;
    last.keyword2 = dialog.keyword2;
    histories.saveLastValues(profile, !dialog.keyword2.empty());

    SearchRequest request;
    request.keyword1 = {dialog.keyword1, dialog.keyword1IsGroup};
    request.keyword2 = {dialog.keyword2, dialog.keyword2IsGroup};
    runKeepingRetainedKind(state, [&] { return handlers.run(request, corpus); });
    return DropResult::Searched;
}

}  // namespace vellmora
