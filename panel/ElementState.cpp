#include "panel/ElementState.h"

#include "model/Microprogram.h"
#include "panel/SignalOverlays.h"
#include "model/WordText.h"

namespace procesor {

namespace {

constexpr std::array<int, 16> kRamAddressLabels = {1,  3,  6,  7,  8,  51, 52, 53,
                                                   54, 55, 56, 57, 58, 59, 60, 61};

struct PanelStart {
    int number;
    const char* caption;
    Rgb colour;
    Bevel bevel; // outer and inner alike
};
constexpr std::array<PanelStart, 7> kPanelsAtStart = {{
    {1, "ručně", clCream, Bevel::None},
    {2, "start/stop", clCream, Bevel::None},
    {3, "krokování", clAqua, Bevel::Space},
    {4, "zápis do RAM", clAqua, Bevel::Space},
    {5, "nulování", clAqua, Bevel::Space},
    {6, "programování", clLime, Bevel::Lowered},
    {7, "provoz", clMoneyGreen, Bevel::Space},
}};

} // namespace

ElementState ElementState::startup() {
    ElementState s;

    // Static artwork is always shown; of the signal overlays only the PC/I wire.
    for (Picture& p : s.image) p.visible = true;
    for (int image : modeResetOverlays()) s.image[image].visible = false;
    for (int image : kStepIndicator) s.image[image].visible = false;
    for (int image : kWriteIndicator) s.image[image].visible = false;
    for (int image : kClearIndicator) s.image[image].visible = false;
    for (int image : kPcIncLine) s.image[image].visible = true;

    for (std::size_t line = 0; line < kMicroprogram.size(); ++line) {
        const MicroLine& m = kMicroprogram[line];
        s.label[m.lineLabel] = {std::string(m.caption), line == 0 ? clYellow : clSkyBlue};
    }
    for (const Instruction& i : kInstructions)
        s.label[i.label] = {std::string(i.mnemonic), i.label == 13 ? clYellow : clSkyBlue};

    for (int address = 0; address < 16; ++address) {
        s.label[kRamAddressLabels[address]] = {std::to_string(address) + ":", clCaptionText};
        s.label[kFirstRamCell + address] = {std::string(kBlankCellText),
                                            address == 0 ? clYellow : clSkyBlue};
    }
    for (int digit : {kIrDigit, kPcDigit, kRegADigit, kSumDigit, kRegBDigit})
        s.label[digit] = {"0", clWhite};
    for (int digit : kBusDigitLabels) s.label[digit] = {"0", clInactiveBorder};
    s.label[4] = {"LSB", clInactiveBorder};
    s.label[11] = {"LSB", clInactiveBorder};
    s.label[65] = {"Rychlost:", clInactiveBorder};

    for (const PanelStart& p : kPanelsAtStart)
        s.panel[p.number] = {p.caption, p.colour, p.bevel, p.bevel};

    for (int b : {8, 9, 10, 11}) s.button[b] = {"0", true};
    for (int b : {1, 12, 13, 14}) s.button[b] = {"Button" + std::to_string(b), false};

    s.edit17 = {"4", true};
    s.upDown1 = {4, 1, 7};

    s.timer[1] = {false, 700};
    s.timer[2] = {false, 500};
    s.timer[3] = {false, 500};
    s.timer[4] = {false, 500};
    s.timer[5] = {false, 300};
    return s;
}

} // namespace procesor
