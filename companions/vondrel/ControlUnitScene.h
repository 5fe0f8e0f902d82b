#pragma once

#include <array>
#include <optional>
#include <string>

#include "companions/common/Controls.h"
#include "model/ProcessorModel.h"

namespace procesor::explain {

// A line of the microprogram listing or an instruction name beside it, as the
// diagram shows them: sky blue, yellow while marked. A click chooses its instruction.
class ListingTag final : public Control {
public:
    ListingTag() : Control({}) {}
    void setText(std::string text) { text_ = std::move(text); }
    const std::string& text() const { return text_; }
    bool marked = false;    // yellow: the line decoded last, or its instruction's name
    bool inRoutine = false; // a line of the chosen instruction's microprogram: outlined
    void paint(Canvas& c, bool pressed, bool focused) const override;

private:
    std::string text_;
};

// The control unit with its microprogram. The student chooses an instruction (its
// name or a line of the listing, or any operation code) and clocks it pulse by
// pulse: the machine's own clock pulse counts IR, decodes the line, and the decoders'
// signals, the AND gates with Phi2 and the transfers they make are shown.
class ControlUnitScene final : public Scene {
public:
    // `opcode`: the instruction to open on; none for the desktop program.
    explicit ControlUnitScene(std::optional<int> opcode = std::nullopt);

    std::string title() const override { return "Řadič a mikroprogram"; }
    const ProcessorModel& machine() const { return m_; }
    const std::string& resultText() const { return result_; }
    std::string spoken() const override { return result_; }
    std::optional<int> chosen() const { return opcode_; }
    int microstep() const { return step_; }       // microsteps begun so far
    int microstepCount() const { return count_; } // of the chosen code's routine
    int decodedLine() const { return decoded_; }  // -1 before the first decode
    bool finished() const { return finished_; }   // the routine fetched or halted
    bool halted() const { return halted_; }
    // The clock's state as the stepping row shows it ("hodiny stojí" after the halt).
    std::string clockText() const;

    // The explanation above the picture (the same in every state).
    static std::string explanationText();

    std::array<ListingTag, 16> lines; // the listing, microaddress 0..15
    std::array<ListingTag, 6> names;  // NOP, LDA, ADD, JMP, MOV, HLT as the listing orders them
    WordCells code;
    StepButtons steps;

protected:
    void paint(Canvas& c) const override;
    void adopt(const MachineMessage& state) override; // ControlUnitFollow.cpp

private:
    void choose(int opcode);
    void onPulse();
    void onMicrostep();
    void onRestart();
    // One clock pulse of the machine; what it did goes into the phase's text.
    void runPulse();
    void show();
    std::string endText() const;

    std::optional<int> opcode_;
    ProcessorModel m_;
    int top_; // the first row under the explanation
    int count_ = 0;
    int step_ = 0;
    int decoded_ = -1;
    bool finished_ = false;
    bool preset_ = false; // the machine is the scene's own example, not the student's
    bool halted_ = false;
    std::string decodeText_; // IR counted, the line decoded
    std::string phi1Text_;   // the source selected in the Phi1 state, or the halt
    std::string announce_;   // the destination selected, loaded in Phi2
    std::string phi2Text_;   // the strobe and the load
    std::string result_;
};

} // namespace procesor::explain
