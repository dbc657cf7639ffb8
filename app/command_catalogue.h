#pragma once

// The program's commands as its menus, toolbars and status bar show them: one table, so that
// the menus, the shortcuts and the status texts cannot drift apart.

#include <span>
#include <string_view>

namespace vellmora {

enum class CommandId {
    New, Open, Close, CloseAll, SaveAllText, SaveAllTextAndClose, SaveText, SaveTextAs,
    LauncherMenu, LaunchSlot1, LaunchSlot2, LaunchSlot3, LaunchSlot4, LaunchSlot5, SetTextEditor, Print, Preview, PrinterSetting, Break, Exit,
    Undo, Cut, Copy, Paste, EditWordGroup,
    Toolbar, Statusbar,
    ShowOriginal, ShowExtracted, ShowSorted, ShowCollocation, ShowSpreadsheet,
    KwicRange, KwicPosition, KwicOptions, Display, TextColor, BackgroundColor, PrintOptions,
    SaveOption, Language, ExtendedCollocationOptions, Font, KwocSearch, KwocOption,
    ExtractRange, ExtractPosition, PreviousResult, Collocation, CollocationTable,
    ExtendedCollocation, CollocationStrength, Sort, SortByColumn, Convert, ClearResult, PrepareToAdd, QuitSearch,
    ResultCounts, AverageWordLength, CreateNewWindow, Cascade, TileHorizontal, TileVertical,
    ArrangeIcons, CloseAllWindows, NextWindow, PreviousWindow, HelpContents, About,
    NoSupportOptions, MakeFileList, DispersionPlot,
};

/// One command: its menu text (with "&" marks and a "\t" before the shown shortcut), its
/// status-bar text and its key sequences in the notation of Qt's QKeySequence.
struct CommandInfo {
    CommandId id;
    std::string_view menuText;
    std::string_view statusText;
    std::string_view shortcut1 = {};
    std::string_view shortcut2 = {};
};

/// Every command, in no particular order.
std::span<const CommandInfo> commandCatalogue();
const CommandInfo& commandInfo(CommandId id);

/// The command that starts launcher slot 1 to 5 directly.
CommandId slotCommand(int slot);

}  // namespace vellmora
