#pragma once

#include <string_view>
#include <vector>

#include "model/Microprogram.h"

namespace companion {

// The fetch line RAM/R-IR/W: the word at PC goes into IR as the next opcode.
inline constexpr unsigned kFetchSignals = procesor::RamRead | procesor::IrWrite;

bool isFetchLine(int line);

// The fetch leaves the opcode in IR and the next clock count adds one, so the routine
// of an opcode starts at microaddress (opcode + 1) mod 16.
int routineStart(int opcode);

// The lines IR counts through after `opcode` was fetched: from routineStart() up to
// and including the next fetch line, or up to the halt line C/D.
std::vector<int> routineLines(int opcode);

// Microprogram lines whose control signals include `signal`.
std::vector<int> linesUsing(unsigned signal);

// Name of the instruction whose routine holds `line` ("NOP" for lines 0 and 1).
std::string_view instructionOfLine(int line);
// Mnemonic of an opcode, or empty for the ten codes that name no instruction.
std::string_view mnemonicOf(int opcode);

// The decoders of the control unit. Each line enables at most one source (ZDROJE) and
// one destination (URČENÍ); PC/I goes on its own line to the AND gate that counts PC.
enum class Source { None, Ram, A, Adder };
enum class Destination { None, Ir, Pc, A, B };

Source sourceOf(unsigned controls);
Destination destinationOf(unsigned controls);

// Names of the control signals in the mask, in the order a listing line shows them
// ("RAM/R", "IR/W").
std::vector<std::string_view> signalNames(unsigned controls);

// The microsteps of one instruction, one step at a time: IR starts at the opcode just
// fetched, each step counts it on and decodes the line.
class MicrostepTour {
public:
    explicit MicrostepTour(int opcode);

    int opcode() const { return opcode_; }
    int ir() const { return ir_; } // the microaddress (the opcode before step 1)
    int stepsTaken() const { return steps_; }
    int stepCount() const { return static_cast<int>(lines_.size()); }
    bool started() const { return steps_ > 0; }
    bool finished() const { return steps_ == stepCount(); }
    bool halted() const { return started() && ir_ == procesor::kHaltLine; }
    // Control signals of the current line; none before the first step.
    unsigned controls() const;
    const std::vector<int>& lines() const { return lines_; }

    // Counts IR on and decodes the next line. Returns false, changing nothing, once
    // the routine has ended with its fetch line or halted.
    bool step();
    void restart();

private:
    int opcode_;
    int ir_;
    int steps_ = 0;
    std::vector<int> lines_;
};

} // namespace companion
