#include "companions/common/Following.h"
#include "companions/plimo/GateScene.h"

namespace procesor::explain {

// The five gates' inputs and outputs as the student's machine holds them.
void GateScene::adopt(const MachineMessage& state) {
    for (const ChoiceButton& choice : choices) viewOnly(choice);
    m_ = state.machine;
    show();
    strobeInStep_ = strobeOn();
    result_ = followingText(state) +
              (gate_ ? " " + inputs() + ", výstup " + std::string(strobeOn() ? "1." : "0.") : "");
}

} // namespace procesor::explain
