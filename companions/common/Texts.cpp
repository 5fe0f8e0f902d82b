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

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWith(std::string_view text, std::size_t at, std::string_view with) {
    return text.substr(at, with.size()) == with;
}

bool endsWith(std::string_view text, std::size_t at, std::string_view with) {
    return at >= with.size() && text.substr(at - with.size(), with.size()) == with;
}

// Whether the blank at `at` must not break the line: after a one-letter preposition
// or conjunction (capital only where a sentence starts), before and after the
// signs of a sum or an equation, before a clock phase ("fáze Φ2", "a Φ2") and
// between a number and the bracket that says it again ("15 (1111)", "0001 (LDA)").
bool joins(std::string_view text, std::size_t at) {
    static constexpr std::string_view kSigns[] = {"+", "=", "−"};
    const std::string_view after = text.substr(at + 1);
    for (std::string_view sign : kSigns) {
        if (startsWith(after, 0, sign) && startsWith(after, sign.size(), " ")) return true;
        if (endsWith(text, at, sign) &&
            (endsWith(text, at - sign.size(), " ") || endsWith(text, at - sign.size(), kNoBreak)))
            return true;
    }
    if (startsWith(after, 0, "Φ")) return true;
    if (at > 0 && isDigit(text[at - 1]) && startsWith(after, 0, "(")) return true;
    if (at == 0) return false;
    static constexpr std::string_view kLower = "aikosuvz";
    static constexpr std::string_view kUpper = "AIKOSUVZ";
    const char letter = text[at - 1];
    const std::size_t word = at - 1; // the letter's place
    const bool lower = kLower.find(letter) != std::string_view::npos;
    const bool upper = kUpper.find(letter) != std::string_view::npos;
    if (!lower && !upper) return false;
    const bool textStart = word == 0 || text[word - 1] == '\n';
    const bool sentenceStart = textStart || endsWith(text, word, ". ") ||
                               endsWith(text, word, ": ") || endsWith(text, word, "„");
    if (upper) return sentenceStart;
    return textStart || sentenceStart || endsWith(text, word, " ") ||
           endsWith(text, word, kNoBreak) || endsWith(text, word, "(");
}

} // namespace

std::string typeset(std::string text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == ' ' && joins(text, at))
            out += kNoBreak;
        else
            out += text[at];
    }
    return out;
}

std::string both(int value) {
    return binary(value) + std::string(kNoBreak) + "(" + decimal(value) + ")";
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

std::string clockCaption(const ProcessorModel& m, bool halted) {
    if (halted) return "hodiny stojí";
    if (m.phi1 && m.phi2) return "hodiny: fáze Φ2 (Φ1 i Φ2)";
    return "hodiny: " + std::string(clockState(m));
}

} // namespace procesor::explain
