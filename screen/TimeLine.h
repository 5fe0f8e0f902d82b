#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "screen/History.h"

// What the time line says of the pulses it holds: the values of each pulse for the
// timing diagram and the table, and the log of transfers.
namespace procesor {

// One clock pulse as it left the machine.
struct PulseSample {
    std::uint64_t position = 0; // of the pulse's entry: moveTo(position) is the state before it
    int pulse = 0;              // from 1 within the run ("provoz" starts a run)
    int microstep = 0;          // from 1 within the run, three pulses each
    int line = 0;               // the microprogram line of the microstep
    bool phi1 = false;
    bool phi2 = false;
    std::array<bool, 8> signals{}; // in the order of kSignalRows
    std::array<bool, 5> strobes{}; // in the order of kStrobeRows
    int bus = 0, ir = 0, pc = 0, regA = 0, regB = 0, sum = 0;
    bool halted = false; // this pulse decoded the halt
};

// The rows' names, as the diagram names the wires: the control signals, the five
// AND gates (a signal AND Φ2) and the values.
inline constexpr std::array<std::string_view, 8> kSignalRows = {"PC/I", "ADD/R", "A/R",  "RAM/R",
                                                                "B/W",  "A/W",   "PC/W", "IR/W"};
inline constexpr std::array<std::string_view, 5> kStrobeRows = {"B/W·Φ2", "A/W·Φ2", "PC/W·Φ2",
                                                                "IR/W·Φ2", "PC/I·Φ2"};
inline constexpr std::array<std::string_view, 6> kValueRows = {"sběrnice", "IR", "PČ",
                                                               "A",        "B",  "sčítačka"};

// The pulses among the entries from..to-1.
std::vector<PulseSample> pulseSamples(const History& history, std::uint64_t from, std::uint64_t to);
// The number of pulses the run had before position p.
int pulsesInRunBefore(const History& history, std::uint64_t p);

// The log of transfers over the whole time line, one line each.
std::vector<std::string> transferLog(const History& history);
// The lines of the entries from..to-1 alone (the pulses numbered within their run).
std::vector<std::string> transferLog(const History& history, std::uint64_t from, std::uint64_t to);
std::string transferLogText(const History& history);
// The table of pulses: a header row, then one row per pulse, comma-separated, UTF-8.
std::string pulseTableCsv(const History& history);

} // namespace procesor
