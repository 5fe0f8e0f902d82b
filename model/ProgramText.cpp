#include "model/ProgramText.h"

#include <cstdint>

namespace procesor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char32_t kNoCharacter = 0xFFFFFFFF;

// The code point at text[at] and its length in bytes, or kNoCharacter (length 1)
// when the bytes there are not well-formed UTF-8, overlong forms and surrogates
// included.
char32_t decode(std::string_view text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
    const std::uint8_t lead = byte(0);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t more = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        more = 1, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        more = 2, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        more = 3, c = lead & 0x07, least = 0x10000;
    } else {
        return kNoCharacter;
    }
    if (text.size() - at <= more) return kNoCharacter;
    for (std::size_t i = 1; i <= more; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return kNoCharacter;
        c = c << 6 | (byte(i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kNoCharacter;
    length = more + 1;
    return c;
}

// Calls visit(c, at, length) for each character with its line and position kept
// up to date; stops when visit returns false or at a byte that is not UTF-8.
struct Place {
    int line = 1;
    int position = 0; // of the character being visited
};
template <typename Visit> bool eachCharacter(std::string_view text, Place& place, Visit visit) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = 1;
        const char32_t c = decode(text, at, length);
        ++place.position;
        if (c == kNoCharacter) return false;
        if (!visit(c, at)) return true;
        if (c == '\n') {
            ++place.line;
            place.position = 0;
        }
        at += length;
    }
    return true;
}

bool separates(char32_t c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == ',' ||
           c == '.' || c == 0xA0; // a no-break space, as word processors write
}

// Four binary digits, most significant first, or -1.
int wordValue(std::string_view word) {
    if (word.size() != 4) return -1;
    int value = 0;
    for (char digit : word) {
        if (digit != '0' && digit != '1') return -1;
        value = value * 2 + (digit - '0');
    }
    return value;
}

// A word as the message quotes it: at most 20 characters, control characters
// replaced, so that a long or strange word cannot swamp the box.
std::string quoted(std::string_view word) {
    constexpr int kShown = 20;
    std::string out;
    int shown = 0;
    for (std::size_t at = 0; at < word.size();) {
        if (shown++ == kShown) {
            out += "…";
            break;
        }
        std::size_t length = 1;
        const char32_t c = decode(word, at, length);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == kNoCharacter)
            out += "\uFFFD";
        else
            out += word.substr(at, length);
        at += length;
    }
    return "„" + out + "“";
}

std::string placeText(const ProgramError& e) {
    return "na " + std::to_string(e.line) + ". řádku, " + std::to_string(e.position) + ". pozici";
}

} // namespace

ParsedProgram parseProgram(std::string_view text) {
    ParsedProgram result;
    ProgramError& error = result.error;
    if (text.size() > kMaxProgramBytes) {
        error.kind = ProgramError::TooLarge;
        return result;
    }
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

    // The whole text is UTF-8, comments too, before any word counts.
    Place bad;
    if (!eachCharacter(text, bad, [](char32_t, std::size_t) { return true; })) {
        error = {ProgramError::NotUtf8, {}, 0, bad.line, bad.position};
        return result;
    }

    Place place;
    Place wordPlace;
    std::size_t wordStart = 0;
    bool inWord = false;
    bool comment = false;
    const auto endWord = [&](std::size_t end) {
        if (!inWord) return true;
        inWord = false;
        const std::string_view word = text.substr(wordStart, end - wordStart);
        const int number = int(result.words.size()) + 1;
        const int value = wordValue(word);
        if (number <= kProgramWords && value >= 0) {
            result.words.push_back(value);
            return true;
        }
        error = {number > kProgramWords ? ProgramError::TooManyWords : ProgramError::BadWord,
                 std::string(word), number, wordPlace.line, wordPlace.position};
        return false;
    };
    eachCharacter(text, place, [&](char32_t c, std::size_t at) {
        if (c == '\n' || c == '#' || comment || separates(c)) {
            if (!endWord(at)) return false;
            if (c == '#') comment = true;
            if (c == '\n') comment = false;
        } else if (!inWord) {
            inWord = true;
            wordStart = at;
            wordPlace = place;
        }
        return true;
    });
    if (error.kind == ProgramError::None && endWord(text.size()) && result.words.empty())
        error.kind = ProgramError::NoWords;
    if (!result.ok()) result.words.clear();
    return result;
}

std::string programText(const std::array<int, kProgramWords>& ram, char separator) {
    int last = kProgramWords - 1;
    while (last >= 0 && ram[std::size_t(last)] == 0) --last;
    std::string text;
    for (int address = 0; address <= last; ++address) {
        if (address > 0) text += separator;
        for (int weight = 8; weight >= 1; weight /= 2)
            text += (ram[std::size_t(address)] & weight) ? '1' : '0';
    }
    return text;
}

std::string programErrorMessage(const ProgramError& e, std::string_view fileName) {
    std::string lead = fileName.empty()
                           ? std::string("Program nebyl načten: ")
                           : "Program ze souboru " + quoted(fileName) + " nebyl načten: ";
    switch (e.kind) {
    case ProgramError::None:
        return {};
    case ProgramError::BadWord:
        return lead + std::to_string(e.wordNumber) + ". slovo " + quoted(e.word) + " " +
               placeText(e) +
               " není zapsáno čtyřmi číslicemi 0 nebo 1 (slovo se píše například 0101).";
    case ProgramError::TooManyWords:
        return lead + "RAM má jen 16 slov, ale text jich má víc: 17. slovo " + quoted(e.word) +
               " je " + placeText(e) + ".";
    case ProgramError::NoWords:
        return lead + "text neobsahuje žádné slovo programu (čtyři číslice 0 nebo 1, "
                      "například 0101).";
    case ProgramError::NotUtf8:
        return lead + "text není v kódování UTF-8 (chybný bajt je " + placeText(e) +
               "). Uložte ho v kódování UTF-8.";
    case ProgramError::TooLarge:
        return lead + (fileName.empty() ? "text je příliš dlouhý" : "soubor je příliš velký") +
               " (program se načítá nejvýš z 64 KiB textu).";
    case ProgramError::Unreadable:
        return lead + "soubor nelze přečíst.";
    case ProgramError::RunMode:
        return lead + "program lze načíst jen v režimu programování. Stiskněte "
                      "„programování“ a zkuste to znovu.";
    }
    return lead;
}

} // namespace procesor
