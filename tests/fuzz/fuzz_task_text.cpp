// A task as text, as it comes from a teacher's file, a link, a drop or a paste. Any
// bytes: the reading either gives a task whose every check is in range and whose run
// stays within its limit, with sentences and a result code that read back, or an
// error with a readable message that names its place.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/CheckedRun.h"
#include "model/ResultCode.h"
#include "model/TaskText.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace procesor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedTask parsed = parseTask(text);
    if (!parsed.ok()) {
        const TaskError& e = parsed.error;
        FUZZ_CHECK(parsed.task.checks.empty() && parsed.task.name.empty());
        const bool placed = e.kind != TaskError::TooLarge && e.kind != TaskError::NoName &&
                            e.kind != TaskError::NoChecks && e.kind != TaskError::Unreadable;
        FUZZ_CHECK(!placed || e.line >= 1);
        const std::string_view name = text.substr(0, std::min<std::size_t>(text.size(), 300));
        for (const std::string& message : {taskErrorMessage(e), taskErrorMessage(e, name)}) {
            FUZZ_CHECK(!message.empty() && fuzz::wellFormed(message));
            FUZZ_CHECK(message.size() < 800);
        }
        return 0;
    }

    const Task& task = parsed.task;
    FUZZ_CHECK(!task.name.empty() && !task.checks.empty() && looksLikeTask(text));
    FUZZ_CHECK(task.pulseLimit >= 1 && task.pulseLimit <= kMaxPulseLimit);
    int predictions = 0;
    for (const TaskCheck& c : task.checks) {
        FUZZ_CHECK(c.line >= 1);
        if (c.kind == TaskCheck::Predictions) {
            ++predictions;
            FUZZ_CHECK(c.value >= 1 && c.value <= kMaxPredictions);
        } else {
            FUZZ_CHECK(c.value >= 0 && c.value <= 15 && c.address >= 0 && c.address <= 15);
            FUZZ_CHECK(c.afterPulse >= 0 && c.afterPulse <= task.pulseLimit);
        }
    }
    for (int word : task.program) FUZZ_CHECK(word >= 0 && word <= 15);

    // A comment line more changes neither the task nor its fingerprint.
    if (size + 8 < kMaxTaskBytes) {
        const ParsedTask again = parseTask(std::string(text) + "\n# x");
        FUZZ_CHECK(again.ok() && again.task.digest == task.digest);
    }

    // The run from a RAM made of the input's first bytes.
    std::array<int, kProgramWords> ram{};
    for (std::size_t i = 0; i < ram.size() && i < size; ++i) ram[i] = data[i] & 15;
    for (const int streak : {-1, 0, 5}) {
        const CheckedRun run = runTask(task, ram, streak);
        FUZZ_CHECK(run.pulses >= 1 && run.pulses <= task.pulseLimit);
        FUZZ_CHECK(run.halted || run.pulses == task.pulseLimit);
        FUZZ_CHECK(run.outcomes.size() ==
                   task.checks.size() - std::size_t(streak < 0 ? predictions : 0));
        for (const CheckOutcome& o : run.outcomes)
            FUZZ_CHECK(!o.sentence.empty() && fuzz::wellFormed(o.sentence));
    }

    // The result code reads back for this task.
    const std::string code = resultCode(ram, task.digest);
    const DecodedCode back = decodeResultCode(code, task.digest);
    FUZZ_CHECK(code.size() == std::size_t(kCodeLength) && back.kind == DecodedCode::Ok);
    FUZZ_CHECK(back.ram == ram);
    // Any typed code is taken or refused with a readable reason.
    const DecodedCode typed = decodeResultCode(text.substr(0, 64), task.digest);
    FUZZ_CHECK(typed.kind == DecodedCode::Ok || fuzz::wellFormed(resultCodeMessage(typed)));
    return 0;
}
