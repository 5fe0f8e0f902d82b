#pragma once

#include <optional>

#include "model/MachineMessage.h"
#include "panel/Simulator.h"

namespace procesor {

// The simulator's machine as its diagram shows it, for an explainer that follows it:
// the machine, the listing line marked yellow, and whether it is being programmed,
// runs or stands halted (run mode with "start/stop" in the disabled look).
MachineMessage machineMessage(const Simulator& sim,
                              std::optional<ClickedElement> clicked = std::nullopt);

} // namespace procesor
