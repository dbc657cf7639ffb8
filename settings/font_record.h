#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vellmora {

class Profile;

/// The result view's font as the settings file keeps it ("Disp"/"Font"): the numeric fields of
/// a logical-font record and the text colour chosen with the font. Reading accepts anything the
/// file may hold; every field ends up in a range a font can be built from.
struct FontRecord {
    int height = -13;  ///< negative: character height in pixels; positive: cell height
    int width = 0;     ///< average character width, 0 for the face's own
    int escapement = 0;
    int orientation = 0;
    int weight = 400;  ///< 0 to 1000; 0 means normal
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strikeOut = 0;
    std::uint8_t charSet = 128;  ///< 128: Shift-JIS
    std::uint8_t outPrecision = 1;
    std::uint8_t clipPrecision = 2;
    std::uint8_t quality = 1;
    std::uint8_t pitchAndFamily = 1;  ///< low two bits 1: fixed pitch
    int textColour = 0;               ///< red + 256 * green + 65536 * blue

    bool operator==(const FontRecord&) const = default;
};

/// The stored default: a 13-pixel normal-weight fixed-pitch Shift-JIS font.
inline constexpr std::string_view kDefaultFontRecordText = "-13 0 0 0 400 0 0 0 128 1 2 1 1 0 0 0";
inline constexpr std::string_view kDefaultFontFace = "FixedSys";

/// Largest character height the view accepts, in pixels; taller values are cut to it.
inline constexpr int kMaxFontHeight = 400;

/// Reads the sixteen blank-separated decimal fields. Reading stops at the first field that
/// does not begin with a number (fields not read keep the default's values); fields 6 to 13
/// keep their low byte, as the record stores bytes; sizes are limited to kMaxFontHeight,
/// the weight to 0 to 1000, the colour to 24 bits; fields 15 and 16 are ignored.
FontRecord parseFontRecord(std::string_view text);

/// The record as stored: sixteen decimal integers separated by single blanks.
std::string formatFontRecord(const FontRecord& record);

/// The font of the settings: the record from "Disp"/"Font" and the face from "Disp"/"FontFace".
struct FontSetting {
    FontRecord record;
    std::string face{kDefaultFontFace};
};

FontSetting readFontSetting(Profile& profile);

/// Writes the record and the face to "Disp" and the record's colour to "Color"/"TxtColor",
/// then flushes the file. False when the file could not be written.
bool writeFontSetting(Profile& profile, const FontSetting& setting);

}  // namespace vellmora
