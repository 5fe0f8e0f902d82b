#pragma once

#include <array>
#include <optional>
#include <string>

#include "companions/common/ClockedScene.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// One of several buttons of which one is chosen, in the look of the diagram's mode
// buttons: the chosen one lowered and lime, the others raised and money green.
class ChoiceButton final : public Control {
public:
    ChoiceButton(Point at, std::string caption);
    bool chosen() const { return chosen_; }
    void setChosen(bool chosen) { chosen_ = chosen; }
    const std::string& caption() const { return caption_; }
    void paint(Canvas& c, bool pressed, bool focused) const override;

private:
    std::string caption_;
    bool chosen_ = false;
};

// The five AND gates between the control unit and the registers: the student chooses
// a gate, switches its control signal and clocks the machine by hand; the machine's
// own clock and gates (advanceClock, formStrobes) give Phi2 and the strobe.
class GateScene final : public ClockedScene {
public:
    static constexpr int kGates = 5;
    // `gate`: 0..4 top to bottom as the diagram draws them (IR/W, PC/W, PC/I, A/W,
    // B/W), or none.
    explicit GateScene(std::optional<int> gate);

    std::string title() const override;
    std::optional<int> gate() const { return gate_; }
    // The chosen gate's control signal and strobe as the machine holds them.
    bool signalOn() const;
    bool strobeOn() const;

    // The controls, for the tests (the clock's are the clocked scene's).
    std::array<ChoiceButton, kGates> choices;
    std::array<Lamp, kGates> signals; // the chosen gate's is shown, the others hidden

protected:
    void paint(Canvas& c) const override;
    void adopt(const MachineMessage& state) override; // GateFollow.cpp

private:
    void choose(int gate);
    void onSignal();
    void onPulse() override;
    void onMicrostep() override;
    void show();
    // The state of the chosen gate's inputs and output, "IR/W = 1 a Φ2 = 0".
    std::string inputs() const;
    void paintGate(Canvas& c, int top) const;
    void paintTable(Canvas& c, int top) const;

    std::optional<int> gate_;
    bool strobeInStep_ = false; // the strobe came since the clock last left rest
};

} // namespace procesor::explain
