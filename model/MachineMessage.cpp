#include "model/MachineMessage.h"

#include <algorithm>
#include <array>

#include "model/WordText.h"

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#else
#include <cstdlib>
#endif

namespace procesor {

namespace {

constexpr std::uint8_t kMark = 'P';
constexpr std::uint8_t kMachineKind = 'M';
constexpr std::uint8_t kHelloKind = 'H';
constexpr std::size_t kMaxCommand = 16;
constexpr std::uint8_t kNoWord = 0xFF;

// The machine's flags in the order of their bits.
constexpr std::array<bool ProcessorModel::*, 19> kFlags = {
    &ProcessorModel::phi1,    &ProcessorModel::phi2,    &ProcessorModel::pcInc,
    &ProcessorModel::addRead, &ProcessorModel::aRead,   &ProcessorModel::ramRead,
    &ProcessorModel::bWrite,  &ProcessorModel::aWrite,  &ProcessorModel::pcWrite,
    &ProcessorModel::irWrite, &ProcessorModel::bLoad,   &ProcessorModel::aLoad,
    &ProcessorModel::pcLoad,  &ProcessorModel::irLoad,  &ProcessorModel::pcCount,
    &ProcessorModel::busBit0, &ProcessorModel::busBit1, &ProcessorModel::busBit2,
    &ProcessorModel::busBit3};
constexpr std::size_t kFirstStrobe = 10;
constexpr std::size_t kStrobes = 5;

constexpr std::array<int ProcessorModel::*, 7> kWords = {
    &ProcessorModel::pc,   &ProcessorModel::bus,  &ProcessorModel::ir, &ProcessorModel::ramOut,
    &ProcessorModel::regA, &ProcessorModel::regB, &ProcessorModel::sum};

// Where each part of the body lies.
constexpr std::size_t kState = 0;
constexpr std::size_t kLine = 1;
constexpr std::size_t kFlagBytes = 2; // three bytes
constexpr std::size_t kWordBytes = 5; // one byte each
constexpr std::size_t kSwitches = 12;
constexpr std::size_t kRam = 13; // sixteen bytes
constexpr std::size_t kWritten = 29;
constexpr std::size_t kElementKind = 31;
constexpr std::size_t kElementNumber = 32;
static_assert(kElementNumber + 2 == kBodyLength);

std::uint16_t fletcher16(std::span<const std::uint8_t> bytes) {
    unsigned a = 0;
    unsigned b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 255;
        b = (b + a) % 255;
    }
    return std::uint16_t(b << 8 | a);
}

std::optional<int> wordOfText(const std::string& text) {
    for (int v = 0; v < 16; ++v)
        if (wordText(v) == text) return v;
    return std::nullopt;
}

} // namespace

std::vector<std::uint8_t> encodeMessage(const MachineMessage& message) {
    const ProcessorModel& m = message.machine;
    std::vector<std::uint8_t> out(kMessageLength, 0);
    out[0] = kMark;
    out[1] = kMachineKind;
    out[2] = kMessageVersion;
    out[3] = std::uint8_t(kBodyLength);
    std::uint8_t* body = out.data() + kHeaderLength;
    body[kState] = std::uint8_t(message.state);
    body[kLine] = std::uint8_t(message.line & 15);
    std::uint32_t flags = 0;
    for (std::size_t i = 0; i < kFlags.size(); ++i)
        if (m.*kFlags[i]) flags |= 1u << i;
    for (std::size_t i = 0; i < 3; ++i) body[kFlagBytes + i] = std::uint8_t(flags >> (8 * i));
    for (std::size_t i = 0; i < kWords.size(); ++i)
        body[kWordBytes + i] = std::uint8_t(m.*kWords[i] & 15);
    body[kSwitches] = wordOfText(m.wordText).value_or(kNoWord);
    unsigned written = 0;
    for (std::size_t i = 0; i < 16; ++i) {
        body[kRam + i] = std::uint8_t(m.ram[i] & 15);
        if (m.ramText[i] != kBlankCellText) written |= 1u << i;
    }
    body[kWritten] = std::uint8_t(written);
    body[kWritten + 1] = std::uint8_t(written >> 8);
    if (message.clicked) {
        body[kElementKind] = std::uint8_t(message.clicked->kind);
        body[kElementNumber] = std::uint8_t(message.clicked->number);
        body[kElementNumber + 1] = std::uint8_t(message.clicked->number >> 8);
    }
    const std::uint16_t check = fletcher16({out.data(), kHeaderLength + kBodyLength});
    out[kHeaderLength + kBodyLength] = std::uint8_t(check);
    out[kHeaderLength + kBodyLength + 1] = std::uint8_t(check >> 8);
    return out;
}

std::optional<MachineMessage> decodeMessage(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kMessageLength) return std::nullopt;
    if (bytes[0] != kMark || bytes[1] != kMachineKind || bytes[2] != kMessageVersion ||
        bytes[3] != kBodyLength)
        return std::nullopt;
    const std::uint16_t check = fletcher16(bytes.first(kHeaderLength + kBodyLength));
    if (bytes[kHeaderLength + kBodyLength] != std::uint8_t(check) ||
        bytes[kHeaderLength + kBodyLength + 1] != std::uint8_t(check >> 8))
        return std::nullopt;
    const std::span<const std::uint8_t> body = bytes.subspan(kHeaderLength, kBodyLength);

    MachineMessage msg;
    ProcessorModel& m = msg.machine;
    if (body[kState] > std::uint8_t(RunState::Halted) || body[kLine] > 15) return std::nullopt;
    msg.state = RunState(body[kState]);
    msg.line = body[kLine];
    const std::uint32_t flags = std::uint32_t(body[kFlagBytes]) |
                                std::uint32_t(body[kFlagBytes + 1]) << 8 |
                                std::uint32_t(body[kFlagBytes + 2]) << 16;
    if (flags >> kFlags.size()) return std::nullopt;
    for (std::size_t i = 0; i < kFlags.size(); ++i) m.*kFlags[i] = (flags >> i) & 1u;
    // The clock has three states, and the AND gates give 0 without Phi2.
    if (m.phi2 && !m.phi1) return std::nullopt;
    if (!m.phi2 && (flags >> kFirstStrobe & ((1u << kStrobes) - 1)) != 0) return std::nullopt;
    for (std::size_t i = 0; i < kWords.size(); ++i) {
        if (body[kWordBytes + i] > 15) return std::nullopt;
        m.*kWords[i] = body[kWordBytes + i];
    }
    if (body[kSwitches] != kNoWord) {
        if (body[kSwitches] > 15) return std::nullopt;
        m.wordText = wordText(body[kSwitches]);
    }
    const unsigned written = unsigned(body[kWritten]) | unsigned(body[kWritten + 1]) << 8;
    for (std::size_t i = 0; i < 16; ++i) {
        if (body[kRam + i] > 15) return std::nullopt;
        m.ram[i] = body[kRam + i];
        if (written >> i & 1u) m.ramText[i] = wordText(m.ram[i]);
    }
    const std::uint8_t kind = body[kElementKind];
    const int number = int(body[kElementNumber]) | int(body[kElementNumber + 1]) << 8;
    if (kind == 0) {
        if (number != 0) return std::nullopt;
    } else if (kind == std::uint8_t(ClickedElement::Kind::Image) ||
               kind == std::uint8_t(ClickedElement::Kind::Label)) {
        msg.clicked = ClickedElement{ClickedElement::Kind(kind), number};
    } else {
        return std::nullopt;
    }
    return msg;
}

std::vector<MachineMessage> MessageReader::feed(std::span<const std::uint8_t> bytes) {
    std::vector<MachineMessage> out;
    if (broken_) return out;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    std::size_t at = 0;
    while (!broken_) {
        const std::size_t left = pending_.size() - at;
        // A wrong mark, version or length is refused as soon as it is seen.
        const std::array<std::uint8_t, kHeaderLength> header = {
            kMark, kMachineKind, kMessageVersion, std::uint8_t(kBodyLength)};
        const std::size_t seen = std::min(left, kHeaderLength);
        if (!std::equal(header.begin(), header.begin() + std::ptrdiff_t(seen),
                        pending_.begin() + std::ptrdiff_t(at)))
            broken_ = true;
        if (broken_ || left < kMessageLength) break;
        const auto msg = decodeMessage({pending_.data() + at, kMessageLength});
        if (!msg) {
            broken_ = true;
            break;
        }
        out.push_back(*msg);
        at += kMessageLength;
    }
    if (broken_)
        pending_.clear();
    else
        pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(at));
    return out;
}

std::string userServerName() {
#if defined(__unix__) || defined(__APPLE__)
    return "procesor-" + std::to_string(::getuid());
#else
    std::string user;
    if (const char* name = std::getenv("USERNAME")) user = name;
    std::erase_if(user, [](char c) { return c == '/' || c == '\\' || c == ':'; });
    return "procesor-" + user;
#endif
}

std::vector<std::uint8_t> encodeHello(std::string_view command) {
    std::vector<std::uint8_t> out = {kMark, kHelloKind, kMessageVersion};
    const std::size_t n = std::min(command.size(), kMaxCommand);
    out.push_back(std::uint8_t(n));
    out.insert(out.end(), command.begin(), command.begin() + std::ptrdiff_t(n));
    return out;
}

HelloResult decodeHello(std::span<const std::uint8_t> bytes) {
    HelloResult r;
    const std::array<std::uint8_t, 3> head = {kMark, kHelloKind, kMessageVersion};
    const std::size_t seen = std::min(bytes.size(), head.size());
    if (!std::equal(head.begin(), head.begin() + std::ptrdiff_t(seen), bytes.begin())) {
        r.status = HelloResult::Status::Refused;
        return r;
    }
    if (bytes.size() < kHeaderLength) return r;
    const std::size_t n = bytes[3];
    if (n == 0 || n > kMaxCommand) {
        r.status = HelloResult::Status::Refused;
        return r;
    }
    if (bytes.size() < kHeaderLength + n) return r;
    for (std::size_t i = 0; i < n; ++i) {
        const char ch = char(bytes[kHeaderLength + i]);
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'))) {
            r.status = HelloResult::Status::Refused;
            return r;
        }
        r.command.push_back(ch);
    }
    r.status = HelloResult::Status::Done;
    r.used = kHeaderLength + n;
    return r;
}

} // namespace procesor
