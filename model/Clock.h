#pragma once

#include "model/ProcessorModel.h"

namespace procesor {

struct PulseOutcome {
    bool decoded = false; // the Phi1 state was entered: a new microprogram line was decoded
    bool halted = false;  // the decoded line was C/D: the clock must stop
};

// One clock pulse of the machine itself: advances the two-phase clock, counts and
// decodes the microaddress on entering Phi1, forms the strobes and carries out the
// register transfers. What the diagram shows of it is written by the caller.
PulseOutcome clockPulse(ProcessorModel& m);

// What entering either operating mode does to the machine: registers and the
// microaddress to 0, clock to rest (and so the strobes off). Bus, control signals
// and RAM are kept.
void resetForMode(ProcessorModel& m);

} // namespace procesor
