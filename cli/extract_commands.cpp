// pyxo-cli extract-range and extract-pos: the extractions of a formatted file's shown list,
// their dialogs confirmed as they open, with the keyword of -k (and --group) typed in.

#include <optional>
#include <string>
#include <vector>

#include "cli/result_command.h"
#include "engine/search_run.h"
#include "results/extract_command.h"
#include "results/result_source.h"
#include "settings/histories.h"

namespace vellmora {
namespace {

class ExtractCommand : public ResultCommand {
public:
    bool takeArgument(const CliContext& context, const std::vector<std::string>& args,
                      std::size_t& i) override {
        if (args[i] == "--group") {
            m_group = true;
            return true;
        }
        if (args[i] != "-k") return false;
        std::string sjis;
        if (i + 1 >= args.size() || !context.keywordArgument(args[i + 1], sjis)) {
            if (i + 1 >= args.size()) complain("-k needs a value");
            m_badArgument = true;
        } else {
            m_keyword = sjis;
        }
        ++i;
        return true;
    }

    std::optional<ResultKind> run(CPyxoDoc& document, Profile& profile, UserInterface& ui,
                                  bool& usage) override {
        if (m_badArgument) {
            usage = true;
            return std::nullopt;
        }
        Histories histories;
        histories.load(profile);
        std::optional<KeywordSpec> keyword;
        if (m_keyword) keyword = KeywordSpec{*m_keyword, m_group};

        SearchState state;
        ApplicationSearchFlags flags;
        const DisplaySnapshot& shown = document.snapshot();
        ExtractionView view{document, state, flags, document.list(sourceKindOf(shown)),
                            {shown.keywordColumn, static_cast<int>(shown.keyword1.size())}};
        std::optional<ExtractionOutcome> outcome =
            extract(profile, ui, histories, keyword, view);
        if (!outcome) {
            usage = true;  // the dialog refused the request
            return std::nullopt;
        }
        if (outcome->status != ExtractionStatus::Done) return std::nullopt;
        return ResultKind::Extracted;
    }

protected:
    /// Confirms the dialog and runs; nothing when the dialog refuses.
    virtual std::optional<ExtractionOutcome> extract(Profile& profile, UserInterface& ui,
                                                     Histories& histories,
                                                     const std::optional<KeywordSpec>& keyword,
                                                     const ExtractionView& view) = 0;

private:
    std::optional<std::string> m_keyword;
    bool m_group = false;
    bool m_badArgument = false;
};

class ExtractRangeCommand : public ExtractCommand {
    std::optional<ExtractionOutcome> extract(Profile& profile, UserInterface& ui,
                                             Histories& histories,
                                             const std::optional<KeywordSpec>& keyword,
                                             const ExtractionView& view) override {
        auto request = confirmRangeExtractionDialog(profile, ui, histories, keyword);
        if (!request) return std::nullopt;
        return runRangeExtraction(*request, view, profile, histories, ui);
    }
};

class ExtractPositionCommand : public ExtractCommand {
    std::optional<ExtractionOutcome> extract(Profile& profile, UserInterface& ui,
                                             Histories& histories,
                                             const std::optional<KeywordSpec>& keyword,
                                             const ExtractionView& view) override {
        auto request = confirmPositionExtractionDialog(profile, ui, histories, keyword);
        if (!request) return std::nullopt;
        return runPositionExtraction(*request, view, profile, histories, ui);
    }
};

}  // namespace

int runExtractRange(const CliContext& context) {
    ExtractRangeCommand command;
    return runResultCommand(context, "extract-range", command);
}

int runExtractPos(const CliContext& context) {
    ExtractPositionCommand command;
    return runResultCommand(context, "extract-pos", command);
}

}  // namespace vellmora
