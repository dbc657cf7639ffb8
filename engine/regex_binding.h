#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "jre/jre32.h"

namespace vellmora {

/// The messages the expression commands show, each naming the record (1 or 2) it is about.
/// Which command shows which wording is the command's own choice.
namespace regex_messages {
// KWIC search.
inline constexpr std::string_view kInitializingError1 = "Initializing Error(;_;)1";
inline constexpr std::string_view kInitializingError2 = "Initializing Error(;_;)2";
inline constexpr std::string_view kCompileError1 = "Compile Error(;_;)1";
inline constexpr std::string_view kCompileError2 = "Compile Error(;_;)2";
// Extraction by range, KWOC search.
inline constexpr std::string_view kInitializationError1 = "Initialization Error(;_;)1";
inline constexpr std::string_view kCompilationError1 = "Compilation Error(;_;)1";
// The other search and extraction commands.
inline constexpr std::string_view kInitializationFailure1 = "Initialization Failure(;_;)1";
inline constexpr std::string_view kInitializationFailure2 = "Initialization Failure(;_;)2";
inline constexpr std::string_view kInitializingFailure2 = "Initializing Failure(;_;)2";
inline constexpr std::string_view kCompilationFailure1 = "Compilation Failure(;_;)1";
inline constexpr std::string_view kCompilationFailure2 = "Compilation Failure(;_;)2";
inline constexpr std::string_view kCompilationError2 = "Compilation Error(;_;)2";
// The search that counts hits per file.
inline constexpr std::string_view kFailed1 = "Failed(;_;)1";
inline constexpr std::string_view kFailed2 = "Failed(;_;)2";
}  // namespace regex_messages

/// The record exchanged with every engine call: the engine's own C type, so that the calls
/// through the resolved entry points have exactly the types the engine defines them with.
using JreRecord = JRE2;

/// A match of an expression in a text: never empty.
struct RegexMatch {
    std::size_t offset = 0;  ///< byte offset in the text
    std::size_t length = 0;  ///< bytes, at least 1
};

/// One searching object's hold on the regular-expression engine, the plug-in libjre32.so
/// loaded by name at the first Initialise: from $PYXO_JRE when that is set (and then from
/// nowhere else), otherwise beside the program or from the library path. The library stays
/// loaded while any binding lives and is released with the last one. A binding holds two
/// records: 1 for the first keyword, 2 for the second.
///
/// Used from one thread; the count of live bindings and the library are process-wide.
class RegexBinding {
public:
    /// Creates the binding: both records closed; one more live binding.
    RegexBinding();
    /// Closes the opened records; the last binding to go releases the library.
    ~RegexBinding();
    RegexBinding(const RegexBinding&) = delete;
    RegexBinding& operator=(const RegexBinding&) = delete;

    /// Loads the engine when needed and opens both records. False when the library cannot be
    /// loaded, lacks an entry point it must have, or a record cannot be opened. With another
    /// binding alive and the library loaded it succeeds at once: records open on first use.
    bool initialise();
    /// Record 1 or 2 is open, opening it now when it is not. False when the library is not
    /// loaded or the engine refuses.
    bool ensureOpened(int record);
    /// The engine's version (its low 16 bits), 0 when the library is not loaded: a search
    /// takes the expression path only when this is not 0.
    unsigned version() const;
    /// Compiles pattern into record 1 or 2, case-insensitively when ignoreCase (lower-casing
    /// a pattern would change its meaning: \W would become \w). An empty pattern fails
    /// without reaching the engine.
    bool compile(int record, std::string_view pattern, bool ignoreCase = false);
    /// The first non-empty match of record 1 or 2 in text at or after byte start. text must
    /// be terminated at text[size]. An empty match is no hit: the search goes on one byte
    /// after it, so that x* still finds the x later in the line. None for an empty text, a
    /// closed record, or a match the engine gave up on (see lastError).
    std::optional<RegexMatch> match(int record, std::string_view text, std::size_t start);
    /// Closes both records.
    void closeRecords();
    /// The engine's text for the last error of record 1 or 2, empty when there is none or the
    /// engine has no message call.
    std::string lastError(int record) const;

    /// Bindings alive in the process.
    static int liveBindings();
    /// The engine library is loaded.
    static bool engineLoaded();
    /// Why the last load failed ("" after a successful one): for diagnostics only.
    static std::string loadFailure();

private:
    struct Slot {
        JreRecord record{};
        bool opened = false;
    };
    Slot* slot(int record);
    const Slot* slot(int record) const;
    bool open(Slot& s);

    Slot m_slots[2];
};

/// The engine version as the About box shows it: "%03x" with a full stop after the first
/// digit (0x698 gives "6.98").
std::string formatJreVersion(unsigned version);

}  // namespace vellmora
