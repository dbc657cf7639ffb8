#include "document/text_save.h"

#include <array>

#include "document/atomic_file.h"
#include "document/formatted_file.h"
#include "document/utf8_output.h"
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

/// Where the text form goes. A UTF-8 save converts each line on its own as it is written,
/// so that everything else the save writes stays what the Shift-JIS save would write.
class TextOut {
public:
    TextOut(std::FILE* out, bool utf8) : m_out(out), m_utf8(utf8) {}

    bool put(std::string_view text) {
        if (!m_utf8) return putBytes(text);
        return putBytes(utf8FromSjis(text));
    }
    bool putList(const CExStringList& list, ResultKind kind, UserInterface& ui) {
        // The page of an HTML conversion declares the character set it is saved in.
        const bool html = m_utf8 && kind == ResultKind::Spreadsheet;
        for (const std::string& line : list) {
            if (!put(html && line == kHtmlContentTypeLine ? kHtmlUtf8ContentTypeLine : line))
                return false;
            ui.pump();
        }
        return true;
    }

private:
    bool putBytes(std::string_view bytes) {
        return std::fwrite(bytes.data(), 1, bytes.size(), m_out) == bytes.size();
    }

    std::FILE* m_out;
    bool m_utf8;
};

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
    options.utf8 = isOne(profile, settingKey("SaveOptions", "UTF8"));
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
    TextOut text(out, options.utf8);
    const ResultKind shown = document.displayedKind();
    const CExStringList& displayed = document.list(shown);
    if (options.dispOnly && !text.putList(displayed, shown, ui)) return false;
    if ((options.disp || options.saveAll) && !displayed.isEmpty()) {
        if (!text.put(kDisplayedResultHeader) || !text.putList(displayed, shown, ui)) return false;
    }
    for (int value = 0; value < kResultKinds; ++value) {
        const ResultKind kind = static_cast<ResultKind>(value);
        const CExStringList& list = document.list(kind);
        if (!options.wants(kind) || list.isEmpty()) continue;
        if (!text.put(textSaveHeader(kind)) || !text.putList(list, kind, ui)) return false;
    }
    return true;
}

FileOutcome writeTextFile(const CPyxoDoc& document, const std::string& path, Profile& profile,
                          UserInterface& ui) {
    const TextSaveOptions options = TextSaveOptions::read(profile);
    const bool convertible = !options.utf8 || canWriteUtf8();
    AtomicFile file(path);
    const bool written =
        convertible && file.open() && writeTextForm(document, options, file.stream(), ui);
    if (!written || !file.commit()) {
        std::string reason = !convertible            ? "no Shift-JIS to UTF-8 converter"
                             : file.reason().empty() ? "a write failed"
                                                     : file.reason();
        ui.alert(kSaveFailedMessage);
        return FileOutcome::failure(std::string(kSaveFailedMessage), std::move(reason));
    }
    return FileOutcome::success();
}

}  // namespace vellmora
