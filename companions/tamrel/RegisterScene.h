#pragma once

#include <string>

#include "companions/common/ClockedScene.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// A data register the student clocks by hand: the bus and the register's signals are
// set with the controls, the machine's own clock pulse does the rest (its clock, AND
// gates and transfers, on a machine of its own that holds nothing else).
class RegisterScene final : public ClockedScene {
public:
    enum class Which { A, B };
    explicit RegisterScene(Which which);

    std::string title() const override;

    // The controls, for the tests: the bus's bits and the signals (the clock's are
    // the clocked scene's).
    WordCells bus;
    WordCells value;
    Lamp write;
    Lamp read; // A/R: A only, hidden for B

protected:
    void paint(Canvas& c) const override;
    void adopt(const MachineMessage& state) override; // RegisterFollow.cpp

private:
    void onPulse() override;
    void onMicrostep() override;
    void restarted() override;
    void setInputs() override;
    void onWrite();
    void onRead();
    void onBus();
    // The machine run as the student set it; notes the strobe of the microstep.
    void step(bool pulse);
    void show();
    void describePulse();
    int& reg();
    int reg() const;
    bool& writeSignal();
    bool strobeOn() const;

    Which which_;
    bool loadedInStep_ = false; // the strobe came since the clock last left rest
};

} // namespace procesor::explain
