#include "companions/common/Following.h"
#include "companions/quobin/AdderScene.h"

namespace procesor::explain {

// A, B, the sum with its carries and the bus as the student's machine holds them;
// ADD/R and A/W set from the machine, so that a pulse made here goes on from it.
void AdderScene::adopt(const MachineMessage& state) {
    m_ = state.machine;
    addRead.setOn(m_.addRead);
    aWrite.setOn(m_.aWrite);
    show();
    result_ = followingText(state) + " " + addition();
}

} // namespace procesor::explain
