/* The engine's C API compiled as C: open, compile, match and close one record. */

#include <stdio.h>
#include <string.h>

#include "jre/jre32.h"

static int failures = 0;

#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                        \
        }                                                                      \
    } while (0)

int main(void) {
    JRE2 record;
    char message[512];
    memset(&record, 0, sizeof record);
    record.size = JRE2_RECORD_SIZE;

    CHECK(Jre2Open(&record) != 0);
    CHECK(Jre2Compile(&record, "b+") != 0);
    record.start = 0;
    CHECK(Jre2GetMatchInfo(&record, "abbc") != 0);
    CHECK(record.position == 1 && record.length == 2);
    CHECK(Jre2Compile(&record, "(") == 0 && record.error < 0);
    CHECK(GetJreMessage(record.error, 0, message, (int)sizeof message) > 0);
    Jre2Close(&record);
    CHECK((JreGetVersion() & 0xF00) != 0);
    return failures == 0 ? 0 : 1;
}
