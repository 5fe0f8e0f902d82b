#pragma once

#include <array>
#include <optional>
#include <string>

#include "companions/common/ClockedScene.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// The five AND gates between the control unit and the registers: the student chooses
// a gate, switches its control signal at rest and clocks the machine by hand; the
// machine's own clock, gates and transfers (advanceClock, formStrobes, transfer) give
// Phi2, the strobe and what the strobe does to the register. The gate is tried
// alone: no microprogram line is decoded, IR does not count, the bus holds a value.
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
    void restarted() override;
    void setInputs() override;
    void show();
    // The state of the chosen gate's inputs and output, "IR/W = 1 a Φ2 = 0".
    std::string inputs() const;
    void paintGate(Canvas& c, int top) const;
    void paintTable(Canvas& c, int top) const;

    std::optional<int> gate_;
    bool strobeInStep_ = false; // the strobe came since the clock last left rest
};

} // namespace procesor::explain
