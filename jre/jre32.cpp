// The engine behind jre32.h: Oniguruma with the Shift-JIS encoding and Ruby syntax.

#include "jre/jre32.h"

#include <oniguruma.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string_view>
#include <unordered_map>

namespace {

// Backtracking is bounded so that every call returns within a fraction of a second whatever
// the pattern: (\w+\s?)+$ over a long line of letters ending in "!" would otherwise run for
// ages, and a search only stops between lines. Real patterns on real lines stay far below both
// limits; a call that reaches one reports no match, and why.
constexpr unsigned long kRetryLimitInMatch = 1'000'000;
constexpr unsigned long kRetryLimitInSearch = 5'000'000;

// Where a record keeps the id of its expression.
constexpr std::size_t kIdOffset = 0;

struct Expression {
    OnigRegex regex = nullptr;
    OnigRegion* region = nullptr;
    OnigMatchParam* param = nullptr;

    Expression() = default;
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;
    ~Expression() { release(); }

    void release() {
        if (regex != nullptr) onig_free(regex);
        if (region != nullptr) onig_region_free(region, 1);
        if (param != nullptr) onig_free_match_param(param);
        regex = nullptr;
        region = nullptr;
        param = nullptr;
    }
};

// Expressions live here, keyed by the id a record holds, so that a record the caller never
// opened, closed already or overwrote finds nothing instead of a dangling pointer.
struct Table {
    std::mutex mutex;
    std::unordered_map<std::uint64_t, std::unique_ptr<Expression>> expressions;
    std::uint64_t lastId = 0;
    bool onigReady = false;

    // Runs when the plug-in is unloaded: nothing of Oniguruma outlives it, not even the
    // expressions of records a caller forgot to close.
    ~Table() {
        expressions.clear();
        if (onigReady) onig_end();
    }
};

Table& table() {
    static Table instance;
    return instance;
}

// Oniguruma's tables for the encoding are set up once, at the first open.
bool ensureOniguruma() {
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (!t.onigReady) {
        OnigEncoding encodings[] = {ONIG_ENCODING_SJIS};
        t.onigReady = onig_initialize(encodings, 1) == ONIG_NORMAL;
    }
    return t.onigReady;
}

std::uint64_t idOf(const JRE2* record) {
    std::uint64_t id;
    std::memcpy(&id, record->engine2 + kIdOffset, sizeof id);
    return id;
}

void setId(JRE2* record, std::uint64_t id) {
    std::memcpy(record->engine2 + kIdOffset, &id, sizeof id);
}

bool validRecord(JRE2* record) {
    if (record == nullptr) return false;
    if (record->size != JRE2_RECORD_SIZE) {
        record->error = JRE_ERROR_BAD_RECORD;
        return false;
    }
    return true;
}

// The record's expression, or null with the error set. The caller uses a record from one
// thread at a time, so the expression stays valid after the lock is released.
Expression* expressionOf(JRE2* record) {
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto found = t.expressions.find(idOf(record));
    if (found == t.expressions.end()) {
        record->error = JRE_ERROR_NOT_OPENED;
        return nullptr;
    }
    return found->second.get();
}

void dropExpression(JRE2* record) {
    Table& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.expressions.erase(idOf(record));
    setId(record, 0);
}

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The first character start at or after from. A byte outside the lead ranges always ends a
// character, so only the run of lead-range bytes just before from is ambiguous, and its
// parity settles it: the search never starts on a second byte, where 0x5C of ソ would read
// as a backslash.
std::size_t characterStartAtOrAfter(const unsigned char* text, std::size_t from) {
    std::size_t q = from;
    while (q > 0 && isLeadByte(text[q - 1])) --q;
    return (from - q) % 2 == 0 ? from : from + 1;
}

int oneDigit(int value) { return value < 0 ? 0 : (value > 15 ? 15 : value); }

/// The match calls, with Oniguruma's search options.
int search(JRE2* record, const char* text, OnigOptionType options) {
    try {
        if (!validRecord(record)) return 0;
        record->length = 0;
        record->position = 0;
        Expression* expression = expressionOf(record);
        if (expression == nullptr) return 0;
        if (expression->regex == nullptr) {
            record->error = JRE_ERROR_NO_PATTERN;
            return 0;
        }
        if (text == nullptr) {
            record->error = JRE_ERROR_NULL_TEXT;
            return 0;
        }
        record->error = JRE_OK;
        const auto* begin = reinterpret_cast<const OnigUChar*>(text);
        const std::size_t length = std::strlen(text);
        if (record->start > length) return 0;
        const std::size_t from = characterStartAtOrAfter(begin, record->start);
        if (from > length) return 0;
        const OnigUChar* end = begin + length;
        int r = onig_search_with_param(expression->regex, begin, end, begin + from, end,
                                       expression->region, options, expression->param);
        if (r == ONIG_MISMATCH) return 0;
        if (r < 0) {
            record->error = r;  // a retry limit overrun among them: no match, and why
            return 0;
        }
        // The match is what the region holds: \K moves its start past where the search
        // found it (the returned position).
        record->position = static_cast<std::uint32_t>(expression->region->beg[0]);
        record->length =
            static_cast<std::uint32_t>(expression->region->end[0] - expression->region->beg[0]);
        return 1;
    } catch (const std::bad_alloc&) {
        record->error = JRE_ERROR_NO_MEMORY;
    } catch (...) {
        record->error = JRE_ERROR_INTERNAL;
    }
    return 0;
}

}  // namespace

extern "C" {

JRE_API int Jre2Open(JRE2* record) {
    try {
        if (!validRecord(record)) return 0;
        if (!ensureOniguruma()) {
            record->error = JRE_ERROR_INTERNAL;
            return 0;
        }
        dropExpression(record);
        auto expression = std::make_unique<Expression>();
        Table& t = table();
        std::lock_guard<std::mutex> lock(t.mutex);
        const std::uint64_t id = ++t.lastId;
        t.expressions.emplace(id, std::move(expression));
        setId(record, id);
        record->error = JRE_OK;
        record->length = 0;
        record->position = 0;
        return 1;
    } catch (const std::bad_alloc&) {
        record->error = JRE_ERROR_NO_MEMORY;
    } catch (...) {
        record->error = JRE_ERROR_INTERNAL;
    }
    return 0;
}

JRE_API int Jre2Compile(JRE2* record, const char* pattern) {
    try {
        if (!validRecord(record)) return 0;
        Expression* expression = expressionOf(record);
        if (expression == nullptr) return 0;
        if (pattern == nullptr) {
            record->error = JRE_ERROR_NULL_TEXT;
            return 0;
        }
        expression->release();
        const auto* begin = reinterpret_cast<const OnigUChar*>(pattern);
        OnigErrorInfo info;
        int r = onig_new(&expression->regex, begin, begin + std::strlen(pattern), ONIG_OPTION_NONE,
                         ONIG_ENCODING_SJIS, ONIG_SYNTAX_RUBY, &info);
        if (r != ONIG_NORMAL) {
            expression->regex = nullptr;  // onig_new frees what it made on failure
            record->error = r;
            return 0;
        }
        expression->region = onig_region_new();
        expression->param = onig_new_match_param();
        if (expression->region == nullptr || expression->param == nullptr) {
            expression->release();
            record->error = JRE_ERROR_NO_MEMORY;
            return 0;
        }
        onig_initialize_match_param(expression->param);
        onig_set_retry_limit_in_match_of_match_param(expression->param, kRetryLimitInMatch);
        onig_set_retry_limit_in_search_of_match_param(expression->param, kRetryLimitInSearch);
        record->error = JRE_OK;
        return 1;
    } catch (const std::bad_alloc&) {
        record->error = JRE_ERROR_NO_MEMORY;
    } catch (...) {
        record->error = JRE_ERROR_INTERNAL;
    }
    return 0;
}

JRE_API int Jre2GetMatchInfo(JRE2* record, const char* text) {
    return search(record, text, ONIG_OPTION_NONE);
}

JRE_API int Jre2GetNonEmptyMatchInfo(JRE2* record, const char* text) {
    return search(record, text, ONIG_OPTION_FIND_NOT_EMPTY);
}

JRE_API void Jre2Close(JRE2* record) {
    try {
        if (!validRecord(record)) return;
        dropExpression(record);
        record->error = JRE_OK;
    } catch (...) {
        record->error = JRE_ERROR_INTERNAL;
    }
}

JRE_API unsigned int JreGetVersion(void) {
    int major = ONIGURUMA_VERSION_MAJOR;
    int minor = ONIGURUMA_VERSION_MINOR;
    int teeny = ONIGURUMA_VERSION_TEENY;
    // The library actually loaded, which may be newer than the header built against.
    if (const char* loaded = onig_version())
        std::sscanf(loaded, "%d.%d.%d", &major, &minor, &teeny);
    return static_cast<unsigned>(oneDigit(major) << 8 | oneDigit(minor) << 4 | oneDigit(teeny));
}

JRE_API int GetJreMessage(int code, int /*reserved*/, char* buffer, int size) {
    if (buffer == nullptr || size <= 0) return 0;
    try {
        char onigText[ONIG_MAX_ERROR_MESSAGE_LEN + 1] = {};
        std::string_view text;
        switch (code) {
            case JRE_OK:
                text = "no error";
                break;
            case JRE_ERROR_BAD_RECORD:
                text = "not an engine record of 54 bytes";
                break;
            case JRE_ERROR_NOT_OPENED:
                text = "the record is not opened";
                break;
            case JRE_ERROR_NO_PATTERN:
                text = "no pattern has been compiled";
                break;
            case JRE_ERROR_NULL_TEXT:
                text = "no text was given";
                break;
            case JRE_ERROR_NO_MEMORY:
                text = "out of memory";
                break;
            case JRE_ERROR_INTERNAL:
                text = "internal error";
                break;
            default:
                if (code < 0) {
                    // Some codes name a part of the pattern; without it they read "<>".
                    OnigErrorInfo info{};
                    info.enc = ONIG_ENCODING_SJIS;
                    info.par = reinterpret_cast<OnigUChar*>(onigText + ONIG_MAX_ERROR_MESSAGE_LEN);
                    info.par_end = info.par;
                    int n =
                        onig_error_code_to_str(reinterpret_cast<OnigUChar*>(onigText), code, &info);
                    text = std::string_view(onigText, n > 0 ? static_cast<std::size_t>(n) : 0);
                } else {
                    text = "unknown error";
                }
        }
        std::size_t n = text.size() < static_cast<std::size_t>(size - 1)
                            ? text.size()
                            : static_cast<std::size_t>(size - 1);
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
        return static_cast<int>(n);
    } catch (...) {
        buffer[0] = '\0';
        return 0;
    }
}

}  // extern "C"
