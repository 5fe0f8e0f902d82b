// Every explainer following the student's simulator through the worked example, pulse
// by pulse: what each shows is held against the machine clocked by clockPulse alone
// and against the worked example's table, and a few pictures against reference
// frames (tests/frames/follow/). A step or change in the scene ends following, its
// switch takes it up again; a mode change moves the line; a simulator that goes away
// leaves the scene to itself. In the page the explainers open beside the diagram in
// one program (screen/Explainers.h): they follow each update of its screen.
//
//   test_follow [--rebaseline] [CASE...]   (--rebaseline writes the frames that differ)

// Each scene comes from the factory under its own command, so its class is known:
// the casts below are static (the page's build runs these tests without RTTI).
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "companions/Scenes.h"
#include "companions/plimo/GateScene.h"
#include "companions/quobin/AdderScene.h"
#include "companions/sarvek/CounterScene.h"
#include "companions/tamrel/RegisterScene.h"
#include "companions/vondrel/ControlUnitScene.h"
#include "model/Clock.h"
#include "panel/MachineState.h"
#include "panel/Simulator.h"
#include "screen/Explainers.h"
#include "screen/Screen.h"
#include "tests/companions/SceneInput.h"
#include "tests/support/PlainCheck.h"
#include "tests/support/frames/Frames.h"

using namespace procesor;
using namespace procesor::explain;
using procesor::testing::contains;
using procesor::testing::press;

namespace {

bool gRebaseline = false;

// The student's simulator with the worked example (LDA 5; MOV; ADD; HLT) in run mode,
// and beside it the same machine clocked by clockPulse alone.
struct Student {
    Simulator sim;
    ProcessorModel clocked;
    int pulses = 0;
    Student() {
        sim.loadProgram("0001 0101 1011 0101 1110");
        sim.Panel7Click();
        clocked = sim.model();
    }
    void pulse() {
        sim.Panel1Click();
        sim.Button1Click();
        clockPulse(clocked);
        ++pulses;
    }
    MachineMessage state() const { return machineMessage(sim); }
};

// The worked example's table: after the Phi2 pulse of each microstep.
struct Row {
    int pulse, line, pc, ir, bus, regA, regB, sum;
};
constexpr Row kTable[] = {
    {2, 1, 0, 1, 1, 0, 0, 0},     {5, 2, 1, 2, 1, 0, 0, 0},      {8, 3, 1, 3, 5, 5, 0, 5},
    {11, 4, 2, 4, 5, 5, 0, 5},    {14, 5, 2, 11, 11, 5, 0, 5},   {17, 12, 2, 12, 5, 5, 5, 10},
    {20, 13, 3, 13, 5, 5, 5, 10}, {23, 14, 3, 5, 5, 5, 5, 10},   {26, 6, 3, 6, 10, 10, 5, 15},
    {29, 7, 4, 7, 10, 10, 5, 15}, {32, 8, 4, 14, 14, 10, 5, 15}, {34, 15, 4, 15, 14, 10, 5, 15},
};
// The line being executed after each pulse: the table's line of its microstep.
int lineAfter(int pulse) {
    for (const Row& r : kTable)
        if (pulse <= r.pulse + 1 && pulse >= r.pulse - 1) return r.line;
    return 0;
}

const Row* rowAt(int pulse) {
    for (const Row& r : kTable)
        if (r.pulse == pulse) return &r;
    return nullptr;
}

// What one explainer shows of the machine, read off its controls.
struct Shown {
    int pc = -1, ir = -1, bus = -1, regA = -1, regB = -1, sum = -1, line = -1;
};

struct Follower {
    const char* command;
    ElementKind kind;
    int number;
    // The pulses whose picture is a reference frame.
    std::initializer_list<int> frames;
    std::function<Shown(Scene&, const ProcessorModel& m)> check; // checks and reads off
};

Shown vondrel(Scene& s, const ProcessorModel& m) {
    auto& v = static_cast<ControlUnitScene&>(s);
    CHECK(v.machine() == m);
    int marked = 0;
    for (const ListingTag& t : v.lines) marked += t.marked ? 1 : 0;
    CHECK_EQ(marked, 1);
    Shown r;
    r.line = v.decodedLine();
    CHECK(v.lines[std::size_t(r.line & 15)].marked);
    CHECK_EQ(v.halted(), m.ir == 15 && m.phi1); // "hodiny stojí"
    r.pc = v.machine().pc;
    r.ir = v.machine().ir;
    r.bus = v.machine().bus;
    r.regA = v.machine().regA;
    r.regB = v.machine().regB;
    r.sum = v.machine().sum;
    return r;
}

Shown sarvek(Scene& s, const ProcessorModel& m) {
    auto& c = static_cast<CounterScene&>(s);
    CHECK(c.machine() == m);
    Shown r;
    r.ir = c.irValue.value();
    r.pc = c.pcValue.value();
    r.line = c.decodedLine();
    if (c.chosen() == CounterScene::Which::IR) {
        r.bus = c.irBus.value();
        CHECK_EQ(c.irWrite.on(), m.irWrite);
        CHECK_EQ(c.phi1.on(), m.phi1);
        CHECK_EQ(c.irLoad.on(), m.irLoad);
    } else {
        r.bus = c.pcBus.value();
        CHECK_EQ(c.pcInc.on(), m.pcInc);
        CHECK_EQ(c.pcWrite.on(), m.pcWrite);
        CHECK_EQ(c.pcCount.on(), m.pcCount);
        CHECK_EQ(c.pcLoad.on(), m.pcLoad);
    }
    return r;
}

Shown quobin(Scene& s, const ProcessorModel& m) {
    auto& a = static_cast<AdderScene&>(s);
    CHECK(a.machine() == m);
    CHECK_EQ(a.addRead.on(), m.addRead);
    CHECK_EQ(a.aWrite.on(), m.aWrite);
    CHECK_EQ(a.phi2.on(), m.phi2);
    Shown r;
    r.regA = a.a.value();
    r.regB = a.b.value();
    r.sum = a.sum.value();
    r.bus = a.bus.value();
    return r;
}

Shown tamrel(Scene& s, const ProcessorModel& m) {
    auto& t = static_cast<RegisterScene&>(s);
    CHECK(t.machine() == m);
    const bool isA = t.title().starts_with("Registr A");
    CHECK_EQ(t.write.on(), isA ? m.aWrite : m.bWrite);
    CHECK_EQ(t.strobe.on(), isA ? m.aLoad : m.bLoad);
    CHECK_EQ(t.phi2.on(), m.phi2);
    if (isA) CHECK_EQ(t.read.on(), m.aRead);
    Shown r;
    r.bus = t.bus.value();
    (isA ? r.regA : r.regB) = t.value.value();
    return r;
}

Shown plimo(Scene& s, const ProcessorModel& m) {
    auto& g = static_cast<GateScene&>(s);
    CHECK(g.machine() == m);
    const bool signals[] = {m.irWrite, m.pcWrite, m.pcInc, m.aWrite, m.bWrite};
    const bool strobes[] = {m.irLoad, m.pcLoad, m.pcCount, m.aLoad, m.bLoad};
    const int gate = *g.gate();
    CHECK_EQ(g.signals[std::size_t(gate)].on(), signals[gate]);
    CHECK_EQ(g.signalOn(), signals[gate]);
    CHECK_EQ(g.strobe.on(), strobes[gate]);
    CHECK_EQ(g.phi2.on(), m.phi2);
    return {};
}

const Follower kFollowers[] = {
    {"vondrel", ElementKind::Label, 17, {7, 26, 34}, vondrel}, // line 0011
    {"sarvek", ElementKind::Image, 3, {14}, sarvek},           // IR
    {"sarvek", ElementKind::Image, 4, {11}, sarvek},           // PČ
    {"quobin", ElementKind::Image, 65, {25}, quobin},
    {"tamrelA", ElementKind::Image, 62, {26}, tamrel},
    {"tamrelB", ElementKind::Image, 7, {17}, tamrel},
    {"plimo", ElementKind::Image, 2, {}, plimo},   // IR/W
    {"plimo", ElementKind::Image, 203, {}, plimo}, // PC/W
    {"plimo", ElementKind::Image, 63, {}, plimo},  // PC/I
    {"plimo", ElementKind::Image, 71, {8}, plimo}, // A/W
    {"plimo", ElementKind::Image, 1, {}, plimo},   // B/W
};

std::unique_ptr<Scene> open(const Follower& f, const Student& s) {
    const Opening opening{f.kind, f.number};
    std::unique_ptr<Scene> scene = makeScene(f.command, &opening);
    scene->simulatorState(s.state());
    scene->render();
    return scene;
}

void compare(const Shown& shown, const Row& row) {
    if (shown.line >= 0) CHECK_EQ(shown.line, row.line);
    if (shown.pc >= 0) CHECK_EQ(shown.pc, row.pc);
    if (shown.ir >= 0) CHECK_EQ(shown.ir, row.ir);
    if (shown.bus >= 0) CHECK_EQ(shown.bus, row.bus);
    if (shown.regA >= 0) CHECK_EQ(shown.regA, row.regA);
    if (shown.regB >= 0) CHECK_EQ(shown.regB, row.regB);
    if (shown.sum >= 0) CHECK_EQ(shown.sum, row.sum);
}

} // namespace

TEST_CASE(everyExplainerFollowsTheWorkedExamplePulseByPulse) {
    ::procesor::testing::FrameCheck frames(PROCESOR_FOLLOW_FRAMES, PROCESOR_FRAMES_OUT,
                                           gRebaseline);
    for (const Follower& f : kFollowers) {
        CONTEXT(std::string(f.command) + " opened on " + std::to_string(f.number));
        Student s;
        const std::unique_ptr<Scene> scene = open(f, s);
        REQUIRE(scene->followSwitch() != nullptr);
        CHECK(scene->following());
        f.check(*scene, s.clocked);
        while (s.pulses < 34) {
            s.pulse();
            CONTEXT(std::string(f.command) + " " + std::to_string(f.number) + " pulse " +
                    std::to_string(s.pulses));
            scene->simulatorState(s.state());
            scene->render();
            CHECK(scene->following());
            const Shown shown = f.check(*scene, s.clocked);
            if (shown.line >= 0) CHECK_EQ(shown.line, lineAfter(s.pulses));
            if (const Row* row = rowAt(s.pulses)) compare(shown, *row);
            for (int at : f.frames)
                if (at == s.pulses) {
                    const Canvas& c = scene->canvas();
                    const std::string name = std::string(f.command) + "-p" + std::to_string(at);
                    const std::string why = frames.check(name, {c.width, c.height, c.pixels}, name);
                    CHECK_EQ(why, std::string());
                }
        }
    }
    CHECK(frames.unreached().empty());
}

TEST_CASE(aStepInTheSceneEndsFollowingAndItsSwitchTakesItUpAgain) {
    Student s;
    for (int i = 0; i < 6; ++i) s.pulse();
    auto scene = open(kFollowers[0], s); // vondrel at rest after line 0010
    auto& v = static_cast<ControlUnitScene&>(*scene);
    press(*scene, v.steps.pulse);
    CHECK(!scene->following());
    ProcessorModel own = s.clocked;
    clockPulse(own);
    CHECK(v.machine() == own); // its own copy, one pulse on
    CHECK_EQ(v.decodedLine(), 3);
    for (int i = 0; i < 5; ++i) {
        s.pulse();
        scene->simulatorState(s.state());
    }
    CHECK(v.machine() == own); // the simulator's pulses no longer reach it
    press(*scene, *scene->followSwitch());
    CHECK(scene->following());
    CHECK(v.machine() == s.clocked);
    CHECK_EQ(v.decodedLine(), 4);
    s.pulse();
    scene->simulatorState(s.state());
    CHECK(v.machine() == s.clocked);

    // Choosing another gate or register only changes the view: following goes on.
    auto gates = open(kFollowers[6], s); // plimo on IR/W
    auto& g = static_cast<GateScene&>(*gates);
    press(*gates, g.choices[3]); // A/W
    CHECK(gates->following());
    CHECK_EQ(g.gate().value_or(-1), 3);
    CHECK(g.machine() == s.clocked);
    CHECK_EQ(g.signals[3].on(), s.clocked.aWrite);
    auto counter = open(kFollowers[1], s); // sarvek on IR
    auto& c = static_cast<CounterScene&>(*counter);
    press(*counter, c.choosePc);
    CHECK(counter->following());
    CHECK(c.chosen() == CounterScene::Which::PC);
    CHECK(c.machine() == s.clocked);
    CHECK_EQ(c.pcValue.value(), s.clocked.pc);

    // A change made by key (a bit of the adder's A) ends it too; Space on the switch
    // takes it up again.
    auto adder = open(kFollowers[3], s);
    auto& a = static_cast<AdderScene&>(*adder);
    while (adder->focus() != adder->controlCount() - 1) adder->key(Key::BackTab);
    CHECK(adder->following());
    adder->key(Key::Tab); // round to the first control, A's bit 3
    adder->key(Key::Space);
    CHECK(!adder->following());
    CHECK_EQ(a.machine().regA, s.clocked.regA ^ 8);
    adder->key(Key::BackTab);
    adder->key(Key::Space);
    CHECK(adder->following());
    CHECK(a.machine() == s.clocked);
}

TEST_CASE(aModeChangeMovesTheLineTheExplainerShows) {
    Student s;
    auto scene = open(kFollowers[0], s);
    auto counter = open(kFollowers[1], s);
    auto& v = static_cast<ControlUnitScene&>(*scene);
    auto& c = static_cast<CounterScene&>(*counter);
    for (int i = 0; i < 9; ++i) {
        s.pulse();
        scene->simulatorState(s.state());
        counter->simulatorState(s.state());
    }
    CHECK_EQ(v.decodedLine(), 3);
    s.sim.Panel7Click(); // "provoz" again: the program starts over at line 0000
    scene->simulatorState(s.state());
    counter->simulatorState(s.state());
    CHECK_EQ(v.decodedLine(), 0);
    CHECK(v.lines[0].marked);
    CHECK(!v.lines[3].marked);
    CHECK_EQ(c.decodedLine(), 0);
    CHECK_EQ(v.machine().regA, 0);
    s.sim.Panel6Click(); // "programování"
    scene->simulatorState(s.state());
    CHECK(v.following());
    CHECK(!v.steps.pulse.enabled() || v.decodedLine() == 0);
    CHECK(contains(v.resultText(), "programování"));
}

TEST_CASE(withoutASimulatorThereIsNoSwitchAndAGoneOneLeavesTheSceneAlone) {
    for (const SceneEntry& e : scenes()) {
        CONTEXT(std::string(e.command));
        auto scene = e.make(nullptr);
        CHECK(scene->followSwitch() == nullptr);
        CHECK(!scene->following());
    }
    Student s;
    auto scene = open(kFollowers[4], s); // tamrelA
    s.pulse();
    scene->simulatorState(s.state());
    const int controls = scene->controlCount();
    scene->simulatorGone();
    CHECK(!scene->following());
    CHECK(!scene->followSwitch()->visible());
    const ProcessorModel kept = static_cast<RegisterScene&>(*scene).machine();
    CHECK(kept == s.clocked);
    // Its own steps still work, on the machine it had.
    auto& t = static_cast<RegisterScene&>(*scene);
    press(*scene, t.steps.pulse);
    CHECK(t.machine().phi1 && t.machine().phi2);
    // A simulator that comes again is followed again, the switch shown once.
    s.pulse();
    scene->simulatorState(s.state());
    CHECK(scene->following());
    CHECK(scene->followSwitch()->visible());
    CHECK_EQ(scene->controlCount(), controls);
    CHECK(t.machine() == s.clocked);
}

TEST_CASE(explainersBesideTheScreenFollowItsUpdates) {
    ::procesor::testing::FrameCheck frames(PROCESOR_FOLLOW_FRAMES, PROCESOR_FRAMES_OUT, false);
    screen::Screen screen;
    screen::OpenExplainers open;
    CHECK_EQ(open.open(ElementKind::Image, 5, &screen.simulator()), 0); // no explainer
    REQUIRE(screen.simulator().loadProgram("0001 0101 1011 0101 1110"));
    screen.run(&Simulator::Panel7Click);
    ProcessorModel clocked = screen.simulator().model();
    const int line = open.open(ElementKind::Label, 17, &screen.simulator());
    const int counter = open.open(ElementKind::Image, 3, &screen.simulator());
    const int alone = open.open(ElementKind::Image, 62, nullptr);
    REQUIRE(open.scene(line) && open.scene(counter) && open.scene(alone));
    auto& v = static_cast<ControlUnitScene&>(*open.scene(line));
    auto& c = static_cast<CounterScene&>(*open.scene(counter));
    const ProcessorModel own = static_cast<RegisterScene&>(*open.scene(alone)).machine();
    CHECK(v.following());
    CHECK(v.machine() == clocked);
    for (int pulse = 1; pulse <= 7; ++pulse) {
        screen.run(&Simulator::Panel1Click);
        screen.run(&Simulator::Button1Click);
        open.follow(screen.simulator());
        v.render(); // as the page repaints it after each update
        clockPulse(clocked);
        CHECK(v.machine() == clocked);
        CHECK_EQ(v.decodedLine(), lineAfter(pulse));
    }
    CHECK_EQ(frames.check("vondrel-p7", {v.canvas().width, v.canvas().height, v.canvas().pixels},
                          "vondrel-p7"),
             std::string());
    CHECK(c.machine() == clocked);
    // On its own it is never given the machine, nor shows the switch.
    CHECK(!open.scene(alone)->following());
    CHECK(open.scene(alone)->followSwitch() == nullptr);
    CHECK(static_cast<RegisterScene&>(*open.scene(alone)).machine() == own);
    // A mode change reaches them: the program from line 0000 again.
    screen.run(&Simulator::Panel7Click);
    open.follow(screen.simulator());
    CHECK_EQ(v.decodedLine(), 0);
    CHECK_EQ(c.decodedLine(), 0);
    open.close(line);
    CHECK(open.scene(line) == nullptr);
    open.follow(screen.simulator()); // the others go on
    CHECK(c.machine() == screen.simulator().model());
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--rebaseline") == 0) {
        gRebaseline = true;
        argv[1] = argv[0];
        return ::testing::runCases(argc - 1, argv + 1);
    }
    return ::testing::runCases(argc, argv);
}
