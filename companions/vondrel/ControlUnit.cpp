#include "companions/vondrel/ControlUnit.h"

#include "companions/common/Word.h"

namespace companion {

using procesor::kMicroprogram;

namespace {

unsigned controlsAt(int line) {
    return kMicroprogram[static_cast<std::size_t>(toWord(line))].controls;
}

} // namespace

bool isFetchLine(int line) {
    return controlsAt(line) == kFetchSignals;
}

int routineStart(int opcode) {
    return toWord(toWord(opcode) + 1);
}

std::vector<int> routineLines(int opcode) {
    std::vector<int> lines;
    int line = routineStart(opcode);
    // Every line of the microprogram is visited at most once before a fetch or the halt.
    for (int n = 0; n < kWordValues; ++n) {
        lines.push_back(line);
        if (isFetchLine(line) || line == procesor::kHaltLine) break;
        line = toWord(line + 1);
    }
    return lines;
}

std::vector<int> linesUsing(unsigned signal) {
    std::vector<int> lines;
    for (int line = 0; line < kWordValues; ++line)
        if (controlsAt(line) & signal) lines.push_back(line);
    return lines;
}

std::string_view instructionOfLine(int line) {
    const int label = kMicroprogram[static_cast<std::size_t>(toWord(line))].instructionLabel;
    for (const procesor::Instruction& instruction : procesor::kInstructions)
        if (instruction.label == label) return instruction.mnemonic;
    return {};
}

std::string_view mnemonicOf(int opcode) {
    for (const procesor::Instruction& instruction : procesor::kInstructions)
        if (instruction.opcode == toWord(opcode)) return instruction.mnemonic;
    return {};
}

Source sourceOf(unsigned controls) {
    if (controls & procesor::RamRead) return Source::Ram;
    if (controls & procesor::ARead) return Source::A;
    if (controls & procesor::AddRead) return Source::Adder;
    return Source::None;
}

Destination destinationOf(unsigned controls) {
    if (controls & procesor::IrWrite) return Destination::Ir;
    if (controls & procesor::PcWrite) return Destination::Pc;
    if (controls & procesor::AWrite) return Destination::A;
    if (controls & procesor::BWrite) return Destination::B;
    return Destination::None;
}

std::vector<std::string_view> signalNames(unsigned controls) {
    struct Named {
        procesor::Signal signal;
        std::string_view name;
    };
    // Sources before destinations, as the listing writes them.
    static constexpr Named kNames[] = {
        {procesor::PcInc, "PC/I"},    {procesor::RamRead, "RAM/R"}, {procesor::ARead, "A/R"},
        {procesor::AddRead, "ADD/R"}, {procesor::IrWrite, "IR/W"},  {procesor::PcWrite, "PC/W"},
        {procesor::AWrite, "A/W"},    {procesor::BWrite, "B/W"},
    };
    std::vector<std::string_view> names;
    for (const Named& n : kNames)
        if (controls & n.signal) names.push_back(n.name);
    return names;
}

MicrostepTour::MicrostepTour(int opcode)
    : opcode_(toWord(opcode)), ir_(opcode_), lines_(routineLines(opcode_)) {}

unsigned MicrostepTour::controls() const {
    return started() ? controlsAt(ir_) : 0u;
}

bool MicrostepTour::step() {
    if (finished()) return false;
    ir_ = toWord(ir_ + 1);
    ++steps_;
    return true;
}

void MicrostepTour::restart() {
    ir_ = opcode_;
    steps_ = 0;
}

} // namespace companion
