#include "screen/Commands.h"

namespace procesor::screen {

const CommandInfo& commandInfo(Command command) {
    for (const CommandInfo& info : kCommands)
        if (info.command == command) return info;
    for (const CommandInfo& info : kViewCommands)
        if (info.command == command) return info;
    return kCommands.front(); // every Command is in a table (tests/screen walks them)
}

std::string commandTooltip(Command command) {
    const CommandInfo& info = commandInfo(command);
    std::string tip(info.text);
    if (!info.shortcut.empty()) {
        tip += " (";
        tip += info.shortcut;
        tip += ')';
    }
    return tip;
}

} // namespace procesor::screen
