#include "model/Grading.h"

#include <fstream>
#include <ostream>

#include "model/CheckedRun.h"
#include "model/ResultCode.h"
#include "model/TaskText.h"

namespace procesor {

namespace {

constexpr int kPassed = 0;
constexpr int kFailed = 1;
constexpr int kBadInput = 2;

constexpr const char* kUsage = "Použití: procesor --check [--csv] ÚLOHA PROGRAM…\n"
                               "        procesor --verify ÚLOHA KÓD\n";

// The bytes of a file, at most `limit` and one more (so that a larger file shows);
// false when it cannot be read.
bool readFile(const std::string& name, std::size_t limit, std::string& bytes) {
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    bytes.assign(limit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) return false;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

bool readTask(const std::string& name, Task& task, std::ostream& err) {
    std::string bytes;
    ParsedTask parsed;
    if (readFile(name, kMaxTaskBytes, bytes))
        parsed = parseTask(bytes);
    else
        parsed.error.kind = TaskError::Unreadable;
    if (!parsed.ok()) {
        // The file's name in full before the message, as compilers write it.
        err << name << ": " << taskErrorMessage(parsed.error) << '\n';
        return false;
    }
    task = parsed.task;
    return true;
}

// A CSV field, quoted when it must be.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

int check(const std::vector<std::string>& files, bool csv, std::ostream& out, std::ostream& err) {
    Task task;
    if (!readTask(files.front(), task, err)) return kBadInput;
    if (csv) out << "soubor,splněno,taktů,první chyba\n";
    int status = kPassed;
    for (std::size_t i = 1; i < files.size(); ++i) {
        const std::string& name = files[i];
        std::string bytes;
        ParsedProgram program;
        if (readFile(name, kMaxProgramBytes, bytes))
            program = parseProgram(bytes);
        else
            program.error.kind = ProgramError::Unreadable;
        if (!program.ok()) {
            const std::string message = programErrorMessage(program.error);
            err << name << ": " << message << '\n';
            if (csv) out << csvField(name) << ",chyba,," << csvField(message) << '\n';
            status = kBadInput;
            continue;
        }
        std::array<int, kProgramWords> ram{};
        for (std::size_t a = 0; a < program.words.size(); ++a) ram[a] = program.words[a];
        const CheckedRun run = runTask(task, ram);
        const CheckOutcome* failure = run.firstFailure();
        if (failure && status == kPassed) status = kFailed;
        if (csv) {
            out << csvField(name) << ',' << (failure ? "ne" : "ano") << ',' << run.pulses << ','
                << (failure ? csvField(failure->sentence) : std::string()) << '\n';
        } else if (failure) {
            out << name << ": nesplněno – " << failure->sentence << '\n';
        } else {
            out << name << ": splněno\n";
        }
    }
    return status;
}

int verify(const std::string& taskFile, const std::string& code, std::ostream& out,
           std::ostream& err) {
    Task task;
    if (!readTask(taskFile, task, err)) return kBadInput;
    const DecodedCode decoded = decodeResultCode(code, task.digest);
    if (decoded.kind == DecodedCode::BadLength || decoded.kind == DecodedCode::BadCharacter) {
        err << resultCodeMessage(decoded) << '\n';
        return kBadInput;
    }
    if (decoded.kind != DecodedCode::Ok) {
        out << code << ": neplatný – " << resultCodeMessage(decoded) << '\n';
        return kFailed;
    }
    const CheckedRun run = runTask(task, decoded.ram);
    const CheckOutcome* failure = run.firstFailure();
    if (failure)
        out << code << ": nesplněno – " << failure->sentence << '\n';
    else
        out << code << ": splněno\n";
    const std::string words = programText(decoded.ram);
    out << "program: " << (words.empty() ? "0000" : words) << '\n';
    return failure ? kFailed : kPassed;
}

} // namespace

int gradeFromCommandLine(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err) {
    if (args.empty()) return -1;
    bool checking = false;
    bool verifying = false;
    bool csv = false;
    std::vector<std::string> rest;
    for (const std::string& a : args) {
        if (a == "--check")
            checking = true;
        else if (a == "--verify")
            verifying = true;
        else if (a == "--csv")
            csv = true;
        else
            rest.push_back(a);
    }
    if (!checking && !verifying) return -1;
    if (checking && !verifying && rest.size() >= 2) return check(rest, csv, out, err);
    if (verifying && !checking && !csv && rest.size() == 2)
        return verify(rest[0], rest[1], out, err);
    err << kUsage;
    return kBadInput;
}

} // namespace procesor
