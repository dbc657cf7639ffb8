#include "settings/font_record.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <vector>

#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr int kFields = 16;
constexpr int kMaxWeight = 1000;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// The number a field begins with, clamped to int; nullopt when it begins with no digit.
std::optional<int> leadingNumber(std::string_view field) {
    std::size_t i = 0;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    if (i >= field.size() || field[i] < '0' || field[i] > '9') return std::nullopt;
    long long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = std::min<long long>(value * 10 + (field[i] - '0'), 1LL + INT_MAX);
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::uint8_t lowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

FontRecord parseFontRecord(std::string_view text) {
    std::vector<int> values;
    std::size_t i = 0;
    while (values.size() < kFields) {
        while (i < text.size() && isBlank(text[i])) ++i;
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i])) ++i;
        const std::optional<int> value = leadingNumber(text.substr(start, i - start));
        if (!value) break;
        values.push_back(*value);
    }

    FontRecord record;
    auto field = [&values](std::size_t n, int fallback) {
        return n <= values.size() ? values[n - 1] : fallback;
    };
    record.height = std::clamp(field(1, record.height), -kMaxFontHeight, kMaxFontHeight);
    record.width = std::clamp(field(2, record.width), -kMaxFontHeight, kMaxFontHeight);
    record.escapement = field(3, record.escapement);
    record.orientation = field(4, record.orientation);
    record.weight = std::clamp(field(5, record.weight), 0, kMaxWeight);
    record.italic = lowByte(field(6, record.italic));
    record.underline = lowByte(field(7, record.underline));
    record.strikeOut = lowByte(field(8, record.strikeOut));
    record.charSet = lowByte(field(9, record.charSet));
    record.outPrecision = lowByte(field(10, record.outPrecision));
    record.clipPrecision = lowByte(field(11, record.clipPrecision));
    record.quality = lowByte(field(12, record.quality));
    record.pitchAndFamily = lowByte(field(13, record.pitchAndFamily));
    record.textColour = field(14, record.textColour) & 0xFFFFFF;
    return record;
}

std::string formatFontRecord(const FontRecord& record) {
    std::string text;
    for (int value :
         {record.height, record.width, record.escapement, record.orientation, record.weight,
          int{record.italic}, int{record.underline}, int{record.strikeOut}, int{record.charSet},
          int{record.outPrecision}, int{record.clipPrecision}, int{record.quality},
          int{record.pitchAndFamily}, record.textColour, 0, 0}) {
        if (!text.empty()) text += ' ';
        text += std::to_string(value);
    }
    return text;
}

FontSetting readFontSetting(Profile& profile) {
    FontSetting setting;
    setting.record = parseFontRecord(readString(profile, settingKey("Disp", "Font")));
    setting.face = readString(profile, settingKey("Disp", "FontFace"));
    return setting;
}

bool writeFontSetting(Profile& profile, const FontSetting& setting) {
    writeString(profile, settingKey("Disp", "Font"), formatFontRecord(setting.record));
    writeString(profile, settingKey("Disp", "FontFace"), setting.face);
    writeInt(profile, settingKey("Color", "TxtColor"), setting.record.textColour);
    return profile.flush();
}

}  // namespace vellmora
