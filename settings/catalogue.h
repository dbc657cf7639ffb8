#pragma once

#include <string>
#include <string_view>

namespace vellmora {

class Profile;

enum class KeyType {
    Int,     ///< decimal text, written with "%d"
    String,  ///< the text after "=", read back cut to 259 bytes
    Colour,  ///< an integer: red + 256 * green + 65536 * blue
    Font,    ///< sixteen decimal integers separated by single blanks
};

/// One key of the settings file as one reader sees it. The same key can have a different
/// default at different readers; each such reader has its own entry, told apart by `reader`.
struct SettingKey {
    std::string_view section;
    std::string_view key;
    KeyType type;
    std::string_view defaultValue;  ///< as text, also for numbers
    std::string_view reader = {};   ///< empty for the common reading of the key
    bool hasDefault = true;         ///< false: only ever written, no reader supplies one
};

/// Every key of the settings file, with its type and default: the one place a reader takes
/// its default from. Families of numbered keys (history slots "Keyword1A"..."Keyword1Z",
/// corpus sets "001Title"..., launcher slots, word groups) appear once, with "*" standing
/// for the varying part.
inline constexpr SettingKey kCatalogue[] = {
    // Section "Setting": the last search entries, the clipboard, word-group choices.
    {"Setting", "Keyword1", KeyType::String, ""},
    {"Setting", "Keyword2", KeyType::String, ""},
    {"Setting", "Filename", KeyType::String, "*.*"},
    {"Setting", "Directory", KeyType::String, ""},
    {"Setting", "ResFile", KeyType::String, ""},
    {"Setting", "ResFileDir", KeyType::String, ""},
    {"Setting", "ExtractionWord", KeyType::String, ""},
    {"Setting", "KW2_Group", KeyType::Int, "0"},
    {"Setting", "KW2_Tango", KeyType::Int, "0"},
    {"Setting", "Word1", KeyType::Int, "0"},
    {"Setting", "Word2", KeyType::Int, "0"},
    {"Setting", "Group1", KeyType::Int, "0"},
    {"Setting", "Group2", KeyType::Int, "0"},
    {"Setting", "Word", KeyType::Int, "1"},
    {"Setting", "Group", KeyType::Int, "0"},
    {"Setting", "GroupName", KeyType::String, "", {}, false},
    // The range-extraction dialog fills its combo box from it, empty when it was never written.
    {"Setting", "GroupName", KeyType::String, "", "extraction"},
    {"Setting", "ClipCopySize", KeyType::Int, "1048576"},
    {"Setting", "bClipCopyAll", KeyType::Int, "0"},

    // Section "Options": search options, read into the snapshot at every search command.
    {"Options", "AndSearch", KeyType::Int, "1"},
    {"Options", "NotSearch", KeyType::Int, "0"},
    {"Options", "OrSearch", KeyType::Int, "", {}, false},
    {"Options", "Beep", KeyType::Int, "0"},
    {"Options", "Bummatsu", KeyType::Int, "0"},
    {"Options", "CRLF", KeyType::Int, "0"},
    {"Options", "NoCrlf", KeyType::Int, "0"},
    {"Options", "NoCRLF", KeyType::Int, "0"},  // the spelling the options dialog writes
    {"Options", "Count", KeyType::Int, "0"},
    {"Options", "CountMatched", KeyType::Int, "0"},
    {"Options", "CtrlCode", KeyType::Int, "0"},
    {"Options", "DeHTML", KeyType::Int, "0"},
    {"Options", "DelSpace1", KeyType::Int, "0"},
    {"Options", "DelSpace3", KeyType::Int, "0"},
    {"Options", "EUCtoSJIS", KeyType::Int, "0"},
    {"Options", "JIStoSJIS", KeyType::Int, "0"},
    {"Options", "UTF8toSJIS", KeyType::Int, "0"},
    {"Options", "AutoCode", KeyType::Int, "0"},  // each file's encoding told from its first bytes
    {"Options", "Exclude", KeyType::Int, "0"},
    {"Options", "IgnoreCase", KeyType::Int, "0"},
    {"Options", "KW1Alnum", KeyType::Int, "0"},
    {"Options", "KW1Apo", KeyType::Int, "0"},
    {"Options", "KW1Ato", KeyType::Int, "0"},
    {"Options", "KW1Both", KeyType::Int, "0"},
    {"Options", "KW1Hyph", KeyType::Int, "0"},
    {"Options", "KW1Mae", KeyType::Int, "0"},
    {"Options", "KW2Alnum", KeyType::Int, "0"},
    {"Options", "KW2Apo", KeyType::Int, "0"},
    {"Options", "KW2Ato", KeyType::Int, "0"},
    {"Options", "KW2Both", KeyType::Int, "0"},
    {"Options", "KW2Hyph", KeyType::Int, "0"},
    {"Options", "KW2Mae", KeyType::Int, "0"},
    {"Options", "LineNumber", KeyType::Int, "0"},
    {"Options", "Mae", KeyType::Int, "0"},
    {"Options", "Method", KeyType::Int, "0"},
    {"Options", "NoDialog", KeyType::Int, "0"},
    {"Options", "NoSeparator", KeyType::Int, "0"},
    {"Options", "OffsetLeft", KeyType::Int, "0"},
    {"Options", "OffsetRight", KeyType::Int, "1"},
    {"Options", "SepMatched", KeyType::Int, "0"},
    {"Options", "Separator", KeyType::Int, "1"},
    {"Options", "Subdir", KeyType::Int, "0"},
    {"Options", "TagAsIs", KeyType::Int, "0"},
    {"Options", "TagFName", KeyType::Int, "0"},
    {"Options", "TagForm", KeyType::Int, "0"},
    {"Options", "bGrep", KeyType::Int, "0"},
    {"Options", "bOneLine", KeyType::Int, "0"},
    {"Options", "WordList", KeyType::Int, "", {}, false},  // written by the extraction dialog
    {"Options", "IgnoreKeta", KeyType::String, "0"},
    {"Options", "Offset", KeyType::String, "0"},
    {"Options", "Xsize", KeyType::String, "80"},
    {"Options", "MaxLine", KeyType::String, "100000"},
    // The result-line limit the search run takes when it starts.
    {"Options", "MaxLine", KeyType::Int, "100000", "search"},

    // Section "KWOCOptions".
    {"KWOCOptions", "AndSearch", KeyType::Int, "0"},
    {"KWOCOptions", "NotSearch", KeyType::Int, "0"},
    {"KWOCOptions", "OrSearch", KeyType::Int, "0"},
    {"KWOCOptions", "KWOrder", KeyType::Int, "0"},
    {"KWOCOptions", "SepMatched", KeyType::Int, "0"},
    {"KWOCOptions", "ContextMae", KeyType::String, "0"},  // 0 to 5 lines
    {"KWOCOptions", "ContextAto", KeyType::String, "0"},  // 0 to 5 lines

    // Section "PositionedKwic": the word positions of the positioned KWIC search.
    {"PositionedKwic", "prev1", KeyType::Int, "0"},
    {"PositionedKwic", "prev2", KeyType::Int, "0"},
    {"PositionedKwic", "prev3", KeyType::Int, "0"},
    {"PositionedKwic", "prev4", KeyType::Int, "0"},
    {"PositionedKwic", "prev5", KeyType::Int, "0"},
    {"PositionedKwic", "kw1pos", KeyType::Int, "0"},
    {"PositionedKwic", "pos1", KeyType::Int, "0"},
    {"PositionedKwic", "pos2", KeyType::Int, "0"},
    {"PositionedKwic", "pos3", KeyType::Int, "0"},
    {"PositionedKwic", "pos4", KeyType::Int, "0"},
    {"PositionedKwic", "pos5", KeyType::Int, "0"},
    // The dialog's "Recognize Sentence Final" box, kept here so that it reaches the run.
    {"PositionedKwic", "Bummatsu", KeyType::Int, "0"},

    // Section "PositionedRekkc": the word positions of the extraction by position.
    {"PositionedRekkc", "prev1", KeyType::Int, "0"},
    {"PositionedRekkc", "prev2", KeyType::Int, "0"},
    {"PositionedRekkc", "prev3", KeyType::Int, "0"},
    {"PositionedRekkc", "prev4", KeyType::Int, "0"},
    {"PositionedRekkc", "prev5", KeyType::Int, "0"},
    {"PositionedRekkc", "kw1pos", KeyType::Int, "0"},
    {"PositionedRekkc", "pos1", KeyType::Int, "0"},
    {"PositionedRekkc", "pos2", KeyType::Int, "0"},
    {"PositionedRekkc", "pos3", KeyType::Int, "0"},
    {"PositionedRekkc", "pos4", KeyType::Int, "0"},
    {"PositionedRekkc", "pos5", KeyType::Int, "0"},
    {"PositionedRekkc", "bRegExp", KeyType::Int, "0"},

    // Sections "ExtractionOptions" and "ExtractionOption" (singular): the extraction dialogs.
    {"ExtractionOptions", "AndSearch", KeyType::Int, "1"},
    {"ExtractionOptions", "Alnum", KeyType::Int, "0"},
    {"ExtractionOptions", "Apo", KeyType::Int, "0"},
    {"ExtractionOptions", "Ato", KeyType::Int, "0"},
    {"ExtractionOptions", "Both", KeyType::Int, "0"},
    {"ExtractionOptions", "Bummatsu", KeyType::Int, "0"},
    {"ExtractionOptions", "Hyph", KeyType::Int, "0"},
    {"ExtractionOptions", "IgnoreCase", KeyType::Int, "0"},
    {"ExtractionOptions", "Mae", KeyType::Int, "0"},
    {"ExtractionOptions", "NotSearch", KeyType::Int, "0"},
    {"ExtractionOptions", "Sep", KeyType::Int, "0"},
    {"ExtractionOptions", "SepMatched", KeyType::Int, "0"},
    {"ExtractionOptions", "bRegExp", KeyType::Int, "0"},
    {"ExtractionOptions", "reMae", KeyType::Int, "0"},
    {"ExtractionOption", "Word", KeyType::Int, "1"},
    {"ExtractionOption", "Group", KeyType::Int, "0"},

    // Section "Sort".
    {"Sort", "Mode", KeyType::Int, "1"},
    {"Sort", "Mode2", KeyType::Int, "-6"},
    {"Sort", "Mode3", KeyType::Int, "-6"},
    {"Sort", "Order1", KeyType::Int, "0"},
    {"Sort", "Order2", KeyType::Int, "0"},
    {"Sort", "Order3", KeyType::Int, "0"},
    {"Sort", "Tail1", KeyType::Int, "0"},
    {"Sort", "Tail2", KeyType::Int, "0"},
    {"Sort", "Tail3", KeyType::Int, "0"},
    {"Sort", "SentenceFinal", KeyType::Int, "0"},
    {"Sort", "European", KeyType::Int, "0"},
    {"Sort", "Alphabetical", KeyType::Int, "1"},
    {"Sort", "Reverse", KeyType::Int, "0"},
    {"Sort", "Abc", KeyType::Int, "1"},
    {"Sort", "Tail", KeyType::Int, "0"},
    // The sort dialog and the sort-by-column dialog show it as text.
    {"Sort", "MaxLine", KeyType::String, "40000"},
    // The two runs read it as a number, each with its own default.
    {"Sort", "MaxLine", KeyType::Int, "40000", "sort"},
    {"Sort", "MaxLine", KeyType::Int, "100000", "columnSort"},
    {"SortColumn", "Column", KeyType::String, ""},
    {"SortColumn", "Abc", KeyType::Int, "1"},

    // Collocation statistics, plain and extended; conversion.
    {"Colloq", "Mode", KeyType::Int, "1"},
    {"Colloq", "SentenceFinal", KeyType::Int, "0"},
    {"Colloq", "FreqOrder", KeyType::Int, "0"},
    {"Colloq", "Percent", KeyType::Int, "0"},
    {"Colloq", "Tail", KeyType::Int, "0"},
    {"Colloq", "European", KeyType::Int, "0"},
    {"ExColloq", "Key", KeyType::Int, "0"},
    {"ExColloq", "Format", KeyType::Int, "0"},
    {"ExColloq", "bNoAsk", KeyType::Int, "0"},
    {"ExColloq", "bZero", KeyType::Int, "0"},
    {"Excolloq", "bNoAsk", KeyType::Int, "0"},  // the spelling the command reads
    // Collocation strength: Measure 0 MI, 1 MI3, 2 t-score, 3 log-likelihood, 4 logDice;
    // the span's ends are positions -5 ... 5 around the keyword.
    {"ColloqStrength", "Measure", KeyType::Int, "0"},
    {"ColloqStrength", "SpanFrom", KeyType::Int, "-5"},
    {"ColloqStrength", "SpanTo", KeyType::Int, "5"},
    {"ColloqStrength", "MinFreq", KeyType::Int, "3"},
    {"SpreadSheet", "Mode", KeyType::Int, "0"},
    {"SpreadSheet", "TagInfo", KeyType::Int, "0"},
    // The word-list cache of the extended statistics: the section is the search's directory
    // and file name ("null" for none), the key its response file's directory and name ("null"
    // for none), the value the path of the cache file; empty means none was recorded.
    {"*", "*", KeyType::String, "", "wordListCache"},

    // Section "SaveOptions": what a save to text writes.
    {"SaveOptions", "DispOnly", KeyType::Int, "1"},
    {"SaveOptions", "Disp", KeyType::Int, "0"},
    {"SaveOptions", "SaveAll", KeyType::Int, "0"},
    {"SaveOptions", "SearchResult", KeyType::Int, "0"},
    {"SaveOptions", "Extracted", KeyType::Int, "0"},
    {"SaveOptions", "Sorted", KeyType::Int, "0"},
    {"SaveOptions", "Colloq", KeyType::Int, "0"},
    {"SaveOptions", "Spreadsheet", KeyType::Int, "0"},
    {"SaveOptions", "UTF8", KeyType::Int, "0"},  // text saves and conversions written as UTF-8

    // Section "Print".
    {"Print", "Line", KeyType::String, "50"},
    {"Print", "Column", KeyType::String, "70"},
    {"Print", "Offset", KeyType::String, "0"},  // 0 to 20 characters
    {"Print", "MaxPage", KeyType::String, "10"},
    {"Print", "PageNum", KeyType::Int, "0"},
    {"Print", "Left", KeyType::String, "0"},
    {"Print", "Top", KeyType::String, "0"},

    // The result view: colours, font, tab stops.
    {"Color", "TxtColor", KeyType::Colour, "0"},
    {"Color", "BkColor", KeyType::Colour, "16777215"},
    // The highlight is the inverse of the current colours unless the file says otherwise:
    // HlTxtColor defaults to the BkColor just read, HlBkColor to the TxtColor just read.
    {"Color", "HlTxtColor", KeyType::Colour, "", {}, false},
    {"Color", "HlBkColor", KeyType::Colour, "", {}, false},
    {"Disp", "Font", KeyType::Font, "-13 0 0 0 400 0 0 0 128 1 2 1 1 0 0 0"},
    {"Disp", "FontFace", KeyType::String, "FixedSys"},
    {"DispOption", "TabStop", KeyType::String, "15"},  // 4 to 30

    // The main window: bars and placement.
    {"Display", "ToolBar1", KeyType::Int, "1"},
    {"Display", "ToolBar2", KeyType::Int, "0"},
    {"Display", "StatusBar", KeyType::Int, "1"},
    // The spellings of the extra-options dialog.
    {"Display", "Toolbar1", KeyType::Int, "1"},
    {"Display", "Toolbar2", KeyType::Int, "0"},
    {"Display", "Statusbar", KeyType::Int, "1"},
    {"WindowSize", "Save", KeyType::Int, "0"},
    {"WindowSize", "32bitGDI", KeyType::Int, "0"},
    {"WindowSize", "Flags", KeyType::Int, "1"},
    {"WindowSize", "showCmd", KeyType::Int, "1"},
    {"WindowSize", "MinPosX", KeyType::Int, "0"},
    {"WindowSize", "MinPosY", KeyType::Int, "0"},
    // Default: the negated width and height of a window border, as the window system
    // reports them at the time of reading.
    {"WindowSize", "MaxPosX", KeyType::Int, "", {}, false},
    {"WindowSize", "MaxPosY", KeyType::Int, "", {}, false},
    {"WindowSize", "NormPosL", KeyType::Int, "0"},
    {"WindowSize", "NormPosT", KeyType::Int, "0"},
    {"WindowSize", "NormPosR", KeyType::Int, "500"},
    {"WindowSize", "NormPosB", KeyType::Int, "350"},

    // Section "Exclude": the extensions a search can skip; edited by hand only.
    {"Exclude", "Exec", KeyType::Int, "1"},
    {"Exclude", "Pict", KeyType::Int, "1"},
    {"Exclude", "Data", KeyType::Int, "1"},
    {"Exclude", "Arc", KeyType::Int, "1"},
    {"Exclude", "User", KeyType::Int, "1"},
    {"Exclude", "ExecExt", KeyType::String, ".EXE|.COM|.DLL|.SYS|.DRV|.VBX|.OCX"},
    {"Exclude", "PictExt", KeyType::String, ".BMP|.GIF|.JPG|.PCX|.TIF|.PCD"},
    {"Exclude", "DataExt", KeyType::String, ".AVI|.MOV|.WAV|.HLP"},
    {"Exclude", "ArcExt", KeyType::String, ".LZH|.ZIP|.ARJ|.ARC|.SIT|.CPT"},
    {"Exclude", "UserExt", KeyType::String, ""},

    // External programs: the text editor and the launcher.
    {"TextEditor", "Executable", KeyType::String, ""},
    {"TextEditor", "CmdLine", KeyType::String, ""},
    {"TextEditor", "ExecDir", KeyType::String, ""},
    {"TextEditor", "Executable2", KeyType::String, ""},
    {"TextEditor", "CmdLine2", KeyType::String, ""},
    {"TextEditor", "Editor", KeyType::Int, "0"},
    {"TextEditor", "Priority", KeyType::Int, "0"},
    {"ExecPrograms", "NoExit", KeyType::Int, "0"},
    {"ExecPrograms", "ExecProg*", KeyType::String, ""},  // * = 1 to 26: the slot's title
    // One section per launcher slot, "ExecProg1" to "ExecProg26".
    {"ExecProg*", "File", KeyType::String, ""},
    {"ExecProg*", "Dir", KeyType::String, ""},
    {"ExecProg*", "CmdLine", KeyType::String, ""},
    {"ExecProg*", "Priority", KeyType::Int, "0"},

    // Section "CorpusSet": * = the set number as three digits, "001" to "006".
    {"CorpusSet", "*Title", KeyType::String, ""},
    {"CorpusSet", "*File", KeyType::String, ""},
    {"CorpusSet", "*Dir", KeyType::String, ""},
    {"CorpusSet", "*ResFile", KeyType::String, ""},
    {"CorpusSet", "*ResDir", KeyType::String, ""},
    {"CorpusSet", "*resdir", KeyType::String, ""},  // the spelling the "File Set" dialog writes

    // Word groups: "Name" holds the first chunk of group names, "Name1", "Name2", ... the
    // later ones; "WordGroup" holds one key per group name.
    {"WordGroupNames", "Name", KeyType::String, ""},
    {"WordGroupNames", "Name*", KeyType::String, ""},
    {"WordGroup", "*", KeyType::String, ""},

    // Histories: * = the slot letter, "A" to "Z".
    {"History", "Keyword1*", KeyType::String, ""},
    {"History", "Keyword2*", KeyType::String, ""},
    {"FileHistory", "Filename*", KeyType::String, ""},
    {"FileHistory", "Directory*", KeyType::String, ""},
    {"ResFileHistory", "ResFile*", KeyType::String, ""},
    {"ResFileHistory", "ResFileDir*", KeyType::String, ""},
    {"Extraction", "Keyword*", KeyType::String, ""},

    // Kept by the window framework: the recently used formatted files ("File1" to "File4")
    // and the pages print preview shows side by side (the framework's own default).
    {"Recent File List", "File*", KeyType::String, ""},
    {"Settings", "PreviewPages", KeyType::Int, "", {}, false},
};

/// The catalogue entry of a key, found while compiling: naming a key the catalogue lacks
/// does not compile.
consteval const SettingKey& settingKey(std::string_view section, std::string_view key,
                                       std::string_view reader = {}) {
    for (const SettingKey& entry : kCatalogue) {
        if (entry.section == section && entry.key == key && entry.reader == reader) return entry;
    }
    throw "settingKey: the catalogue has no such key";
}

/// Reads an Int or Colour key with its catalogue default.
int readInt(Profile& profile, const SettingKey& key);
/// Reads a String or Font key with its catalogue default.
std::string readString(Profile& profile, const SettingKey& key);
/// Reads a numeric option stored as text ("Xsize", "MaxLine", ...) with a plain decimal
/// conversion: what does not parse reads as 0.
int readStringAsInt(Profile& profile, const SettingKey& key);

void writeInt(Profile& profile, const SettingKey& key, int value);
void writeString(Profile& profile, const SettingKey& key, std::string_view value);

/// The plain decimal conversion of the program: optional blanks and sign, then digits up to
/// the first other byte; nothing parsable gives 0; out-of-range values are clamped.
int parseDecimal(std::string_view text);

}  // namespace vellmora
