#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A program as text, the one form in which programs come in (a file, a link, the
// clipboard) and go out: up to sixteen four-bit words in RAM order, each written as
// four binary digits, most significant first. Words are separated by blanks, tabs,
// commas, dots (as in a link) or new lines; "#" starts a comment that runs to the
// end of its line. Example: "0001 0101 1011 0101 1110  # LDA 5; MOV; ADD; HLT".
namespace procesor {

inline constexpr int kProgramWords = 16;
// The longest text taken as a program, comments included: a file or a paste of
// more bytes is refused unread. A teacher's notes fit many times over.
inline constexpr std::size_t kMaxProgramBytes = std::size_t{64} * 1024;

// Why a text is not a program, and where. Lines and positions count from 1, a
// position in characters; the word number too.
struct ProgramError {
    enum Kind {
        None,
        BadWord,      // `word` is not four binary digits
        TooManyWords, // `word` is the seventeenth
        NoWords,      // nothing but blanks and comments
        NotUtf8,      // the byte at `line`, `position` starts no UTF-8 character
        TooLarge,     // more than kMaxProgramBytes
        Unreadable,   // a file that could not be read
        RunMode,      // a program comes in only in programming mode
    };
    Kind kind = None;
    std::string word;
    int wordNumber = 0;
    int line = 0;
    int position = 0;

    bool operator==(const ProgramError&) const = default;
};

struct ParsedProgram {
    std::vector<int> words; // 0..15 each, at most kProgramWords; empty on an error
    ProgramError error;
    bool ok() const { return error.kind == ProgramError::None; }
};

// Reads a program from UTF-8 text (a leading byte order mark is skipped).
ParsedProgram parseProgram(std::string_view text);

// The program in RAM as text: the words from address 0 to the last non-zero word,
// separated by `separator` (a blank for the clipboard, a dot for a link). Empty when
// every word is 0.
std::string programText(const std::array<int, kProgramWords>& ram, char separator = ' ');

// The message the user sees for an error, in Czech. `fileName`, when given, is
// the file the text came from.
std::string programErrorMessage(const ProgramError& error, std::string_view fileName = {});

} // namespace procesor
