// A stand-in for libjre32.so whose records refuse to open after $FAKE_JRE_OPENS opens, so
// that the program's messages for an engine that loads but cannot be set up can be tested.

#include <stdlib.h>

#include <cstring>

#include "jre/jre32.h"

namespace {
int g_opens = 0;
}

extern "C" {

JRE_API int Jre2Open(JRE2* record) {
    const char* allowed = getenv("FAKE_JRE_OPENS");
    if (g_opens >= (allowed != nullptr ? atoi(allowed) : 0)) return 0;
    ++g_opens;
    record->engine0 = 1;
    return 1;
}

JRE_API int Jre2Compile(JRE2* record, const char* pattern) {
    if (record->engine0 != 1 || pattern == nullptr) return 0;
    std::strncpy(reinterpret_cast<char*>(record->engine2), pattern, sizeof record->engine2 - 1);
    return 1;
}

JRE_API int Jre2GetMatchInfo(JRE2* record, const char* text) {
    const char* pattern = reinterpret_cast<const char*>(record->engine2);
    if (record->engine0 != 1 || record->start > std::strlen(text)) return 0;
    const char* hit = std::strstr(text + record->start, pattern);
    if (hit == nullptr) return 0;
    record->position = static_cast<uint32_t>(hit - text);
    record->length = static_cast<uint32_t>(std::strlen(pattern));
    return 1;
}

JRE_API void Jre2Close(JRE2* record) { record->engine0 = 0; }

JRE_API unsigned int JreGetVersion(void) { return 0x100; }

}  // extern "C"
