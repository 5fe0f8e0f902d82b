#include "model/Signals.h"

namespace procesor {

const ControlSignal* controlSignal(unsigned signal) {
    for (const ControlSignal& s : kControlSignals)
        if (s.bit == signal) return &s;
    return nullptr;
}
std::string_view signalName(unsigned signal) {
    const ControlSignal* s = controlSignal(signal);
    return s ? s->name : std::string_view();
}

bool signalOn(const ProcessorModel& m, unsigned signal) {
    const ControlSignal* s = controlSignal(signal);
    return s && m.*s->held;
}

bool strobeOn(const ProcessorModel& m, unsigned signal) {
    for (const Strobe& s : kStrobes)
        if (s.signal == signal) return m.*s.held;
    return false;
}

} // namespace procesor
