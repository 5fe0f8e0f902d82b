#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProgramText.h"

// A task as text: what a teacher writes for a class, one key per line, "#" starting a
// comment to the end of its line, UTF-8, at most 64 KiB, like a program:
//
//     název: Pětka do A
//     zadání: Napište program, který uloží číslo 5 do registru A a zastaví.
//     nejvýše taktů: 200
//     očekávám: zastaveno
//     očekávám: A = 5
//     po taktu 9: A = 0101
//
// Keys: "název:" (once), "zadání:" (repeatable, the lines joined by a blank),
// "program:" (the RAM the run starts from; without it the student's program runs),
// "nejvýše taktů:" (the run's limit, 1000 pulses unless given), "očekávám: X = V" (a
// check at the end of the run), "po taktu N: X = V" (a check right after pulse N),
// "očekávám: zastaveno" (the program halts within the limit) and "předpovědí: N" (N
// predictions in a row right). X is A, B, PČ (or PC), IR, součet, sběrnice or RAM[n];
// V is 0..15 in decimal or four binary digits.
namespace procesor {

inline constexpr std::size_t kMaxTaskBytes = std::size_t{64} * 1024;
inline constexpr int kDefaultPulseLimit = 1000;
inline constexpr int kMaxPulseLimit = 100000;
inline constexpr int kMaxPredictions = 100;

// What a check looks at.
enum class Quantity { A, B, Pc, Ir, Sum, Bus, Ram };

struct TaskCheck {
    enum Kind {
        Value,      // `quantity` (RAM word `address`) is `value`
        Halted,     // the program halts within the limit
        Predictions // `value` predictions in a row were right
    };
    Kind kind = Value;
    Quantity quantity = Quantity::A;
    int address = 0;    // of RAM[n]
    int value = 0;      // 0..15, or the predictions asked for
    int afterPulse = 0; // 0: at the end of the run (the halt or the limit)
    int line = 0;       // where the task text has it

    bool operator==(const TaskCheck&) const = default;
};

struct Task {
    std::string name;
    std::string statement;
    bool hasProgram = false;
    std::array<int, kProgramWords> program{};
    int pulseLimit = kDefaultPulseLimit;
    std::vector<TaskCheck> checks; // in the order of the text
    // A fingerprint of what the task says (its keys and values; comments, blanks and
    // empty lines aside), which result codes carry.
    std::uint64_t digest = 0;
};

// Why a text is not a task, and where (line and position in characters, from 1).
struct TaskError {
    enum Kind {
        None,
        NotUtf8,
        TooLarge,
        Unreadable,
        UnknownKey,  // `text` is no key of a task
        NoName,      // no "název:" line
        Repeated,    // `text` is a key that may be given once
        Empty,       // the key `text` has no value
        BadNumber,   // `text` is no number in the key's range
        BadQuantity, // `text` is not A, B, PČ, PC, IR, součet, sběrnice or RAM[n]
        BadAddress,  // `text` is RAM[n] with n outside 0..15
        BadValue,    // `text` is neither 0..15 nor four binary digits
        BadCheck,    // `text` is not "X = V" (or "zastaveno")
        AfterLimit,  // a check after pulse `text`, beyond the limit
        BadProgram,  // the "program:" value: `program` says why, its place is ours
        NoChecks,    // nothing to check
    };
    Kind kind = None;
    std::string text;
    ProgramError program;
    int line = 0;
    int position = 0;

    bool operator==(const TaskError&) const = default;
};

struct ParsedTask {
    Task task;
    TaskError error;
    bool ok() const { return error.kind == TaskError::None; }
};

ParsedTask parseTask(std::string_view text);

// Whether a text is meant as a task rather than a program: it has a "název:" line.
bool looksLikeTask(std::string_view text);

// The message the user sees, in Czech; `fileName`, when given, is the file.
std::string taskErrorMessage(const TaskError& error, std::string_view fileName = {});

// The length of the well-formed UTF-8 character at text[at], or 0 (a stray byte, an
// overlong form, a surrogate). The task's own text is checked whole before it is
// read; this holds what messages quote from elsewhere (a file's name, a typed code).
std::size_t utf8CharacterLength(std::string_view text, std::size_t at);

// What a check looks at, as the messages name it: "A", "PČ", "RAM[3]", ...
std::string quantityName(Quantity quantity, int address);

} // namespace procesor
