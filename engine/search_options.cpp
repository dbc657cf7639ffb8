#include "engine/search_options.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <thread>

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

bool isOn(Profile& profile, const SettingKey& key) { return readInt(profile, key) == 1; }

/// 1 both sides, 2 before, 3 after (a later switch overrides an earlier one), then +10 for
/// the apostrophe rule and +20 for the hyphen rule.
int boundaryMode(bool both, bool before, bool after, bool apostrophe, bool hyphen) {
    int mode = 0;
    if (both) mode = 1;
    if (before) mode = 2;
    if (after) mode = 3;
    if (apostrophe) mode += 10;
    if (hyphen) mode += 20;
    return mode;
}

}  // namespace

int SearchOptions::boundaryMode1() const {
    return boundaryMode(kw1Both, kw1Mae, kw1Ato, kw1Apo, kw1Hyph);
}

int SearchOptions::boundaryMode2() const {
    return boundaryMode(kw2Both, kw2Mae, kw2Ato, kw2Apo, kw2Hyph);
}

SearchOptions readSearchOptions(Profile& profile) {
    SearchOptions o;
    o.maxLine = readInt(profile, settingKey("Options", "MaxLine", "search"));
    o.oneLine = isOn(profile, settingKey("Options", "bOneLine"));
    o.grep = isOn(profile, settingKey("Options", "bGrep"));
    o.subdir = isOn(profile, settingKey("Options", "Subdir"));
    o.exclude = isOn(profile, settingKey("Options", "Exclude"));
    o.ignoreCase = isOn(profile, settingKey("Options", "IgnoreCase"));

    o.eucToSjis = isOn(profile, settingKey("Options", "EUCtoSJIS"));
    o.jisToSjis = isOn(profile, settingKey("Options", "JIStoSJIS"));
    o.utf8ToSjis = isOn(profile, settingKey("Options", "UTF8toSJIS"));
    o.autoCode = isOn(profile, settingKey("Options", "AutoCode"));
    o.deHtml = isOn(profile, settingKey("Options", "DeHTML"));
    o.ctrlCode = isOn(profile, settingKey("Options", "CtrlCode"));
    o.delSpace1 = isOn(profile, settingKey("Options", "DelSpace1"));
    o.delSpace3 = isOn(profile, settingKey("Options", "DelSpace3"));

    o.crlf = isOn(profile, settingKey("Options", "CRLF"));
    o.noCrlf = isOn(profile, settingKey("Options", "NoCrlf"));
    o.noLineNumber = isOn(profile, settingKey("Options", "LineNumber"));

    o.separator = isOn(profile, settingKey("Options", "Separator"));
    o.sepMatched = isOn(profile, settingKey("Options", "SepMatched"));
    o.noSeparator = isOn(profile, settingKey("Options", "NoSeparator"));
    o.tagAsIs = isOn(profile, settingKey("Options", "TagAsIs"));
    o.tagFName = isOn(profile, settingKey("Options", "TagFName"));
    o.tagForm = isOn(profile, settingKey("Options", "TagForm"));
    // The five are alternatives; with none chosen, every file gets its separator.
    if (!o.separator && !o.sepMatched && !o.noSeparator && !o.tagAsIs && !o.tagFName)
        o.separator = true;

    o.count = isOn(profile, settingKey("Options", "Count"));
    o.countMatched = isOn(profile, settingKey("Options", "CountMatched"));
    o.beepSilenced = isOn(profile, settingKey("Options", "Beep"));
    o.noDialog = isOn(profile, settingKey("Options", "NoDialog"));

    o.xsize = readStringAsInt(profile, settingKey("Options", "Xsize"));
    o.offset = readStringAsInt(profile, settingKey("Options", "Offset"));
    bool offsetLeft = isOn(profile, settingKey("Options", "OffsetLeft"));
    // A hand-edited INT_MIN has no negation; any offset that large is past every line anyway.
    if (offsetLeft) o.offset = -std::max(o.offset, -std::numeric_limits<int>::max());
    o.ignoreKeta = readStringAsInt(profile, settingKey("Options", "IgnoreKeta"));

    o.kw1Both = isOn(profile, settingKey("Options", "KW1Both"));
    o.kw1Mae = isOn(profile, settingKey("Options", "KW1Mae"));
    o.kw1Ato = isOn(profile, settingKey("Options", "KW1Ato"));
    o.kw1Apo = isOn(profile, settingKey("Options", "KW1Apo"));
    o.kw1Hyph = isOn(profile, settingKey("Options", "KW1Hyph"));
    o.kw2Both = isOn(profile, settingKey("Options", "KW2Both"));
    o.kw2Mae = isOn(profile, settingKey("Options", "KW2Mae"));
    o.kw2Ato = isOn(profile, settingKey("Options", "KW2Ato"));
    o.kw2Apo = isOn(profile, settingKey("Options", "KW2Apo"));
    o.kw2Hyph = isOn(profile, settingKey("Options", "KW2Hyph"));

    o.andSearch = isOn(profile, settingKey("Options", "AndSearch"));
    o.notSearch = isOn(profile, settingKey("Options", "NotSearch"));
    if (o.andSearch == o.notSearch) {
        o.andSearch = true;
        o.notSearch = false;
    }
    o.method = readInt(profile, settingKey("Options", "Method"));
    if (o.method < 0 || o.method > 2) o.method = 0;
    o.mae = isOn(profile, settingKey("Options", "Mae"));
    o.bummatsu = isOn(profile, settingKey("Options", "Bummatsu"));
    return o;
}

int defaultSearchJobs() {
    if (const char* jobs = std::getenv("PYXO_JOBS"); jobs != nullptr && *jobs != '\0') {
        char* end = nullptr;
        const long value = std::strtol(jobs, &end, 10);
        if (*end == '\0' && value >= 1 && value <= 64) return static_cast<int>(value);
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(std::min(cores, 64u));
}

}  // namespace vellmora
