#include "screen/ExplainerHeadings.h"

#include <array>

#include "screen/CompanionClicks.h"

namespace procesor {

namespace {

struct Heading {
    std::string_view command;
    std::string_view heading;
};
constexpr std::array<Heading, 6> kHeadings = {{
    {"vondrel", "Řadič a mikroprogram"},
    {"plimo", "Hradlo AND – zápisové impulzy"},
    {"sarvek", "Čítací registry IR a PČ"},
    {"quobin", "Sčítačka – sčítání čtyřbitových čísel"},
    {"tamrelA", "Registr A"},
    {"tamrelB", "Registr B"},
}};

// The blocks and gates said beside their explainer's heading; those not listed (the
// control unit, the adder, the registers A and B) are said by the heading alone.
struct ImageName {
    int image;
    std::string_view name;
};
constexpr std::array<ImageName, 7> kImageNames = {{
    {2, "hradlo zápisu do IR"},
    {203, "hradlo zápisu do PČ"},
    {63, "hradlo počítání PČ"},
    {71, "hradlo zápisu do A"},
    {1, "hradlo zápisu do B"},
    {3, "instrukční registr IR"},
    {4, "programový čítač PČ"},
}};

// The caption without its blanks at the ends and with each run of blanks as one.
std::string squeezed(std::string_view caption) {
    std::string out;
    for (char c : caption) {
        if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
        out += c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

} // namespace

std::string_view explainerHeading(std::string_view command) {
    for (const Heading& h : kHeadings)
        if (h.command == command) return h.heading;
    return {};
}

std::string explainerElementName(ElementKind kind, int number, std::string_view caption) {
    const char* command = companionFor(kind, number);
    if (!command) return {};
    std::string name(explainerHeading(command));
    if (kind == ElementKind::Label) {
        // Label14..Label29 are the listing's lines, the others its instruction names.
        const bool line = number >= 14 && number <= 29;
        return name + (line ? ": řádek " : ": instrukce ") + squeezed(caption);
    }
    for (const ImageName& i : kImageNames)
        if (i.image == number) return name + ": " + std::string(i.name);
    return name;
}

} // namespace procesor
