#pragma once

#include <string>

#include "model/MachineMessage.h"

namespace procesor::explain {

// What a scene that follows the simulator says first: the simulator's mode or its
// clock's state and the line it is executing, "Sledujete simulátor: fáze Φ1, právě
// prováděný řádek 0011 RAM/R-A/W (LDA)."
std::string followingText(const MachineMessage& state);

} // namespace procesor::explain
