// pyxo-cli colloq, colloq-table, colloq-ext and colloq-strength: the collocation statistics
// of a formatted file's result, their dialogs confirmed as they open. colloq-ext and
// colloq-strength read the corpus of the last search as the settings file holds it.

#include <cstdint>
#include <optional>
#include <string>

#include "cli/result_command.h"
#include "engine/search_run.h"
#include "results/colloq_command.h"
#include "results/colloq_strength_dialog_model.h"
#include "results/result_source.h"

namespace vellmora {
namespace {

/// The statistic a command runs, in a view of its own over the document; true when done.
using Statistic = bool (*)(const ResultCommandPlace& place);

class ColloqCommand : public ResultCommand {
public:
    explicit ColloqCommand(Statistic statistic) : m_statistic(statistic) {}
    std::optional<ResultKind> run(CPyxoDoc& document, Profile& profile, UserInterface& ui,
                                  bool&) override {
        ApplicationSearchFlags flags;
        SearchState view;
        ResultCommandPlace place{profile, ui, document, flags, view};
        if (!m_statistic(place)) return std::nullopt;
        return ResultKind::Collocation;
    }

private:
    Statistic m_statistic;
};

bool singlePosition(const ResultCommandPlace& place) {
    return runColloqCommand(place, colloqInputOf(place.document)).end == ColloqCommandEnd::Done;
}

bool table(const ResultCommandPlace& place) {
    return runColloqTableCommand(place, colloqInputOf(place.document)).end ==
           ColloqCommandEnd::Done;
}

bool extended(const ResultCommandPlace& place) {
    return runExColloqCommand(place, exColloqInputOf(place.document, place.profile)).end ==
           ColloqCommandEnd::Done;
}

constexpr std::string_view kMeasureNames[kStrengthMeasures] = {"mi", "mi3", "t", "ll", "logdice"};

std::optional<int> measureIndexOf(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (int index = 0; index < kStrengthMeasures; ++index)
        if (text == kMeasureNames[index]) return index;
    return std::nullopt;
}

std::optional<int> minFrequencyOf(const std::string& text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

/// colloq-strength: its options go into the dialog before it is confirmed, so they are
/// stored as the dialog stores them.
class ColloqStrengthCommand : public ResultCommand {
public:
    bool takeArgument(const CliContext&, const std::vector<std::string>& args,
                      std::size_t& i) override {
        const std::string& option = args[i];
        if (option != "--measure" && option != "--span" && option != "--min-freq") return false;
        if (i + 1 >= args.size()) {
            complain(option + " needs a value");
            m_badArgument = true;
            return true;
        }
        const std::string& value = args[++i];
        if (option == "--measure") {
            m_measure = measureIndexOf(value);
            if (!m_measure) refuse("--measure takes mi, mi3, t, ll or logdice", value);
        } else if (option == "--span") {
            m_span = parseColloqSpan(value);
            if (!m_span) refuse("--span takes positions such as L5..R5, L3..L1 or R2", value);
        } else {
            m_minFrequency = minFrequencyOf(value);
            if (!m_minFrequency) refuse("--min-freq takes 0 to 999999", value);
        }
        return true;
    }

    std::optional<ResultKind> run(CPyxoDoc& document, Profile& profile, UserInterface& ui,
                                  bool& usage) override {
        if (m_badArgument) {
            usage = true;
            return std::nullopt;
        }
        ApplicationSearchFlags flags;
        SearchState view;
        const ResultCommandPlace place{profile, ui, document, flags, view};
        const ColloqTableResult result = runColloqStrengthCommand(
            place, exColloqInputOf(document, profile), [this](ColloqStrengthDialogModel& dialog) {
                if (m_measure) dialog.setMeasureIndex(*m_measure);
                if (m_span) {
                    dialog.setSpanFrom(m_span->first);
                    dialog.setSpanTo(m_span->last);
                }
                if (m_minFrequency) dialog.setMinFrequency(*m_minFrequency);
                return true;
            });
        usage = result.end == ColloqCommandEnd::Rejected;
        if (result.end != ColloqCommandEnd::Done) return std::nullopt;
        return ResultKind::Collocation;
    }

private:
    void refuse(const std::string& rule, const std::string& value) {
        complain(rule + ", not \"" + value + "\"");
        m_badArgument = true;
    }

    std::optional<int> m_measure;
    std::optional<ColloqSpan> m_span;
    std::optional<int> m_minFrequency;
    bool m_badArgument = false;
};

}  // namespace

int runColloq(const CliContext& context) {
    ColloqCommand command(singlePosition);
    return runResultCommand(context, "colloq", command);
}

int runColloqTable(const CliContext& context) {
    ColloqCommand command(table);
    return runResultCommand(context, "colloq-table", command);
}

int runColloqExtended(const CliContext& context) {
    ColloqCommand command(extended);
    return runResultCommand(context, "colloq-ext", command);
}

int runColloqStrength(const CliContext& context) {
    ColloqStrengthCommand command;
    return runResultCommand(context, "colloq-strength", command);
}

}  // namespace vellmora
