#include "results/extract_command.h"

#include <algorithm>
#include <array>
#include <memory>

#include "document/result_document.h"
#include "document/result_navigation.h"
#include "engine/regex_binding.h"
#include "engine/search_run.h"
#include "platform/user_interface.h"
#include "results/extract_position.h"
#include "results/extract_range.h"
#include "settings/catalogue.h"
#include "settings/histories.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

/// The wordings of an expression command's two failures.
struct EngineMessages {
    std::string_view initialise;
    std::string_view compile;
};

/// The engine with the pattern compiled into record 1; null without it: when the engine
/// is missing (the keyword is then searched as a word) and, failed set true, after a
/// failure whose message was shown.
std::unique_ptr<RegexBinding> compiledPattern(Profile& profile, const KeywordSpec& keyword,
                                              bool ignoreCase, const EngineMessages& messages,
                                              UserInterface& ui, bool& failed) {
    failed = false;
    auto binding = std::make_unique<RegexBinding>();
    binding->initialise();
    if (binding->version() == 0) return nullptr;
    std::string_view failure;
    if (!binding->ensureOpened(1)) {
        failure = messages.initialise;
    } else if (!binding->compile(1, extractionPattern(profile, keyword), ignoreCase)) {
        failure = messages.compile;
    }
    if (failure.empty()) return binding;
    ui.alert(failure);
    failed = true;
    return nullptr;
}

/// The parts every extraction command shares around its own test.
class ExtractionRun {
public:
    ExtractionRun(const ExtractionView& view, Profile& profile, UserInterface& ui)
        : m_view(view), m_ui(ui) {
        m_ui.setBeepSilenced(readInt(profile, settingKey("Options", "Beep")) == 1);
    }

    /// Refuses while busy; otherwise marks the view busy. False when refused.
    bool start() {
        if (refuseWhileBusy(m_view.flags, m_view.state, m_ui)) return false;
        m_view.state.busy = true;
        m_ui.clearCancel();
        return true;
    }

    /// Fills the extracted result; it is shown unless the run was cancelled.
    ExtractionOutcome filter(ExtractionLineTest& test, SeparatorRule rule) {
        CPyxoDoc& document = m_view.document;
        FilterOutcome filtered =
            filterLines(m_view.source, document.list(ResultKind::Extracted), test, rule, m_ui);
        ExtractionOutcome outcome;
        outcome.kept = filtered.kept;
        if (filtered.cancelled) {
            outcome.status = ExtractionStatus::Cancelled;
        } else {
            pushDisplayHistory(document.snapshot(), ResultKind::Extracted);
            document.selectKind(ResultKind::Extracted);
        }
        return outcome;
    }

    /// Clears the busy flag and the cancel request.
    void end() {
        m_ui.clearCancel();
        m_view.state.busy = false;
    }

private:
    const ExtractionView& m_view;
    UserInterface& m_ui;
};

/// The extraction keyword becomes the last value of "Setting" and the head of its history.
void recordKeyword(const KeywordSpec& keyword, Profile& profile, Histories& histories) {
    histories.lastValues().extractionWord = keyword.text;
    histories.saveLastValues(profile, false);
}

}  // namespace

ExtractionOutcome runRangeExtraction(const RangeExtractionRequest& request,
                                     const ExtractionView& view, Profile& profile,
                                     Histories& histories, UserInterface& ui) {
    ExtractionRun run(view, profile, ui);
    if (!run.start()) return {ExtractionStatus::Busy, 0};
    const ExtractionOptions& options = request.options;
    recordKeyword(request.keyword, profile, histories);
    const DocumentId id = view.document.id();
    ui.showBusyTitle(id, kRangeExtractionProgress);
    ui.setWaitCursor(true);

    std::unique_ptr<RegexBinding> pattern;
    if (request.regExp) {
        bool failed = false;
        pattern = compiledPattern(
            profile, request.keyword, options.ignoreCase,
            {regex_messages::kInitializationError1, regex_messages::kCompilationError1}, ui,
            failed);
        if (failed) {
            ui.restoreTitle(id);
            ui.setWaitCursor(false);
            run.end();
            return {ExtractionStatus::EngineFailed, 0};
        }
    }

    ExtractionOutcome outcome;
    if (pattern) {
        RangePatternTest test(*pattern, options, view.anchor);
        outcome = run.filter(test, separatorRuleOf(options));
    } else {
        RangeKeywordTest test(extractionKeywords(profile, request.keyword, options.ignoreCase),
                              options, view.anchor);
        outcome = run.filter(test, separatorRuleOf(options));
    }
    pattern.reset();
    ui.restoreTitle(id);
    ui.setWaitCursor(false);
    ui.refreshViews(id);
    run.end();
    return outcome;
}

ExtractionOutcome runPositionExtraction(const PositionExtractionRequest& request,
                                        const ExtractionView& view, Profile& profile,
                                        Histories& histories, UserInterface& ui) {
    ExtractionRun run(view, profile, ui);
    if (!run.start()) return {ExtractionStatus::Busy, 0};
    const ExtractionOptions& options = request.options;
    recordKeyword(request.keyword, profile, histories);
    writeInt(profile, settingKey("ExtractionOption", "Word"), request.keyword.isGroup ? 0 : 1);
    writeInt(profile, settingKey("ExtractionOption", "Group"), request.keyword.isGroup ? 1 : 0);
    profile.flush();
    WordPositions positions = request.positions;
    positions.bySentence = options.bummatsu;

    std::unique_ptr<RegexBinding> pattern;
    if (request.regExp) {
        bool failed = false;
        pattern = compiledPattern(
            profile, request.keyword, options.ignoreCase,
            {regex_messages::kInitializationFailure1, regex_messages::kCompilationFailure1}, ui,
            failed);
        if (failed) {
            run.end();
            return {ExtractionStatus::EngineFailed, 0};
        }
    }

    const DocumentId id = view.document.id();
    ui.showBusyTitle(id, kPositionExtractionProgress);
    ExtractionOutcome outcome;
    if (pattern) {
        PositionPatternTest test(*pattern, options, positions, view.anchor);
        outcome = run.filter(test, separatorRuleOf(options));
    } else {
        PositionKeywordTest test(profile, request.keyword, options, positions, view.anchor);
        outcome = run.filter(test, separatorRuleOf(options));
    }
    pattern.reset();
    ui.restoreTitle(id);
    if (outcome.status == ExtractionStatus::Done) ui.alertBeep();
    ui.refreshViews(id);
    run.end();
    return outcome;
}

}  // namespace vellmora
