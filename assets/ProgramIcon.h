#pragma once

#include <QIcon>

// The program's icon (assets/procesor.svg, built into the program) for the window
// frame and the task bar of the simulator and of every companion program.
namespace procesor {

QIcon programIcon();

} // namespace procesor
