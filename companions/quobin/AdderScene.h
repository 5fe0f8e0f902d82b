#pragma once

#include <string>

#include "companions/common/Controls.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// The carries of the four columns that add `a` and `b` to the adder's output `sum`,
// as a mask: bit k set when column k carries into column k + 1 (bit 3: the carry
// that is lost). Read off the sum: a column's sum bit is its A, B and carry in, XOR.
int columnCarries(int a, int b, int sum);

// The adder: the student sets registers A and B and sees the machine's adder add
// them column by column; with ADD/R and A/W and the clock, "ručně" runs the ADD
// instruction's microstep on the machine's own clock pulse parts.
class AdderScene final : public Scene {
public:
    AdderScene();

    std::string title() const override;
    const ProcessorModel& machine() const { return m_; }
    const std::string& resultText() const { return result_; }

    // The controls, for the tests.
    WordCells a;
    WordCells b;
    WordCells sum; // shows only
    WordCells bus; // shows only
    Lamp addRead;
    Lamp aWrite;
    Lamp phi2;
    StepButtons steps;

protected:
    void paint(Canvas& c) const override;

private:
    void onOperand();
    void onSignal();
    void onPulse();
    void onMicrostep();
    // The student's signals into the machine, then its gates and transfers; `pulse`
    // also advances the clock first.
    void run(bool pulse);
    void show();
    std::string addition() const;
    void paintColumns(Canvas& c, int top) const;

    ProcessorModel m_;
    int bodyTop_;
    std::string result_;
};

} // namespace procesor::explain
