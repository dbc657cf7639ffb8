#include "engine/regex_binding.h"

#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vellmora {
namespace {

constexpr const char* kLibraryName = "libjre32.so";
constexpr int kMessageBufferSize = 512;

using OpenFunction = Jre2OpenFunction;
using CompileFunction = Jre2CompileFunction;
using MatchFunction = Jre2GetMatchInfoFunction;
using NonEmptyMatchFunction = Jre2GetNonEmptyMatchInfoFunction;
using CloseFunction = Jre2CloseFunction;
using VersionFunction = JreGetVersionFunction;
using MessageFunction = GetJreMessageFunction;

/// What the process holds of the engine: valid exactly while handle is set.
struct Engine {
    void* handle = nullptr;
    OpenFunction open = nullptr;
    CompileFunction compile = nullptr;
    MatchFunction match = nullptr;
    NonEmptyMatchFunction nonEmptyMatch = nullptr;  // may stay null: an older engine lacks it
    CloseFunction close = nullptr;
    VersionFunction version = nullptr;
    MessageFunction message = nullptr;  // may stay null: only diagnostics use it
    int live = 0;
    std::string failure;

    void release() {
        if (handle != nullptr) dlclose(handle);
        handle = nullptr;
        open = nullptr;
        compile = nullptr;
        match = nullptr;
        nonEmptyMatch = nullptr;
        close = nullptr;
        version = nullptr;
        message = nullptr;
    }
};

Engine& engine() {
    static Engine instance;
    return instance;
}

template <typename Function>
Function resolve(void* handle, const char* name) {
    return reinterpret_cast<Function>(dlsym(handle, name));
}

/// The directory of the running program, with a trailing "/", or empty when unknown.
std::string programDirectory() {
    std::vector<char> path(4096);
    ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) return {};
    std::string exe(path.data(), static_cast<std::size_t>(n));
    std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

void* openLibrary(std::string& failure) {
    const char* configured = getenv("PYXO_JRE");
    std::vector<std::string> candidates;
    if (configured != nullptr && *configured != '\0') {
        // A configured path is the only one tried: a test that points it at a missing file
        // must not find the real engine instead.
        candidates.push_back(configured);
    } else {
        std::string directory = programDirectory();
        if (!directory.empty()) candidates.push_back(directory + kLibraryName);
        candidates.push_back(kLibraryName);  // the program's run path, then the library path
    }
    for (const std::string& name : candidates) {
        dlerror();
        if (void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
        const char* why = dlerror();
        failure = why != nullptr ? why : "cannot load " + name;
    }
    return nullptr;
}

bool load() {
    Engine& e = engine();
    void* handle = openLibrary(e.failure);
    if (handle == nullptr) return false;
    e.handle = handle;
    e.open = resolve<OpenFunction>(handle, "Jre2Open");
    e.compile = resolve<CompileFunction>(handle, "Jre2Compile");
    e.match = resolve<MatchFunction>(handle, "Jre2GetMatchInfo");
    e.nonEmptyMatch = resolve<NonEmptyMatchFunction>(handle, "Jre2GetNonEmptyMatchInfo");
    e.close = resolve<CloseFunction>(handle, "Jre2Close");
    e.version = resolve<VersionFunction>(handle, "JreGetVersion");
    e.message = resolve<MessageFunction>(handle, "GetJreMessage");
    if (e.open == nullptr || e.compile == nullptr || e.match == nullptr || e.close == nullptr ||
        e.version == nullptr) {
        // Not kept loaded: the version call must not reach a missing entry point, and a
        // library that is not the engine gives version 0, so searches run without it.
        e.release();
        e.failure = "the library lacks an entry point of the engine";
        return false;
    }
    e.failure.clear();
    return true;
}

}  // namespace

RegexBinding::RegexBinding() {
    for (Slot& s : m_slots) s.record.size = JRE2_RECORD_SIZE;
    ++engine().live;
}

RegexBinding::~RegexBinding() {
    closeRecords();
    Engine& e = engine();
    if (--e.live == 0) e.release();
}

RegexBinding::Slot* RegexBinding::slot(int record) {
    return record == 1 || record == 2 ? &m_slots[record - 1] : nullptr;
}

const RegexBinding::Slot* RegexBinding::slot(int record) const {
    return record == 1 || record == 2 ? &m_slots[record - 1] : nullptr;
}

bool RegexBinding::open(Slot& s) {
    s.opened = engine().open(&s.record) != 0;
    return s.opened;
}

bool RegexBinding::initialise() {
    Engine& e = engine();
    if (e.live > 1 && e.handle != nullptr) return true;
    if (e.handle == nullptr && !load()) return false;
    closeRecords();
    for (Slot& s : m_slots) {
        s.record = JreRecord{};
        s.record.size = JRE2_RECORD_SIZE;
    }
    return open(m_slots[0]) && open(m_slots[1]);
}

bool RegexBinding::ensureOpened(int record) {
    Slot* s = slot(record);
    if (s == nullptr || engine().handle == nullptr) return false;
    return s->opened || open(*s);
}

unsigned RegexBinding::version() const {
    const Engine& e = engine();
    return e.handle == nullptr ? 0 : e.version() & 0xFFFFu;
}

bool RegexBinding::compile(int record, std::string_view pattern, bool ignoreCase) {
    Slot* s = slot(record);
    if (s == nullptr || pattern.empty() || !s->opened || engine().handle == nullptr) return false;
    std::string text = ignoreCase ? "(?i)" : "";
    text.append(pattern);
    return engine().compile(&s->record, text.c_str()) != 0;
}

std::optional<RegexMatch> RegexBinding::match(int record, std::string_view text,
                                              std::size_t start) {
    Slot* s = slot(record);
    Engine& e = engine();
    if (s == nullptr || text.empty() || !s->opened || e.handle == nullptr) return std::nullopt;
    // An engine that skips empty matches itself searches the line once; otherwise each empty
    // match costs a new search one byte later.
    const MatchFunction match = e.nonEmptyMatch != nullptr ? e.nonEmptyMatch : e.match;
    for (std::size_t from = start; from <= text.size();) {
        s->record.start = static_cast<std::uint32_t>(from);
        if (match(&s->record, text.data()) == 0) return std::nullopt;
        const std::size_t position = s->record.position;
        const std::size_t length = s->record.length;
        // The engine is outside this program: a match that does not lie in the text is none.
        if (position < from || position > text.size() || length > text.size() - position)
            return std::nullopt;
        if (length > 0) return RegexMatch{position, length};
        from = position + 1;
    }
    return std::nullopt;
}

void RegexBinding::closeRecords() {
    Engine& e = engine();
    for (Slot& s : m_slots) {
        if (s.opened && e.handle != nullptr) e.close(&s.record);
        s.opened = false;
    }
}

std::string RegexBinding::lastError(int record) const {
    const Slot* s = slot(record);
    const Engine& e = engine();
    if (s == nullptr || s->record.error == 0 || e.handle == nullptr || e.message == nullptr)
        return {};
    char buffer[kMessageBufferSize] = {};
    e.message(s->record.error, 0, buffer, kMessageBufferSize);
    buffer[kMessageBufferSize - 1] = '\0';
    return buffer;
}

int RegexBinding::liveBindings() { return engine().live; }

bool RegexBinding::engineLoaded() { return engine().handle != nullptr; }

std::string RegexBinding::loadFailure() { return engine().failure; }

std::string formatJreVersion(unsigned version) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03x", version);
    std::string text(digits);
    text.insert(1, ".");
    return text;
}

}  // namespace vellmora
