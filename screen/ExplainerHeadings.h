#pragma once

#include <string>
#include <string_view>

#include "picture/Element.h"

// What a screen reader says for the diagram's elements that open an explainer: the
// explainer's heading, as its window shows it, and what the element is within it.
namespace procesor {

// The heading of the explainer a command starts, empty for an unknown command.
std::string_view explainerHeading(std::string_view command);

// "Řadič a mikroprogram: řádek 0011 RAM/R, A/W" and the like: the heading of the
// element's explainer and the element itself; the caption is what a listing line or
// an instruction name shows. Empty for an element that opens no explainer.
std::string explainerElementName(ElementKind kind, int number, std::string_view caption);

} // namespace procesor
