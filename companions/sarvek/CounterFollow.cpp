#include "companions/common/Following.h"
#include "companions/common/Texts.h"
#include "companions/sarvek/CounterScene.h"

namespace procesor::explain {

// IR and PČ as the student's machine holds them, with the line IR's last count
// selected; PČ's signals and bus set from the machine, so that a pulse made here
// goes on from the same state.
void CounterScene::adopt(const MachineMessage& state) {
    viewOnly(chooseIr);
    viewOnly(choosePc);
    if (!which_) choose(Which::IR);
    m_ = state.machine;
    decoded_ = state.line & 15;
    halted_ = state.state == RunState::Halted;
    pcWrite.setOn(m_.pcWrite);
    pcInc.setOn(m_.pcInc);
    pcBus.setValue(m_.bus);
    code.setValue(m_.ramOut); // the word RAM gives at PČ
    phi1Text_.clear();
    phi1More_.clear();
    phi2Text_.clear();
    result_ = followingText(state) + " IR = " + binary(m_.ir) + ", PČ = " + number(m_.pc) + ".";
    show();
}

} // namespace procesor::explain
