/* jre32: the regular-expression engine that Vellmora loads by name at run time.
 *
 * Texts and patterns are NUL-terminated Shift-JIS byte strings; positions and lengths are byte
 * offsets, and a match always begins and ends at character boundaries (a double-byte character
 * is matched whole or not at all). Every call takes a record the caller owns and zero-fills
 * before its first use; the engine keeps its compiled pattern elsewhere and only an id in the
 * record's private bytes, so a stale or garbled record gives an error, never a crash.
 *
 * Lifecycle of a record: Jre2Open, then Jre2Compile (again as often as wanted), any number of
 * Jre2GetMatchInfo, then Jre2Close. A call that fails returns 0 and leaves a code in the
 * record's error field that GetJreMessage turns into text. No call blocks without end: a match
 * that backtracks too long gives up and reports no match with its own error code.
 */
#ifndef JRE32_H
#define JRE32_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define JRE_API __attribute__((visibility("default")))
#else
#define JRE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define JRE2_RECORD_SIZE 54

/* Error codes of the record besides the engine's own (negative) ones. */
#define JRE_OK 0
#define JRE_ERROR_BAD_RECORD 1    /* a null record, or its size field is not 54 */
#define JRE_ERROR_NOT_OPENED 2    /* the record was never opened, or was closed */
#define JRE_ERROR_NO_PATTERN 3    /* a match before any pattern compiled */
#define JRE_ERROR_NULL_TEXT 4     /* a null pattern or text */
#define JRE_ERROR_NO_MEMORY 5
#define JRE_ERROR_INTERNAL 6

/* The record exchanged with every call: 54 bytes, 32-bit little-endian fields. */
#pragma pack(push, 2)
typedef struct JRE2 {
    uint32_t size;          /*  0: the caller sets JRE2_RECORD_SIZE */
    uint32_t engine0;       /*  4: private to the engine */
    uint32_t start;         /*  8: the caller sets where matching starts, in bytes */
    uint32_t engine1;       /* 12: private to the engine */
    int32_t error;          /* 16: the code of the last call, JRE_OK on success */
    uint32_t length;        /* 20: the match's length in bytes after a match */
    uint32_t position;      /* 24: the match's byte offset in the text after a match */
    unsigned char engine2[JRE2_RECORD_SIZE - 28]; /* private to the engine */
} JRE2;
#pragma pack(pop)

#if defined(__cplusplus)
static_assert(sizeof(JRE2) == JRE2_RECORD_SIZE, "the record is 54 bytes");
static_assert(offsetof(JRE2, start) == 8 && offsetof(JRE2, error) == 16, "record layout");
static_assert(offsetof(JRE2, length) == 20 && offsetof(JRE2, position) == 24, "record layout");
#else
_Static_assert(sizeof(JRE2) == JRE2_RECORD_SIZE, "the record is 54 bytes");
_Static_assert(offsetof(JRE2, start) == 8 && offsetof(JRE2, error) == 16, "record layout");
_Static_assert(offsetof(JRE2, length) == 20 && offsetof(JRE2, position) == 24, "record layout");
#endif

/* Makes the record ready for a pattern; nonzero on success. Opening an open record closes its
 * pattern first. */
JRE_API int Jre2Open(JRE2* record);
/* Compiles pattern (Ruby syntax, Shift-JIS) into the record; nonzero on success. */
JRE_API int Jre2Compile(JRE2* record, const char* pattern);
/* Searches text from byte record->start (moved forward to a character start when it falls on
 * a second byte); nonzero when a match was found, whose position and length are then in the
 * record. A match may be empty. */
JRE_API int Jre2GetMatchInfo(JRE2* record, const char* text);
/* As Jre2GetMatchInfo, but the first match that is not empty: where the expression's first
 * choice at a position matches nothing, its other choices there are tried, then the next
 * character. One search does it all, so the retry limit bounds the work on the whole text; a
 * caller that skipped empty matches by searching again one byte later would repeat the work
 * from every byte. */
JRE_API int Jre2GetNonEmptyMatchInfo(JRE2* record, const char* text);
/* Releases the record's pattern; the record may be opened again. */
JRE_API void Jre2Close(JRE2* record);
/* The engine's version as 0xMmt: major, minor and teeny in one hexadecimal digit each. */
JRE_API unsigned int JreGetVersion(void);
/* Writes the text of error code into buffer (NUL-terminated, cut to size - 1 bytes); returns
 * the bytes written. reserved is 0. */
JRE_API int GetJreMessage(int code, int reserved, char* buffer, int size);

/* The entry points' types, for callers that resolve them by name. */
typedef int (*Jre2OpenFunction)(JRE2*);
typedef int (*Jre2CompileFunction)(JRE2*, const char*);
typedef int (*Jre2GetMatchInfoFunction)(JRE2*, const char*);
typedef int (*Jre2GetNonEmptyMatchInfoFunction)(JRE2*, const char*);
typedef void (*Jre2CloseFunction)(JRE2*);
typedef unsigned int (*JreGetVersionFunction)(void);
typedef int (*GetJreMessageFunction)(int, int, char*, int);

#ifdef __cplusplus
}
#endif

#endif /* JRE32_H */
