#include "companions/common/Following.h"
#include "companions/common/Texts.h"
#include "companions/vondrel/ControlUnitScene.h"
#include "model/Microprogram.h"

namespace procesor::explain {

// The student's machine as the simulator shows it: the line it executes marked, its
// instruction's routine outlined and the microstep counted in it, the decoders'
// signals and the strobes as the machine holds them.
void ControlUnitScene::adopt(const MachineMessage& state) {
    m_ = state.machine;
    preset_ = false;
    const int line = state.line & 15;
    const std::string_view mnemonic = instructionOf(line);
    for (const Instruction& i : kInstructions)
        if (i.mnemonic == mnemonic) opcode_ = i.opcode;
    const int first = (*opcode_ + 1) & 15;
    count_ = 0;
    for (int l = 0; l < 16; ++l)
        if (instructionOf(l) == mnemonic) ++count_;
    step_ = ((line - first) & 15) + 1;
    decoded_ = line;
    halted_ = state.state == RunState::Halted;
    // At rest after the routine's last line its fetch is done: the next pulse begins
    // the next instruction, which the scene's own copy does not run on into.
    finished_ = halted_ || (state.state == RunState::Running && step_ == count_ && !m_.phi1);
    decodeText_.clear();
    phi1Text_.clear();
    announce_.clear();
    phi2Text_.clear();
    result_ = followingText(state) + " IR = " + binary(m_.ir) + ", PČ = " + number(m_.pc) +
              ", sběrnice = " + number(m_.bus) + ".";
    show();
}

} // namespace procesor::explain
