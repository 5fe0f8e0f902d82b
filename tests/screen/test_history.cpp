// The time line: the worked example's reference frames walked forward, stepped back
// entry by entry to the start and forward again; "nulování" undone; random event
// streams with random steps back and forward held against the states at rest that
// the student saw before each entry; the automatic clock stopped by a step back and
// started again; the oldest entries dropped within the budget.

#include <algorithm>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "screen/Screen.h"
#include "tests/support/PlainCheck.h"
#include "tests/support/frames/DiagramWalk.h"
#include "tests/support/frames/Frames.h"
#include "tests/support/frames/Png.h"

using namespace procesor;
using namespace procesor::render;
using namespace procesor::screen;
namespace frames = procesor::testing;

namespace {

struct Point {
    int x;
    int y;
};
constexpr Point kSwitches[] = {{922, 146}, {938, 146}, {954, 146}, {970, 146}};
constexpr Point kStep = {448, 340}, kWrite = {448, 372}, kClear = {448, 404},
                kProgramming = {859, 108}, kRun = {859, 132}, kClock = {855, 284},
                kStartStop = {855, 320}, kArrowUp = {985, 316}, kArrowDown = {985, 327};

void click(Screen& s, Point p, Screen::Now at = {}) {
    s.mouseDown(p.x, p.y, at);
    s.mouseUp(p.x, p.y, at);
}

bool atRest(const Screen& s) {
    for (int n = 1; n < ElementState::kTimers; ++n)
        if (s.timer(n).enabled) return false;
    return true;
}

frames::Image imageOf(const Canvas& c) {
    return {c.width, c.height, c.pixels};
}

// The whole picture drawn afresh from the screen's state, as a first frame is.
Canvas fullRepaint(const Screen& s) {
    Screen fresh;
    fresh.simulator().model() = s.simulator().model();
    fresh.simulator().elements() = s.simulator().elements();
    fresh.render();
    return fresh.canvas();
}

std::string differs(const Canvas& actual, const frames::Image& expected) {
    frames::Image diff;
    return frames::differences(expected, imageOf(actual), diff);
}

// The state a step back must give: every pending release carried out, in the order
// of the timers, and the automatic clock stopped with "start/stop" released.
History::State restOf(const Simulator& live) {
    Simulator s;
    s.model() = live.model();
    s.elements() = live.elements();
    if (s.elements().timer[2].enabled) s.Button12Click();
    if (s.elements().timer[3].enabled) s.Button13Click();
    if (s.elements().timer[4].enabled) s.Button14Click();
    if (s.elements().timer[5].enabled) s.Button1Click();
    if (s.elements().timer[1].enabled) {
        s.elements().timer[1].enabled = false;
        s.elements().panel[2] = {"start/stop", clAqua, Bevel::Raised, Bevel::Raised};
    }
    return {s.model(), s.elements()};
}

bool sameAs(const Screen& s, const History::State& state) {
    return s.simulator().model() == state.model && s.simulator().elements() == state.elements;
}

} // namespace

// Forward through the scenario to the halt, recording which reference frame the
// student saw at rest at each position; then back to the very start and forward
// again, every one of those frames equal pixel for pixel on the way.
TEST_CASE(referenceFramesBackAndForward) {
    std::string error;
    std::vector<frames::Step> steps = frames::readSteps(PROCESOR_FRAMES "/scenario.txt", error);
    REQUIRE_MSG(!steps.empty(), error);
    std::size_t end = 0;
    while (end < steps.size() &&
           !(steps[end].kind == frames::Step::Frame && steps[end].word == "pulse-34"))
        ++end;
    REQUIRE(end < steps.size());
    steps.resize(end + 1);

    Screen s;
    std::map<std::uint64_t, std::string> frameAt;
    const std::string walked = frames::walk(s, steps, [&](const frames::Step& step, const Canvas&) {
        if (atRest(s)) frameAt.emplace(s.history().position(), step.word);
    });
    REQUIRE_MSG(walked.empty(), walked);
    CHECK_EQ(frameAt[0], std::string("startup"));
    CHECK_EQ(frameAt[s.history().position()], std::string("pulse-34"));
    // Thirty-four pulses and the frames before them: run mode, the switch toggled,
    // the program entered and the start.
    CHECK(frameAt.size() >= 38);

    std::map<std::string, frames::Image> png;
    for (const auto& [position, name] : frameAt) {
        auto image = frames::readPng(std::string(PROCESOR_FRAMES "/") + name + ".png");
        REQUIRE_MSG(image, name);
        png[name] = *image;
    }
    int checked = 0;
    const auto checkHere = [&](const char* way) {
        const auto found = frameAt.find(s.history().position());
        s.render();
        if (found == frameAt.end()) return;
        CONTEXT(std::string(way) + " at " + found->second);
        CHECK_EQ(differs(s.canvas(), png[found->second]), std::string());
        ++checked;
    };
    const std::uint64_t last = s.history().position();
    while (s.stepBack()) checkHere("back");
    CHECK_EQ(s.history().position(), std::uint64_t(0));
    while (s.stepForward()) checkHere("forward");
    CHECK_EQ(s.history().position(), last);
    CHECK_EQ(checked, int(2 * frameAt.size() - 2));
    CHECK(!s.stepForward());
    // At the halt again: the clock refuses pulses until a mode button.
    click(s, kClock);
    CHECK_EQ(s.history().position(), last);
}

// A program brought in, then "nulování": a step back brings the program and its
// cells back with "nulování" released, a step forward clears again.
TEST_CASE(clearUndone) {
    Screen s;
    s.paste("0001 0101 1011 0101 1110");
    const ProcessorModel loaded = s.simulator().model();
    const ElementState shown = s.simulator().elements();
    click(s, kClear);
    CHECK(s.simulator().model().ram[1] == 0);
    CHECK(s.stepBack());
    CHECK(s.simulator().model() == loaded);
    CHECK(s.simulator().elements() == shown);
    CHECK(s.simulator().elements().panel[5].colour == clAqua);
    CHECK(!s.simulator().elements().image[248].visible); // its wire dark
    CHECK(!s.timer(4).enabled);
    // Back once more: before the program came in, the start-up state.
    CHECK(s.stepBack());
    CHECK(s.simulator().elements() == ElementState::startup());
    CHECK(!s.stepBack());
    CHECK(s.stepForward());
    CHECK(s.simulator().model() == loaded);
    CHECK(s.stepForward());
    CHECK_EQ(s.simulator().elements().label[36].caption, std::string(kBlankCellText));
    CHECK(!s.stepForward());
    // A new action after a step back drops the steps ahead.
    CHECK(s.stepBack());
    click(s, kStep);
    CHECK(!s.stepForward());
    CHECK(s.simulator().model().ram[1] == 5);
}

// The keys on the diagram: Ctrl+Z back, Ctrl+Y / Ctrl+Shift+Z forward, PageDown
// "ručně" in "provoz" and PageUp back; in a text field they are the field's.
TEST_CASE(timeLineKeys) {
    Screen s;
    s.paste("0001 0101 1011 0101 1110");
    click(s, kRun);
    s.focus(std::nullopt);
    const ProcessorModel ready = s.simulator().model();
    CHECK(s.key(Key::PageDown).taken);
    CHECK(s.simulator().model().phi1); // one pulse: Φ1
    s.timerTick(5);                    // "ručně" released
    s.key(Key::PageDown);
    CHECK(s.simulator().model().phi2);
    CHECK(s.key(Key::Undo).taken);
    CHECK(s.simulator().model().phi1 && !s.simulator().model().phi2);
    CHECK(s.key(Key::PageUp).taken);
    CHECK(s.simulator().model() == ready);
    CHECK(s.key(Key::Redo).taken);
    CHECK(s.simulator().model().phi1);
    // The speed field keeps its own keys: nothing moves.
    s.focus(Screen::kEdit17);
    const ProcessorModel before = s.simulator().model();
    CHECK(!s.key(Key::Undo).taken);
    CHECK(!s.key(Key::PageDown).taken);
    CHECK(s.simulator().model() == before);
}

// The commands of the strip and the context menu: "Zpět" and "Vpřed" enabled only
// while there is something to go to, and doing what the keys do; the others left to
// the front end; "Předpovídat" a toggle; F8 and Ctrl+S wherever the focus is.
TEST_CASE(commandsFollowTheTimeLine) {
    Screen s;
    CHECK(!s.enabled(Command::StepBack));
    CHECK(!s.enabled(Command::StepForward));
    CHECK(!s.enabled(Command::CopyProgram)); // RAM holds only zeros
    CHECK(!s.command(Command::StepBack).carryOut);
    s.paste("0001 0101 1011 0101 1110");
    const ProcessorModel loaded = s.simulator().model();
    CHECK(s.enabled(Command::StepBack) && s.enabled(Command::CopyProgram));
    s.command(Command::StepBack);
    CHECK(s.simulator().model().ram[1] == 0);
    CHECK(s.enabled(Command::StepForward) && !s.enabled(Command::StepBack));
    s.command(Command::StepForward);
    CHECK(s.simulator().model() == loaded);
    for (Command c : {Command::TimingDiagram, Command::CopyProgram, Command::PasteProgram,
                      Command::SavePicture})
        CHECK(s.command(c).carryOut == c);
    CHECK(s.simulator().model() == loaded);
    CHECK(!s.checked(Command::Predict));
    s.command(Command::Predict);
    CHECK(s.checked(Command::Predict) && s.predicting());
    s.command(Command::Predict);
    CHECK(!s.predicting());
    s.focus(Screen::kEdit17);
    CHECK(s.key(Key::TimingDiagram).carryOut == Command::TimingDiagram);
    CHECK(s.key(Key::SavePicture).carryOut == Command::SavePicture);
    // The texts as the strip and the menu show them.
    CHECK_EQ(commandTooltip(Command::StepBack), std::string("Zpět (Ctrl+Z)"));
    CHECK_EQ(commandTooltip(Command::StepForward), std::string("Vpřed (Ctrl+Y)"));
    CHECK_EQ(std::string(commandInfo(Command::SavePicture).text), std::string("Uložit obrázek…"));
    CHECK_EQ(std::string(commandInfo(Command::Predict).text), std::string("Předpovídat"));
    // "Uložit obrázek…": a PNG of the diagram at its own size (the header's width and height).
    const std::string png = s.picturePng();
    REQUIRE(png.size() > 24 && png.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0);
    auto word = [&](int at) {
        return (unsigned char)png[at] << 24 | (unsigned char)png[at + 1] << 16 |
               (unsigned char)png[at + 2] << 8 | (unsigned char)png[at + 3];
    };
    CHECK_EQ(word(16), 1024u);
    CHECK_EQ(word(20), 715u);
}

TEST_CASE(automaticClockStoppedAndStartedAgain) {
    Screen s;
    s.paste("0001 0101 1011 0101 1000 0000"); // LDA 5; MOV; ADD; JMP 0
    click(s, kRun, 0);
    s.speedEdited("7", 0);
    click(s, kStartStop, 0);
    for (int i = 0; i < 8; ++i) s.wake(*s.nextWake());
    const std::uint64_t pulses = s.pulses();
    CHECK(pulses >= 6);
    const std::uint64_t position = s.history().position();
    CHECK(s.stepBack(s.now() + 10));
    CHECK_EQ(s.history().position(), position - 1);
    CHECK(!s.timer(1).enabled);
    CHECK(!s.timer(5).enabled);
    CHECK(s.nextWake() == std::nullopt);
    CHECK(s.simulator().elements().panel[2].colour == clAqua);
    CHECK(s.simulator().elements().panel[2].inner == Bevel::Raised);
    CHECK(s.simulator().elements().panel[1].colour == clAqua);
    s.wake(s.now() + 5000);
    CHECK_EQ(s.pulses(), pulses); // stopped means stopped
    // Started again it runs on from there at its speed, on a new branch.
    click(s, kStartStop, s.now());
    const Millis started = s.now();
    CHECK_EQ(*s.nextWake(), started + 300);
    s.wake(started + 300);
    CHECK_EQ(s.pulses(), pulses + 1);
    CHECK_EQ(s.history().position(), position);
    CHECK(!s.history().canStepForward());
}

// Random clicks, ticks, wakes, speeds and programs, with random steps back and
// forward and jumps; after each step the screen must show the state at rest the
// student had before that entry, its picture equal to a full repaint, no timer on.
TEST_CASE(randomStreamsAgainstTheStatesSeen) {
    std::uint64_t longest = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        CONTEXT("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        Screen s;
        std::vector<History::State> seen; // seen[p]: at rest before entry p
        Millis now = 0;
        const Point controls[] = {kSwitches[0], kSwitches[1], kSwitches[2], kSwitches[3],
                                  kStep,        kWrite,       kClear,       kProgramming,
                                  kRun,         kClock,       kClock,       kClock,
                                  kClock,       kStartStop,   kArrowUp,     kArrowDown};
        for (int event = 0; event < 6000; ++event) {
            // Mostly actions for a while, then mostly travel.
            const int what = event % 400 < 360 ? 3 + pick(17) : pick(8);
            longest = std::max(longest, s.history().last());
            const History& h = s.history();
            if ((what < 3 || event % 1000 == 399) && h.canStepBack()) {
                if (h.position() == h.last()) seen.back() = restOf(s.simulator());
                const std::uint64_t to = event % 1000 == 399
                                             ? h.first() + random() % (h.position() - h.first())
                                             : h.position() - 1;
                CHECK(to == h.position() - 1 ? s.stepBack(now) : s.moveTo(to, now));
            } else if (what < 5 && h.canStepForward()) {
                CHECK(s.stepForward(now));
            } else {
                const History::State before = restOf(s.simulator());
                const std::uint64_t p = h.position();
                if (what < 9)
                    click(s, controls[pick(std::size(controls))], now);
                else if (what < 13)
                    s.timerTick(5, now), click(s, kClock, now); // "ručně" released, pressed
                else if (what < 16)
                    s.wake(now += pick(200)); // at most one pulse
                else if (what < 18)
                    s.speedEdited(std::to_string(1 + pick(8)), now);
                else if (what < 19)
                    s.timerTick(1 + pick(5), now);
                else
                    s.paste(pick(2) ? "1110" : "0001 0011 1000 0000", now);
                if (h.position() != p) {
                    // One entry more; the steps ahead of it gone.
                    REQUIRE_EQ(h.position(), p + 1);
                    REQUIRE_EQ(h.last(), p + 1);
                    seen.resize(std::size_t(p) + 1);
                    seen[std::size_t(p)] = before;
                    seen.push_back(restOf(s.simulator()));
                }
                continue;
            }
            REQUIRE_MSG(sameAs(s, seen[std::size_t(h.position())]),
                        "event " + std::to_string(event) + ", position " +
                            std::to_string(h.position()));
            CHECK(atRest(s));
            CHECK(s.nextWake() == std::nullopt);
            s.render();
            if (event % 16 == 0) CHECK_EQ(differs(s.canvas(), imageOf(fullRepaint(s))), "");
        }
    }
    CHECK(longest > 2 * History::kKeepEvery); // replays across kept states
}

// A lesson of a million pulses fits: the oldest entries go first, the bytes stay
// within the budget and the oldest one kept can still be reached.
TEST_CASE(memoryBound) {
    History h;
    Simulator sim;
    sim.model().ram = {0b1000, 0}; // JMP 0 for ever
    sim.Panel7Click();
    constexpr int kPulses = 1'050'000;
    for (int i = 0; i < kPulses; ++i) {
        h.before(sim);
        sim.Panel1Click();
        h.after(HistoryKind::Pulse, sim);
        sim.Button1Click();
    }
    CHECK_EQ(h.last(), std::uint64_t(kPulses));
    CHECK(h.last() - h.first() >= 1'000'000);
    CHECK(h.bytes() <= History::kDefaultBudget);
    CHECK(h.bytes() / (h.last() - h.first()) < 64);

    History small(64 * 1024);
    for (int i = 0; i < 20000; ++i) {
        small.before(sim);
        sim.Panel1Click();
        small.after(HistoryKind::Pulse, sim);
        sim.Button1Click();
    }
    CHECK(small.bytes() <= 64 * 1024);
    CHECK(small.first() > 0);
    const ProcessorModel now = sim.model();
    CHECK(small.moveTo(small.first(), sim));
    CHECK(!small.moveTo(small.first() - 1, sim));
    CHECK(small.moveTo(small.last(), sim));
    CHECK(sim.model() == now);
}

PLAIN_TEST_MAIN()
