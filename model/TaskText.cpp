#include "model/TaskText.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "model/ProgramText.h"
#include "model/Utf8.h"

namespace procesor {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Characters in a piece of UTF-8 text already checked: the bytes that start one.
int characters(std::string_view text) {
    int n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A piece of a line with the byte offset where it starts in that line.
struct Piece {
    std::string_view text;
    std::size_t at = 0;
};

Piece trimmed(Piece p) {
    constexpr std::string_view kNoBreakSpace = "\xC2\xA0"; // as word processors write
    while (true) {
        if (!p.text.empty() && blank(p.text.front())) {
            p.text.remove_prefix(1);
            ++p.at;
        } else if (p.text.starts_with(kNoBreakSpace)) {
            p.text.remove_prefix(kNoBreakSpace.size());
            p.at += kNoBreakSpace.size();
        } else if (!p.text.empty() && blank(p.text.back())) {
            p.text.remove_suffix(1);
        } else if (p.text.ends_with(kNoBreakSpace)) {
            p.text.remove_suffix(kNoBreakSpace.size());
        } else {
            break;
        }
    }
    return p;
}

// A whole number of at most six decimal digits, or nothing.
std::optional<int> number(std::string_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A word: 0..15 in decimal, or four binary digits.
std::optional<int> wordValue(std::string_view text) {
    if (text.size() == 4 && text.find_first_not_of("01") == std::string_view::npos) {
        int value = 0;
        for (char c : text) value = value * 2 + (c - '0');
        return value;
    }
    if (text.size() > 2) return std::nullopt;
    const std::optional<int> n = number(text);
    if (n && *n <= 15) return n;
    return std::nullopt;
}

struct QuantityName {
    std::string_view text;
    Quantity quantity;
};
constexpr QuantityName kQuantities[] = {
    {"A", Quantity::A},          {"B", Quantity::B},   {"PČ", Quantity::Pc},
    {"PC", Quantity::Pc},        {"IR", Quantity::Ir}, {"součet", Quantity::Sum},
    {"sběrnice", Quantity::Bus},
};

std::uint64_t fnv1a(std::uint64_t hash, std::string_view text) {
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001B3ull;
    }
    return hash;
}

class Parser {
public:
    explicit Parser(ParsedTask& out) : task_(out.task), error_(out.error) {}

    // One line without its end; false on the first error.
    bool line(std::string_view text, int lineNumber) {
        line_ = text;
        number_ = lineNumber;
        std::string_view content = text.substr(0, text.find('#'));
        const Piece piece = trimmed({content, 0});
        if (piece.text.empty()) return true;
        digest_ = fnv1a(digest_, piece.text);
        digest_ = fnv1a(digest_, "\n");

        const std::size_t colon = piece.text.find(':');
        if (colon == std::string_view::npos)
            return fail(TaskError::UnknownKey,
                        {piece.text.substr(0, keyEnd(piece.text)), piece.at});
        const Piece key = trimmed({piece.text.substr(0, colon), piece.at});
        const Piece value = trimmed({piece.text.substr(colon + 1), piece.at + colon + 1});
        if (key.text == "název") return name(key, value);
        if (key.text == "zadání") return statement(key, value);
        if (key.text == "program") return program(key, value);
        if (key.text == "nejvýše taktů") return limit(key, value);
        if (key.text == "očekávám") return check(key, value, 0);
        if (key.text == "předpovědí") return predictions(key, value);
        if (key.text.starts_with("po taktu")) {
            const Piece n = trimmed({key.text.substr(std::string_view("po taktu").size()),
                                     key.at + std::string_view("po taktu").size()});
            const std::optional<int> pulse = number(n.text);
            if (!pulse || *pulse < 1 || *pulse > kMaxPulseLimit)
                return fail(TaskError::BadNumber, n.text.empty() ? key : n);
            return check(key, value, *pulse);
        }
        return fail(TaskError::UnknownKey, key);
    }

    bool finish() {
        if (task_.name.empty()) return fail(TaskError::NoName, {}, 0);
        if (task_.checks.empty()) return fail(TaskError::NoChecks, {}, 0);
        for (const TaskCheck& c : task_.checks) {
            if (c.afterPulse > task_.pulseLimit) {
                error_ = {TaskError::AfterLimit, std::to_string(c.afterPulse), {}, c.line, 0};
                return false;
            }
        }
        task_.digest = digest_;
        return true;
    }

private:
    static std::size_t keyEnd(std::string_view text) {
        const std::size_t end = text.find_first_of(" \t");
        return end == std::string_view::npos ? text.size() : end;
    }

    bool fail(TaskError::Kind kind, Piece where, int line = -1) {
        error_.kind = kind;
        error_.text = std::string(where.text);
        error_.line = line < 0 ? number_ : line;
        error_.position = line == 0 ? 0 : characters(line_.substr(0, where.at)) + 1;
        return false;
    }

    bool once(bool given, Piece key) {
        if (given) fail(TaskError::Repeated, key);
        return !given;
    }

    bool name(Piece key, Piece value) {
        if (!once(!task_.name.empty(), key)) return false;
        if (value.text.empty()) return fail(TaskError::Empty, key);
        task_.name = std::string(value.text);
        return true;
    }

    bool statement(Piece key, Piece value) {
        if (value.text.empty()) return fail(TaskError::Empty, key);
        if (!task_.statement.empty()) task_.statement += ' ';
        task_.statement += value.text;
        return true;
    }

    bool program(Piece key, Piece value) {
        if (!once(task_.hasProgram, key)) return false;
        if (value.text.empty()) return fail(TaskError::Empty, key);
        const ParsedProgram p = parseProgram(value.text);
        if (!p.ok()) {
            fail(TaskError::BadProgram, value);
            // The program's place within the value, as a place in the task's line.
            error_.program = p.error;
            if (p.error.position > 0) {
                error_.position += p.error.position - 1;
                error_.program.line = error_.line;
                error_.program.position = error_.position;
            }
            return false;
        }
        task_.hasProgram = true;
        for (std::size_t a = 0; a < p.words.size(); ++a) task_.program[a] = p.words[a];
        return true;
    }

    bool limit(Piece key, Piece value) {
        if (!once(limitGiven_, key)) return false;
        if (value.text.empty()) return fail(TaskError::Empty, key);
        const std::optional<int> n = number(value.text);
        if (!n || *n < 1 || *n > kMaxPulseLimit) return fail(TaskError::BadNumber, value);
        limitGiven_ = true;
        task_.pulseLimit = *n;
        return true;
    }

    bool predictions(Piece key, Piece value) {
        if (!once(predictionsGiven_, key)) return false;
        if (value.text.empty()) return fail(TaskError::Empty, key);
        const std::optional<int> n = number(value.text);
        if (!n || *n < 1 || *n > kMaxPredictions) return fail(TaskError::BadNumber, value);
        predictionsGiven_ = true;
        task_.checks.push_back({TaskCheck::Predictions, Quantity::A, 0, *n, 0, number_});
        return true;
    }

    bool check(Piece key, Piece value, int afterPulse) {
        if (value.text.empty()) return fail(TaskError::Empty, key);
        if (afterPulse == 0 && value.text == "zastaveno") {
            task_.checks.push_back({TaskCheck::Halted, Quantity::A, 0, 0, 0, number_});
            return true;
        }
        const std::size_t equals = value.text.find('=');
        if (equals == std::string_view::npos) return fail(TaskError::BadCheck, value);
        const Piece what = trimmed({value.text.substr(0, equals), value.at});
        const Piece word = trimmed({value.text.substr(equals + 1), value.at + equals + 1});
        TaskCheck c{TaskCheck::Value, Quantity::A, 0, 0, afterPulse, number_};
        if (!quantity(what, c)) return false;
        if (word.text.empty()) return fail(TaskError::BadCheck, value);
        const std::optional<int> v = wordValue(word.text);
        if (!v) return fail(TaskError::BadValue, word);
        c.value = *v;
        task_.checks.push_back(c);
        return true;
    }

    bool quantity(Piece what, TaskCheck& c) {
        for (const QuantityName& q : kQuantities) {
            if (what.text == q.text) {
                c.quantity = q.quantity;
                return true;
            }
        }
        if (what.text.starts_with("RAM[") && what.text.ends_with("]")) {
            const Piece n = trimmed({what.text.substr(4, what.text.size() - 5), what.at + 4});
            const std::optional<int> address = number(n.text);
            if (!address || *address > 15) return fail(TaskError::BadAddress, what);
            c.quantity = Quantity::Ram;
            c.address = *address;
            return true;
        }
        return fail(TaskError::BadQuantity, what);
    }

    Task& task_;
    TaskError& error_;
    std::string_view line_;
    int number_ = 0;
    bool limitGiven_ = false;
    bool predictionsGiven_ = false;
    std::uint64_t digest_ = 0xCBF29CE484222325ull;
};

} // namespace

std::size_t utf8CharacterLength(std::string_view text, std::size_t at) {
    const utf8::Character c = utf8::decode(text, at);
    return c.valid ? c.length : 0;
}

namespace {

// A piece of a line, or a file's name, as the message quotes it: at most 30
// characters, control characters and bytes that are no UTF-8 replaced.
std::string quoted(std::string_view text) {
    constexpr int kShown = 30;
    std::string out;
    int shown = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (shown++ == kShown) {
            out += "…";
            break;
        }
        const std::size_t length = utf8CharacterLength(text, at);
        const unsigned char lead = static_cast<unsigned char>(text[at]);
        if (length == 0 || lead < 0x20 || lead == 0x7F ||
            (lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0))
            out += "\uFFFD";
        else
            out += text.substr(at, length);
        at += std::max<std::size_t>(length, 1);
    }
    return "„" + out + "“";
}

} // namespace

ParsedTask parseTask(std::string_view text) {
    ParsedTask result;
    TaskError& error = result.error;
    if (text.size() > kMaxTaskBytes) {
        error.kind = TaskError::TooLarge;
        return result;
    }
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    // The program's reading holds a text to UTF-8 before anything else and names the
    // place of the first bad byte: the same rule, and the same place, for tasks.
    if (const ProgramError e = parseProgram(text).error; e.kind == ProgramError::NotUtf8) {
        error = {TaskError::NotUtf8, {}, {}, e.line, e.position};
        return result;
    }
    Parser parser(result);
    int number = 1;
    bool ok = true;
    for (std::size_t start = 0; ok && start <= text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ok = parser.line(text.substr(start, end - start), number);
        start = end + 1;
    }
    if (ok) parser.finish();
    if (!result.ok()) result.task = Task{};
    return result;
}

bool looksLikeTask(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const Piece piece = trimmed({text.substr(start, end - start), 0});
        if (piece.text.starts_with("název") &&
            trimmed({piece.text.substr(std::string_view("název").size()), 0}).text.starts_with(":"))
            return true;
        start = end + 1;
    }
    return false;
}

std::string quantityName(Quantity quantity, int address) {
    switch (quantity) {
    case Quantity::A:
        return "A";
    case Quantity::B:
        return "B";
    case Quantity::Pc:
        return "PČ";
    case Quantity::Ir:
        return "IR";
    case Quantity::Sum:
        return "součet";
    case Quantity::Bus:
        return "sběrnice";
    case Quantity::Ram:
        return "RAM[" + std::to_string(address) + "]";
    }
    return {};
}

std::string taskErrorMessage(const TaskError& e, std::string_view fileName) {
    std::string lead = fileName.empty()
                           ? std::string("Úloha nebyla načtena: ")
                           : "Úloha ze souboru " + quoted(fileName) + " nebyla načtena: ";
    const std::string place =
        "na " + std::to_string(e.line) + ". řádku, " + std::to_string(e.position) + ". pozici ";
    switch (e.kind) {
    case TaskError::None:
        return {};
    case TaskError::NotUtf8:
        return lead + "text není v kódování UTF-8 (chybný bajt je na " + std::to_string(e.line) +
               ". řádku, " + std::to_string(e.position) + ". pozici). Uložte ho v kódování UTF-8.";
    case TaskError::TooLarge:
        return lead + (fileName.empty() ? "text je příliš dlouhý" : "soubor je příliš velký") +
               " (úloha se načítá nejvýš z 64 KiB textu).";
    case TaskError::Unreadable:
        return lead + "soubor nelze přečíst.";
    case TaskError::UnknownKey:
        return lead + place + "je " + quoted(e.text) +
               ", což není klíč úlohy (název:, zadání:, program:, nejvýše taktů:, očekávám:, "
               "po taktu N:, předpovědí:).";
    case TaskError::NoName:
        return lead + "chybí řádek „název: …“ s názvem úlohy.";
    case TaskError::Repeated:
        return lead + place + "je klíč " + quoted(e.text) + " podruhé; smí být uveden jen jednou.";
    case TaskError::Empty:
        return lead + place + "chybí za klíčem " + quoted(e.text) + " hodnota.";
    case TaskError::BadNumber:
        return lead + place + "je " + quoted(e.text) +
               ", ale očekává se celé číslo (počet taktů 1 až 100000, předpovědí 1 až 100).";
    case TaskError::BadQuantity:
        return lead + place + "je " + quoted(e.text) +
               ", ale kontrolovat lze jen A, B, PČ (nebo PC), IR, součet, sběrnice a RAM[n].";
    case TaskError::BadAddress:
        return lead + place + "je " + quoted(e.text) + ", ale adresa RAM je 0 až 15.";
    case TaskError::BadValue:
        return lead + place + "je hodnota " + quoted(e.text) +
               ", ale očekává se číslo 0 až 15 nebo čtyři číslice 0 a 1 (například 0101).";
    case TaskError::BadCheck:
        return lead + place + "je " + quoted(e.text) +
               ", ale kontrola se píše „X = hodnota“ (například „A = 5“) nebo „zastaveno“.";
    case TaskError::AfterLimit:
        return lead + "kontrola na " + std::to_string(e.line) + ". řádku je po " + e.text +
               ". taktu, ale běh má nejvýše tolik taktů, kolik říká „nejvýše taktů:“.";
    case TaskError::BadProgram: {
        // The program's own message without its lead: it names the place in the task.
        const std::string_view programLead = "Program nebyl načten: ";
        return lead + "program úlohy je chybný: " +
               programErrorMessage(e.program).substr(programLead.size());
    }
    case TaskError::NoChecks:
        return lead + "úloha nemá žádnou kontrolu (řádek „očekávám: …“, „po taktu N: …“ nebo "
                      "„předpovědí: …“).";
    }
    return lead;
}

} // namespace procesor
