#include "results/colloq_reference.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <vector>

#include "containers/archive.h"
#include "containers/ex_string_list.h"
#include "containers/string_tree.h"
#include "engine/corpus_file_set.h"
#include "engine/encoding_detection.h"
#include "engine/preprocessor.h"
#include "platform/data_directory.h"
#include "platform/finder.h"
#include "platform/line_reader.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr std::string_view kNoName = "null";

struct FileTime {
    long long seconds = 0;
    long long nanoseconds = 0;
    auto operator<=>(const FileTime&) const = default;
};

std::optional<FileTime> modificationTime(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileTime{static_cast<long long>(status.st_mtim.tv_sec),
                    static_cast<long long>(status.st_mtim.tv_nsec)};
}

/// The files the reference reads: the corpus as a search collects it, less the files a
/// search would skip for their extension. Empty with cancelled set when collecting was quit.
std::vector<std::string> corpusFiles(const ReferenceRequest& request, Profile& profile,
                                     UserInterface& ui, bool& cancelled) {
    const ReferenceFileSet& set = request.files;
    CorpusRequest corpus;
    if (!set.fileName.empty()) {
        corpus.fileName = set.fileName;
        corpus.directory = set.directory;
    }
    if (!set.resFile.empty()) corpus.responseFile = joinPath(set.resFileDir, set.resFile);
    corpus.subdirectories = set.subdirectories;

    CExStringList collected;
    cancelled = !collectCorpusFiles(corpus, collected, ui, request.document);
    if (corpus.subdirectories && !corpus.fileName.empty() && !request.busyTitle.empty())
        ui.showBusyTitle(request.document, request.busyTitle);
    std::vector<std::string> files;
    if (cancelled) return files;

    CExcludeFile exclusions;
    exclusions.build(profile);
    const bool exclude = readInt(profile, settingKey("Options", "Exclude")) == 1;
    for (const std::string& path : collected) {
        if (path.empty() || (exclude && exclusions.isExcluded(path))) continue;
        files.push_back(path);
    }
    return files;
}

/// True when the word-list file is a regular file and no corpus file was modified after it.
bool cacheIsCurrent(const std::string& cachePath, const std::vector<std::string>& files) {
    // The settings file can name anything; a FIFO or a device would never end a load.
    struct stat status {};
    if (::stat(cachePath.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    const std::optional<FileTime> cacheTime = modificationTime(cachePath);
    if (!cacheTime) return false;
    for (const std::string& path : files) {
        const std::optional<FileTime> time = modificationTime(path);
        if (time && *time > *cacheTime) return false;
    }
    return true;
}

/// Loads a stored tree; false, with reference empty, for anything that is not one whole
/// stored tree and nothing after it.
bool loadWordList(const std::string& path, CStringTree& reference) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    ArchiveReader archive(file);
    bool loaded = reference.load(archive, CStringTree::Order::NoCase);
    if (loaded && std::fgetc(file) != EOF) loaded = false;
    std::fclose(file);
    if (!loaded) reference.clear();
    return loaded;
}

/// Adds the words of every line of the files; false when a cancel request stopped it. A
/// large corpus takes a while: the busy title counts the files as they are read.
bool readCorpus(const std::vector<std::string>& files, const ReferenceRequest& request,
                CStringTree& reference, UserInterface& ui, int& filesRead) {
    LineReader reader;
    const LineShaper shaper(LineShaper::kNoMarker, 0);
    LinePreprocessor converter;
    converter.startRun(PreprocessOptions{});
    std::vector<char> line(kMinLineSlotSize);
    const std::string total = std::to_string(files.size());
    for (std::size_t index = 0; index < files.size(); ++index) {
        const std::string& path = files[index];
        if (!request.busyTitle.empty()) {
            ui.showBusyTitle(request.document, std::string(request.busyTitle) + " " +
                                                   std::to_string(index + 1) + "/" + total +
                                                   " files");
        }
        if (!reader.open(path)) continue;
        ++filesRead;
        // Auto compares the result's words, read in each file's own encoding, with the
        // corpus's: they are read the same way. Otherwise the files are taken as stored.
        if (request.files.autoCode)
            converter.startFile(detectInputEncoding(reader.peekStart(kDetectionPrefixBytes)));
        LinePiece piece;
        while (reader.next(line.data(), piece)) {
            ui.pump();
            if (ui.cancelRequested()) return false;
            // The line end and trailing blanks go; an empty line would make strword go on
            // with the line before.
            if (shaper.shape(line.data(), piece, reader) == 0) continue;
            if (request.files.autoCode) {
                converter.process(line.data());
                if (line[0] == '\0') continue;
            }
            for (char* word = strword(line.data()); word != nullptr; word = strword(nullptr)) {
                if (word[0] != '\0') reference.addNoCase(word);
            }
        }
    }
    return true;
}

/// Stores reference in the first free word-list file of folder, its time set to when the
/// reading began, so that a corpus file changed meanwhile makes the next run read again.
/// Returns the file's path; nothing when no file could be written whole (a partial file is
/// removed).
std::optional<std::string> storeWordList(const std::string& folder, const CStringTree& reference,
                                         const timespec& readingBegan) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    std::string path;
    int descriptor = -1;
    for (int number = 0; number < kMaxWordListFiles && descriptor < 0; ++number) {
        path = wordListFilePath(folder, number);
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (descriptor < 0 && errno != EEXIST) return std::nullopt;
    }
    if (descriptor < 0) return std::nullopt;  // every number is taken

    std::FILE* file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        ::close(descriptor);
        ::unlink(path.c_str());
        return std::nullopt;
    }
    ArchiveWriter archive(file);
    bool stored = reference.store(archive) && archive.flush();
    if (stored) {
        const timespec times[2] = {readingBegan, readingBegan};
        ::futimens(::fileno(file), times);
    }
    stored = std::fclose(file) == 0 && stored;
    if (!stored) {
        ::unlink(path.c_str());
        return std::nullopt;
    }
    return path;
}

}  // namespace

ReferenceFileSet lastSearchFileSet(Profile& profile) {
    ReferenceFileSet files;
    files.fileName = readString(profile, settingKey("Setting", "Filename"));
    files.directory = readString(profile, settingKey("Setting", "Directory"));
    files.resFile = readString(profile, settingKey("Setting", "ResFile"));
    files.resFileDir = readString(profile, settingKey("Setting", "ResFileDir"));
    files.subdirectories = readInt(profile, settingKey("Options", "Subdir")) == 1;
    files.autoCode = readInt(profile, settingKey("Options", "AutoCode")) == 1;
    return files;
}

WordListEntry wordListEntryOf(const ReferenceFileSet& files) {
    WordListEntry entry;
    entry.section =
        files.fileName.empty() ? std::string(kNoName) : joinPath(files.directory, files.fileName);
    entry.key =
        files.resFile.empty() ? std::string(kNoName) : joinPath(files.resFileDir, files.resFile);
    // The same names give other files with subdirectories walked, and other words with each
    // file converted: a list built one way must never be loaded for the other.
    if (files.subdirectories) entry.key += "|Subdir";
    if (files.autoCode) entry.key += "|AutoCode";
    return entry;
}

bool entryFitsSettingsFile(const WordListEntry& entry) {
    auto trimmed = [](std::string_view text) {
        const std::size_t first = text.find_first_not_of(" \t");
        return first == std::string_view::npos ? std::string_view() : text.substr(first);
    };
    const std::string_view section = trimmed(entry.section);
    const std::string_view key = trimmed(entry.key);
    if (section.empty() || key.empty()) return false;
    if (section.find_first_of("]\r\n") != std::string_view::npos) return false;
    if (key.find_first_of("=\r\n") != std::string_view::npos) return false;
    return key.front() != '[';
}

std::string wordListFilePath(const std::string& folder, int number) {
    char name[32];
    std::snprintf(name, sizeof name, "wordlist.%.03d", number);
    return joinPath(folder, name);
}

std::string defaultWordListFolder() {
    const std::string directory = dataDirectory();
    return directory.empty() ? std::string() : joinPath(directory, kWordListFolder);
}

ReferenceOutcome buildReference(const ReferenceRequest& request, Profile& profile,
                                CStringTree& reference, UserInterface& ui) {
    ReferenceOutcome outcome;
    reference.clear();
    const std::vector<std::string> files = corpusFiles(request, profile, ui, outcome.cancelled);
    if (outcome.cancelled) return outcome;

    const WordListEntry entry = wordListEntryOf(request.files);
    const bool cached = !request.wordListFolder.empty() && entryFitsSettingsFile(entry);
    if (cached) {
        const std::string recorded = profile.readRaw(entry.section, entry.key).value_or("");
        if (!recorded.empty() && cacheIsCurrent(recorded, files) &&
            loadWordList(recorded, reference)) {
            outcome.fromCache = true;
            outcome.cachePath = recorded;
            return outcome;
        }
    }

    timespec readingBegan{};
    ::clock_gettime(CLOCK_REALTIME, &readingBegan);
    const bool read = readCorpus(files, request, reference, ui, outcome.filesRead);
    if (!request.busyTitle.empty()) ui.showBusyTitle(request.document, request.busyTitle);
    if (!read) {
        outcome.cancelled = true;
        return outcome;
    }
    if (!cached) return outcome;
    std::optional<std::string> stored =
        storeWordList(request.wordListFolder, reference, readingBegan);
    if (!stored) return outcome;
    profile.writeString(entry.section, entry.key, *stored);
    profile.flush();
    outcome.cachePath = std::move(*stored);
    return outcome;
}

}  // namespace vellmora
