// pyxo-cli: the search and result commands of Vellmora without windows.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/cli_context.h"
#include "cli/result_command.h"
#include "containers/ex_string_list.h"
#include "platform/huge_page_heap.h"
#include "platform/text_encoding.h"
#include "settings/profile.h"

namespace vellmora {

void complain(std::string_view text) {
    std::fprintf(stderr, "pyxo-cli: %.*s\n", static_cast<int>(text.size()), text.data());
}

void CliContext::reportFlushFailures(Profile& profile) {
    profile.setFlushFailureReporter([&profile](const std::string& reason) {
        std::fprintf(stderr, "The settings could not be saved to %s: %s\n", profile.path().c_str(),
                     reason.c_str());
    });
}

bool CliContext::keywordArgument(const std::string& text, std::string& sjis) const {
    if (!utf8) {
        sjis = text;
        return true;
    }
    std::optional<std::string> converted = utf8ToSjisText(text);
    if (!converted) {
        complain("the keyword \"" + text + "\" is not UTF-8 text that Shift-JIS can hold");
        return false;
    }
    sjis = *converted;
    return true;
}

void CliContext::printLine(std::string_view line) const {
    if (!utf8) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        return;
    }
    if (line.size() >= 2 && line.substr(line.size() - 2) == "\r\n") line.remove_suffix(2);
    std::string converted = resultLineToUtf8(line);
    converted += '\n';
    std::fwrite(converted.data(), 1, converted.size(), stdout);
}

void CliContext::printList(const CExStringList& list) const {
    for (const std::string& line : list) printLine(line);
    std::fflush(stdout);
}

}  // namespace vellmora

namespace {

constexpr const char* kUsage =
    "usage: pyxo-cli [--ini FILE] [--utf8] COMMAND [ARGS]\n"
    "  kwic     [-1 KW1] [-2 KW2] [--group1] [--group2] [-d DIR] [-f PATTERNS] [-r RESFILE]\n"
    "  kwic-pos (as kwic; word positions from [PositionedKwic])\n"
    "  kwoc     (as kwic; combination from Options/Method, context from [KWOCOptions])\n"
    "  (every search also takes -o OUT.vm2: write the result as a formatted file)\n"
    "  extract-range IN.vm2 [-k KW] [--group] [-o OUT.vm2]\n"
    "  extract-pos   IN.vm2 [-k KW] [--group] [-o OUT.vm2]\n"
    "  sort          IN.vm2 [-o OUT.vm2]\n"
    "  sort-column   IN.vm2 [-o OUT.vm2]\n"
    "  show          IN.vm2 [--kind N]\n"
    "  counts        IN.vm2\n"
    "  save-text     IN.vm2 OUT.txt\n"
    "  colloq        IN.vm2 [-o OUT.vm2]\n"
    "  colloq-table  IN.vm2 [-o OUT.vm2]\n"
    "  colloq-ext    IN.vm2 [-o OUT.vm2]   (the corpus of the last search, from [Setting])\n"
    "  colloq-strength IN.vm2 [--measure mi|mi3|t|ll|logdice] [--span L5..R5] [--min-freq N]\n"
    "                [-o OUT.vm2]   (as colloq-ext; the options are stored as the dialog's)\n"
    "  convert       IN.vm2 [-o OUT.vm2]\n"
    "  avelen        [-d DIR] [-f PATTERN]\n"
    "  filelist      DIR OUT.LST [--exclude-binary]\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace vellmora;
    restartWithHugePageHeap(argv);
    // Results can run to millions of lines: write them in large blocks.
    static char outputBuffer[1 << 20];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    CliContext context;
    int i = 1;
    for (; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--ini" && i + 1 < argc) {
            context.iniPath = argv[++i];
        } else if (arg == "--utf8") {
            context.utf8 = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return kExitDone;
        } else {
            break;
        }
    }
    if (i >= argc) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    std::string command = argv[i++];
    for (; i < argc; ++i) context.args.emplace_back(argv[i]);
    if (context.iniPath.empty()) context.iniPath = Profile::defaultPath();

    if (command == "kwic") return runKwic(context);
    if (command == "kwic-pos") return runKwicPos(context);
    if (command == "kwoc") return runKwoc(context);
    if (command == "show") return runShow(context);
    if (command == "counts") return runCounts(context);
    if (command == "save-text") return runSaveText(context);
    if (command == "extract-range") return runExtractRange(context);
    if (command == "extract-pos") return runExtractPos(context);
    if (command == "sort") return runSort(context);
    if (command == "sort-column") return runSortColumn(context);
    if (command == "convert") return runConvert(context);
    if (command == "colloq") return runColloq(context);
    if (command == "colloq-table") return runColloqTable(context);
    if (command == "colloq-ext") return runColloqExtended(context);
    if (command == "colloq-strength") return runColloqStrength(context);
    if (command == "avelen") return runAverageWordLength(context);
    if (command == "filelist") return runFileList(context);
    complain("unknown command \"" + command + "\"");
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
