// The messages a simulator sends to the explainers that follow it: every state of the
// worked example comes through whole, and any garbled, cut, stretched or foreign
// message is refused, also when it comes in pieces over a stream.

#include <cstdint>
#include <vector>

#include "model/Clock.h"
#include "model/MachineMessage.h"
#include "model/WordText.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The worked example's machine after each of its pulses, as messages.
std::vector<MachineMessage> workedExample() {
    MachineMessage msg;
    msg.state = RunState::Running;
    const int words[] = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};
    for (int i = 0; i < 5; ++i) {
        msg.machine.ram[std::size_t(i)] = words[i];
        msg.machine.ramText[std::size_t(i)] = wordText(words[i]);
    }
    std::vector<MachineMessage> out = {msg};
    for (int pulse = 0; pulse < 34; ++pulse) {
        const PulseOutcome o = clockPulse(msg.machine);
        if (o.decoded) msg.line = msg.machine.ir;
        if (o.halted) msg.state = RunState::Halted;
        out.push_back(msg);
    }
    out.back().clicked = ClickedElement{ClickedElement::Kind::Label, 29};
    return out;
}

// The check of a message, written out here as the format defines it, so that a body
// with a value the machine cannot hold can be sealed as a sender would.
void seal(Bytes& b) {
    unsigned s1 = 0, s2 = 0;
    for (std::size_t i = 0; i + 2 < b.size(); ++i) {
        s1 = (s1 + b[i]) % 255;
        s2 = (s2 + s1) % 255;
    }
    b[b.size() - 2] = std::uint8_t(s1);
    b[b.size() - 1] = std::uint8_t(s2);
}

} // namespace

TEST_CASE(everyStateOfTheWorkedExampleComesThroughWhole) {
    for (const MachineMessage& m : workedExample()) {
        const Bytes b = encodeMessage(m);
        CHECK_EQ(b.size(), std::size_t(40));
        const auto back = decodeMessage(b);
        REQUIRE(back.has_value());
        CHECK(*back == m);
    }
    // The data switches' word and the written cells, blank ones staying blank.
    MachineMessage m;
    m.machine.wordText = wordText(9);
    m.machine.ram[7] = 0;
    m.machine.ramText[7] = wordText(0);
    const auto back = decodeMessage(encodeMessage(m));
    REQUIRE(back.has_value());
    CHECK_EQ(back->machine.wordText, wordText(9));
    CHECK_EQ(back->machine.ramText[7], std::string("OOOO"));
    CHECK_EQ(back->machine.ramText[6], std::string(kBlankCellText));
}

TEST_CASE(garbledCutOrForeignMessagesAreRefused) {
    const Bytes good = encodeMessage(workedExample()[9]);
    for (std::size_t i = 0; i < good.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) {
            Bytes b = good;
            b[i] ^= std::uint8_t(1u << bit);
            CONTEXT("byte " + std::to_string(i) + " bit " + std::to_string(bit));
            CHECK(!decodeMessage(b).has_value());
        }
    CHECK(!decodeMessage(Bytes(good.begin(), good.end() - 1)).has_value());
    Bytes longer = good;
    longer.push_back(0);
    CHECK(!decodeMessage(longer).has_value());
    CHECK(!decodeMessage(Bytes{}).has_value());

    // Sealed as a sender would, but holding what no machine holds.
    const auto refusedWith = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        seal(b);
        return !decodeMessage(b).has_value();
    };
    CHECK(!refusedWith(0, good[0])); // the sealed copy itself is taken
    CHECK(refusedWith(2, 2));        // another version
    CHECK(refusedWith(3, 35));       // another body length
    CHECK(refusedWith(4, 3));        // no such run state
    CHECK(refusedWith(5, 16));       // no such line
    CHECK(refusedWith(6, 0b10));     // Phi2 without Phi1
    CHECK(refusedWith(7, 0b100));    // a strobe (B/W's) at rest
    CHECK(refusedWith(8, 0x08));     // a flag bit that means nothing
    CHECK(refusedWith(9, 16));       // PC 16
    CHECK(refusedWith(15, 200));     // the sum
    CHECK(refusedWith(16, 16));      // the switches' word
    CHECK(refusedWith(17 + 15, 16)); // RAM[15]
    CHECK(refusedWith(35, 3));       // an element of no kind
    CHECK(refusedWith(36, 1));       // a number without an element
}

TEST_CASE(aStreamInAnyPiecesGivesTheSameMessagesAndAGarbleBreaksIt) {
    const std::vector<MachineMessage> all = workedExample();
    Bytes stream;
    for (const MachineMessage& m : all) {
        const Bytes b = encodeMessage(m);
        stream.insert(stream.end(), b.begin(), b.end());
    }
    for (std::size_t piece :
         {std::size_t(1), std::size_t(3), std::size_t(39), std::size_t(41), std::size_t(1000)}) {
        CONTEXT("pieces of " + std::to_string(piece));
        MessageReader r;
        std::vector<MachineMessage> got;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            const std::size_t n = std::min(piece, stream.size() - at);
            for (const MachineMessage& m : r.feed({stream.data() + at, n})) got.push_back(m);
        }
        CHECK(!r.broken());
        CHECK(got == all);
    }
    // A wrong byte in the third message: the first two come, then nothing ever again.
    Bytes bad = stream;
    bad[2 * 40 + 11] ^= 1;
    MessageReader r;
    CHECK_EQ(r.feed(bad).size(), std::size_t(2));
    CHECK(r.broken());
    CHECK(r.feed(encodeMessage(all[0])).empty());
    // A foreign start is refused at once, before a whole message has come.
    MessageReader other;
    CHECK(other.feed(Bytes{'G', 'E', 'T'}).empty());
    CHECK(other.broken());
}

TEST_CASE(aHelloNamesItsCommandOrIsRefused) {
    const Bytes b = encodeHello("tamrelA");
    const HelloResult r = decodeHello(b);
    CHECK(r.status == HelloResult::Status::Done);
    CHECK_EQ(r.command, std::string("tamrelA"));
    CHECK_EQ(r.used, b.size());
    CHECK(decodeHello(Bytes(b.begin(), b.end() - 1)).status == HelloResult::Status::Incomplete);
    Bytes slash = b;
    slash[5] = '/';
    CHECK(decodeHello(slash).status == HelloResult::Status::Refused);
    CHECK(decodeHello(Bytes{'P', 'H', 1, 0}).status == HelloResult::Status::Refused);
    CHECK(decodeHello(Bytes{'P', 'M'}).status == HelloResult::Status::Refused);
}

PLAIN_TEST_MAIN()
