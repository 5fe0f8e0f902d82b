#include "screen/ErrorBox.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "model/Utf8.h"

namespace procesor::screen {

namespace {

constexpr std::string_view kNotAnIntegerTail = "' is not a valid integer value";

// The UTF-8 text split into its characters, each control character replaced by its
// visible symbol (U+2400 + code for 0..31, U+2421 for DEL) and each byte that is not
// UTF-8 by U+FFFD, so that the box always gets well-formed text.
std::vector<std::string> readableCharacters(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size();) {
        const utf8::Character c = utf8::decode(text, i);
        if (c.code < 0x20 || c.code == 0x7F)
            out.push_back(utf8::encode(c.code == 0x7F ? 0x2421 : 0x2400 + c.code));
        else if (!c.valid)
            out.push_back(utf8::encode(utf8::kReplacement));
        else
            out.emplace_back(text.substr(i, c.length));
        i += c.length;
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
