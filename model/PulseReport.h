#pragma once

#include <string>

#include "model/ProcessorModel.h"

namespace procesor {

// One Czech sentence or a few on what a clock pulse changed, for a student who
// follows the machine with a screen reader: the phase it reached, in the Φ1 phase
// the microprogram line and what the bus carries, then every register whose value
// changed; the halt too. `before` and `after` are the machine around the pulse.
std::string pulseReport(const ProcessorModel& before, const ProcessorModel& after);

} // namespace procesor
