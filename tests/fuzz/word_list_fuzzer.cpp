// The word-list cache of the collocation reference, as a damaged or hostile file in the
// word-list folder gives it: the settings file names the fuzzed file as the cache of a small
// corpus that has not changed since. A cache that loads must be a well-formed counting tree
// that stores and loads again unchanged; one that does not load must leave the reference
// exactly as the corpus itself gives it, and a fresh cache in its place.

#include <fcntl.h>
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "containers/archive.h"
#include "containers/string_tree.h"
#include "platform/recording_user_interface.h"
#include "results/colloq_reference.h"
#include "settings/profile.h"
#include "tests/fuzz/fuzz_support.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

using Entries = std::vector<CStringTree::Entry>;

Entries entriesOf(const CStringTree& tree) {
    Entries entries;
    tree.forEach([&](const CStringTree::Entry& entry) { entries.push_back(entry); });
    return entries;
}

bool sameEntries(const Entries& a, const Entries& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].text != b[i].text || a[i].count != b[i].count) return false;
    }
    return true;
}

/// A scratch directory with a corpus file older than any cache, and the request that reads it.
struct Setup {
    fuzz::ScratchDir dir;
    ReferenceRequest request;
    std::string cache = dir.file("given.cache");
    std::string settings = dir.file("pyxo.ini");
    std::string settingsText;
    Entries corpusWords;

    Setup() {
        const std::string corpus = dir.file("corpus");
        std::filesystem::create_directory(corpus);
        const std::string words = corpus + "/words.txt";
        fuzz::writeFile(words, "The cat sat on the mat.\nA \x94\x4c and the CAT's mat\r\n");
        const timespec old[2] = {{1, 0}, {1, 0}};
        utimensat(AT_FDCWD, words.c_str(), old, 0);
        request.files.fileName = "words.txt";
        request.files.directory = corpus + "/";
        request.wordListFolder = dir.file("WordList");
        const WordListEntry entry = wordListEntryOf(request.files);
        settingsText = "[" + entry.section + "]\n" + entry.key + "=" + cache + "\n";

        // The reference as the corpus gives it, with no cache to trust.
        std::filesystem::remove(settings);
        Profile profile(settings);
        RecordingUserInterface ui;
        CStringTree reference;
        ReferenceRequest uncached = request;
        uncached.wordListFolder.clear();
        buildReference(uncached, profile, reference, ui);
        corpusWords = entriesOf(reference);
        fuzz::check(!corpusWords.empty(), "the corpus has words");
    }
};

void checkWellFormed(const CStringTree& tree) {
    const Entries entries = entriesOf(tree);
    CStringTree::Count total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        total += entries[i].count;
        fuzz::check(entries[i].text.size() <= CStringTree::kMaxStoredLength,
                    "a loaded word fits the stored form");
        if (i > 0)
            fuzz::check(mbstricmp(entries[i - 1].text.c_str(), entries[i].text.c_str()) < 0,
                        "loaded words rise strictly without regard to case");
    }
    fuzz::check(entries.size() == tree.distinct() && total == tree.total(),
                "a loaded tree's counts add up");
}

void checkStoresAgain(const CStringTree& tree, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w+b");
    fuzz::check(file != nullptr, "a scratch file opens");
    ArchiveWriter writer(file);
    fuzz::check(tree.store(writer) && writer.flush(), "a loaded tree can be stored");
    std::rewind(file);
    ArchiveReader reader(file);
    CStringTree again;
    fuzz::check(again.load(reader, CStringTree::Order::NoCase), "a stored tree loads");
    fuzz::check(std::fgetc(file) == EOF, "a stored tree is read to its end");
    std::fclose(file);
    fuzz::check(sameEntries(entriesOf(tree), entriesOf(again)) && tree.width() == again.width(),
                "a tree loads back as it was stored");
}

}  // namespace
}  // namespace vellmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    static Setup setup;
    fuzz::writeFile(setup.cache, std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::writeFile(setup.settings, setup.settingsText);
    std::error_code ignored;
    std::filesystem::remove_all(setup.request.wordListFolder, ignored);

    Profile profile(setup.settings);
    RecordingUserInterface ui;
    CStringTree reference;
    const ReferenceOutcome outcome = buildReference(setup.request, profile, reference, ui);
    fuzz::check(!outcome.cancelled, "nothing cancels the reference");
    if (outcome.fromCache) {
        fuzz::check(outcome.cachePath == setup.cache && outcome.filesRead == 0,
                    "a cache that loads replaces the reading");
        checkWellFormed(reference);
        checkStoresAgain(reference, setup.dir.file("stored.cache"));
        return 0;
    }
    fuzz::check(sameEntries(entriesOf(reference), setup.corpusWords),
                "a refused cache leaves the reference as the corpus gives it");
    fuzz::check(!outcome.cachePath.empty() && outcome.cachePath != setup.cache,
                "a refused cache is replaced by a fresh one");
    return 0;
}
