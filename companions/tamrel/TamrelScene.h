#pragma once

#include <memory>

#include "companions/common/Scene.h"

namespace procesor::explain {

// Registers A and B: how a register takes the bus with its write strobe (the write
// signal AND Phi2), and, for A, how A/R puts it on the bus.
std::unique_ptr<Scene> makeTamrelAScene(const Opening* opening);
std::unique_ptr<Scene> makeTamrelBScene(const Opening* opening);

} // namespace procesor::explain
