#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The commands the front ends offer around the diagram: the page's buttons in the strip
// beside it and the desktop's context menu show the same texts, the same shortcuts and
// the same enabled and checked states, all decided by the screen (Screen::enabled,
// Screen::checked, Screen::command). A command the screen cannot carry out alone (a
// window to open, the clipboard, a file to save) comes back in the update's `carryOut`
// for the front end to do.
namespace procesor::screen {

enum class Command {
    StepBack,      // "Zpět": the state before the last entry of the time line
    StepForward,   // "Vpřed": the entry stepped back over, done again
    TimingDiagram, // "Časový diagram": the front end opens (or raises) its window
    CopyProgram,   // "Kopírovat program": the front end puts Screen::copy() on the clipboard
    PasteProgram,  // "Vložit program": the front end reads the clipboard into Screen::paste()
    SavePicture,   // "Uložit obrázek…": the front end asks where, then saves Screen::picturePng()
    Predict,       // "Předpovídat": on and off; while on, "ručně" asks first
    ActualSize,    // "1:1": on and off; while on, the front end shows the diagram (and the
                   // panes) at one device pixel per pixel, otherwise fitted
};

struct CommandInfo {
    Command command;
    std::string_view text;     // as the button or the menu item shows it
    std::string_view shortcut; // as the tooltip and the menu show it; empty: none
    bool checkable;            // a toggle (a pressed button in the page, a check mark in the menu)
};

// In the order of the menu and the strip.
inline constexpr std::array<CommandInfo, 7> kCommands = {{
    {Command::StepBack, "Zpět", "Ctrl+Z", false},
    {Command::StepForward, "Vpřed", "Ctrl+Y", false},
    {Command::TimingDiagram, "Časový diagram", "F8", false},
    {Command::CopyProgram, "Kopírovat program", "Ctrl+C", false},
    {Command::PasteProgram, "Vložit program", "Ctrl+V", false},
    {Command::SavePicture, "Uložit obrázek…", "Ctrl+S", false},
    {Command::Predict, "Předpovídat", "", true},
}};

// The commands of the view, which the page carries out with buttons of its own beside
// the diagram: the desktop's context menu lists them after those above.
inline constexpr std::array<CommandInfo, 1> kViewCommands = {{
    {Command::ActualSize, "1:1", "Ctrl+0", true},
}};

// A command's row, from either table.
const CommandInfo& commandInfo(Command command);
// The tooltip: the text and its shortcut, "Zpět (Ctrl+Z)"; the text alone without one.
std::string commandTooltip(Command command);

} // namespace procesor::screen
