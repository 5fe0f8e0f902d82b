#include "companions/common/SimulatorLink.h"

namespace procesor::explain {

bool SimulatorLink::received(std::span<const std::uint8_t> bytes) {
    if (broken()) return false;
    for (const MachineMessage& m : reader_.feed(bytes)) {
        scene_.simulatorState(m);
        ++messages_;
    }
    if (reader_.broken()) scene_.simulatorGone();
    return !broken();
}

void SimulatorLink::lost() {
    if (!broken()) scene_.simulatorGone();
    lost_ = true;
}

} // namespace procesor::explain
