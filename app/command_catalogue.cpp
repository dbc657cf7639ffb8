#include "app/command_catalogue.h"

#include <algorithm>
#include <array>

namespace vellmora {
namespace {

using C = CommandId;

constexpr std::array kCommands = {
    CommandInfo{C::New, "&New\tCtrl+N", "Create New File.", "Ctrl+N"},
    CommandInfo{C::Open, "&Open Vellmora Formatted File...\tCtrl+O",
                "Open a Vellmora Formatted File", "Ctrl+O"},
    CommandInfo{C::Close, "&Close", "Close file"},
    CommandInfo{C::CloseAll, "Close All", "Close all files"},
    CommandInfo{C::SaveAllText, "Save All to Text Files", "Save All files to Text Files"},
    CommandInfo{C::SaveAllTextAndClose, "Save All to Text Files and Close All",
                "Save to Text file and Close All "},
    CommandInfo{C::SaveText, "&Save to Text File\tCtrl+S", "Save to Text File", "Ctrl+S"},
    CommandInfo{C::SaveTextAs, "Save to Text File &as...", "Save to text file with a new name"},
    CommandInfo{C::LauncherMenu, "Launcher Menu\tF2", "Execute external program", "F2"},
    CommandInfo{C::LaunchSlot1, "No. 1", "Execute program"},
    CommandInfo{C::LaunchSlot2, "No. 2", "Execute program"},
    CommandInfo{C::LaunchSlot3, "No. 3", "Execute program"},
    CommandInfo{C::LaunchSlot4, "No. 4", "Execute program"},
    CommandInfo{C::LaunchSlot5, "No. 5", "Execute program"},
    CommandInfo{C::SetTextEditor, "Set Text Editor", "Set Text Editor"},
    CommandInfo{C::Print, "&Print...\tCtrl+P", "Print current file", "Ctrl+P"},
    CommandInfo{C::Preview, "Pre&view", "Preview output"},
    CommandInfo{C::PrinterSetting, "P&rinter Setting...", "Printer Setting"},
    CommandInfo{C::Break, "Break(Save to a Vellmora Formatted File)",
                "Break Current job and Save to a Vellmora Formatted File"},
    CommandInfo{C::Exit, "E&xit", "Exit to Windows", "Alt+X"},
    CommandInfo{C::Undo, "&Undo\tCtrl+Z", "Undo previous instruction", "Ctrl+Z", "Alt+Backspace"},
    CommandInfo{C::Cut, "Cut(&T)\tCtrl+X", "Copy Selected area to Clipboard", "Ctrl+X",
                "Shift+Del"},
    CommandInfo{C::Copy, "&Copy\tCtrl+C", "Copy to Clipboard", "Ctrl+C", "Ctrl+Ins"},
    CommandInfo{C::Paste, "&Paste\tCtrl+V", "Paste the contents from Clipboard", "Ctrl+V",
                "Shift+Ins"},
    CommandInfo{C::EditWordGroup, "Edit word group...\tAlt+G", "Edit Word group", "Alt+G"},
    CommandInfo{C::Toolbar, "&Toolbar", "Toggle Toolbar"},
    CommandInfo{C::Statusbar, "&Statusbar", "Toggle Statusbar"},
    CommandInfo{C::ShowOriginal, "Original result", "Display the result of search"},
    CommandInfo{C::ShowExtracted, "Extracted result",
                "Result of extraction from the original result of search"},
    CommandInfo{C::ShowSorted, "Sorted result", "Display sorted result"},
    CommandInfo{C::ShowCollocation, "Collocation statistics",
                "Display the result of Collocation statistics"},
    CommandInfo{C::ShowSpreadsheet, "TSV,CSV",
                "Display converted result in the format of CSV or TSV"},
    CommandInfo{C::KwicRange, "KWIC Search(Range)...\tAlt+S",
                "Search and output in KWIC format(Range)", "Alt+S"},
    CommandInfo{C::KwicPosition, "KWIC Search(Position)...\tAlt+P",
                "Search and output in KWIC format(Position)", "Alt+P"},
    CommandInfo{C::KwicOptions, "KWIC Options...\tAlt+O", "Option setting for KWIC search",
                "Alt+O"},
    CommandInfo{C::Display, "Display...", "Display options"},
    CommandInfo{C::TextColor, "Text Color...", "Choose Text Color"},
    CommandInfo{C::BackgroundColor, "Background Color...", "Choose Background color"},
    CommandInfo{C::PrintOptions, "Print Options...", "Print Options"},
    CommandInfo{C::SaveOption, "Save Option...", "Save Options"},
    CommandInfo{C::Language, "Language...", "Language selection...."},
    CommandInfo{C::ExtendedCollocationOptions, "Extended Collocation Statistics...", ""},
    CommandInfo{C::Font, "Fo&nt", "Select Font"},
    CommandInfo{C::KwocSearch, "KWOC Search...\tCtrl+F", "Search and output in KWOC format",
                "Ctrl+F"},
    CommandInfo{C::KwocOption, "KWOC Option...", "Option setting for KWOC search", "Shift+O"},
    CommandInfo{C::ExtractRange, "Extraction(Range)...\tAlt+R", "Extraction(Range)", "Alt+R"},
    CommandInfo{C::ExtractPosition, "Extraction(Position)...", "Extraction(Position)"},
    CommandInfo{C::PreviousResult, "Previous result\tAlt+D", "Previous Display", "Alt+D"},
    CommandInfo{C::Collocation, "Collocation Statistics...\tAlt+C", "Collocation Statistics",
                "Alt+C"},
    CommandInfo{C::CollocationTable, "Collocation Statistics(2)...", ""},
    CommandInfo{C::ExtendedCollocation, "Extended Collocation Statistics...", ""},
    CommandInfo{C::CollocationStrength, "Collocation Strength...",
                "Rank the collocates of the keyword by an association measure"},
    CommandInfo{C::Sort, "Sort...\tShift+S", "Sort KWIC concordance.", "Shift+S"},
    CommandInfo{C::SortByColumn, "Sort by Column...", "Sort by Column"},
    CommandInfo{C::Convert, "Convert to TSV,CSV...", "Convert to CSV,TSV"},
    CommandInfo{C::ClearResult, "Clear result\tShift+C", "Clear result", "Shift+C"},
    CommandInfo{C::PrepareToAdd, "Prepare to add result\tShift+A", "Prepare to add result",
                "Shift+A"},
    CommandInfo{C::QuitSearch, "Quit Search\tAlt+Q", "Quit Search", "Alt+Q"},
    CommandInfo{C::ResultCounts, "The numbers of results...",
                "Show the numbers of the total lines of the results "},
    CommandInfo{C::AverageWordLength, "&Average Word Length", ""},
    CommandInfo{C::CreateNewWindow, "Create &new", "Create New Window"},
    CommandInfo{C::Cascade, "&Cascade", "Cascade"},
    CommandInfo{C::TileHorizontal, "&Tile Horizontal", "Tile windows horizontal"},
    CommandInfo{C::TileVertical, "Tile Vertical", "Tile windows vertical"},
    CommandInfo{C::ArrangeIcons, "&Arrange Icons", "Arrange Icons"},
    CommandInfo{C::CloseAllWindows, "Close All Windows", "Close all files"},
    CommandInfo{C::NextWindow, "", "Move to the next window", "F6", "Ctrl+F6"},
    CommandInfo{C::PreviousWindow, "", "Move to the previous window.", "Shift+F6",
                "Ctrl+Shift+F6"},
    CommandInfo{C::HelpContents, "Contents              (F1)", "Display Contents of Help", "F1"},
    CommandInfo{C::About, "&About Vellmora", "Display info on Vellmora for Win32"},
    CommandInfo{C::NoSupportOptions, "Options not to be supported",
                "Option settings without author's support"},
    CommandInfo{C::MakeFileList, "Make File List...",
                "Output filelist to a file (to make a response file)"},
    CommandInfo{C::DispersionPlot, "Dispersion &Plot...",
                "Show where the hits of the result stand in their files"},
};

}  // namespace

std::span<const CommandInfo> commandCatalogue() { return kCommands; }

const CommandInfo& commandInfo(CommandId id) {
    for (const CommandInfo& info : kCommands) {
        if (info.id == id) return info;
    }
    return kCommands.front();  // every id is in the table; a test checks it
}

CommandId slotCommand(int slot) {
    constexpr CommandId kSlots[] = {C::LaunchSlot1, C::LaunchSlot2, C::LaunchSlot3,
                                    C::LaunchSlot4, C::LaunchSlot5};
    return kSlots[std::clamp(slot, 1, 5) - 1];
}

}  // namespace vellmora
