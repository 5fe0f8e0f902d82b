#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ProcessorModel.h"

// What the simulator tells an explainer that follows it: the student's machine as the
// diagram shows it after an update, and the element the student clicked to open the
// explainer. One message is a few dozen bytes:
//
//   'P' 'M'      the mark of a machine message
//   version      kMessageVersion
//   length       of the body, kBodyLength for this version
//   body         the run state, the marked listing line, the flags, the registers,
//                the data switches' word, RAM, which cells were written, the element
//   check        two bytes, Fletcher-16 over everything before them
//
// A message that is cut short, of another version or length, fails its check or
// holds a value the machine cannot hold (a register over 15, Phi2 without Phi1, a
// strobe at rest, a line that is no line) is refused as a whole.
namespace procesor {

inline constexpr std::uint8_t kMessageVersion = 1;
inline constexpr std::size_t kHeaderLength = 4;
inline constexpr std::size_t kBodyLength = 34;
inline constexpr std::size_t kCheckLength = 2;
inline constexpr std::size_t kMessageLength = kHeaderLength + kBodyLength + kCheckLength;

enum class RunState : std::uint8_t { Programming = 0, Running = 1, Halted = 2 };

// The element clicked: its kind as the diagram names it and its number
// (Image62 -> {Image, 62}, Label17 -> {Label, 17}).
struct ClickedElement {
    enum class Kind : std::uint8_t { Image = 1, Label = 2 };
    Kind kind = Kind::Image;
    int number = 0; // 0..65535
    bool operator==(const ClickedElement&) const = default;
};

struct MachineMessage {
    ProcessorModel machine;
    RunState state = RunState::Programming;
    // The microprogram line the listing marks yellow (the last one decoded).
    int line = 0;
    std::optional<ClickedElement> clicked; // only in the message that opens an explainer
    bool operator==(const MachineMessage&) const = default;
};

// The bytes of a message. RAM cells are sent as written or blank: a written cell shows
// its word's text, as the data switches' word does.
std::vector<std::uint8_t> encodeMessage(const MachineMessage& message);

// One whole message, exactly kMessageLength bytes; none when it is refused.
std::optional<MachineMessage> decodeMessage(std::span<const std::uint8_t> bytes);

// Messages as they come in pieces over a stream. Once a garbled piece has come, the
// reader stays broken: the stream cannot be trusted to find the next message's start.
class MessageReader {
public:
    // Takes more bytes; returns the messages they complete, in order.
    std::vector<MachineMessage> feed(std::span<const std::uint8_t> bytes);
    bool broken() const { return broken_; }

private:
    std::vector<std::uint8_t> pending_;
    bool broken_ = false;
};

// The name of the local server on which the user's simulator offers its machine:
// "procesor-" and the user's id.
std::string userServerName();

// What an explainer says first when it connects: its command name (letters only, at
// most 16), so that the simulator can hand it the element clicked for that command.
//   'P' 'H' version length name...
std::vector<std::uint8_t> encodeHello(std::string_view command);
// The command of a whole hello; none when it is not one. `used` is how many bytes
// it took (none are taken while it is incomplete).
struct HelloResult {
    enum class Status { Incomplete, Refused, Done } status = Status::Incomplete;
    std::string command;
    std::size_t used = 0;
};
HelloResult decodeHello(std::span<const std::uint8_t> bytes);

} // namespace procesor
