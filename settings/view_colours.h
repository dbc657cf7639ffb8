#pragma once

#include <cstdint>

namespace vellmora {

class Profile;

/// A colour as the settings file stores it: red + 256 * green + 65536 * blue. Bits above the
/// 24 of the colour (a hand-edited or negative value) are ignored.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    static Rgb fromValue(int value);
    int value() const { return red + 256 * green + 65536 * blue; }
    bool operator==(const Rgb&) const = default;
};

/// The four colours of the result view, from section "Color". The highlight pair defaults to
/// the inverse of the normal pair as just read, so highlighted text stays readable whatever
/// the user chose.
struct ViewColours {
    Rgb text;
    Rgb background;
    Rgb highlightText;
    Rgb highlightBackground;
};

/// Reads the four colours; the view does this on every paint, so a hand edit shows at once.
ViewColours readViewColours(Profile& profile);

/// The colour commands: write the chosen colour and flush. False when the file could not be
/// written.
bool writeTextColour(Profile& profile, Rgb colour);
bool writeBackgroundColour(Profile& profile, Rgb colour);

}  // namespace vellmora
