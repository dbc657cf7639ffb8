#include "results/extract_options.h"

#include <array>

#include "engine/keyword_matcher.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr const SettingKey& kBoth = settingKey("ExtractionOptions", "Both");
constexpr const SettingKey& kMae = settingKey("ExtractionOptions", "Mae");
constexpr const SettingKey& kAto = settingKey("ExtractionOptions", "Ato");
constexpr const SettingKey& kAlnum = settingKey("ExtractionOptions", "Alnum");
constexpr const SettingKey& kHyph = settingKey("ExtractionOptions", "Hyph");
constexpr const SettingKey& kApo = settingKey("ExtractionOptions", "Apo");
constexpr const SettingKey& kReMae = settingKey("ExtractionOptions", "reMae");
constexpr const SettingKey& kBummatsu = settingKey("ExtractionOptions", "Bummatsu");
constexpr const SettingKey& kSep = settingKey("ExtractionOptions", "Sep");
constexpr const SettingKey& kSepMatched = settingKey("ExtractionOptions", "SepMatched");
constexpr const SettingKey& kIgnoreCase = settingKey("ExtractionOptions", "IgnoreCase");
constexpr const SettingKey& kAndSearch = settingKey("ExtractionOptions", "AndSearch");
constexpr const SettingKey& kNotSearch = settingKey("ExtractionOptions", "NotSearch");

/// The position keys, n = -5 first.
constexpr std::array<const SettingKey*, 11> kPositionKeys = {
    &settingKey("PositionedRekkc", "prev5"), &settingKey("PositionedRekkc", "prev4"),
    &settingKey("PositionedRekkc", "prev3"), &settingKey("PositionedRekkc", "prev2"),
    &settingKey("PositionedRekkc", "prev1"), &settingKey("PositionedRekkc", "kw1pos"),
    &settingKey("PositionedRekkc", "pos1"),  &settingKey("PositionedRekkc", "pos2"),
    &settingKey("PositionedRekkc", "pos3"),  &settingKey("PositionedRekkc", "pos4"),
    &settingKey("PositionedRekkc", "pos5"),
};

bool isOn(Profile& profile, const SettingKey& key) { return readInt(profile, key) == 1; }

void writeFlag(Profile& profile, const SettingKey& key, bool on) {
    writeInt(profile, key, on ? 1 : 0);
}

}  // namespace

int ExtractionOptions::boundaryMode() const { return asKeyword2Options().boundaryMode2(); }

int ExtractionOptions::rangeType() const { return rangeTestType(reMae, bummatsu, notSearch); }

SearchOptions ExtractionOptions::asKeyword2Options() const {
    SearchOptions options;
    options.kw2Both = both;
    options.kw2Mae = mae;
    options.kw2Ato = ato;
    options.kw2Apo = apo;
    options.kw2Hyph = hyph;
    options.ignoreCase = ignoreCase;
    options.andSearch = !notSearch;
    options.notSearch = notSearch;
    options.method = notSearch ? 1 : 0;
    options.bummatsu = bummatsu;
    return options;
}

ExtractionOptions readExtractionOptions(Profile& profile) {
    ExtractionOptions o;
    o.both = isOn(profile, kBoth);
    o.mae = isOn(profile, kMae);
    o.ato = isOn(profile, kAto);
    o.alnum = isOn(profile, kAlnum);
    o.hyph = isOn(profile, kHyph);
    o.apo = isOn(profile, kApo);
    o.reMae = isOn(profile, kReMae);
    o.bummatsu = isOn(profile, kBummatsu);
    o.sep = isOn(profile, kSep);
    o.sepMatched = isOn(profile, kSepMatched);
    o.ignoreCase = isOn(profile, kIgnoreCase);
    o.andSearch = isOn(profile, kAndSearch);
    o.notSearch = isOn(profile, kNotSearch);

    // The delimiter rules mean something only with a side to apply them to.
    if (!o.both && !o.mae && !o.ato) {
        o.alnum = false;
        o.hyph = false;
        o.apo = false;
    } else {
        o.alnum = true;
    }
    // Radio pairs: one of each must be on, whatever a hand-edited file says.
    if (o.andSearch == o.notSearch) {
        o.andSearch = true;
        o.notSearch = false;
    }
    if (o.sep == o.sepMatched) {
        o.sep = true;
        o.sepMatched = false;
    }
    return o;
}

void writeSharedExtractionOptions(Profile& profile, const ExtractionOptions& o) {
    writeFlag(profile, kBoth, o.both);
    writeFlag(profile, kMae, o.mae);
    writeFlag(profile, kAto, o.ato);
    writeFlag(profile, kAlnum, o.alnum);
    writeFlag(profile, kHyph, o.hyph);
    writeFlag(profile, kApo, o.apo);
    writeFlag(profile, kBummatsu, o.bummatsu);
    writeFlag(profile, kSep, o.sep);
    writeFlag(profile, kSepMatched, o.sepMatched);
    writeFlag(profile, kIgnoreCase, o.ignoreCase);
    writeFlag(profile, kAndSearch, o.andSearch);
    writeFlag(profile, kNotSearch, o.notSearch);
}

void writeRangeExtractionOptions(Profile& profile, const ExtractionOptions& o) {
    writeSharedExtractionOptions(profile, o);
    writeFlag(profile, kReMae, o.reMae);
}

WordPositions readExtractionPositions(Profile& profile) {
    WordPositions positions;
    for (std::size_t i = 0; i < kPositionKeys.size(); ++i)
        positions.ticked[i] = isOn(profile, *kPositionKeys[i]);
    return positions;
}

void writeExtractionPositions(Profile& profile, const WordPositions& positions) {
    for (std::size_t i = 0; i < kPositionKeys.size(); ++i)
        writeFlag(profile, *kPositionKeys[i], positions.ticked[i]);
}

}  // namespace vellmora
