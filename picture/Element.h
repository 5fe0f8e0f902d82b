#pragma once

// An element of the diagram by its component name: Image9 is {Image, 9}, Label17 is
// {Label, 17}. The blocks, gates and listing lines that explainers open on are such
// elements.
namespace procesor {

enum class ElementKind { Image, Label };

} // namespace procesor
