// Every function of the text library's C API over any bytes, each given buffers of exactly the
// size its contract asks for, so that a byte written or read past one shows at once. Where two
// functions promise related answers (a search and its byte-wise twin, a path and its parts,
// a comparison and its mirror), the answers are checked against each other.
//
// Input: up to six integers separated by blanks (the counts, positions and modes the calls
// take), the separator line, a text, the separator line, a second text (keyword, pattern,
// delimiters).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/fuzz_support.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace {

using vellmora::fuzz::check;

/// A terminated copy of text in a heap block of exactly its size, or of size bytes.
class Buffer {
public:
    explicit Buffer(std::string_view text) : m_bytes(text.begin(), text.end()) {
        m_bytes.push_back('\0');
    }
    explicit Buffer(std::size_t size) : m_bytes(size, '\x7f') {}
    char* data() { return m_bytes.data(); }
    std::size_t size() const { return m_bytes.size(); }
    std::string text() const { return std::string(m_bytes.data()); }

private:
    std::vector<char> m_bytes;
};

int sign(int value) { return (value > 0) - (value < 0); }

bool within(const char* p, const char* s) { return p >= s && p <= s + std::strlen(s); }

void characterModel(const std::string& a, int n, int pos) {
    // The position tests walk the text from its start, so the whole range is tried on a
    // prefix only.
    const int length = static_cast<int>(std::min<std::size_t>(a.size(), 96));
    for (int i = 0; i <= length; ++i) {
        if (is_nth_kanji(i, a.c_str()) == 0 && ximo::isTrailByte(a[i + 1]))
            check(is_nth_kanji2(i + 1, a.c_str()) == 0,
                  "a double-byte character has its second byte");
        const int type = zdm_nthctype(i, a.c_str());
        check(type >= 0 && type <= 11, "a character type is 0 to 11");
    }
    is_nth_kanji(n, a.c_str());
    is_nth_kanji2(n, a.c_str());
    zdm_nthctype(pos, a.c_str());
}

void caseAndReversal(const std::string& a) {
    Buffer upper(a), lower(a), converted(a), reversed(a);
    check(mbstrupr(upper.data()) == upper.data() && upper.text().size() == a.size(),
          "mbstrupr keeps the length");
    check(mbstrlwr(lower.data()) == lower.data() && lower.text().size() == a.size(),
          "mbstrlwr keeps the length");
    mbstrlwr(upper.data());
    check(upper.text() == lower.text(), "lower-casing after upper-casing is lower-casing");
    check(mbstrconv(converted.data()) == converted.data(), "mbstrconv returns its text");
    mbstrrev(reversed.data());
    check(mbstrrev(reversed.data()) == reversed.data() && reversed.text() == a,
          "reversing twice gives the text back");
}

void spaces(const std::string& a) {
    Buffer leading(a.size() + 1), runs(a.size() + 1);
    check(mbdelspace1(leading.data(), a.c_str()) == leading.data(), "mbdelspace1 returns out");
    const std::string kept = leading.text();
    check(kept.size() <= a.size() && a.compare(a.size() - kept.size(), kept.size(), kept) == 0,
          "mbdelspace1 leaves the text's tail");
    check(mbdelspace3(runs.data(), a.c_str()) == runs.data(), "mbdelspace3 returns out");
    const std::string squeezed = runs.text();
    check(squeezed.size() <= a.size(), "mbdelspace3 never lengthens");
    for (std::size_t i = 1; i < squeezed.size(); ++i) {
        check(!(ximo::isSpace(squeezed[i - 1]) && ximo::isSpace(squeezed[i])),
              "mbdelspace3 leaves no two blanks together");
    }
}

void comparisons(const std::string& a, const std::string& b, int n) {
    check(mbstrcmp(a.c_str(), a.c_str()) == 0 && mbstricmp(a.c_str(), a.c_str()) == 0,
          "a text equals itself");
    check(sign(mbstrcmp(a.c_str(), b.c_str())) == -sign(mbstrcmp(b.c_str(), a.c_str())),
          "mbstrcmp is antisymmetric");
    check(sign(mbstricmp(a.c_str(), b.c_str())) == -sign(mbstricmp(b.c_str(), a.c_str())),
          "mbstricmp is antisymmetric");
    check(sign(mbstrncmp(a.c_str(), b.c_str(), n)) == -sign(mbstrncmp(b.c_str(), a.c_str(), n)),
          "mbstrncmp is antisymmetric");
    check(sign(mbstrnicmp(a.c_str(), b.c_str(), n)) == -sign(mbstrnicmp(b.c_str(), a.c_str(), n)),
          "mbstrnicmp is antisymmetric");
    const int all = static_cast<int>(std::max(a.size(), b.size()) + 1);
    check(sign(mbstrncmp(a.c_str(), b.c_str(), all)) == mbstrcmp(a.c_str(), b.c_str()),
          "mbstrncmp over the whole texts is mbstrcmp");
    check(sign(mbstrnicmp(a.c_str(), b.c_str(), all)) == sign(mbstricmp(a.c_str(), b.c_str())),
          "mbstrnicmp over the whole texts is mbstricmp");
}

void tokens(const std::string& a, const std::string& delimiters) {
    Buffer text(a);
    const char* end = text.data() + a.size();
    std::size_t count = 0;
    for (char* token = mbstrtok(text.data(), delimiters.c_str()); token != nullptr;
         token = mbstrtok(nullptr, delimiters.c_str())) {
        check(token >= text.data() && token <= end && ++count <= a.size() + 1,
              "mbstrtok stays in its text");
    }
    // An empty text would make strword go on with the scan of an earlier text, as it is
    // meant to: every caller keeps empty lines away from it.
    if (a.empty()) return;
    Buffer words(a);
    end = words.data() + a.size();
    count = 0;
    for (char* word = strword(words.data()); word != nullptr; word = strword(nullptr)) {
        check(word >= words.data() && word <= end && ++count <= a.size() + 1,
              "strword stays in its text");
    }
}

void wordTests(const std::string& a, const std::string& b, const std::vector<int>& v) {
    for (int mode : {0, 1, 2})
        check(within(getSF(mode, a.c_str()), a.c_str()), "getSF points into its text");
    Buffer out(1000);
    check(gettoken(v[0], v[4] & 1, v[1], 0, a.c_str(), out.data()) == out.data(),
          "gettoken returns out");
    check(std::strlen(out.data()) <= std::min<std::size_t>(a.size(), 999),
          "a token is part of its text");
    const int checked = wordcheck(v[3], a.c_str(), v[1], v[2]);
    check(checked == 0 || checked == 1, "wordcheck answers 0 or 1");
    for (int type : {v[4], 1, 2, 11, 12, 0, -1, -9, -10}) {
        const int found = Rekkc(type, v[5] & 1, v[3], v[1], v[2], a.c_str(), b.c_str());
        check(found == 0 || found == 1, "Rekkc answers 0 or 1");
    }
}

void searches(const std::string& a, const std::string& b) {
    bminitialize(b.c_str());
    const char* byTable = bmstrstr(a.c_str(), b.c_str());
    const char* plain = b.empty() ? nullptr : std::strstr(a.c_str(), b.c_str());
    check(byTable == plain, "bmstrstr finds the first occurrence");
    // The character walk ends before a lead byte that has lost its second byte; texts from
    // the input hold no NUL, so a character-wise match is a byte-wise one too.
    std::size_t walked = 0;
    while (std::size_t step = ximo::charLength(b.c_str(), walked)) walked += step;
    const std::string sub = b.substr(0, walked);
    const char* whole = mbstrstr(a.c_str(), b.c_str());
    if (sub.empty()) {
        check(whole == a.c_str(), "mbstrstr finds an empty text at the start");
    } else if (std::strstr(a.c_str(), sub.c_str()) == nullptr) {
        check(whole == nullptr, "mbstrstr finds no more than strstr");
    }
    if (whole != nullptr) {
        check(within(whole, a.c_str()) && std::strncmp(whole, sub.c_str(), sub.size()) == 0,
              "mbstrstr points at an occurrence");
    }
}

void conversions(const std::string& a) {
    Buffer euc(a), jis(a);
    check(euc2sjis(euc.data()) == euc.data() && euc.text().size() <= a.size(),
          "euc2sjis never lengthens");
    check(jis2sjis(jis.data()) == jis.data() && jis.text().size() <= a.size(),
          "jis2sjis never lengthens");
}

void paths(const std::string& a) {
    Buffer name(260), directory(260), extension(260);
    check(GetFilename(a.c_str(), name.data()) == name.data(), "GetFilename returns out");
    check(GetDirectory(a.c_str(), directory.data()) == directory.data(),
          "GetDirectory returns out");
    const std::string joined = directory.text() + name.text();
    check(joined.size() <= 259 && a.compare(0, joined.size(), joined) == 0,
          "directory and name make up the path");
    extension.data()[0] = '\0';
    check(GetExtension(a.c_str(), extension.data()) == extension.data(),
          "GetExtension returns out");
    const std::string ext = extension.text();
    check(ext.size() <= name.text().size(), "an extension is part of the name");

    Buffer spec(a), dirOut(4096), patOut(4096);
    dirOut.data()[0] = patOut.data()[0] = '\0';
    const int missing = parse_filename(dirOut.data(), patOut.data(), spec.data());
    check(missing == 0 || missing == 1, "parse_filename answers 0 or 1");
    check(std::strlen(dirOut.data()) < 4096 && std::strlen(patOut.data()) < 4096,
          "parse_filename keeps within its outputs");
}

void identity() {
    Buffer language(1);
    check(GetLanguage(language.data()) == language.data() && language.data()[0] == '\0',
          "GetLanguage writes an empty text");
    VmExType();
    GetExDllVersion();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    const std::vector<std::string_view> parts = fuzz::splitParts(data, size, 3);
    std::vector<int> v(6, 0);
    std::istringstream numbers{std::string(parts[0])};
    for (int& value : v) {
        long long read = 0;
        if (!(numbers >> read)) break;
        value = static_cast<int>(read);
    }
    const std::string a(fuzz::terminatedPart(parts.size() > 1 ? parts[1] : std::string_view()));
    const std::string b(fuzz::terminatedPart(parts.size() > 2 ? parts[2] : std::string_view()));

    characterModel(a, v[0], v[1]);
    caseAndReversal(a);
    spaces(a);
    comparisons(a, b, v[0]);
    tokens(a, b);
    wordTests(a, b, v);
    searches(a, b);
    conversions(a);
    paths(a);
    identity();
    return 0;
}
