#include "app/startup.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/regex_binding.h"
#include "settings/ascii_case.h"
#include "settings/catalogue.h"
#include "settings/excluded_types.h"
#include "settings/profile.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

constexpr std::string_view kDefaultMessage = "Be relevant.";
constexpr std::size_t kMessageLineLimit = 255;

bool isFormattedFileName(std::string_view name) {
    std::string_view extension = fileExtension(name);
    return equalsIgnoringAsciiCase(extension, "vm2") || equalsIgnoringAsciiCase(extension, "vm1");
}

void writeOption(Profile& profile, std::string_view key, int value) {
    profile.writeInt("Options", key, value);
}

/// The separator and tag keys of the switches F, F1, F2, T and T1.
void writeSeparatorKeys(Profile& profile, int separator, int sepMatched, int noSeparator,
                        int tagAsIs, int tagFName) {
    writeOption(profile, "Separator", separator);
    writeOption(profile, "SepMatched", sepMatched);
    writeOption(profile, "NoSeparator", noSeparator);
    writeOption(profile, "TagAsIs", tagAsIs);
    writeOption(profile, "TagFName", tagFName);
}

/// "1.05" for 105: the version printed in three digits with a full stop after the first.
std::string formatLibraryVersion(int version) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%03d", version);
    std::string text(digits);
    text.insert(1, ".");
    return text;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (argument.starts_with("-") && !std::filesystem::exists(argument, error)) {
            line.switchTokens.push_back(argument);
        } else if (argument.starts_with("@") && argument.size() > 1) {
            const std::string path = argument.substr(1);
            const std::size_t slash = path.rfind('/');
            line.locationDirectory = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
            line.locationPattern = slash == std::string::npos ? path : path.substr(slash + 1);
        } else if (!line.formattedFile && isFormattedFileName(argument)) {
            line.formattedFile = argument;
        }
    }
    return line;
}

void applySwitchToken(std::string_view token, Profile& profile) {
    for (std::size_t i = 1; i < token.size(); ++i) {
        const char letter = static_cast<char>(ximo::toUpper(static_cast<unsigned char>(token[i])));
        const char next = i + 1 < token.size() ? token[i + 1] : '\0';
        const bool off = next == '-';
        const int digit = next >= '0' && next <= '9' ? next - '0' : 0;
        if (off || (next >= '0' && next <= '9')) ++i;
        switch (letter) {
        case 'B':
            writeOption(profile, "Beep", off ? 0 : 1);
            break;
        case 'D':
            writeOption(profile, "CRLF", off ? 0 : 1);
            break;
        case 'I':
            writeOption(profile, "IgnoreCase", off ? 0 : 1);
            break;
        case 'F':
            if (digit == 1) writeSeparatorKeys(profile, 1, 1, 0, 0, 0);
            else if (digit == 2) writeSeparatorKeys(profile, 0, 0, 1, 0, 0);
            else writeSeparatorKeys(profile, 1, 0, 0, 0, 0);
            break;
        case 'T':
            if (digit == 1) writeSeparatorKeys(profile, 0, 0, 0, 0, 1);
            else writeSeparatorKeys(profile, 0, 0, 0, 1, 0);
            break;
        default:
            break;
        }
    }
    profile.flush();
}

std::vector<std::string> readMessageList(const std::optional<std::string>& path) {
    std::vector<std::string> messages;
    if (path) {
        if (std::FILE* file = std::fopen(path->c_str(), "rb")) {
            std::string line;
            for (int c; (c = std::fgetc(file)) != EOF || !line.empty();) {
                if (c != EOF && c != '\n') {
                    line.push_back(static_cast<char>(c));
                    continue;
                }
                if (!line.empty() && line.back() == '\r') line.pop_back();
                if (line.size() > kMessageLineLimit) line.resize(kMessageLineLimit);
                if (!line.empty() && line.front() != ';') messages.push_back(line);
                line.clear();
                if (c == EOF) break;
            }
            std::fclose(file);
        }
    }
    if (messages.empty()) messages.emplace_back(kDefaultMessage);
    return messages;
}

int removeEmptyWordLists(const std::string& wordListDirectory) {
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(wordListDirectory, error)) {
        std::error_code entryError;
        if (entry.is_regular_file(entryError) && entry.file_size(entryError) == 0 && !entryError &&
            std::filesystem::remove(entry.path(), entryError))
            ++removed;
    }
    return removed;
}

std::vector<std::string> aboutLines() {
    std::vector<std::string> lines;
    char language[256] = {};
    GetLanguage(language);
    if (VmExType() == 1) {
        lines.emplace_back("Language: Japanese");
    } else if (language[0] != '\0') {
        lines.push_back(std::string("Language: ") + language);
    } else {
        lines.emplace_back("Language: English");
    }
    lines.push_back("XIMO.DLL: ver. " + formatLibraryVersion(GetExDllVersion()));
    RegexBinding engine;
    engine.initialise();
    if (engine.version() != 0)
        lines.push_back("JRE32.DLL: ver. " + formatJreVersion(engine.version()));
    return lines;
}

std::optional<WindowPlacement> WindowPlacement::read(Profile& profile) {
    if (readInt(profile, settingKey("WindowSize", "Save")) != 1) return std::nullopt;
    auto get = [&](std::string_view key, int fallback) {
        return profile.readInt("WindowSize", key, fallback);
    };
    WindowPlacement p;
    p.flags = get("Flags", 1);
    p.showCmd = get("showCmd", 1);
    p.minX = get("MinPosX", 0);
    p.minY = get("MinPosY", 0);
    p.maxX = get("MaxPosX", 0);
    p.maxY = get("MaxPosY", 0);
    p.left = get("NormPosL", 0);
    p.top = get("NormPosT", 0);
    p.right = get("NormPosR", 500);
    p.bottom = get("NormPosB", 350);
    if (p.right <= p.left || p.bottom <= p.top) {
        const WindowPlacement fallback;
        p.left = fallback.left, p.top = fallback.top;
        p.right = fallback.right, p.bottom = fallback.bottom;
    }
    return p;
}

void WindowPlacement::write(Profile& profile) const {
    if (readInt(profile, settingKey("WindowSize", "Save")) != 1) return;
    const std::pair<std::string_view, int> values[] = {
        {"Flags", flags},     {"showCmd", showCmd}, {"MinPosX", minX},   {"MinPosY", minY},
        {"MaxPosX", maxX},    {"MaxPosY", maxY},    {"NormPosL", left},  {"NormPosT", top},
        {"NormPosR", right},  {"NormPosB", bottom}};
    for (const auto& [key, value] : values) profile.writeInt("WindowSize", key, value);
    profile.flush();
}

NoSupportOptionsModel::NoSupportOptionsModel(Profile& profile) : m_profile(profile) {}

void NoSupportOptionsModel::open() {
    secondToolbar = readInt(m_profile, settingKey("Display", "ToolBar2")) == 1;
    hateToolbar = readInt(m_profile, settingKey("Display", "ToolBar1")) == 0;
    hateStatusbar = readInt(m_profile, settingKey("Display", "StatusBar")) == 0;
    saveWindowSize = readInt(m_profile, settingKey("WindowSize", "Save")) == 1;
    ntMode = readInt(m_profile, settingKey("WindowSize", "32bitGDI")) == 1;
}

void NoSupportOptionsModel::ok() {
    writeInt(m_profile, settingKey("Display", "ToolBar2"), secondToolbar ? 1 : 0);
    writeInt(m_profile, settingKey("Display", "ToolBar1"), hateToolbar ? 0 : 1);
    writeInt(m_profile, settingKey("Display", "StatusBar"), hateStatusbar ? 0 : 1);
    writeInt(m_profile, settingKey("WindowSize", "Save"), saveWindowSize ? 1 : 0);
    writeInt(m_profile, settingKey("WindowSize", "32bitGDI"), ntMode ? 1 : 0);
    m_profile.flush();
}

}  // namespace vellmora
