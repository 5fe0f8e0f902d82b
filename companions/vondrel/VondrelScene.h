#pragma once

#include <memory>

#include "companions/common/Scene.h"

namespace procesor::explain {

// The control unit and its microprogram. Opened on a listing line or an instruction
// name it starts with that instruction chosen; otherwise with nothing chosen.
std::unique_ptr<Scene> makeVondrelScene(const Opening* opening);

} // namespace procesor::explain
