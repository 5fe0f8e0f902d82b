#pragma once

#include <array>
#include <span>

#include "model/ProcessorModel.h"

namespace procesor {

// Which red overlay pictures show which signal. Numbers are image numbers
// (118 is Image118). Four-line groups are indexed by bit: [0] weight 1 .. [3] weight 8.

using ImageList = std::span<const int>;

inline constexpr int kClosedBusSwitch = 242; // visible = programming mode
inline constexpr int kOpenBusSwitch = 234;

inline constexpr std::array<int, 2> kPhi1Images = {16, 263};
inline constexpr std::array<int, 10> kPhi2Images = {18, 102, 103, 8, 105, 216, 221, 218, 222, 261};

// A data bus line with its stubs to every unit and their junction dots.
inline constexpr std::array<std::array<int, 15>, 4> kBusImages = {{
    {121, 129, 124, 138, 139, 140, 141, 153, 146, 156, 159, 163, 162, 212, 67},
    {120, 128, 125, 142, 143, 144, 145, 150, 147, 154, 166, 168, 158, 211, 70},
    {119, 123, 126, 134, 135, 136, 137, 151, 149, 157, 161, 169, 164, 209, 69},
    {118, 122, 127, 130, 131, 132, 133, 152, 148, 155, 160, 167, 165, 205, 68},
}};
// The red bus line itself of each bit; the bus digits read these.
inline constexpr std::array<int, 4> kBusLine = {121, 120, 119, 118};

inline constexpr std::array<int, 4> kMicroaddressLines = {54, 55, 56, 59}; // IR -> decoder
inline constexpr std::array<int, 4> kAddressLines = {117, 116, 115, 114};  // PC -> RAM
inline constexpr std::array<int, 4> kRegAPaths = {181, 180, 179, 178};     // A -> adder
inline constexpr std::array<int, 4> kRegBPaths = {185, 184, 183, 182};     // B -> adder

// Control lines from the decoders and the AND gates' outputs.
struct SignalLine {
    bool ProcessorModel::*field;
    std::array<int, 3> images; // 0 = no picture
};
inline constexpr std::array<SignalLine, 13> kSignalLines = {{
    {&ProcessorModel::pcInc, {225, 215}},
    {&ProcessorModel::addRead, {230, 229}},
    {&ProcessorModel::aRead, {202, 201}},
    {&ProcessorModel::ramRead, {195, 198}},
    {&ProcessorModel::irWrite, {14, 15}},
    {&ProcessorModel::pcWrite, {226, 217}},
    {&ProcessorModel::aWrite, {106, 107}},
    {&ProcessorModel::bWrite, {188, 189}},
    {&ProcessorModel::irLoad, {64, 265}},
    {&ProcessorModel::pcLoad, {213}},
    {&ProcessorModel::pcCount, {214, 60, 61}},
    {&ProcessorModel::aLoad, {108}},
    {&ProcessorModel::bLoad, {109}},
}};
// The PC/I wire: the only signal line a mode reset leaves lit.
inline constexpr std::array<int, 2> kPcIncLine = {225, 215};

// The four data switches, left to right (Button8 = weight 8 .. Button11 = weight 1).
struct DataSwitch {
    int button;
    int bit;      // index into kBusImages
    int runWire;  // horizontal piece to the bus switch; its visibility is the switch state
    int dropWire; // vertical piece down from the switch
};
inline constexpr std::array<DataSwitch, 4> kDataSwitches = {{
    {8, 3, 236, 255},
    {9, 2, 235, 256},
    {10, 1, 237, 257},
    {11, 0, 238, 258},
}};

// Bus digits above the bus lines, [0] weight 1 .. [3] weight 8.
inline constexpr std::array<int, 4> kBusDigitLabels = {64, 63, 62, 12};

// Value digits inside the register blocks.
inline constexpr int kIrDigit = 66;
inline constexpr int kPcDigit = 2;
inline constexpr int kRegADigit = 5;
inline constexpr int kSumDigit = 9;
inline constexpr int kRegBDigit = 10;

// Listing labels: Label14..Label29 are lines 0..15; instruction names beside them.
inline constexpr int kFirstListingLine = 14;
inline constexpr std::array<int, 6> kInstructionLabels = {13, 30, 31, 32, 33, 34};
// RAM cells: Label35 (address 0) .. Label50 (address 15).
inline constexpr int kFirstRamCell = 35;

// Indicator wires of the programming buttons, lit while the button is down.
inline constexpr std::array<int, 2> kStepIndicator = {244, 246};
inline constexpr std::array<int, 1> kWriteIndicator = {250};
inline constexpr std::array<int, 1> kClearIndicator = {248};

// Every overlay that a mode reset darkens.
std::span<const int> modeResetOverlays();

} // namespace procesor
