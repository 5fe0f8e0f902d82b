#include "model/CheckedRun.h"

#include <algorithm>

#include "model/Clock.h"

namespace procesor {

namespace {

int valueOf(const ProcessorModel& m, const TaskCheck& c) {
    switch (c.quantity) {
    case Quantity::A:
        return m.regA;
    case Quantity::B:
        return m.regB;
    case Quantity::Pc:
        return m.pc;
    case Quantity::Ir:
        return m.ir;
    case Quantity::Sum:
        return m.sum;
    case Quantity::Bus:
        return m.bus;
    case Quantity::Ram:
        return m.ram[static_cast<std::size_t>(c.address)];
    }
    return 0;
}

CheckOutcome valueOutcome(const ProcessorModel& m, const TaskCheck& c) {
    const int actual = valueOf(m, c);
    CheckOutcome out{actual == c.value, {}, c.line};
    if (c.afterPulse > 0) out.sentence = "po " + std::to_string(c.afterPulse) + ". taktu ";
    out.sentence += quantityName(c.quantity, c.address) + " je " + std::to_string(actual);
    if (!out.passed) out.sentence += ", očekáváno " + std::to_string(c.value);
    return out;
}

} // namespace

bool CheckedRun::passed() const {
    return firstFailure() == nullptr;
}

const CheckOutcome* CheckedRun::firstFailure() const {
    const auto failed = std::find_if(outcomes.begin(), outcomes.end(),
                                     [](const CheckOutcome& o) { return !o.passed; });
    return failed == outcomes.end() ? nullptr : &*failed;
}

ProcessorModel runStart(const std::array<int, kProgramWords>& ram) {
    ProcessorModel m;
    m.ram = ram;
    resetForMode(m);
    return m;
}

CheckedRun runTask(const Task& task, const std::array<int, kProgramWords>& studentRam,
                   int predictionStreak) {
    CheckedRun run;
    ProcessorModel m = runStart(task.hasProgram ? task.program : studentRam);
    std::vector<CheckOutcome> outcomes(task.checks.size());
    // A check after a pulse the machine never took (it halted before) reads the
    // machine as the halt left it: a halted machine takes no further pulse.
    const auto readChecksAfter = [&](int pulse, bool orLater) {
        for (std::size_t i = 0; i < task.checks.size(); ++i) {
            const TaskCheck& c = task.checks[i];
            if (c.kind == TaskCheck::Value && c.afterPulse > 0 &&
                (c.afterPulse == pulse || (orLater && c.afterPulse > pulse)))
                outcomes[i] = valueOutcome(m, c);
        }
    };
    while (run.pulses < task.pulseLimit) {
        const PulseOutcome pulse = clockPulse(m);
        ++run.pulses;
        readChecksAfter(run.pulses, false);
        if (pulse.halted) {
            run.halted = true;
            break;
        }
    }
    readChecksAfter(run.pulses, true);

    for (std::size_t i = 0; i < task.checks.size(); ++i) {
        const TaskCheck& c = task.checks[i];
        switch (c.kind) {
        case TaskCheck::Value:
            if (c.afterPulse == 0) outcomes[i] = valueOutcome(m, c);
            run.outcomes.push_back(outcomes[i]);
            break;
        case TaskCheck::Halted:
            run.outcomes.push_back(
                {run.halted,
                 run.halted
                     ? "program se zastavil po " + std::to_string(run.pulses) + " taktech"
                     : "program se nezastavil ani po " + std::to_string(run.pulses) + " taktech",
                 c.line});
            break;
        case TaskCheck::Predictions:
            if (predictionStreak < 0) break;
            run.outcomes.push_back(
                {predictionStreak >= c.value,
                 "správných předpovědí v řadě: " + std::to_string(predictionStreak) +
                     (predictionStreak >= c.value ? "" : ", potřeba " + std::to_string(c.value)),
                 c.line});
            break;
        }
    }
    return run;
}

} // namespace procesor
