#pragma once

#include <string>
#include <string_view>

namespace procesor {

// What a RAM cell shows when it holds no word: eleven blanks.
inline constexpr std::string_view kBlankCellText = "           ";

// Display text of a 4-bit word, most significant bit first: "O" for a 0 bit,
// " l " for a 1 bit. 0 -> "OOOO", 5 -> "O l O l ".
std::string wordText(int value);

// Plain decimal caption of a register value, "0".."15".
std::string decimal(int value);

} // namespace procesor
