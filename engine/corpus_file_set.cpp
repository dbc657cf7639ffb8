#include "engine/corpus_file_set.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/finder.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

/// The directory part of a path pattern, "/" included; empty when it has none.
std::string_view directoryPart(std::string_view pathPattern) {
    std::size_t slash = pathPattern.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : pathPattern.substr(0, slash + 1);
}

/// Opens path for reading; a directory counts as a failure, although fopen accepts it here.
std::FILE* openRegularFile(const std::string& path) {
    if (path.find('\0') != std::string::npos) return nullptr;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    struct stat status;
    if (fstat(fileno(file), &status) != 0 || S_ISDIR(status.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

class Collector {
public:
    Collector(CExStringList& files, UserInterface& ui) : m_files(files), m_ui(ui) {}

    /// Each returns false once a cancel was requested.
    bool expandPatterns(const CorpusRequest& request);
    bool readResponseFile(const std::string& path);

private:
    bool expand(std::string_view pathPattern, bool walkDirectories);
    bool walk(const std::string& directory);
    bool addResponseLine(std::string_view line);

    /// One unit of work done: let the user interface run; false when it asked us to stop.
    bool keepGoing() {
        m_ui.pump();
        return !m_ui.cancelRequested();
    }

    CExStringList& m_files;
    UserInterface& m_ui;
};

bool Collector::expandPatterns(const CorpusRequest& request) {
    for (std::string_view pattern : splitPatterns(request.fileName)) {
        if (!expand(request.directory + std::string(pattern), request.subdirectories)) {
            return false;
        }
    }
    return true;
}

bool Collector::expand(std::string_view pathPattern, bool walkDirectories) {
    // Added under the directory the finder looked in, which is what directory + name means
    // for a plain pattern and still names the found file when the pattern holds a "/".
    std::string_view directory = directoryPart(pathPattern);
    for (const FinderEntry& entry : findEntries(pathPattern)) {
        if (!keepGoing()) return false;
        std::string path = std::string(directory) + entry.name;
        if (!entry.isDirectory) {
            m_files.addTail(std::move(path));
        } else if (walkDirectories && !entry.isSymlink) {
            if (!walk(path)) return false;
        }
    }
    return true;
}

bool Collector::walk(const std::string& directory) {
    for (const FinderEntry& entry : listDirectory(directory)) {
        if (!keepGoing()) return false;
        if (entry.name.front() == '.') continue;
        std::string path = joinPath(directory, entry.name);
        if (!entry.isDirectory) {
            m_files.addTail(std::move(path));
        } else if (!entry.isSymlink) {
            if (!walk(path)) return false;
        }
    }
    return true;
}

bool Collector::readResponseFile(const std::string& path) {
    std::FILE* file = openRegularFile(path);
    if (file == nullptr) {
        if (std::optional<std::string> retry = responseFileRetryPath(path)) {
            file = openRegularFile(*retry);
        }
    }
    if (file == nullptr) return true;

    // Lines are read whole: paths here can be far longer than the fixed line of old.
    char* buffer = nullptr;
    std::size_t capacity = 0;
    bool going = true;
    ssize_t length;
    while (going && (length = getline(&buffer, &capacity, file)) >= 0) {
        going = addResponseLine(std::string_view(buffer, static_cast<std::size_t>(length)));
    }
    std::free(buffer);
    std::fclose(file);
    return going;
}

bool Collector::addResponseLine(std::string_view line) {
    if (!keepGoing()) return false;
    // Paths are terminated strings everywhere else; what follows a NUL byte was never part
    // of the path (and would be lost at the first open anyway).
    line = line.substr(0, line.find('\0'));
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty() && (line.front() == '#' || line.front() == ';')) return true;
    if (!hasWildcard(line)) {
        m_files.addTail(line);
        return true;
    }
    return expand(line, true);
}

}  // namespace

bool collectCorpusFiles(const CorpusRequest& request, CExStringList& files, UserInterface& ui,
                        DocumentId document) {
    Collector collector(files, ui);
    if (!request.fileName.empty()) {
        bool showTitle = request.subdirectories;
        if (showTitle) ui.showBusyTitle(document, kCollectingTitle);
        bool completed = collector.expandPatterns(request);
        if (showTitle) ui.restoreTitle(document);
        if (!completed) return false;
    }
    if (!request.responseFile.empty()) return collector.readResponseFile(request.responseFile);
    return true;
}

void addDroppedFile(CExStringList& files, std::string_view path) { files.addTail(path); }

std::optional<std::string> responseFileRetryPath(std::string_view path) {
    std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return std::string(path) + ".lst";
    if (dot + 1 == name.size()) return std::string(path) + "lst";
    return std::nullopt;
}

std::vector<std::string_view> splitPatterns(std::string_view field) {
    std::vector<std::string_view> patterns;
    std::size_t start = 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (ximo::isLeadByte(static_cast<unsigned char>(field[i]))) {
            ++i;  // ";" is never a second byte, but a malformed lead byte takes it along
        } else if (field[i] == ';') {
            patterns.push_back(field.substr(start, i - start));
            start = i + 1;
        }
    }
    patterns.push_back(field.substr(start));
    return patterns;
}

}  // namespace vellmora
