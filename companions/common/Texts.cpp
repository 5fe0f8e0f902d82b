#include "companions/common/Texts.h"

#include "model/Microprogram.h"

namespace procesor::explain {

std::vector<int> linesWith(unsigned signal) {
    std::vector<int> lines;
    for (std::size_t line = 0; line < kMicroprogram.size(); ++line)
        if (kMicroprogram[line].controls & signal) lines.push_back(int(line));
    return lines;
}

std::string_view instructionOf(int line) {
    const int label = kMicroprogram[std::size_t(line & 15)].instructionLabel;
    for (const Instruction& i : kInstructions)
        if (i.label == label) return i.mnemonic;
    return {};
}

std::string lineName(int line) {
    std::string_view caption = kMicroprogram[std::size_t(line & 15)].caption;
    // "0011  RAM/R-A/W  ": the number, then the signals without the listing's blanks.
    const std::string_view number = caption.substr(0, 4);
    std::string_view signals = caption.substr(4);
    while (!signals.empty() && signals.front() == ' ') signals.remove_prefix(1);
    while (!signals.empty() && signals.back() == ' ') signals.remove_suffix(1);
    std::string name(number);
    name += kNoBreak;
    name += signals;
    name += kNoBreak;
    name += "(";
    name += instructionOf(line);
    name += ")";
    return name;
}

std::string onLines(const std::vector<int>& lines) {
    std::string text = lines.size() == 1 ? "řádku " : "řádcích ";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += i + 1 == lines.size() ? " a " : ", ";
        text += lineName(lines[i]);
    }
    return text;
}

std::string_view clockState(const ProcessorModel& m) {
    if (!m.phi1) return "klid";
    return m.phi2 ? "fáze Φ2" : "fáze Φ1";
}

std::string_view clockStateAtStart(const ProcessorModel& m) {
    if (!m.phi1) return "Klid";
    return m.phi2 ? "Fáze Φ2" : "Fáze Φ1";
}

} // namespace procesor::explain
