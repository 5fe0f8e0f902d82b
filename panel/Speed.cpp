#include "panel/Speed.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/Utf8.h"

namespace procesor {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

constexpr std::string_view kNotAnIntegerTail = "' is not a valid integer value";

} // namespace

std::optional<int> parseWholeNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::string notAnIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + std::string(kNotAnIntegerTail);
}

int clockInterval(int speed) {
    const std::int64_t ms = 1700 - 200 * std::int64_t{speed};
    return static_cast<int>(
        std::clamp<std::int64_t>(ms, kFastestClockInterval, std::numeric_limits<int>::max()));
}

} // namespace procesor
