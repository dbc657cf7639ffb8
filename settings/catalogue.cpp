#include "settings/catalogue.h"

#include <climits>

#include "settings/profile.h"

namespace vellmora {

int parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > kLimit) value = kLimit;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    return static_cast<int>(value);
}

int readInt(Profile& profile, const SettingKey& key) {
    return profile.readInt(key.section, key.key, parseDecimal(key.defaultValue));
}

std::string readString(Profile& profile, const SettingKey& key) {
    return profile.readString(key.section, key.key, key.defaultValue);
}

int readStringAsInt(Profile& profile, const SettingKey& key) {
    return parseDecimal(readString(profile, key));
}

void writeInt(Profile& profile, const SettingKey& key, int value) {
    profile.writeInt(key.section, key.key, value);
}

void writeString(Profile& profile, const SettingKey& key, std::string_view value) {
    profile.writeString(key.section, key.key, value);
}

}  // namespace vellmora
