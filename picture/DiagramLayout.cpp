#include "picture/DiagramLayout.h"

#include <algorithm>
#include <array>

namespace procesor::layout {

namespace {

constexpr Wire h(int image, int y, int x0, int x1) {
    return {image, Run::Horizontal, y, x0, x1};
}
constexpr Wire v(int image, int x, int y0, int y1) {
    return {image, Run::Vertical, x, y0, y1};
}

// Bus line k lies at kBusX[k], bit 3 (weight 8) first.
constexpr std::array<int, 4> kBusX = {736, 752, 768, 784};

// Four stubs of a unit to the bus, 8 pixels apart, bit 3 at the top; each runs
// from `startX` to the first column of its bus line.
constexpr std::array<Wire, 4> stubs(std::array<int, 4> images, int topRow, int startX) {
    std::array<Wire, 4> w{};
    for (int k = 0; k < 4; ++k) w[k] = h(images[k], topRow + 8 * k, startX, kBusX[k]);
    return w;
}

template <std::size_t... N> constexpr auto join(const std::array<Wire, N>&... parts) {
    std::array<Wire, (N + ...)> all{};
    std::size_t i = 0;
    ((std::copy(parts.begin(), parts.end(), all.begin() + i), i += N), ...);
    return all;
}

constexpr auto kWires =
    join(std::to_array<Wire>({
             // Micro-address, from the memory decoder strip to IR's left edge.
             h(47, 72, 308, 560),
             h(48, 80, 308, 560),
             h(49, 88, 308, 560),
             h(50, 96, 308, 560),
             // Phi1, from its field up into IR's bottom edge.
             h(11, 172, 307, 578),
             v(262, 578, 105, 174),
             // Phi2 and its branches to the five AND gates.
             v(13, 258, 190, 633),
             h(206, 232, 256, 313),
             h(57, 272, 256, 313),
             h(192, 312, 256, 313),
             h(72, 512, 256, 313),
             h(101, 632, 258, 312),
             // IR/W and the IR load.
             v(53, 224, 190, 217),
             h(12, 216, 224, 313),
             h(10, 224, 336, 620),
             v(264, 618, 105, 224),
             // PC/W and the PC load.
             v(208, 208, 190, 257),
             h(207, 256, 208, 313),
             h(204, 264, 336, 561),
             // PC/I and the PC count.
             v(210, 26, 190, 298),
             h(194, 296, 26, 313),
             h(191, 304, 336, 418),
             v(6, 416, 272, 305),
             h(52, 272, 416, 561),
             // A/W and the A load.
             v(73, 191, 190, 497),
             h(75, 496, 192, 312),
             h(74, 504, 336, 561),
             // B/W and the B load.
             v(186, 176, 190, 649),
             h(187, 648, 176, 312),
             h(100, 640, 336, 561),
             // The sources: RAM/R, A/R, ADD/R.
             v(196, 112, 190, 449),
             h(197, 448, 112, 505),
             v(199, 96, 190, 529),
             h(200, 528, 96, 562),
             v(227, 80, 190, 577),
             h(228, 576, 80, 561),
             // The data bus, bit 3 at the left.
             v(21, 736, 48, 689),
             v(20, 752, 48, 689),
             v(19, 768, 48, 689),
             v(51, 784, 48, 689),
         }),
         // Stubs of the units; all but IR's start inside their block.
         stubs({23, 24, 25, 26}, 72, 648),  // IR
         stubs({27, 28, 29, 30}, 264, 600), // PC
         stubs({31, 32, 33, 34}, 400, 656), // RAM
         stubs({35, 36, 37, 38}, 504, 600), // register A
         stubs({39, 40, 41, 42}, 568, 600), // adder
         stubs({43, 44, 45, 46}, 632, 600), // register B
         std::to_array<Wire>({
             // From each bus line to the bus switch's left edge.
             h(223, 176, 736, 841),
             h(224, 184, 752, 841),
             h(232, 192, 768, 841),
             h(233, 200, 784, 841),
             // PC to the RAM address, A to the adder, B to the adder; bits 3..0.
             v(110, 593, 298, 320),
             v(111, 601, 298, 320),
             v(112, 609, 298, 320),
             v(113, 617, 298, 320),
             v(170, 593, 537, 560),
             v(171, 601, 537, 560),
             v(172, 609, 537, 560),
             v(173, 617, 537, 560),
             v(174, 593, 602, 624),
             v(175, 601, 602, 624),
             v(176, 609, 602, 624),
             v(177, 617, 602, 624),
             // From the bus switch's right edge to the data switches, and down from them.
             h(239, 176, 876, 922),
             h(243, 184, 876, 938),
             h(241, 192, 876, 954),
             h(240, 200, 876, 970),
             v(251, 921, 152, 177),
             v(252, 937, 152, 186),
             v(253, 953, 152, 194),
             v(254, 969, 152, 202),
             // Mode buttons to the bus switch.
             v(259, 857, 144, 165),
             // Operator buttons: stepping into the PC, writing and clearing into the RAM.
             v(193, 448, 285, 327),
             h(245, 283, 448, 561),
             h(249, 369, 480, 505),
             h(247, 401, 480, 505),
         }));

// Junction dots, at (bus line's x - 1, stub's y - 1) on the bus.
constexpr auto kDots = std::to_array<Dot>({
    // Phi2 branches.
    {99, 257, 231},
    {220, 257, 271},
    {219, 257, 311},
    {98, 257, 511},
    // IR, PC, RAM, A, adder, B and bus switch stubs, bits 3..0.
    {78, 735, 71},
    {90, 751, 79},
    {89, 767, 87},
    {86, 783, 95},
    {77, 735, 263},
    {66, 751, 271},
    {91, 767, 279},
    {76, 783, 287},
    {5, 735, 399},
    {17, 751, 407},
    {96, 767, 415},
    {95, 783, 423},
    {93, 735, 503},
    {92, 751, 511},
    {84, 767, 519},
    {94, 783, 527},
    {83, 735, 567},
    {82, 751, 575},
    {81, 767, 583},
    {80, 783, 591},
    {58, 735, 631},
    {79, 751, 639},
    {97, 767, 647},
    {85, 783, 655},
    {87, 735, 175},
    {88, 751, 183},
    {231, 767, 191},
    {190, 783, 199},
});

constexpr auto kBlocks = std::to_array<Block>({
    {9, Art::ControlUnit, {8, 10, 300, 180}, {8, 10, 300, 180}, "ŘÍZENÍ", "", ""},
    {3, Art::Register, {560, 63, 89, 42}, {560, 63, 89, 42}, "IR", "Instrukční", "registr"},
    {4, Art::Register, {561, 256, 89, 42}, {561, 256, 92, 49}, "PČ", "Programový", "čítač"},
    {62, Art::Register, {561, 496, 89, 42}, {561, 496, 89, 42}, "RA", "Registr A", ""},
    {65, Art::Register, {561, 560, 89, 42}, {561, 560, 92, 49}, "ADD", "Sčítačka", ""},
    {7, Art::Register, {561, 624, 89, 42}, {561, 624, 92, 44}, "RB", "Registr B", ""},
    {22, Art::Ram, {504, 320, 199, 154}, {504, 320, 199, 154}, "RAM", "Paměť programu", ""},
    // The five AND gates, top to bottom.
    {2, Art::AndGate, {312, 208, 25, 33}, {312, 208, 25, 33}, "&", "", ""},
    {203, Art::AndGate, {312, 248, 25, 33}, {312, 248, 25, 33}, "&", "", ""},
    {63, Art::AndGate, {312, 288, 25, 33}, {312, 288, 25, 33}, "&", "", ""},
    {71, Art::AndGate, {312, 488, 25, 33}, {312, 488, 25, 33}, "&", "", ""},
    {1, Art::AndGate, {312, 624, 25, 33}, {312, 624, 25, 33}, "&", "", ""},
    // The bus switch: the closed picture lies over the open one.
    {234, Art::OpenSwitch, {840, 164, 37, 49}, {840, 164, 41, 49}, "", "", ""},
    {242, Art::ClosedSwitch, {840, 164, 37, 49}, {840, 164, 41, 57}, "", "", ""},
});

constexpr Overlay dot(int image, int x, int y) {
    return {image, {x, y, 5, 5}};
}

constexpr auto kOverlays = std::to_array<Overlay>({
    // Clock phase Phi1.
    {16, {307, 172, 272, 3}},
    {263, {578, 104, 3, 71}},
    // Clock phase Phi2.
    {18, {258, 190, 3, 443}},
    {216, {256, 232, 57, 3}},
    dot(261, 257, 231),
    {8, {256, 272, 57, 3}},
    dot(221, 257, 271),
    {218, {256, 312, 57, 3}},
    dot(222, 257, 311),
    {102, {256, 512, 57, 3}},
    dot(105, 257, 511),
    {103, {258, 632, 54, 3}},
    // Control signals from the decoders.
    {225, {26, 190, 3, 109}},
    {215, {26, 296, 287, 3}},
    {14, {224, 190, 3, 27}},
    {15, {224, 216, 89, 3}},
    {226, {208, 190, 3, 67}},
    {217, {208, 256, 105, 3}},
    {106, {191, 190, 3, 307}},
    {107, {192, 496, 120, 3}},
    {188, {176, 190, 3, 459}},
    {189, {176, 648, 136, 3}},
    {195, {112, 190, 3, 259}},
    {198, {112, 448, 393, 3}},
    {202, {96, 190, 3, 339}},
    {201, {96, 528, 465, 3}},
    {230, {80, 190, 3, 387}},
    {229, {80, 576, 481, 3}},
    // AND gate outputs.
    {64, {336, 224, 284, 3}},
    {265, {618, 104, 3, 121}},
    {213, {336, 264, 226, 3}},
    {214, {336, 304, 83, 3}},
    {60, {416, 272, 3, 33}},
    {61, {416, 272, 146, 3}},
    {108, {336, 504, 225, 3}},
    {109, {336, 640, 226, 3}},
    // Micro-address lines between IR and the memory decoder.
    {59, {308, 72, 252, 3}},
    {56, {308, 80, 252, 3}},
    {55, {308, 88, 252, 3}},
    {54, {308, 96, 252, 3}},
    // Data bus: lines, stubs and dots, bits 3, 2, 1, 0.
    {118, {736, 48, 3, 641}},
    {119, {752, 48, 3, 641}},
    {120, {768, 48, 3, 641}},
    {121, {784, 48, 3, 641}},
    {122, {648, 72, 90, 3}},
    {123, {648, 80, 103, 3}},
    {128, {648, 88, 119, 3}},
    {129, {648, 96, 135, 3}},
    {127, {649, 264, 88, 3}},
    {126, {649, 272, 104, 3}},
    {125, {649, 280, 120, 3}},
    {124, {649, 288, 136, 3}},
    {130, {703, 400, 34, 3}},
    {134, {703, 408, 51, 3}},
    {142, {703, 416, 67, 3}},
    {138, {703, 424, 83, 3}},
    {131, {649, 504, 88, 3}},
    {135, {649, 512, 104, 3}},
    {143, {649, 520, 120, 3}},
    {139, {649, 528, 136, 3}},
    {132, {649, 568, 88, 3}},
    {136, {649, 576, 104, 3}},
    {144, {649, 584, 120, 3}},
    {140, {649, 592, 136, 3}},
    {133, {649, 632, 88, 3}},
    {137, {649, 640, 104, 3}},
    {145, {649, 648, 120, 3}},
    {141, {649, 656, 136, 3}},
    {68, {739, 176, 102, 3}},
    {69, {755, 184, 86, 3}},
    {70, {771, 192, 70, 3}},
    {67, {782, 200, 59, 3}},
    dot(152, 735, 71),
    dot(151, 751, 79),
    dot(150, 767, 87),
    dot(153, 783, 95),
    dot(148, 735, 263),
    dot(149, 751, 271),
    dot(147, 767, 279),
    dot(146, 783, 287),
    dot(155, 735, 399),
    dot(157, 751, 407),
    dot(154, 767, 415),
    dot(156, 783, 423),
    dot(160, 735, 503),
    dot(161, 751, 511),
    dot(166, 767, 519),
    dot(163, 783, 527),
    dot(167, 735, 567),
    dot(169, 751, 575),
    dot(168, 767, 583),
    dot(159, 783, 591),
    dot(165, 735, 631),
    dot(164, 751, 639),
    dot(158, 767, 647),
    dot(162, 783, 655),
    dot(205, 735, 175),
    dot(209, 751, 183),
    dot(211, 767, 191),
    dot(212, 783, 199),
    // Data switches: horizontal piece to the bus switch, vertical piece down.
    {236, {877, 176, 45, 3}},
    {255, {920, 153, 3, 24}},
    {235, {877, 184, 61, 3}},
    {256, {936, 153, 3, 33}},
    {237, {877, 192, 77, 3}},
    {257, {952, 153, 3, 41}},
    {238, {877, 200, 93, 3}},
    {258, {968, 153, 3, 49}},
    // 4-bit paths: PC to RAM, A to the adder, B to the adder; bits 3..0.
    {114, {592, 298, 3, 22}},
    {115, {600, 298, 3, 22}},
    {116, {608, 298, 3, 22}},
    {117, {616, 298, 3, 22}},
    {178, {592, 537, 3, 23}},
    {179, {600, 537, 3, 23}},
    {180, {608, 537, 3, 23}},
    {181, {616, 537, 3, 23}},
    {182, {592, 602, 3, 22}},
    {183, {600, 602, 3, 22}},
    {184, {608, 602, 3, 22}},
    {185, {616, 602, 3, 22}},
    // Operator button wires.
    {244, {448, 286, 3, 41}},
    {246, {448, 283, 113, 3}},
    {250, {480, 369, 25, 3}},
    {248, {480, 401, 25, 3}},
});

constexpr int kImageCount = 266;

constexpr std::array<int, kImageCount> overlayIndex() {
    std::array<int, kImageCount> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < kOverlays.size(); ++i) index[kOverlays[i].image] = int(i);
    return index;
}
constexpr auto kOverlayIndex = overlayIndex();

constexpr Rgb kInk = clWindowText;

constexpr auto kLabels = std::to_array<LabelPlace>({
    // Microprogram listing, lines 0000..0111 in the left column, 1000..1111 in the right.
    {14, 40, 32, TextFont::Window, kInk},
    {15, 40, 48, TextFont::Window, kInk},
    {16, 40, 64, TextFont::Window, kInk},
    {17, 40, 80, TextFont::Window, kInk},
    {18, 40, 96, TextFont::Window, kInk},
    {19, 40, 112, TextFont::Window, kInk},
    {20, 40, 128, TextFont::Window, kInk},
    {21, 40, 144, TextFont::Window, kInk},
    {22, 188, 32, TextFont::Window, kInk},
    {23, 188, 48, TextFont::Window, kInk},
    {24, 188, 64, TextFont::Window, kInk},
    {25, 188, 80, TextFont::Window, kInk},
    {26, 188, 96, TextFont::Window, kInk},
    {27, 188, 112, TextFont::Window, kInk},
    {28, 188, 128, TextFont::Window, kInk},
    {29, 188, 144, TextFont::Window, kInk},
    // Instruction names beside the first line of each routine.
    {13, 12, 32, TextFont::Window, kInk},
    {30, 12, 64, TextFont::Window, kInk},
    {31, 12, 128, TextFont::Window, kInk},
    {32, 162, 48, TextFont::Window, kInk},
    {33, 160, 96, TextFont::Window, kInk},
    {34, 162, 144, TextFont::Window, kInk},
    // RAM addresses "0:".."15:".
    {1, 516, 344, TextFont::Window, kInk},
    {3, 516, 360, TextFont::Window, kInk},
    {6, 516, 376, TextFont::Window, kInk},
    {7, 516, 392, TextFont::Window, kInk},
    {8, 516, 408, TextFont::Window, kInk},
    {51, 516, 424, TextFont::Window, kInk},
    {52, 516, 440, TextFont::Window, kInk},
    {53, 516, 456, TextFont::Window, kInk},
    {54, 612, 344, TextFont::Window, kInk},
    {55, 612, 360, TextFont::Window, kInk},
    {56, 606, 376, TextFont::Window, kInk},
    {57, 606, 392, TextFont::Window, kInk},
    {58, 606, 408, TextFont::Window, kInk},
    {59, 606, 424, TextFont::Window, kInk},
    {60, 606, 440, TextFont::Window, kInk},
    {61, 606, 456, TextFont::Window, kInk},
    // RAM cells, addresses 0..15.
    {35, 536, 344, TextFont::Window, kInk},
    {36, 536, 360, TextFont::Window, kInk},
    {37, 536, 376, TextFont::Window, kInk},
    {38, 536, 392, TextFont::Window, kInk},
    {39, 536, 408, TextFont::Window, kInk},
    {40, 536, 424, TextFont::Window, kInk},
    {41, 536, 440, TextFont::Window, kInk},
    {42, 536, 456, TextFont::Window, kInk},
    {43, 632, 344, TextFont::Window, kInk},
    {44, 632, 360, TextFont::Window, kInk},
    {45, 632, 376, TextFont::Window, kInk},
    {46, 632, 392, TextFont::Window, kInk},
    {47, 632, 408, TextFont::Window, kInk},
    {48, 632, 424, TextFont::Window, kInk},
    {49, 632, 440, TextFont::Window, kInk},
    {50, 632, 456, TextFont::Window, kInk},
    // Value digits in IR, PC, A, the adder and B.
    {66, 624, 72, TextFont::Digits, clRed},
    {2, 628, 266, TextFont::Digits, clRed},
    {5, 628, 506, TextFont::Digits, clRed},
    {9, 628, 570, TextFont::Digits, clRed},
    {10, 628, 634, TextFont::Digits, clRed},
    // Bus digits above bus lines 3..0.
    {12, 732, 32, TextFont::Digits, clBlue},
    {62, 749, 32, TextFont::Digits, clBlue},
    {63, 765, 32, TextFont::Digits, clBlue},
    {64, 781, 32, TextFont::Digits, clBlue},
    // Plain texts.
    {4, 789, 56, TextFont::WindowBold, kInk},
    {11, 961, 127, TextFont::WindowBold, kInk},
    {65, 898, 313, TextFont::WindowBold, kInk},
});

constexpr int kLabelCount = 67;

constexpr std::array<int, kLabelCount> labelIndex() {
    std::array<int, kLabelCount> index{};
    index.fill(-1);
    for (std::size_t i = 0; i < kLabels.size(); ++i) index[kLabels[i].label] = int(i);
    return index;
}
constexpr auto kLabelIndex = labelIndex();

constexpr auto kPanels = std::to_array<Control>({
    {1, {819, 272, 73, 25}},
    {2, {819, 308, 73, 25}},
    {3, {408, 328, 81, 25}},
    {4, {408, 360, 81, 25}},
    {5, {408, 392, 81, 25}},
    {6, {819, 96, 81, 25}},
    {7, {819, 120, 81, 25}},
});

constexpr auto kDataSwitches = std::to_array<SwitchPlace>({
    {8, {916, 139, 13, 15}, clBlue},
    {9, {932, 139, 13, 15}, clWindowText},
    {10, {948, 139, 13, 15}, clWindowText},
    {11, {964, 139, 13, 15}, clWindowText},
});

constexpr auto kMemoLines = std::to_array<std::string_view>({
    "NOP - 1111     0 - 0000",
    "LDA  - 0001     1 - 0001",
    " + číslo             2 - 0010",
    "ADD - 0101      3 - 0011",
    "JMP  -1000       4 - 0100",
    " + adresa          5 - 0101",
    "MOV -1011       6 - 0110",
    "HLT - 1110       7 - 0111",
    "                         8 - 1000",
    "                         9 - 1001",
    "                       10 - 1010",
    "                       11 - 1011",
    "                       12 - 1100",
    "                       13 - 1101",
    "                       14 - 1110",
    "                       15 - 1111",
});

} // namespace

std::span<const Wire> wires() {
    return kWires;
}
std::span<const Dot> dots() {
    return kDots;
}
std::span<const Block> blocks() {
    return kBlocks;
}
std::span<const Overlay> overlays() {
    return kOverlays;
}
const Overlay* overlay(int image) {
    if (image < 0 || image >= kImageCount || kOverlayIndex[image] < 0) return nullptr;
    return &kOverlays[static_cast<std::size_t>(kOverlayIndex[image])];
}
std::span<const LabelPlace> labels() {
    return kLabels;
}
const LabelPlace* label(int number) {
    if (number < 0 || number >= kLabelCount || kLabelIndex[number] < 0) return nullptr;
    return &kLabels[static_cast<std::size_t>(kLabelIndex[number])];
}
std::span<const Control> panels() {
    return kPanels;
}
std::span<const SwitchPlace> dataSwitches() {
    return kDataSwitches;
}
std::span<const std::string_view> memoLines() {
    return kMemoLines;
}

} // namespace procesor::layout
