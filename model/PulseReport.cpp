#include "model/PulseReport.h"

#include <string_view>

#include "model/Microprogram.h"

namespace procesor {

namespace {

struct Register {
    int ProcessorModel::*value;
    std::string_view sentence; // "… má nyní hodnotu" follows
};

// In the order the diagram shows them, top to bottom.
constexpr Register kRegisters[] = {
    {&ProcessorModel::ir, "Instrukční registr"},
    {&ProcessorModel::pc, "Programový čítač"},
    {&ProcessorModel::regA, "Registr A"},
    {&ProcessorModel::regB, "Registr B"},
};

std::string_view trimmed(std::string_view caption) {
    while (!caption.empty() && caption.back() == ' ') caption.remove_suffix(1);
    return caption;
}

} // namespace

std::string pulseReport(const ProcessorModel& before, const ProcessorModel& after) {
    const bool phi1 = after.phi1 && !after.phi2;
    std::string out;
    if (phi1) {
        const MicroLine& line = kMicroprogram[static_cast<std::size_t>(after.ir) % 16];
        const std::string_view caption = trimmed(line.caption);
        // "0011  RAM/R-A/W": the code, then the signals after two blanks.
        const std::size_t gap = caption.find("  ");
        out = "Fáze Φ1. Řádek mikroprogramu " + std::string(caption.substr(0, gap));
        if (gap != std::string_view::npos) {
            std::string_view signals = caption.substr(gap);
            while (!signals.empty() && signals.front() == ' ') signals.remove_prefix(1);
            out += ": " + std::string(signals);
        }
        out += ". Na sběrnici je " + std::to_string(after.bus) + ".";
    } else if (after.phi2) {
        out = "Fáze Φ2.";
    } else {
        out = "Hodiny jsou v klidu, mikrokrok skončil.";
    }
    for (const Register& r : kRegisters) {
        if (phi1 && r.value == &ProcessorModel::ir) continue; // said as the line
        if (before.*r.value != after.*r.value)
            out += " " + std::string(r.sentence) + " má nyní hodnotu " +
                   std::to_string(after.*r.value) + ".";
    }
    if (before.sum != after.sum) out += " Sčítačka dává " + std::to_string(after.sum) + ".";
    if (after.phi2 && out == "Fáze Φ2.") out += " Žádný registr se nezměnil.";
    if (phi1 && after.ir == kHaltLine) out += " Hodiny se zastavily.";
    return out;
}

} // namespace procesor
