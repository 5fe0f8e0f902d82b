#include "model/WordText.h"

namespace procesor {

std::string wordText(int value) {
    std::string text;
    for (int weight = 8; weight >= 1; weight /= 2) text += (value & weight) ? " l " : "O";
    return text;
}

std::string decimal(int value) {
    return std::to_string(value);
}

} // namespace procesor
