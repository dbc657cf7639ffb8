// The corpus a search collects from a file-name field and a response file, over a small fixed
// tree (files, a dot directory, a link to a file, a dangling link and a link back to the tree
// itself). The patterns' files come first and the response file's entries after them, every
// name a pattern finds is a file, and every plain line of the response file is kept as
// written, in order.
//
// Input: the file-name field (a leading "+" turns on subdirectories), the separator line,
// then the response file's bytes; its wildcard lines are taken inside the tree. Inputs with
// ".." in a pattern or a wildcard line are skipped: the walk could then list the whole
// machine.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/corpus_file_set.h"
#include "platform/finder.h"
#include "platform/recording_user_interface.h"
#include "tests/fuzz/fuzz_support.h"

namespace vellmora {
namespace {

using Paths = std::vector<std::string>;

struct Tree {
    fuzz::ScratchDir dir;
    std::string root = dir.file("tree");

    Tree() {
        namespace fs = std::filesystem;
        for (const char* directory : {"sub/deeper", ".dot", "empty"})
            fs::create_directories(root + "/" + directory);
        for (const char* file : {"a.txt", "B.TXT", "notes", "sub/c.txt", "sub/.hidden.txt",
                                 "sub/deeper/d.txt", ".dot/e.txt", "\x93\xfa\x96\x7b.txt"})
            fuzz::writeFile(root + "/" + file, "text\n");
        fs::create_symlink("a.txt", root + "/link.txt");
        fs::create_symlink("missing.txt", root + "/dangling.txt");
        fs::create_directory_symlink(".", root + "/loop");
    }
};

std::vector<std::string_view> responseLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        lines.push_back(text.substr(0, newline));
        if (newline == std::string_view::npos) break;
        text.remove_prefix(newline + 1);
    }
    return lines;
}

/// A response line as the collector takes it: cut at a NUL, without its line end.
std::string_view cleaned(std::string_view line) {
    line = fuzz::terminatedPart(line);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

bool isComment(std::string_view line) {
    return !line.empty() && (line.front() == '#' || line.front() == ';');
}

bool staysInTree(std::string_view field, std::string_view response) {
    if (field.find("..") != std::string_view::npos) return false;
    for (std::string_view line : responseLines(response)) {
        line = cleaned(line);
        if (!isComment(line) && hasWildcard(line) && line.find("..") != std::string_view::npos)
            return false;
    }
    return true;
}

/// The response file with every wildcard line taken inside the tree, which a relative line
/// would otherwise name from wherever the fuzzer runs.
std::string rooted(std::string_view response, const std::string& root) {
    std::string file;
    const std::vector<std::string_view> lines = responseLines(response);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view taken = cleaned(lines[i]);
        if (!isComment(taken) && hasWildcard(taken)) file += root + "/";
        file.append(lines[i]);
        if (i + 1 < lines.size() || response.back() == '\n') file += '\n';
    }
    return file;
}

Paths collect(const CorpusRequest& request) {
    CExStringList files;
    RecordingUserInterface ui;
    fuzz::check(collectCorpusFiles(request, files, ui, 1), "collecting is never cancelled");
    return Paths(files.begin(), files.end());
}

bool isRegularFile(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void checkPatternSplit(std::string_view field) {
    const std::vector<std::string_view> patterns = splitPatterns(field);
    std::string joined;
    for (std::size_t i = 0; i < patterns.size(); ++i)
        joined.append(i == 0 ? "" : ";").append(patterns[i]);
    fuzz::check(joined == field, "the patterns and their separators make up the field");

    const std::optional<std::string> retry = responseFileRetryPath(field);
    const std::string_view name =
        field.substr(field.rfind('/') == std::string_view::npos ? 0 : field.rfind('/') + 1);
    if (name.find('.') == std::string_view::npos) {
        fuzz::check(retry == std::string(field) + ".lst",
                    "a name without a dot is retried with .lst");
    } else if (name.back() == '.') {
        fuzz::check(retry == std::string(field) + "lst",
                    "a name ending in a dot is retried with lst");
    } else {
        fuzz::check(!retry.has_value(), "a name with an extension is not retried");
    }
}

}  // namespace
}  // namespace vellmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    static Tree tree;
    const std::vector<std::string_view> parts = fuzz::splitParts(data, size, 2);
    std::string_view field = parts[0];
    const std::string_view response = parts.size() > 1 ? parts[1] : std::string_view();
    checkPatternSplit(field);
    const bool subdirectories = !field.empty() && field.front() == '+';
    if (subdirectories) field.remove_prefix(1);
    if (!staysInTree(field, response)) return 0;

    const std::string responseText = rooted(response, tree.root);
    fuzz::writeFile(tree.root + "/list.lst", responseText);
    CorpusRequest patterns{std::string(field), tree.root + "/", "", subdirectories};
    // Named without its extension, so that the retry with ".lst" finds it.
    CorpusRequest responseFile{"", tree.root + "/", tree.root + "/list", subdirectories};
    CorpusRequest both{std::string(field), tree.root + "/", tree.root + "/list", subdirectories};
    const Paths found = collect(patterns);
    const Paths listed = collect(responseFile);
    Paths expected = found;
    expected.insert(expected.end(), listed.begin(), listed.end());
    fuzz::check(collect(both) == expected,
                "the patterns' files come first, then the response file's");

    for (const std::string& path : found) {
        fuzz::check(
            path.compare(0, tree.root.size() + 1, tree.root + "/") == 0 && isRegularFile(path),
            "a pattern finds only files in its directory");
    }
    // The plain lines stand in order; whatever lies between them a wildcard line found.
    std::size_t next = 0;
    for (std::string_view line : responseLines(responseText)) {
        line = cleaned(line);
        if (isComment(line)) continue;
        if (hasWildcard(line)) continue;
        while (next < listed.size() && listed[next] != line) {
            fuzz::check(isRegularFile(listed[next]), "a wildcard line adds only files");
            ++next;
        }
        fuzz::check(next < listed.size(), "every plain line of the response file is kept");
        ++next;
    }
    for (; next < listed.size(); ++next)
        fuzz::check(isRegularFile(listed[next]), "a wildcard line adds only files");
    return 0;
}
