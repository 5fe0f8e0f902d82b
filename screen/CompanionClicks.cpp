#include "screen/CompanionClicks.h"

namespace procesor {

const std::array<CompanionClick, 33> kCompanionClicks = {{
    {CompanionClick::Image, 9, "vondrel"},  {CompanionClick::Label, 14, "vondrel"},
    {CompanionClick::Label, 15, "vondrel"}, {CompanionClick::Label, 16, "vondrel"},
    {CompanionClick::Label, 17, "vondrel"}, {CompanionClick::Label, 18, "vondrel"},
    {CompanionClick::Label, 19, "vondrel"}, {CompanionClick::Label, 20, "vondrel"},
    {CompanionClick::Label, 21, "vondrel"}, {CompanionClick::Label, 22, "vondrel"},
    {CompanionClick::Label, 23, "vondrel"}, {CompanionClick::Label, 24, "vondrel"},
    {CompanionClick::Label, 25, "vondrel"}, {CompanionClick::Label, 26, "vondrel"},
    {CompanionClick::Label, 27, "vondrel"}, {CompanionClick::Label, 28, "vondrel"},
    {CompanionClick::Label, 29, "vondrel"}, {CompanionClick::Label, 13, "vondrel"},
    {CompanionClick::Label, 30, "vondrel"}, {CompanionClick::Label, 31, "vondrel"},
    {CompanionClick::Label, 32, "vondrel"}, {CompanionClick::Label, 33, "vondrel"},
    {CompanionClick::Label, 34, "vondrel"}, {CompanionClick::Image, 2, "plimo"},
    {CompanionClick::Image, 203, "plimo"},  {CompanionClick::Image, 63, "plimo"},
    {CompanionClick::Image, 71, "plimo"},   {CompanionClick::Image, 1, "plimo"},
    {CompanionClick::Image, 3, "sarvek"},   {CompanionClick::Image, 4, "sarvek"},
    {CompanionClick::Image, 65, "quobin"},  {CompanionClick::Image, 62, "tamrelA"},
    {CompanionClick::Image, 7, "tamrelB"},
}};

const char* companionFor(CompanionClick::Kind kind, int number) {
    for (const CompanionClick& c : kCompanionClicks)
        if (c.kind == kind && c.number == number) return c.command;
    return nullptr;
}

} // namespace procesor
