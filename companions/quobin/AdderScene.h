#pragma once

#include <string>

#include "companions/common/ClockedScene.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// The carries of the four columns that add `a` and `b` to the adder's output `sum`,
// as a mask: bit k set when column k carries into column k + 1 (bit 3: the carry
// that is lost). Read off the sum: a column's sum bit is its A, B and carry in, XOR.
int columnCarries(int a, int b, int sum);

// The adder: the student sets registers A and B and sees the machine's adder add
// them column by column; with ADD/R and A/W and the clock, "ručně" runs the ADD
// instruction's microstep on the machine's own clock pulse parts.
class AdderScene final : public ClockedScene {
public:
    AdderScene();

    std::string title() const override;

    // The controls, for the tests (the clock's are the clocked scene's).
    WordCells a;
    WordCells b;
    WordCells sum; // shows only
    WordCells bus; // shows only
    Lamp addRead;
    Lamp aWrite;

protected:
    void paint(Canvas& c) const override;
    void adopt(const MachineMessage& state) override; // AdderFollow.cpp

private:
    void onOperand();
    void onSignal();
    void onPulse() override;
    void onMicrostep() override;
    void restarted() override;
    void setInputs() override;
    void show();
    std::string addition() const;
    void paintColumns(Canvas& c, int top) const;
};

} // namespace procesor::explain
