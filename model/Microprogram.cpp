#include "model/Microprogram.h"

namespace procesor {

const std::array<MicroLine, 16> kMicroprogram = {{
    {"0000  PC/I               ", PcInc, 14, 13},
    {"0001  RAM/R-IR/W", RamRead | IrWrite, 15, 13},
    {"0010  PC/I               ", PcInc, 16, 30},
    {"0011  RAM/R-A/W  ", RamRead | AWrite, 17, 30},
    {"0100  PC/I               ", PcInc, 18, 30},
    {"0101  RAM/R-IR/W", RamRead | IrWrite, 19, 30},
    {"0110  ADD/R-A/W  ", AddRead | AWrite, 20, 31},
    {"0111  PC/I                ", PcInc, 21, 31},
    {"1000  RAM/R-IR/W", RamRead | IrWrite, 22, 31},
    {"1001  PC/I               ", PcInc, 23, 32},
    {"1010  RAM/R-PC/W", RamRead | PcWrite, 24, 32},
    {"1011  RAM/R-IR/W", RamRead | IrWrite, 25, 32},
    {"1100  A/R-B/W       ", ARead | BWrite, 26, 33},
    {"1101  PC/I              ", PcInc, 27, 33},
    {"1110  RAM/R-IR/W", RamRead | IrWrite, 28, 33},
    {"1111  C/D               ", 0, 29, 34},
}};

const std::array<Instruction, 6> kInstructions = {{
    {"NOP", 0b1111, false, 13},
    {"LDA", 0b0001, true, 30},
    {"ADD", 0b0101, false, 31},
    {"JMP", 0b1000, true, 32},
    {"MOV", 0b1011, false, 33},
    {"HLT", 0b1110, false, 34},
}};

} // namespace procesor
