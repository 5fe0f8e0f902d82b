#include "renderer/CompanionClicks.h"

namespace procesor {

const std::array<CompanionClick, 33> kCompanionClicks = {{
    {CompanionClick::Image, 9, "Image9Click", "vondrel"},
    {CompanionClick::Label, 14, "Label14Click", "vondrel"},
    {CompanionClick::Label, 15, "Label15Click", "vondrel"},
    {CompanionClick::Label, 16, "Label16Click", "vondrel"},
    {CompanionClick::Label, 17, "Label17Click", "vondrel"},
    {CompanionClick::Label, 18, "Label18Click", "vondrel"},
    {CompanionClick::Label, 19, "Label19Click", "vondrel"},
    {CompanionClick::Label, 20, "Label20Click", "vondrel"},
    {CompanionClick::Label, 21, "Label21Click", "vondrel"},
    {CompanionClick::Label, 22, "Label22Click", "vondrel"},
    {CompanionClick::Label, 23, "Label23Click", "vondrel"},
    {CompanionClick::Label, 24, "Label24Click", "vondrel"},
    {CompanionClick::Label, 25, "Label25Click", "vondrel"},
    {CompanionClick::Label, 26, "Label26Click", "vondrel"},
    {CompanionClick::Label, 27, "Label27Click", "vondrel"},
    {CompanionClick::Label, 28, "Label28Click", "vondrel"},
    {CompanionClick::Label, 29, "Label29Click", "vondrel"},
    {CompanionClick::Label, 13, "Label13Click", "vondrel"},
    {CompanionClick::Label, 30, "Label30Click", "vondrel"},
    {CompanionClick::Label, 31, "Label31Click", "vondrel"},
    {CompanionClick::Label, 32, "Label32Click", "vondrel"},
    {CompanionClick::Label, 33, "Label33Click", "vondrel"},
    {CompanionClick::Label, 34, "Label34Click", "vondrel"},
    {CompanionClick::Image, 2, "Image2Click", "plimo"},
    {CompanionClick::Image, 203, "Image203Click", "plimo"},
    {CompanionClick::Image, 63, "Image63Click", "plimo"},
    {CompanionClick::Image, 71, "Image71Click", "plimo"},
    {CompanionClick::Image, 1, "Image1Click", "plimo"},
    {CompanionClick::Image, 3, "Image3Click", "sarvek"},
    {CompanionClick::Image, 4, "Image4Click", "sarvek"},
    {CompanionClick::Image, 65, "Image65Click", "quobin"},
    {CompanionClick::Image, 62, "Image62Click", "tamrelA"},
    {CompanionClick::Image, 7, "Image7Click", "tamrelB"},
}};

const char* companionFor(CompanionClick::Kind kind, int number) {
    for (const CompanionClick& c : kCompanionClicks)
        if (c.kind == kind && c.number == number) return c.command;
    return nullptr;
}

} // namespace procesor
