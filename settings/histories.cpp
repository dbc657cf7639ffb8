#include "settings/histories.h"

#include <cstddef>

#include "settings/ascii_case.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

struct ListKeys {
    std::string_view section;
    std::string_view prefix;
    const SettingKey& slot;  // the catalogue's entry for the family of slots
};

constexpr ListKeys kListKeys[kHistoryKindCount] = {
    {"History", "Keyword1", settingKey("History", "Keyword1*")},
    {"History", "Keyword2", settingKey("History", "Keyword2*")},
    {"FileHistory", "Filename", settingKey("FileHistory", "Filename*")},
    {"FileHistory", "Directory", settingKey("FileHistory", "Directory*")},
    {"ResFileHistory", "ResFile", settingKey("ResFileHistory", "ResFile*")},
    {"ResFileHistory", "ResFileDir", settingKey("ResFileHistory", "ResFileDir*")},
    {"Extraction", "Keyword", settingKey("Extraction", "Keyword*")},
};

const ListKeys& keysOf(HistoryKind kind) { return kListKeys[static_cast<std::size_t>(kind)]; }

std::string slotKey(const ListKeys& keys, int slot) {
    std::string key(keys.prefix);
    key += static_cast<char>('A' + slot);
    return key;
}

CExStringList::Position findEqual(const CExStringList& list, std::string_view value) {
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (equalsIgnoringAsciiCase(*it, value)) return it.position();
    }
    return nullptr;
}

constexpr const SettingKey& kKeyword1 = settingKey("Setting", "Keyword1");
constexpr const SettingKey& kKeyword2 = settingKey("Setting", "Keyword2");
constexpr const SettingKey& kFilename = settingKey("Setting", "Filename");
constexpr const SettingKey& kDirectory = settingKey("Setting", "Directory");
constexpr const SettingKey& kResFile = settingKey("Setting", "ResFile");
constexpr const SettingKey& kResFileDir = settingKey("Setting", "ResFileDir");
constexpr const SettingKey& kExtractionWord = settingKey("Setting", "ExtractionWord");
constexpr const SettingKey& kKw2Group = settingKey("Setting", "KW2_Group");
constexpr const SettingKey& kKw2Tango = settingKey("Setting", "KW2_Tango");

void writeLastValues(Profile& profile, const LastSearchValues& last) {
    writeString(profile, kKeyword1, last.keyword1);
    writeString(profile, kKeyword2, last.keyword2);
    writeString(profile, kFilename, last.filename);
    writeString(profile, kDirectory, last.directory);
    writeString(profile, kResFile, last.resFile);
    writeString(profile, kResFileDir, last.resFileDir);
    writeString(profile, kExtractionWord, last.extractionWord);
    writeInt(profile, kKw2Group, last.kw2Group);
    writeInt(profile, kKw2Tango, last.kw2Tango);
}

}  // namespace

std::string_view Histories::section(HistoryKind kind) { return keysOf(kind).section; }

std::string_view Histories::keyPrefix(HistoryKind kind) { return keysOf(kind).prefix; }

const CExStringList& Histories::list(HistoryKind kind) const {
    return m_lists[static_cast<std::size_t>(kind)];
}

CExStringList& Histories::mutableList(HistoryKind kind) {
    return m_lists[static_cast<std::size_t>(kind)];
}

void Histories::load(Profile& profile) {
    m_last.keyword1 = readString(profile, kKeyword1);
    m_last.keyword2 = readString(profile, kKeyword2);
    m_last.filename = readString(profile, kFilename);
    m_last.directory = readString(profile, kDirectory);
    m_last.resFile = readString(profile, kResFile);
    m_last.resFileDir = readString(profile, kResFileDir);
    m_last.extractionWord = readString(profile, kExtractionWord);
    m_last.kw2Group = readInt(profile, kKw2Group);
    m_last.kw2Tango = readInt(profile, kKw2Tango);

    for (int k = 0; k < kHistoryKindCount; ++k) {
        const ListKeys& keys = kListKeys[k];
        CExStringList& list = m_lists[static_cast<std::size_t>(k)];
        list.removeAll();
        for (int slot = 0; slot < kSlotCount; ++slot) {
            std::string value =
                profile.readString(keys.section, slotKey(keys, slot), keys.slot.defaultValue);
            if (value.empty() || findEqual(list, value) != nullptr) continue;
            list.addTail(std::move(value));
        }
    }
}

bool Histories::save(Profile& profile) const {
    writeLastValues(profile, m_last);
    for (int k = 0; k < kHistoryKindCount; ++k) {
        const ListKeys& keys = kListKeys[k];
        int slot = 0;
        for (const std::string& entry : m_lists[static_cast<std::size_t>(k)]) {
            if (slot == kSlotCount) break;
            profile.writeString(keys.section, slotKey(keys, slot++), entry);
        }
    }
    return profile.flush();
}

bool Histories::saveLastValues(Profile& profile, bool keyword2Used) {
    writeLastValues(profile, m_last);
    bool flushed = profile.flush();
    enter(HistoryKind::Keyword1, m_last.keyword1);
    if (keyword2Used) enter(HistoryKind::Keyword2, m_last.keyword2);
    enter(HistoryKind::Filename, m_last.filename);
    enter(HistoryKind::Directory, m_last.directory);
    enter(HistoryKind::ResFile, m_last.resFile);
    enter(HistoryKind::ResFileDir, m_last.resFileDir);
    enter(HistoryKind::ExtractionWord, m_last.extractionWord);
    return flushed;
}

void Histories::enter(HistoryKind kind, std::string_view value) {
    if (value.empty()) return;
    CExStringList& list = mutableList(kind);
    if (CExStringList::Position found = findEqual(list, value)) {
        // Keep the spelling the user first typed: only the position changes.
        std::string stored = CExStringList::at(found);
        list.removeAt(found);
        list.addHead(stored);
        return;
    }
    list.addHead(value);
}

}  // namespace vellmora
