#pragma once

#include <array>

#include "picture/Element.h"

// A click on a block, a gate or a line of the microprogram listing starts the
// companion program that explains it. Every element has a handler of its own.
namespace procesor {

struct CompanionClick {
    using Kind = ElementKind;
    using enum ElementKind;
    Kind kind;
    int number;          // Image9 -> {Image, 9}
    const char* command; // bare command name
};
extern const std::array<CompanionClick, 33> kCompanionClicks;

// The command of the companion for an element, or nullptr when it has none.
const char* companionFor(CompanionClick::Kind kind, int number);

} // namespace procesor
