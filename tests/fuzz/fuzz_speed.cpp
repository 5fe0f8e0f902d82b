// The speed field, whatever is typed or pasted into it: the strict whole-number
// reading agrees with a plain decimal reading of the same text, the clock's interval
// stays a sane one, the error box gets short well-formed text, and "start/stop" and
// the arrows either take the number or change nothing but the box.

#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "panel/Simulator.h"
#include "panel/Speed.h"
#include "screen/ErrorBox.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace procesor;

namespace {

// The number the text means, read another way: blanks and tabs around it, an
// optional sign, decimal digits, inside int.
std::optional<int> decimalReading(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-')) return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// Characters, not bytes, of well-formed text.
std::size_t characters(std::string_view text) {
    std::size_t n = 0;
    for (std::size_t at = 0; at < text.size(); ++n) at += utf8::decode(text, at).length;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<int> speed = parseWholeNumber(text);
    FUZZ_CHECK(speed == decimalReading(text));
    if (speed) {
        const int interval = clockInterval(*speed);
        FUZZ_CHECK(interval >= kFastestClockInterval);
        if (*speed <= 8)
            FUZZ_CHECK(std::int64_t{interval} == 1700 - 200 * std::int64_t{*speed} ||
                       interval == std::numeric_limits<int>::max());
    }

    const std::string_view tail = "' is not a valid integer value";
    const std::string boxed = screen::boxedMessage(notAnIntegerMessage(text));
    FUZZ_CHECK(fuzz::wellFormed(boxed) && boxed.starts_with('\'') && boxed.ends_with(tail));
    FUZZ_CHECK(characters(boxed) <= 1 + std::size_t(screen::kBoxedTypedLength) + tail.size());
    for (const char c : boxed) FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);

    // "start/stop" in run mode with the text typed: the clock starts at the speed's
    // interval, or the box names the text and the clock stays as it was.
    std::string shown;
    int boxes = 0;
    Simulator sim([&](const std::string& message) {
        ++boxes;
        shown = message;
    });
    sim.Panel7Click();
    sim.setSpeedText(text);
    const Timer before = sim.elements().timer[Simulator::kAutoClock];
    sim.Panel2Click();
    const Timer& clock = sim.elements().timer[Simulator::kAutoClock];
    if (speed) {
        FUZZ_CHECK(boxes == 0 && clock.enabled && clock.interval == clockInterval(*speed));
    } else {
        FUZZ_CHECK(boxes == 1 && shown == notAnIntegerMessage(text) && clock == before);
    }
    // An arrow always leaves a position of 1..7 in the field and the clock at its
    // interval.
    sim.setSpeedText(text);
    sim.UpDown1Arrow(size > 0 && (data[0] & 1));
    const int position = sim.elements().upDown1.position;
    FUZZ_CHECK(position >= 1 && position <= 7);
    FUZZ_CHECK(sim.elements().edit17.text == std::to_string(position));
    FUZZ_CHECK(clock.interval == clockInterval(position));
    return 0;
}
