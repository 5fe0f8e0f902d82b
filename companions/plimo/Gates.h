#pragma once

#include <array>
#include <string_view>

#include "companions/common/Word.h"
#include "model/Microprogram.h"

namespace companion {

constexpr bool andGate(bool a, bool b) {
    return a && b;
}

// The five AND gates of the machine, top to bottom: each lets its control signal
// through as a strobe only while Phi2 is high.
struct StrobeGate {
    procesor::Signal signal;     // the control signal on the gate's upper input
    std::string_view signalName; // "IR/W"
    std::string_view block;      // the register's block as the diagram titles it: "PČ"
    std::string_view target;     // what the strobe drives, in the window's language
};

extern const std::array<StrobeGate, 5> kStrobeGates;

struct GateRow {
    bool signal;
    bool phi2;
    bool strobe;
};

// The gate's truth table in counting order: (0,0), (0,1), (1,0), (1,1).
std::array<GateRow, 4> truthTable();

// Row of the truth table for the given inputs.
constexpr int truthRow(bool signal, bool phi2) {
    return (signal ? 2 : 0) + (phi2 ? 1 : 0);
}

// The strobes (one bit per gate, gate 0 = bit 0) that the control signals `controls`
// give in the clock state `phase`.
unsigned strobes(unsigned controls, Phase phase);

} // namespace companion
