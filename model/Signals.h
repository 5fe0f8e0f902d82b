#pragma once

#include <array>
#include <string_view>

#include "model/Microprogram.h"
#include "model/ProcessorModel.h"

// The control signals and the AND gates' strobes, each once: its bit in a
// microprogram line, its name as the diagram writes it and the field of the machine
// that holds it.
namespace procesor {

struct ControlSignal {
    Signal bit;
    std::string_view name;
    bool ProcessorModel::*held;
};

// In the order of their bits.
inline constexpr std::array<ControlSignal, 8> kControlSignals = {{
    {PcInc, "PC/I", &ProcessorModel::pcInc},
    {AddRead, "ADD/R", &ProcessorModel::addRead},
    {ARead, "A/R", &ProcessorModel::aRead},
    {RamRead, "RAM/R", &ProcessorModel::ramRead},
    {BWrite, "B/W", &ProcessorModel::bWrite},
    {AWrite, "A/W", &ProcessorModel::aWrite},
    {PcWrite, "PC/W", &ProcessorModel::pcWrite},
    {IrWrite, "IR/W", &ProcessorModel::irWrite},
}};

// The output of each of the five AND gates: its signal AND Phi2.
struct Strobe {
    Signal signal;
    bool ProcessorModel::*held;
};
inline constexpr std::array<Strobe, 5> kStrobes = {{
    {BWrite, &ProcessorModel::bLoad},
    {AWrite, &ProcessorModel::aLoad},
    {PcWrite, &ProcessorModel::pcLoad},
    {IrWrite, &ProcessorModel::irLoad},
    {PcInc, &ProcessorModel::pcCount},
}};

// The row of one signal, or nullptr for a mask that is not one signal.
const ControlSignal* controlSignal(unsigned signal);
// The diagram's name of one signal ("PC/W"); empty for a mask that is not one signal.
std::string_view signalName(unsigned signal);
// Whether the machine holds the signal on; false for a mask that is not one signal.
bool signalOn(const ProcessorModel& m, unsigned signal);
// Whether the AND gate of the signal gives its strobe; false for the sources, which
// go through no gate.
bool strobeOn(const ProcessorModel& m, unsigned signal);

} // namespace procesor
