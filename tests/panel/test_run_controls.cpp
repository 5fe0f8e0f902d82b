// Run mode: "ručně", "start/stop", the speed field and its arrows.

#include <limits>

#include "panel/Speed.h"
#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace testing;

namespace {

struct Recorder {
    std::vector<std::string> messages;
};

Simulator runModeRecording(Recorder& r) {
    Simulator sim([&r](const std::string& m) { r.messages.push_back(m); });
    loadProgram(sim.model(), {0b1000, 0}); // JMP 0: runs for ever
    sim.Panel7Click();
    return sim;
}

} // namespace

TEST_CASE(startStopRunsTheClockAtTheSpeedOfTheField) {
    Recorder r;
    Simulator sim = runModeRecording(r);
    sim.Panel2Click();
    CHECK(sim.elements().timer[1].enabled);
    CHECK_EQ(sim.elements().timer[1].interval, 900);
    CHECK_EQ(sim.elements().panel[2].colour, clTeal);
    CHECK_EQ(sim.elements().panel[2].inner, Bevel::Lowered);
    sim.setSpeedText("2"); // typing has no handler: the clock keeps its pace
    CHECK_EQ(sim.elements().timer[1].interval, 900);
    sim.Panel2Click(); // the stop press, too, takes the interval from the field
    CHECK(!sim.elements().timer[1].enabled);
    CHECK_EQ(sim.elements().timer[1].interval, 1300);
    CHECK_EQ(sim.elements().panel[2].colour, clAqua);
    CHECK_EQ(sim.elements().panel[2].outer, Bevel::Raised);
    CHECK(r.messages.empty());
}

TEST_CASE(theArrowsRunFromOneToSevenWithoutWrap) {
    Recorder r;
    Simulator sim = runModeRecording(r);
    const int expected[] = {0, 1500, 1300, 1100, 900, 700, 500, 300};
    for (int i = 0; i < 5; ++i) sim.UpDown1Arrow(true);
    CHECK_EQ(sim.elements().edit17.text, "7");
    CHECK_EQ(sim.elements().timer[1].interval, 300);
    for (int speed = 6; speed >= 1; --speed) {
        sim.UpDown1Arrow(false);
        CHECK_EQ(sim.elements().edit17.text, std::to_string(speed));
        CHECK_EQ(sim.elements().timer[1].interval, expected[speed]);
    }
    sim.UpDown1Arrow(false);
    CHECK_EQ(sim.elements().edit17.text, "1");
    CHECK(!sim.elements().timer[1].enabled); // arrows never start the clock
}

TEST_CASE(theArrowsChangeARunningClockAtOnce) {
    Recorder r;
    Simulator sim = runModeRecording(r);
    sim.Panel2Click();
    sim.UpDown1Arrow(true);
    CHECK(sim.elements().timer[1].enabled);
    CHECK_EQ(sim.elements().timer[1].interval, 700);
}

TEST_CASE(inProgrammingModeTheArrowsOnlyChangeTheNumber) {
    Simulator sim;
    sim.UpDown1Arrow(true);
    sim.UpDown1Arrow(true);
    CHECK_EQ(sim.elements().edit17.text, "6");
    CHECK_EQ(sim.elements().timer[1].interval, 700);
    sim.Panel7Click();
    sim.Panel2Click();
    CHECK_EQ(sim.elements().timer[1].interval, 500);
}

TEST_CASE(theArrowsStartFromATypedNumber) {
    Recorder r;
    Simulator sim = runModeRecording(r);
    sim.setSpeedText("6");
    sim.UpDown1Arrow(true);
    CHECK_EQ(sim.elements().edit17.text, "7");
    sim.setSpeedText("abc");
    sim.UpDown1Arrow(false);
    CHECK_EQ(sim.elements().edit17.text, "6");
    CHECK(r.messages.empty());
}

// Text that is no whole number is reported and changes nothing: neither the
// clock nor the look of "start/stop".
TEST_CASE(aBadSpeedTextIsReportedAndChangesNothing) {
    for (const char* text : {"", "abc", "1.5", "99999999999", " abc ", " 1.5", "99999999999 ", "4x",
                             " ", "+", "--3", "0x10", "5 5", "٣"})
        for (bool running : {false, true}) {
            const std::string typed = text;
            CONTEXT(testing::quoted(typed) + (running ? ", clock running" : ""));
            Recorder r;
            Simulator sim = runModeRecording(r);
            if (running) sim.Panel2Click();
            sim.setSpeedText(typed);
            const Simulator before = sim;
            sim.Panel2Click();
            sim.UpDown1Click();
            CHECK(sim.elements() == before.elements());
            CHECK(sim.model() == before.model());
            REQUIRE_EQ(r.messages.size(), std::size_t{2});
            CHECK_EQ(r.messages[0], "'" + typed + "' is not a valid integer value");
        }
}

TEST_CASE(typedSpeedsOutsideTheArrowsRangeStillGiveASaneClock) {
    const std::pair<const char*, int> rows[] = {
        {"8", 100},          {"0", 1700},
        {"9", 100},          {"100", 100},
        {"2147483647", 100}, {"-3", 2300},
        {" -3 ", 2300},      {"9 ", 100},
        {" 100 ", 100},      {"-2147483648", std::numeric_limits<int>::max()},
        {" 5 ", 700},        {"+7", 300},
        {"007", 300}};
    for (auto [text, interval] : rows) {
        CONTEXT(testing::quoted(text));
        Recorder r;
        Simulator sim = runModeRecording(r);
        sim.setSpeedText(text);
        sim.Panel2Click();
        CHECK(sim.elements().timer[1].enabled);
        CHECK_EQ(sim.elements().timer[1].interval, interval);
        CHECK(r.messages.empty());
    }
}

// At speed 7 the automatic tick and the release of "ručně" fall due together.
TEST_CASE(atSpeedSevenEveryAutomaticTickIsAPulse) {
    Recorder r;
    Simulator sim = runModeRecording(r);
    sim.setSpeedText("7");
    sim.Panel2Click();
    for (int tick = 1; tick <= 30; ++tick) {
        const unsigned releaseStarts = sim.timerStarts(5);
        sim.Timer1Tick(0); // the release is due at this very moment
        CHECK_EQ(sim.elements().panel[1].colour, clTeal);
        // Released and pressed again: the release timer starts over.
        CHECK(sim.elements().timer[5].enabled);
        CHECK_EQ(sim.timerStarts(5), releaseStarts + 1);
    }
    // 30 pulses = 10 microsteps: the fetch, then three rounds of JMP 0 ending in a fetch
    CHECK_EQ(sim.model().ir, 8);
    CHECK_EQ(sim.model().phi1 || sim.model().phi2, false);

    // "ručně" is never ready at this speed, yet "start/stop" stops the clock.
    CHECK_EQ(sim.elements().panel[1].colour, clTeal);
    sim.Panel2Click();
    CHECK(!sim.elements().timer[1].enabled);
    CHECK_EQ(sim.elements().panel[2].colour, clAqua);
    // With the clock stopped the lock holds again: no start within the 300 ms.
    const Simulator stopped = sim;
    sim.Panel2Click();
    CHECK(sim.elements() == stopped.elements());
    sim.Button1Click();
    sim.Panel2Click();
    CHECK(sim.elements().timer[1].enabled);
}

TEST_CASE(aTickWellInsideThePressedLookIsStillDropped) {
    Recorder r;
    Simulator sim = runModeRecording(r);
    sim.Panel2Click();
    sim.Panel1Click(); // a manual pulse
    const Simulator before = sim;
    sim.Timer1Tick(200); // the release is 200 ms away
    CHECK(sim.model() == before.model());
    CHECK(sim.elements() == before.elements());
    sim.Panel1Click(); // and the lock still holds for clicks
    CHECK(sim.model() == before.model());
}

TEST_CASE(theWholeNumberConversion) {
    CHECK_EQ(parseWholeNumber("42"), std::optional<int>(42));
    CHECK_EQ(parseWholeNumber("\t-0 "), std::optional<int>(0));
    CHECK_EQ(parseWholeNumber("2147483648"), std::nullopt);
    CHECK_EQ(parseWholeNumber("-2147483648"), std::optional<int>(std::numeric_limits<int>::min()));
    CHECK_EQ(parseWholeNumber("1 2"), std::nullopt);
}

PLAIN_TEST_MAIN()
