#include "settings/corpus_sets.h"

#include <cstdio>
#include <stdexcept>
#include <utility>

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr std::string_view kSection = "CorpusSet";
constexpr const SettingKey& kTitle = settingKey("CorpusSet", "*Title");
constexpr const SettingKey& kFile = settingKey("CorpusSet", "*File");
constexpr const SettingKey& kDir = settingKey("CorpusSet", "*Dir");
constexpr const SettingKey& kResFile = settingKey("CorpusSet", "*ResFile");
constexpr const SettingKey& kResDir = settingKey("CorpusSet", "*ResDir");
// The "File Set" dialog writes the response-file directory with this spelling; names match
// without case, so it is the same entry as "nnnResDir".
constexpr const SettingKey& kResDirWritten = settingKey("CorpusSet", "*resdir");

std::size_t indexOf(int number) {
    if (number < 1 || number > kCorpusSetCount) {
        throw std::out_of_range("corpus set number " + std::to_string(number));
    }
    return static_cast<std::size_t>(number - 1);
}

/// "*Title" with the set number in place of the "*".
std::string familyKey(const SettingKey& entry, int number) {
    return corpusSetKey(number, entry.key.substr(1));
}

std::string read(Profile& profile, const SettingKey& entry, int number) {
    return profile.readString(kSection, familyKey(entry, number), entry.defaultValue);
}

void write(Profile& profile, const SettingKey& entry, int number, std::string_view value) {
    profile.writeString(kSection, familyKey(entry, number), value);
}

}  // namespace

std::string corpusSetKey(int number, std::string_view name) {
    indexOf(number);
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d", number);
    std::string key(digits);
    key += name;
    return key;
}

CorpusSet readCorpusSet(Profile& profile, int number) {
    CorpusSet set;
    set.title = read(profile, kTitle, number);
    set.fields.filename = read(profile, kFile, number);
    set.fields.directory = read(profile, kDir, number);
    set.fields.resFile = read(profile, kResFile, number);
    set.fields.resFileDir = read(profile, kResDir, number);
    return set;
}

bool writeCorpusSet(Profile& profile, int number, const CorpusSet& set) {
    write(profile, kTitle, number, set.title);
    write(profile, kFile, number, set.fields.filename);
    write(profile, kDir, number, set.fields.directory);
    write(profile, kResFile, number, set.fields.resFile);
    write(profile, kResDirWritten, number, set.fields.resFileDir);
    return profile.flush();
}

bool clearCorpusSet(Profile& profile, int number) { return writeCorpusSet(profile, number, {}); }

CFileSetDlg::CFileSetDlg(int number, CorpusSet initial)
    : m_number(number), m_set(std::move(initial)) {
    indexOf(number);
}

std::string CFileSetDlg::windowTitle() const { return "No." + std::to_string(m_number); }

bool CFileSetDlg::accept(Profile& profile) const {
    return writeCorpusSet(profile, m_number, m_set);
}

CorpusSetButtons::CorpusSetButtons() = default;

void CorpusSetButtons::load(Profile& profile) {
    for (int number = 1; number <= kCorpusSetCount; ++number) {
        m_titles[indexOf(number)] = read(profile, kTitle, number);
    }
}

std::string CorpusSetButtons::caption(int number) const {
    const std::string& title = m_titles[indexOf(number)];
    return title.empty() ? std::string(kUndefinedSetCaption) : title;
}

bool CorpusSetButtons::isDefined(int number) const { return !m_titles[indexOf(number)].empty(); }

CorpusSetButtons::Click CorpusSetButtons::click(Profile& profile, int number,
                                                CorpusFields& fields) {
    // Decided by the title read on opening, not by the caption: a set titled "=-=-=" is
    // defined and loads like any other.
    if (!isDefined(number)) return Click::DefineRequested;
    fields = readCorpusSet(profile, number).fields;
    return Click::Loaded;
}

CFileSetDlg CorpusSetButtons::fileSetDialog(int number, const CorpusFields& fields) {
    return CFileSetDlg(number, CorpusSet{{}, fields});
}

CFileSetDlg CorpusSetButtons::editDialog(Profile& profile, int number) {
    return CFileSetDlg(number, readCorpusSet(profile, number));
}

void CorpusSetButtons::applyFileSet(const CFileSetDlg& dialog, CorpusFields& fields) {
    m_titles[indexOf(dialog.number())] = dialog.set().title;
    fields = dialog.set().fields;
}

bool CorpusSetButtons::clear(Profile& profile, int number) {
    m_titles[indexOf(number)].clear();
    return clearCorpusSet(profile, number);
}

}  // namespace vellmora
