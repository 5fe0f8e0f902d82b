#include "companions/plimo/Gates.h"

namespace companion {

using namespace std::string_view_literals;

const std::array<StrobeGate, 5> kStrobeGates = {{
    {procesor::IrWrite, "IR/W"sv, "IR"sv, "IR převezme hodnotu ze sběrnice"sv},
    {procesor::PcWrite, "PC/W"sv, "PČ"sv, "PČ převezme hodnotu ze sběrnice"sv},
    {procesor::PcInc, "PC/I"sv, "PČ"sv, "PČ přičte 1"sv},
    {procesor::AWrite, "A/W"sv, "RA"sv, "registr A převezme hodnotu ze sběrnice"sv},
    {procesor::BWrite, "B/W"sv, "RB"sv, "registr B převezme hodnotu ze sběrnice"sv},
}};

std::array<GateRow, 4> truthTable() {
    std::array<GateRow, 4> rows{};
    for (const bool signal : {false, true})
        for (const bool phi2 : {false, true})
            rows[static_cast<std::size_t>(truthRow(signal, phi2))] = {signal, phi2,
                                                                      andGate(signal, phi2)};
    return rows;
}

unsigned strobes(unsigned controls, Phase phase) {
    unsigned out = 0;
    for (std::size_t gate = 0; gate < kStrobeGates.size(); ++gate)
        if (andGate((controls & kStrobeGates[gate].signal) != 0, phi2High(phase)))
            out |= 1u << gate;
    return out;
}

} // namespace companion
