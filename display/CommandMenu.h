#pragma once

#include <functional>

#include "screen/Commands.h"
#include "screen/Screen.h"

class QMenu;
class QWidget;

// The diagram's context menu: the commands of screen/Commands.h in their order, each
// with its text and shortcut, enabled and checked as the screen says.
namespace procesor {

// The menu, its items calling `chosen` with their command.
QMenu* makeCommandMenu(QWidget* parent, std::function<void(screen::Command)> chosen);
// Every item enabled and checked as the screen has it now.
void showCommandStates(QMenu& menu, const screen::Screen& screen);

} // namespace procesor
