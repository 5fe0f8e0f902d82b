#include "model/TransferLog.h"

#include <string_view>

#include "model/Microprogram.h"

namespace procesor {

namespace {

struct Unit {
    unsigned signal;
    std::string_view name;
    int ProcessorModel::*value; // what it holds after the load, for a destination
};

// What drives the bus, and what loads from it, by the line's control signals.
constexpr Unit kSources[] = {
    {RamRead, "RAM", nullptr},
    {ARead, "A", nullptr},
    {AddRead, "sčítačka", nullptr},
};
constexpr Unit kDestinations[] = {
    {IrWrite, "IR", &ProcessorModel::ir},
    {PcWrite, "PČ", &ProcessorModel::pc},
    {AWrite, "A", &ProcessorModel::regA},
    {BWrite, "B", &ProcessorModel::regB},
};

const MicroLine& lineAt(int line) {
    return kMicroprogram[static_cast<std::size_t>(line & 15)];
}

} // namespace

std::string_view codeOfLine(int line) {
    return lineAt(line).caption.substr(0, 4);
}

std::string_view instructionOfLine(int line) {
    for (const Instruction& i : kInstructions)
        if (i.label == lineAt(line).instructionLabel) return i.mnemonic;
    return {};
}

static std::string heading(int number, int line) {
    return std::to_string(number) + ". mikrokrok, řádek " + std::string(codeOfLine(line)) + " (" +
           std::string(instructionOfLine(line)) + "): ";
}

std::string microstepLine(int number, int line, const ProcessorModel& after) {
    const unsigned signals = lineAt(line).controls;
    std::string out = heading(number, line);
    if (signals & PcInc) return out + "PČ + 1 → PČ; PČ = " + std::to_string(after.pc);
    std::string source = "—";
    for (const Unit& u : kSources)
        if (signals & u.signal) source = u.name;
    out += source + " → sběrnice";
    std::string values;
    for (const Unit& u : kDestinations) {
        if (!(signals & u.signal)) continue;
        out += " → " + std::string(u.name);
        values += (values.empty() ? "; " : ", ") + std::string(u.name) + " = " +
                  std::to_string(after.*u.value);
    }
    return out + values;
}

std::string haltLine(int number) {
    return heading(number, kHaltLine) +
           "hodiny se zastavily. Dál vede tlačítko režimu: „provoz“ spustí program znovu od "
           "začátku, „programování“ vrátí k jeho zadávání.";
}

std::string modeLine(bool programming) {
    return programming ? "Režim „programování“: adresa 0, přepínače na 0, program v RAM zůstává."
                       : "Režim „provoz“: registry a mikroadresa na 0, program běží od začátku.";
}

} // namespace procesor
