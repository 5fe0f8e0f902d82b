#pragma once

#include <optional>
#include <string>

#include "companions/common/Controls.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// The counting registers IR and PČ. Both take the bus with a write strobe (the write
// signal AND Phi2) and count up by one, 15 round to 0; they differ in what makes them
// count. IR runs on the machine's own clock pulse: it counts on entering Phi1, the
// line it then selects decides IR/W, and a fetch line loads the operation code that
// the student sets as RAM's word. PČ is driven by hand like a data register: the
// student sets PC/W, PC/I and the bus for a microstep, the machine's AND gates and
// transfers do the rest.
class CounterScene final : public Scene {
public:
    enum class Which { IR, PC };
    // Nothing chosen (the desktop program) or the register clicked in the diagram.
    explicit CounterScene(std::optional<Which> which);

    std::string title() const override { return "Čítací registry IR a PČ"; }
    std::optional<Which> chosen() const { return which_; }
    const ProcessorModel& machine() const { return m_; }
    const std::string& resultText() const { return result_; }
    std::string spoken() const override { return result_; }
    // The general explanation under the heading, and the chosen register's (or the
    // hint to choose one).
    static std::string explanationText();
    std::string registerText() const;
    // The microprogram line IR's last count selected; -1 before the first.
    int decodedLine() const { return decoded_; }
    bool halted() const { return halted_; }

    // The controls, for the tests.
    ChoiceButton chooseIr;
    ChoiceButton choosePc;
    WordCells code;  // IR: the word RAM gives, the next instruction's operation code
    WordCells irBus; // IR: the bus as the machine drives it (shows only)
    WordCells irValue;
    WordCells pcBus; // PČ: the bus, set by hand at rest
    WordCells pcValue;
    Lamp irWrite;
    Lamp phi1;
    Lamp irPhi2;
    Lamp irLoad;
    Lamp pcWrite;
    Lamp pcInc;
    Lamp pcPhi2;
    Lamp pcLoad;
    Lamp pcCount;
    StepButtons steps;

protected:
    void paint(Canvas& c) const override;
    void adopt(const MachineMessage& state) override; // CounterFollow.cpp

private:
    void choose(Which which);
    void onPulse();
    void onMicrostep();
    void onRestart();
    void onInput();
    // One pulse of the machine: IR's on its own microprogram, PČ's with the student's
    // signals and bus. Keeps the texts of the microstep's phases.
    void runPulse();
    void show();
    void paintIr(Canvas& c) const;
    void paintPc(Canvas& c) const;
    void paintBus(Canvas& c, Box reg) const;

    std::optional<Which> which_;
    ProcessorModel m_;
    int decoded_ = -1;
    bool halted_ = false;
    int top_;              // the first row under the register's explanation
    std::string phi1Text_; // what the Phi1 pulse of this microstep did
    std::string phi1More_; // and what that means for Phi2
    std::string phi2Text_; // what its Phi2 pulse did
    std::string result_;
};

} // namespace procesor::explain
