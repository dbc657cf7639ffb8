#include "document/text_save.h"

#include <array>

#include "document/atomic_file.h"
#include "document/formatted_file.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr std::array<std::string_view, kResultKinds> kHeaders = {
    "===[ Result of Search ]===\r\n",
    "===[ Extracted Result ]===\r\n",
    "===[ Sorted Result ]===\r\n",
    "===[ Collocation Statistics ]===\r\n",
    "===[ TSV,CSV Formatted result ]===\r\n",
};

bool isOne(Profile& profile, const SettingKey& key) { return readInt(profile, key) == 1; }

bool put(std::FILE* out, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

bool putList(std::FILE* out, const CExStringList& list, UserInterface& ui) {
    for (const std::string& line : list) {
        if (!put(out, line)) return false;
        ui.pump();
    }
    return true;
}

}  // namespace

std::string_view textSaveHeader(ResultKind kind) { return kHeaders[static_cast<int>(kind)]; }

TextSaveOptions TextSaveOptions::read(Profile& profile) {
    TextSaveOptions options;
    options.dispOnly = isOne(profile, settingKey("SaveOptions", "DispOnly"));
    options.disp = isOne(profile, settingKey("SaveOptions", "Disp"));
    options.saveAll = isOne(profile, settingKey("SaveOptions", "SaveAll"));
    options.searchResult = isOne(profile, settingKey("SaveOptions", "SearchResult"));
    options.extracted = isOne(profile, settingKey("SaveOptions", "Extracted"));
    options.sorted = isOne(profile, settingKey("SaveOptions", "Sorted"));
    options.colloq = isOne(profile, settingKey("SaveOptions", "Colloq"));
    options.spreadsheet = isOne(profile, settingKey("SaveOptions", "Spreadsheet"));
    return options;
}

bool TextSaveOptions::wants(ResultKind kind) const {
    if (saveAll) return true;
    switch (kind) {
        case ResultKind::Original:
            return searchResult;
        case ResultKind::Extracted:
            return extracted;
        case ResultKind::Sorted:
            return sorted;
        case ResultKind::Collocation:
            return colloq;
        case ResultKind::Spreadsheet:
            return spreadsheet;
    }
    return false;
}

bool writeTextForm(const CPyxoDoc& document, const TextSaveOptions& options, std::FILE* out,
                   UserInterface& ui) {
    const CExStringList& displayed = document.list(document.displayedKind());
    if (options.dispOnly && !putList(out, displayed, ui)) return false;
    if ((options.disp || options.saveAll) && !displayed.isEmpty()) {
        if (!put(out, kDisplayedResultHeader) || !putList(out, displayed, ui)) return false;
    }
    for (int value = 0; value < kResultKinds; ++value) {
        const ResultKind kind = static_cast<ResultKind>(value);
        const CExStringList& list = document.list(kind);
        if (!options.wants(kind) || list.isEmpty()) continue;
        if (!put(out, textSaveHeader(kind)) || !putList(out, list, ui)) return false;
    }
    return true;
}

FileOutcome writeTextFile(const CPyxoDoc& document, const std::string& path, Profile& profile,
                          UserInterface& ui) {
    const TextSaveOptions options = TextSaveOptions::read(profile);
    AtomicFile file(path);
    const bool written = file.open() && writeTextForm(document, options, file.stream(), ui);
    if (!written || !file.commit()) {
        std::string reason = file.reason().empty() ? "a write failed" : file.reason();
        ui.alert(kSaveFailedMessage);
        return FileOutcome::failure(std::string(kSaveFailedMessage), std::move(reason));
    }
    return FileOutcome::success();
}

}  // namespace vellmora
