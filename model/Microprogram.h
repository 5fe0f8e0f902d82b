#pragma once

#include <array>
#include <string_view>

namespace procesor {

// Control signals of a microprogram line, as bits of a mask.
enum Signal : unsigned {
    PcInc = 1u << 0,   // PC/I
    AddRead = 1u << 1, // ADD/R
    ARead = 1u << 2,   // A/R
    RamRead = 1u << 3, // RAM/R
    BWrite = 1u << 4,  // B/W
    AWrite = 1u << 5,  // A/W
    PcWrite = 1u << 6, // PC/W
    IrWrite = 1u << 7, // IR/W
};

struct MicroLine {
    std::string_view caption; // exact listing text, trailing blanks included
    unsigned controls;        // mask of Signal
    int lineLabel;            // listing label number (Label14..Label29)
    int instructionLabel;     // label of the instruction name beside the listing
};

// Microaddress 15, "C/D": the clock stops.
inline constexpr int kHaltLine = 15;

extern const std::array<MicroLine, 16> kMicroprogram;

struct Instruction {
    std::string_view mnemonic;
    int opcode;
    bool hasOperand;
    int label; // Label13, Label30..Label34
};

// Each routine starts at microaddress (opcode + 1) mod 16: the fetch line loads
// the opcode into IR and the next clock count adds one.
extern const std::array<Instruction, 6> kInstructions;

} // namespace procesor
