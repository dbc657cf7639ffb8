/* Every function of ximo.h called once from C, with a known answer. */

#define _POSIX_C_SOURCE 200809L /* getcwd under strict C11 */

#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "textlib/ximo.h"

static int failures = 0;

#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

int main(void) {
    /* あ, then A. */
    const char* hiraganaA =
        "\x82\xA0"
        "A";
    CHECK(is_nth_kanji(0, hiraganaA) == 0);
    CHECK(is_nth_kanji2(1, hiraganaA) == 0);
    CHECK(zdm_nthctype(0, "\x88\x9F") == 5);

    char word[] = "ab\x82\x81";
    CHECK(mbstrupr(word) == word && strcmp(word, "AB\x82\x81") == 0);
    CHECK(mbstrlwr(word) == word && strcmp(word, "ab\x82\x81") == 0);
    CHECK(mbstrconv(word) == word && strcmp(word, "ab\x82\x81") == 0);
    char rev[] = "ab\x82\xA0";
    CHECK(mbstrrev(rev) == rev && strcmp(rev,
                                         "\xA0\x82"
                                         "ba") == 0);

    char out[16];
    CHECK(mbdelspace1(out, "\x81\x40 x y") == out && strcmp(out, "x y") == 0);
    CHECK(mbdelspace3(out, "a \t b") == out && strcmp(out, "a b") == 0);

    char list[] = "a|b|";
    CHECK(strcmp(mbstrtok(list, "|"), "a") == 0);
    CHECK(strcmp(mbstrtok(NULL, "|"), "b") == 0);
    CHECK(mbstrtok(NULL, "|") == NULL);

    CHECK(mbstrcmp("a", "z") == -1);
    CHECK(mbstricmp("ABC", "abc") == 0);
    CHECK(mbstrncmp("abc", "abd", 3) == -1);
    CHECK(mbstrnicmp("ABC", "abd", 2) == 0);

    char sentence[] = "Don't stop";
    CHECK(strcmp(strword(sentence), "Don't") == 0);
    CHECK(strcmp(strword(NULL), "stop") == 0);
    CHECK(strword(NULL) == NULL);

    const char* quoted = "Is it? \"Yes.\"";
    CHECK(getSF(0, quoted) == quoted + 5);
    char token[1000];
    CHECK(gettoken(1, 0, 4, 3, "the cat sat", token) == token && strcmp(token, "sat") == 0);
    CHECK(wordcheck(1, "cats", 0, 3) == 1);
    CHECK(Rekkc(1, 0, 1, 4, 3, "the cat sat", "sat") == 0);

    const char* text = "xxabcxx";
    bminitialize("abc");
    CHECK(bmstrstr(text, "abc") == text + 2);
    CHECK(mbstrstr(text, "cx") == text + 4);

    char euc[] = "\xA4\xA2";
    CHECK(euc2sjis(euc) == euc && strcmp(euc, "\x82\xA0") == 0);
    char jis[] = "\x1b$B\x24\x22\x1b(BA";
    CHECK(jis2sjis(jis) == jis && strcmp(jis,
                                         "\x82\xA0"
                                         "A") == 0);

    char part[260];
    CHECK(GetFilename("/dir/File.txt", part) == part && strcmp(part, "File.txt") == 0);
    CHECK(GetDirectory("/dir/File.txt", part) == part && strcmp(part, "/dir/") == 0);
    CHECK(GetExtension("/dir/File.txt", part) == part && strcmp(part, "txt") == 0);

    static char dir[4096], pattern[4096], cwd[4096];
    char empty[] = "";
    CHECK(getcwd(cwd, sizeof cwd - 1) != NULL);
    if (strcmp(cwd, "/") != 0) strcat(cwd, "/");
    CHECK(parse_filename(dir, pattern, empty) == 0);
    CHECK(strcmp(dir, cwd) == 0 && strcmp(pattern, "*.*") == 0);

    CHECK(VmExType() == 0);
    CHECK(GetExDllVersion() == 6);
    char language[1] = {'X'};
    CHECK(GetLanguage(language) == language && language[0] == '\0');

    if (failures != 0) fprintf(stderr, "%d check(s) failed\n", failures);
    return failures != 0;
}
