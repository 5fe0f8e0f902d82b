#include "model/Clock.h"

#include "model/Microprogram.h"
#include "model/Signals.h"

namespace procesor {

bool advanceClock(ProcessorModel& m) {
    // rest -> phi1 -> phi2 -> rest
    if (!m.phi1) {
        m.phi1 = true;
    } else if (!m.phi2) {
        m.phi2 = true;
    } else {
        m.phi1 = m.phi2 = false;
    }
    return m.phi1 && !m.phi2;
}

void decodeLine(ProcessorModel& m, int line) {
    const unsigned s = kMicroprogram[static_cast<std::size_t>(line & 15)].controls;
    for (const ControlSignal& signal : kControlSignals) m.*signal.held = s & signal.bit;
}

void formStrobes(ProcessorModel& m) {
    for (const Strobe& strobe : kStrobes) m.*strobe.held = signalOn(m, strobe.signal) && m.phi2;
}

void transfer(ProcessorModel& m, bool phi1State) {
    if (m.pcLoad) m.pc = m.bus;
    if (m.pcCount) m.pc = (m.pc + 1) % 16;

    m.ramOut = m.ram[static_cast<std::size_t>(m.pc)];
    if (m.ramRead && phi1State) m.bus = m.ramOut;
    if (m.aRead) m.bus = m.regA;

    if (m.aLoad) m.regA = m.bus;
    if (m.bLoad) m.regB = m.bus;

    m.sum = (m.regA + m.regB) % 16;
    if (m.addRead && phi1State) m.bus = m.sum;

    if (m.irLoad) m.ir = m.bus;

    m.busBit3 = m.bus & 8;
    m.busBit2 = m.bus & 4;
    m.busBit1 = m.bus & 2;
    m.busBit0 = m.bus & 1;
}

PulseOutcome clockPulse(ProcessorModel& m) {
    PulseOutcome out;
    const bool phi1State = advanceClock(m);
    if (phi1State) {
        m.ir = (m.ir + 1) % 16;
        decodeLine(m, m.ir);
        out.decoded = true;
        out.halted = m.ir == kHaltLine;
    }
    formStrobes(m);
    transfer(m, phi1State);
    return out;
}

void resetForMode(ProcessorModel& m) {
    m.pc = m.ir = m.regA = m.regB = m.sum = 0;
    m.phi1 = m.phi2 = false;
    // With the clock at rest the AND gates give 0: a strobe left set would say a
    // register is loading while no clock phase is active.
    m.bLoad = m.aLoad = m.pcLoad = m.irLoad = m.pcCount = false;
}

} // namespace procesor
