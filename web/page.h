#pragma once

#include "panel/Simulator.h"

// What the page's two halves take from each other: the simulator of the diagram
// (exports.cpp) and the explainers open beside it (explain_exports.cpp).
namespace procesor::web {

const Simulator& pageSimulator();
// After each update of the page: the machine to every explainer that follows it.
void explainersFollow(const Simulator& sim);

} // namespace procesor::web
