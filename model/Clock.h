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

// The pulse's parts, in the order clockPulse takes them, for the explainers that
// show one part of the machine with its inputs set by hand.
//
// The clock's next state: rest -> Phi1 -> Phi2 -> rest. True when it entered Phi1.
bool advanceClock(ProcessorModel& m);
// The control signals of microprogram line `line` (0..15).
void decodeLine(ProcessorModel& m, int line);
// The five AND gates: each of B/W, A/W, PC/W, IR/W, PC/I AND Phi2.
void formStrobes(ProcessorModel& m);
// The transfers the signals and strobes make: PC loads or counts, the RAM word at PC
// is read, the bus takes its source (RAM/R and ADD/R only in the Phi1 state, A/R
// whenever it is on), A and B load, the adder adds modulo 16, IR loads; then the
// bus bits. Counting and loading happen once per call: call it once per pulse.
void transfer(ProcessorModel& m, bool phi1State);

// What entering either operating mode does to the machine: registers and the
// microaddress to 0, clock to rest (and so the strobes off). Bus, control signals
// and RAM are kept.
void resetForMode(ProcessorModel& m);

} // namespace procesor
