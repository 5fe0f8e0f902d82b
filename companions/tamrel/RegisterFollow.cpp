#include "companions/common/Following.h"
#include "companions/tamrel/RegisterScene.h"

namespace procesor::explain {

// The register with the bus and its strobe as the student's machine holds them; its
// signals and the bus set from the machine, so that a pulse made here goes on from it.
void RegisterScene::adopt(const MachineMessage& state) {
    m_ = state.machine;
    write.setOn(writeSignal());
    read.setOn(which_ == Which::A && m_.aRead);
    bus.setValue(m_.bus);
    loadedInStep_ = strobeOn();
    show();
    describePulse();
    result_ = followingText(state) + " " + result_;
}

} // namespace procesor::explain
