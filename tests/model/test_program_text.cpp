// The text form of a program: what it accepts, where it places the first bad word,
// the text written from RAM, and the round trip between the two.

#include <string>
#include <vector>

#include "model/ProgramText.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;

namespace {

// The worked example: LDA 5; MOV; ADD; HLT.
const std::vector<int> kExample = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};

bool checkWords(std::string_view text, const std::vector<int>& expected, int line) {
    const ParsedProgram p = parseProgram(text);
    if (p.ok() && p.words == expected) return true;
    ++::testing::checkFailures();
    std::printf("%s:%d: \"%.*s\" read as %d words, error %d\n", __FILE__, line, int(text.size()),
                text.data(), int(p.words.size()), int(p.error.kind));
    return false;
}
#define CHECK_WORDS(text, expected) checkWords((text), (expected), __LINE__)

bool checkError(std::string_view text, const ProgramError& expected, int line) {
    const ParsedProgram p = parseProgram(text);
    if (p.error == expected && p.words.empty()) return true;
    ++::testing::checkFailures();
    std::printf("%s:%d: \"%.*s\": error %d \"%s\" word %d at %d:%d, expected %d \"%s\" word %d "
                "at %d:%d\n",
                __FILE__, line, int(std::min<std::size_t>(text.size(), 60)), text.data(),
                int(p.error.kind), p.error.word.c_str(), p.error.wordNumber, p.error.line,
                p.error.position, int(expected.kind), expected.word.c_str(), expected.wordNumber,
                expected.line, expected.position);
    return false;
}
#define CHECK_ERROR(text, ...) checkError((text), ProgramError{__VA_ARGS__}, __LINE__)

bool checkContains(const std::string& text, std::string_view part, int line) {
    if (text.find(part) != std::string::npos) return true;
    ++::testing::checkFailures();
    std::printf("%s:%d: \"%s\" lacks \"%.*s\"\n", __FILE__, line, text.c_str(), int(part.size()),
                part.data());
    return false;
}
#define CHECK_CONTAINS(text, part) checkContains((text), (part), __LINE__)

void acceptedForms() {
    CHECK_WORDS("0001 0101 1011 0101 1110  # LDA 5; MOV; ADD; HLT", kExample);
    CHECK_WORDS("0001,0101,1011,0101,1110", kExample);
    CHECK_WORDS("0001.0101.1011.0101.1110", kExample); // as in a link
    CHECK_WORDS("\xEF\xBB\xBF# lesson 1\r\n0001\t0101\r\n\r\n1011 , 0101\n1110\n", kExample);
    CHECK_WORDS("0001#LDA\n0101 # 5\n#0000 0000\n1011\xC2\xA0\x30\x31\x30\x31\f1110", kExample);
    CHECK_WORDS("0000", std::vector<int>{0});
    CHECK_WORDS("1111 0000 1000", (std::vector<int>{15, 0, 8}));
    std::string sixteen;
    std::vector<int> values;
    for (int v = 0; v < 16; ++v) {
        for (int w = 8; w >= 1; w /= 2) sixteen += (v & w) ? '1' : '0';
        sixteen += '\n';
        values.push_back(v);
    }
    CHECK_WORDS(sixteen, values);
    // The longest text taken: blanks up to the limit.
    std::string longest(kMaxProgramBytes - 4, ' ');
    CHECK_WORDS(longest + "1110", std::vector<int>{14});
}

void firstBadWordAndItsPlace() {
    using E = ProgramError;
    CHECK_ERROR("0001 0102 1011", E::BadWord, "0102", 2, 1, 6);
    CHECK_ERROR("0001 0101\n  011 1110", E::BadWord, "011", 3, 2, 3);
    CHECK_ERROR("00001", E::BadWord, "00001", 1, 1, 1);
    CHECK_ERROR("0001 O101", E::BadWord, "O101", 2, 1, 6); // a letter O
    CHECK_ERROR("0001 LDA 0101", E::BadWord, "LDA", 2, 1, 6);
    CHECK_ERROR("0001;0101", E::BadWord, "0001;0101", 1, 1, 1);
    CHECK_ERROR("0001 0101 2 0000", E::BadWord, "2", 3, 1, 11);
    // Places count characters: the no-break space and "č" are two bytes each.
    CHECK_ERROR("0001\xC2\xA0\x30\x31\x30\x32", E::BadWord, "0102", 2, 1, 6);
    CHECK_ERROR("# čtení\n0001 čtyři", E::BadWord, "čtyři", 2, 2, 6);
    // The seventeenth word, however good.
    std::string seventeen;
    for (int n = 0; n < 16; ++n) seventeen += "0000 ";
    CHECK_ERROR(seventeen + "\n 1110", E::TooManyWords, "1110", 17, 2, 2);
    // A bad word before the seventeenth is named first.
    CHECK_ERROR("0001 xx " + seventeen, E::BadWord, "xx", 2, 1, 6);
}

void textsThatAreNoProgram() {
    using E = ProgramError;
    CHECK_ERROR("", E::NoWords, "", 0, 0, 0);
    CHECK_ERROR(" \n\t, # 0001 0101\n# 1110", E::NoWords, "", 0, 0, 0);
    CHECK_ERROR("\xEF\xBB\xBF", E::NoWords, "", 0, 0, 0);
    // Not UTF-8 anywhere, in a comment too, and before any word counts.
    CHECK_ERROR("0001 0101\n1011 \xFF", E::NotUtf8, "", 0, 2, 6);
    CHECK_ERROR("0001 # \xE8"
                "ten\xED",
                E::NotUtf8, "", 0, 1, 8);                      // Latin-2 "čtení"
    CHECK_ERROR("xx \xC0\x80", E::NotUtf8, "", 0, 1, 4);       // an overlong form
    CHECK_ERROR("0001 \xED\xA0\x80", E::NotUtf8, "", 0, 1, 6); // a surrogate
    CHECK_ERROR("0001 \xE2\x82", E::NotUtf8, "", 0, 1, 6);     // cut short
    CHECK_ERROR(std::string_view("00\0001", 5), E::BadWord, std::string("00\0001", 5), 1, 1, 1);
    // One byte over the limit, whatever it holds.
    CHECK_ERROR(std::string(kMaxProgramBytes - 4, ' ') + "11100", E::TooLarge, "", 0, 0, 0);
}

void textFromRam() {
    std::array<int, kProgramWords> ram{};
    CHECK(programText(ram).empty());
    for (std::size_t a = 0; a < kExample.size(); ++a) ram[a] = kExample[a];
    CHECK(programText(ram) == "0001 0101 1011 0101 1110");
    CHECK(programText(ram, '.') == "0001.0101.1011.0101.1110");
    ram[7] = 8; // zero words before the last non-zero one are kept
    CHECK(programText(ram) == "0001 0101 1011 0101 1110 0000 0000 1000");
    ram = {};
    ram[15] = 15;
    CHECK(programText(ram) == "0000 0000 0000 0000 0000 0000 0000 0000 "
                              "0000 0000 0000 0000 0000 0000 0000 1111");

    // Round trip: every word value at every place comes back.
    for (int a = 0; a < kProgramWords; ++a) {
        ram = {};
        for (int v = 0; v < kProgramWords; ++v) ram[std::size_t(v)] = (v + a) % 16;
        const ParsedProgram back = parseProgram(programText(ram));
        CHECK(back.ok());
        std::array<int, kProgramWords> again{};
        for (std::size_t i = 0; i < back.words.size() && i < again.size(); ++i)
            again[i] = back.words[i];
        CHECK(again == ram);
        CHECK(parseProgram(programText(ram, '.')).words == back.words);
    }
}

void messages() {
    const auto message = [](std::string_view text, std::string_view file = {}) {
        return programErrorMessage(parseProgram(text).error, file);
    };
    const std::string bad = message("0001 0101\n  011 1110");
    CHECK_CONTAINS(bad, "Program nebyl načten: 3. slovo „011“ na 2. řádku, 3. pozici");
    CHECK_CONTAINS(bad, "čtyřmi číslicemi 0 nebo 1");
    CHECK(message("0001 0101", "lekce.txt").empty());
    CHECK_CONTAINS(message("x", "lekce 1.txt"),
                   "Program ze souboru „lekce 1.txt“ nebyl načten: 1. slovo „x“");
    std::string seventeen;
    for (int n = 0; n < 17; ++n) seventeen += "0001 ";
    CHECK_CONTAINS(message(seventeen), "RAM má jen 16 slov, ale text jich má víc: 17. slovo "
                                       "„0001“ je na 1. řádku, 81. pozici.");
    CHECK_CONTAINS(message("# nic"), "text neobsahuje žádné slovo programu");
    CHECK_CONTAINS(message("\n\n0001\xFE"), "text není v kódování UTF-8 (chybný bajt je na 3. "
                                            "řádku, 5. pozici)");
    CHECK_CONTAINS(message(std::string(kMaxProgramBytes + 1, ' '), "velky.txt"),
                   "soubor je příliš velký");
    CHECK_CONTAINS(message(std::string(kMaxProgramBytes + 1, ' ')), "text je příliš dlouhý");
    CHECK_CONTAINS(programErrorMessage({ProgramError::Unreadable, {}, 0, 0, 0}, "a.txt"),
                   "Program ze souboru „a.txt“ nebyl načten: soubor nelze přečíst.");
    CHECK_CONTAINS(programErrorMessage({ProgramError::RunMode, {}, 0, 0, 0}),
                   "jen v režimu programování. Stiskněte „programování“");
    // A long or strange word is cut short and shown harmlessly.
    CHECK_CONTAINS(message("0001 " + std::string(500, '1')),
                   "2. slovo „11111111111111111111…“ na 1. řádku, 6. pozici");
    CHECK_CONTAINS(message("a\x01z"), "1. slovo „a\uFFFDz“");
}

} // namespace

int main() {
    acceptedForms();
    firstBadWordAndItsPlace();
    textsThatAreNoProgram();
    textFromRam();
    messages();
    return ::testing::checkFailures();
}
