#include "document/formatted_file.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "containers/archive.h"
#include "containers/ex_string_list.h"
#include "document/atomic_file.h"
#include "document/result_document.h"
#include "settings/ascii_case.h"
#include "settings/excluded_types.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr int kTrailingZeroValues = 3;
constexpr int kTrailingEmptyStrings = 3;

/// Keeps the wait cursor on while a document is serialized, whatever way the work ends.
class SerializingNotice {
public:
    explicit SerializingNotice(UserInterface& ui) : m_ui(ui) { m_ui.setWaitCursor(true); }
    ~SerializingNotice() { m_ui.setWaitCursor(false); }
    SerializingNotice(const SerializingNotice&) = delete;
    SerializingNotice& operator=(const SerializingNotice&) = delete;

private:
    UserInterface& m_ui;
};

// Integers are stored as their low 16 bits: the cast keeps exactly those.
std::int16_t low16Signed(int value) { return static_cast<std::int16_t>(value); }
std::uint16_t low16(int value) { return static_cast<std::uint16_t>(value); }

void writeVersion11(const CPyxoDoc& document, ArchiveWriter& out, UserInterface& ui) {
    const DisplaySnapshot& display = document.snapshot();
    out.writeU16(kFormattedFileVersion);
    out.writeI16(low16Signed(display.keywordColumn));
    out.writeU16(low16(display.searchKind));
    for (int kind : display.history) out.writeI16(low16Signed(kind));
    out.writeString(display.keyword1);
    out.writeString(display.keyword2);
    out.writeI16(low16Signed(document.reserved.integer));
    out.writeU16(low16(display.formatSelector));
    out.writeString(document.reserved.strings[0]);
    out.writeString(document.reserved.strings[1]);
    for (int kind = 0; kind < kResultKinds && out.ok(); ++kind)
        document.list(static_cast<ResultKind>(kind)).store(out, ui);
    out.writeI32(document.collocationValue1);
    out.writeI32(document.collocationValue2);
    for (int i = 0; i < kTrailingZeroValues; ++i) out.writeU32(0);
    out.writeString(document.reserved.strings[3]);
    out.writeString(document.reserved.strings[2]);
    for (int i = 0; i < kTrailingEmptyStrings; ++i) out.writeString({});
}

/// Everything a formatted file holds, read apart from the document so that a failed read
/// never leaves half of a file in it.
struct FileContent {
    DisplaySnapshot snapshot;
    std::array<CExStringList, kResultKinds> lists;
    int collocationValue1 = 0;
    int collocationValue2 = 0;
    ReservedFields reserved;
};

enum class ReadStatus { Done, TooOld, Damaged };

/// Reads one formatted file from a regular file of known size. Counts are checked against
/// the bytes left before anything is read for them, so a lying header fails at once.
class FormattedReader {
public:
    FormattedReader(std::FILE* file, long long size, UserInterface& ui)
        : m_file(file), m_in(file), m_size(size), m_ui(ui) {}

    ReadStatus read(FileContent& content) {
        std::uint16_t version = 0;
        if (!m_in.readU16(version)) return ReadStatus::Damaged;
        if (version < kOldestReadableVersion) return ReadStatus::TooOld;
        readSnapshot(content);
        if (version == kFormattedFileVersion) {
            m_in.readString(content.reserved.strings[0]);
            m_in.readString(content.reserved.strings[1]);
        }
        for (CExStringList& list : content.lists) {
            if (!readList(list)) return ReadStatus::Damaged;
        }
        // Later versions may have added anything after the lists: only what this program
        // knows is taken from them.
        if (version > kFormattedFileVersion)
            return m_in.ok() ? ReadStatus::Done : ReadStatus::Damaged;
        readInt32(content.collocationValue1);
        readInt32(content.collocationValue2);
        std::uint32_t dropped;
        for (int i = 0; i < kTrailingZeroValues; ++i) m_in.readU32(dropped);
        if (version == kFormattedFileVersion) {
            m_in.readString(content.reserved.strings[3]);
            m_in.readString(content.reserved.strings[2]);
            std::string ignored;
            for (int i = 0; i < kTrailingEmptyStrings; ++i) m_in.readString(ignored);
        }
        return m_in.ok() ? ReadStatus::Done : ReadStatus::Damaged;
    }

private:
    void readSnapshot(FileContent& content) {
        DisplaySnapshot& display = content.snapshot;
        std::int16_t signedValue = 0;
        std::uint16_t unsignedValue = 0;
        m_in.readI16(signedValue);
        display.keywordColumn = signedValue;
        m_in.readU16(unsignedValue);
        display.searchKind = unsignedValue;
        for (int& kind : display.history) {
            m_in.readI16(signedValue);
            kind = signedValue;
        }
        m_in.readString(display.keyword1);
        m_in.readString(display.keyword2);
        m_in.readI16(signedValue);
        content.reserved.integer = signedValue;
        m_in.readU16(unsignedValue);
        display.formatSelector = unsignedValue;
    }

    void readInt32(int& value) {
        std::int32_t raw = 0;
        m_in.readI32(raw);
        value = raw;
    }

    bool readList(CExStringList& list) {
        std::uint32_t count = 0;
        if (!m_in.readU32(count)) return false;
        // Every string takes at least its one-byte length prefix.
        if (static_cast<long long>(count) > remaining()) return false;
        std::string text;
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!m_in.readString(text)) return false;
            list.addTail(std::move(text));
            m_ui.pump();
        }
        return true;
    }

    long long remaining() const {
        const long position = std::ftell(m_file);
        return position < 0 ? 0 : m_size - position;
    }

    std::FILE* m_file;
    ArchiveReader m_in;
    long long m_size;
    UserInterface& m_ui;
};

/// What a failed open leaves: no results and no display state, the usable width excepted
/// (it belongs to the window, not to the file).
void emptyDocument(CPyxoDoc& document) {
    document.clearResults();
    DisplaySnapshot empty;
    empty.usableWidth = document.snapshot().usableWidth;
    document.snapshot() = empty;
    document.collocationValue1 = 0;
    document.collocationValue2 = 0;
    document.reserved = ReservedFields{};
    document.selectKind(ResultKind::Original);
}

void takeContent(CPyxoDoc& document, FileContent& content, const std::string& path) {
    document.clearResults();
    for (int kind = 0; kind < kResultKinds; ++kind)
        document.list(static_cast<ResultKind>(kind)).swap(content.lists[kind]);
    content.snapshot.usableWidth = document.snapshot().usableWidth;
    document.snapshot() = std::move(content.snapshot);
    document.collocationValue1 = content.collocationValue1;
    document.collocationValue2 = content.collocationValue2;
    document.reserved = std::move(content.reserved);
    document.selectKind(kindFromValue(document.snapshot().history[0]));
    document.setModified(false);
    document.setSaveForm(SaveForm::Text);
    document.setFilePath(path, SaveForm::Formatted);
}

FileOutcome failOpen(CPyxoDoc& document, UserInterface& ui, Profile& profile,
                     std::string_view message, std::string reason = {}) {
    emptyDocument(document);
    ui.setBeepSilenced(readInt(profile, settingKey("Options", "Beep")) == 1);
    ui.alert(message);
    return FileOutcome::failure(std::string(message), std::move(reason));
}

/// Closes the stream on every way out of the read.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file != nullptr) std::fclose(file);
    }
};

}  // namespace

FileOutcome writeFormattedFile(const CPyxoDoc& document, const std::string& path,
                               UserInterface& ui) {
    SerializingNotice notice(ui);
    AtomicFile file(path);
    bool written = file.open();
    // An empty search result leaves the file empty: there is nothing to show after opening.
    if (written && !document.list(ResultKind::Original).isEmpty()) {
        ArchiveWriter out(file.stream());
        writeVersion11(document, out, ui);
        written = out.ok();
    }
    if (!written || !file.commit()) {
        std::string reason = file.reason().empty() ? "a write failed" : file.reason();
        ui.alert(kSaveFailedMessage);
        return FileOutcome::failure(std::string(kSaveFailedMessage), std::move(reason));
    }
    return FileOutcome::success();
}

FileOutcome readFormattedFile(const std::string& path, CPyxoDoc& document, UserInterface& ui,
                              Profile& profile) {
    SerializingNotice notice(ui);
    FileCloser in{std::fopen(path.c_str(), "rb")};
    if (in.file == nullptr)
        return failOpen(document, ui, profile, kOpenFailedMessage, std::strerror(errno));
    struct stat info;
    // A directory, a pipe or a device has no end to check counts against.
    if (fstat(fileno(in.file), &info) != 0 || !S_ISREG(info.st_mode))
        return failOpen(document, ui, profile, kOpenFailedMessage, "not a regular file");
    if (info.st_size == 0) return failOpen(document, ui, profile, kEmptyFileMessage);

    static constexpr std::size_t kBufferSize = 1 << 16;
    std::setvbuf(in.file, nullptr, _IOFBF, kBufferSize);
    FileContent content;
    FormattedReader reader(in.file, static_cast<long long>(info.st_size), ui);
    switch (reader.read(content)) {
        case ReadStatus::TooOld:
            return failOpen(document, ui, profile, kCannotReadMessage);
        case ReadStatus::Damaged:
            return failOpen(document, ui, profile, kDamagedFileMessage);
        case ReadStatus::Done:
            break;
    }
    takeContent(document, content, path);
    return FileOutcome::success();
}

namespace {

bool hasFormattedExtension(std::string_view path) {
    const std::string_view extension = fileExtension(path);
    return equalsIgnoringAsciiCase(extension, "vm2") || equalsIgnoringAsciiCase(extension, "vm1");
}

}  // namespace

bool holdsFormattedResult(const std::string& path) {
    if (hasFormattedExtension(path)) return true;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    unsigned char version[2] = {};
    const bool read = std::fread(version, 1, 2, file) == 2;
    std::fclose(file);
    // Text never begins with these: a control character and a NUL.
    return read && version[1] == 0 && version[0] >= kOldestReadableVersion &&
           version[0] <= kFormattedFileVersion;
}

std::string textSaveName(const CPyxoDoc& document) {
    const std::string& path = document.filePath();
    if (path.empty()) return document.baseTitle();
    // A formatted file named without its extension is still no place for text: offering it
    // would put the text save over every result it holds.
    if (!holdsFormattedResult(path)) return path;
    const std::size_t extension = fileExtension(path).size();
    if (extension == 0) return path.ends_with('.') ? path + "txt" : path + ".txt";
    return path.substr(0, path.size() - extension) + "txt";
}

}  // namespace vellmora
