#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace procesor {

// Strict whole-number conversion of the speed field: an optional sign and decimal
// digits, blanks around them allowed, within the range of a 32-bit int. Anything
// else (empty, letters, a fraction, too large) fails.
std::optional<int> parseWholeNumber(std::string_view text);

// The message of a failed conversion, "'abc' is not a valid integer value".
std::string notAnIntegerMessage(std::string_view text);

// Interval of the automatic clock for a speed: 1700 - 200 * speed ms (1 -> 1500,
// 7 -> 300, 8 -> 100, 0 -> 1700). Speeds of 9 and more would give zero or negative
// intervals, a clock that spins as fast as it can; they get the fastest sane rate,
// 100 ms. Very negative speeds are capped at the largest interval a timer can hold.
int clockInterval(int speed);

inline constexpr int kFastestClockInterval = 100;

} // namespace procesor
