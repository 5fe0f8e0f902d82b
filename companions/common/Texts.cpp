#include "companions/common/Texts.h"

#include "model/Microprogram.h"
#include "model/WordText.h"

namespace procesor::explain {

std::string number(int value) {
    return decimal(value);
}

std::string binary(int value) {
    std::string s;
    for (int bit = 3; bit >= 0; --bit) s += ((value >> bit) & 1) ? '1' : '0';
    return s;
}

std::string_view mnemonicOf(int code) {
    for (const Instruction& i : kInstructions)
        if (i.opcode == code) return i.mnemonic;
    return {};
}

std::string codeName(int code) {
    const std::string_view mnemonic = mnemonicOf(code);
    if (mnemonic.empty()) return binary(code);
    return binary(code) + std::string(kNoBreak) + "(" + std::string(mnemonic) + ")";
}

std::string typeset(std::string text) {
    static constexpr std::string_view kJoined[] = {" a ", " i ", " k ", " o ", " s ",
                                                   " u ", " v ", " z ", " + ", " = "};
    for (std::string_view joined : kJoined) {
        std::string with(joined.substr(0, 2));
        with += kNoBreak;
        if (joined[1] == '+' || joined[1] == '=') with = std::string(kNoBreak) + with.substr(1);
        for (std::size_t at = text.find(joined); at != std::string::npos;
             at = text.find(joined, at + 1))
            text.replace(at, joined.size(), with);
    }
    return text;
}

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
