#include "screen/ErrorBox.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace procesor::screen {

namespace {

constexpr std::string_view kNotAnIntegerTail = "' is not a valid integer value";

// The UTF-8 text split into its characters (a stray byte counts as one), each control
// character replaced by its visible symbol: U+2400 + code for 0..31, U+2421 for DEL.
std::vector<std::string> readableCharacters(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t n = 1;
        if (c >= 0xC0)
            while (i + n < text.size() && n < 4 &&
                   (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
                ++n;
        if (c < 0x20 || c == 0x7F) {
            const unsigned symbol = c == 0x7F ? 0x2421u : 0x2400u + c;
            out.push_back({char(0xE0 | (symbol >> 12)), char(0x80 | ((symbol >> 6) & 0x3F)),
                           char(0x80 | (symbol & 0x3F))});
        } else {
            out.emplace_back(text.substr(i, n));
        }
        i += n;
    }
    return out;
}

} // namespace

std::string boxedMessage(std::string_view message) {
    if (message.size() < 1 + kNotAnIntegerTail.size() || message.front() != '\'' ||
        !message.ends_with(kNotAnIntegerTail))
        return std::string(message);
    const std::vector<std::string> typed =
        readableCharacters(message.substr(1, message.size() - 1 - kNotAnIntegerTail.size()));
    const std::size_t room = kBoxedTypedLength;
    const std::size_t head = typed.size() <= room ? typed.size() : (room - 1) / 2;
    const std::size_t tail = typed.size() <= room ? 0 : room - 1 - head;
    std::string out = "'";
    for (std::size_t i = 0; i < head; ++i) out += typed[i];
    if (tail > 0) out += "\u2026";
    for (std::size_t i = typed.size() - tail; i < typed.size(); ++i) out += typed[i];
    return out + std::string(kNotAnIntegerTail);
}

void ErrorBox::report(std::string_view message) {
    std::string boxed = boxedMessage(message);
    if (boxed.empty() || boxed == shown_ ||
        std::find(waiting_.begin(), waiting_.end(), boxed) != waiting_.end() ||
        waiting_.size() == kWaiting)
        return;
    waiting_.push_back(std::move(boxed));
}

std::string ErrorBox::take() {
    if (!shown_.empty() || waiting_.empty()) return {};
    shown_ = std::move(waiting_.front());
    waiting_.pop_front();
    return shown_;
}

} // namespace procesor::screen
