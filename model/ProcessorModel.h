#pragma once

#include <array>
#include <string>

#include "model/WordText.h"

namespace procesor {

// The whole state of the simulated 4-bit machine. Every int holds 0..15.
struct ProcessorModel {
    // Two-phase clock: rest (false,false) -> phi1 (true,false) -> phi2 (true,true) -> rest.
    bool phi1 = false;
    bool phi2 = false;

    // Control signals of the decoded microprogram line, held for the whole microstep.
    bool pcInc = false;   // PC/I
    bool addRead = false; // ADD/R
    bool aRead = false;   // A/R
    bool ramRead = false; // RAM/R
    bool bWrite = false;  // B/W
    bool aWrite = false;  // A/W
    bool pcWrite = false; // PC/W
    bool irWrite = false; // IR/W

    // Outputs of the five AND gates: a signal AND phi2.
    bool bLoad = false;
    bool aLoad = false;
    bool pcLoad = false;
    bool irLoad = false;
    bool pcCount = false;

    bool busBit0 = false; // weight 1
    bool busBit1 = false; // weight 2
    bool busBit2 = false; // weight 4
    bool busBit3 = false; // weight 8

    int pc = 0;
    int bus = 0;
    int ir = 0; // also the microaddress
    int ramOut = 0;
    int regA = 0;
    int regB = 0;
    int sum = 0;

    std::string wordText; // text of the word last composed on the data switches
    std::array<int, 16> ram{};
    // What each RAM cell shows. Kept beside `ram`: a cell never written since the
    // last reset shows the blank text although its word is 0.
    std::array<std::string, 16> ramText = blankRamTexts();

    bool operator==(const ProcessorModel&) const = default;

private:
    static std::array<std::string, 16> blankRamTexts() {
        std::array<std::string, 16> texts;
        texts.fill(std::string(kBlankCellText));
        return texts;
    }
};

} // namespace procesor
