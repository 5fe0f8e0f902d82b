#pragma once

#include <string>

#include "companions/common/Controls.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// A data register the student clocks by hand: the bus and the register's signals are
// set with the controls, the machine's own clock pulse does the rest (its clock, AND
// gates and transfers, on a machine of its own that holds nothing else).
class RegisterScene final : public Scene {
public:
    enum class Which { A, B };
    explicit RegisterScene(Which which);

    std::string title() const override;
    const ProcessorModel& machine() const { return m_; }
    const std::string& resultText() const { return result_; }

    // The controls, for the tests: the bus's bits, the signals, the clock.
    WordCells bus;
    WordCells value;
    Lamp write;
    Lamp read; // A/R: A only, hidden for B
    Lamp phi2;
    Lamp strobe;
    StepButtons steps;

protected:
    void paint(Canvas& c) const override;

private:
    void onPulse();
    void onMicrostep();
    void onWrite();
    void onRead();
    void onBus();
    // The student's settings into the machine, then its gates and transfers; `pulse`
    // also advances the clock first.
    void run(bool pulse);
    void show();
    void describePulse();
    int& reg();
    int reg() const;
    bool& writeSignal();
    bool strobeOn() const;

    Which which_;
    ProcessorModel m_;
    int bodyTop_;
    bool loadedInStep_ = false; // the strobe came since the clock last left rest
    std::string result_;
};

} // namespace procesor::explain
