/* ximo: the Shift-JIS text library of Vellmora.
 *
 * Every text is a NUL-terminated byte string in Shift-JIS (code page 932);
 * positions and lengths are byte offsets. The caller owns every buffer; the
 * library never allocates. Process-wide state: the continuation positions of
 * mbstrtok and strword, and the one Boyer-Moore table of bminitialize, so
 * those functions serve one loop at a time. Nothing here is thread-safe.
 */
#ifndef XIMO_H
#define XIMO_H

#if defined(__GNUC__)
#define XIMO_API __attribute__((visibility("default")))
#else
#define XIMO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Character model: 0 means "yes" for both is_nth_kanji tests. */
XIMO_API int is_nth_kanji(int n, const char* s);
XIMO_API int is_nth_kanji2(int n, const char* s);
XIMO_API int zdm_nthctype(int pos, const char* s);

/* In-place case folding and reversal; each returns s. */
XIMO_API char* mbstrupr(char* s);
XIMO_API char* mbstrlwr(char* s);
XIMO_API char* mbstrconv(char* s);
XIMO_API char* mbstrrev(char* s);

/* out must hold strlen(in) + 1 bytes; each returns out. */
XIMO_API char* mbdelspace1(char* out, const char* in);
XIMO_API char* mbdelspace3(char* out, const char* in);

XIMO_API char* mbstrtok(char* s, const char* delimiters);
XIMO_API int mbstrcmp(const char* a, const char* b);
XIMO_API int mbstricmp(const char* a, const char* b);
XIMO_API int mbstrncmp(const char* a, const char* b, int n);
XIMO_API int mbstrnicmp(const char* a, const char* b, int n);

/* Words, sentences and boundary tests. */
XIMO_API char* strword(char* s);
XIMO_API char* getSF(int mode, const char* s); /* pointer into s */
/* out must hold 1000 bytes; returns out. */
XIMO_API char* gettoken(int n, int bySentence, int pos, int ignored, const char* text, char* out);
XIMO_API int wordcheck(int mode, const char* s, int pos, int len);
XIMO_API int Rekkc(int type, int ignoreCase, int mode, int anchorPos, int anchorLen,
                   const char* line, const char* keyword);

/* Boyer-Moore search over one shared table. */
XIMO_API void bminitialize(const char* pattern);
XIMO_API char* bmstrstr(const char* text, const char* pattern); /* pointer into text, or NULL */
XIMO_API char* mbstrstr(const char* text, const char* sub);     /* pointer into text, or NULL */

/* Code conversion in place; the text never grows. */
XIMO_API char* euc2sjis(char* s);
XIMO_API char* jis2sjis(char* s);

/* Paths; each out must hold 260 bytes. */
XIMO_API char* GetFilename(const char* path, char* out);
XIMO_API char* GetDirectory(const char* path, char* out);
XIMO_API char* GetExtension(const char* path, char* out);
/* dirOut and patOut must hold 4096 bytes each. */
XIMO_API int parse_filename(char* dirOut, char* patOut, char* fileSpec);

/* Identity. GetLanguage's out must hold 1 byte. */
XIMO_API int VmExType(void);
XIMO_API int GetExDllVersion(void);
XIMO_API char* GetLanguage(char* out);

#ifdef __cplusplus
}
#endif

#endif /* XIMO_H */
