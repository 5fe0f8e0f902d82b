#pragma once

#include <memory>

#include "companions/common/Scene.h"

namespace procesor::explain {

std::unique_ptr<Scene> makePlimoScene(const Opening* opening);

} // namespace procesor::explain
