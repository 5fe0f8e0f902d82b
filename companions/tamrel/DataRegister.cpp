#include "companions/tamrel/DataRegister.h"

#include "companions/vondrel/ControlUnit.h"
#include "model/Microprogram.h"

namespace companion {

int registerNext(int value, int bus, bool writeSignal, Phase entered) {
    return writeSignal && phi2High(entered) ? toWord(bus) : toWord(value);
}

std::optional<int> busDrive(RegisterName name, bool readSignal, int value) {
    if (name == RegisterName::A && readSignal) return toWord(value);
    return std::nullopt;
}

std::vector<int> linesWriting(RegisterName name) {
    return linesUsing(name == RegisterName::A ? procesor::AWrite : procesor::BWrite);
}

std::vector<int> linesReading(RegisterName name) {
    if (name == RegisterName::B) return {};
    return linesUsing(procesor::ARead);
}

bool DataRegister::pulse(int bus, bool writeSignal) {
    phase_ = nextPhase(phase_);
    value_ = registerNext(value_, bus, writeSignal, phase_);
    strobe_ = writeSignal && phi2High(phase_);
    return strobe_;
}

bool DataRegister::setWriteSignal(bool writeSignal, int bus) {
    const bool strobe = writeSignal && phi2High(phase_);
    const bool rises = strobe && !strobe_;
    strobe_ = strobe;
    if (rises) value_ = toWord(bus);
    return rises;
}

void DataRegister::reset() {
    value_ = 0;
    phase_ = Phase::Rest;
    strobe_ = false;
}

} // namespace companion
