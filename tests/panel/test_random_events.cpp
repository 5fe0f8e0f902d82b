// Long random sequences of clicks and timer ticks in both modes. After every
// event the machine must be sound and the diagram must agree with it. A failing
// sequence is shrunk and printed as a short list of events to replay.

#include <cstdio>
#include <random>

#include "model/WordText.h"
#include "tests/support/Machine.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace testing;

namespace {

enum EventKind {
    ClickRučně,
    TickTimer1,
    TickTimer1Tie,
    TickTimer5,
    ClickStartStop,
    ArrowUp,
    ArrowDown,
    TypeSpeed,
    ClickProgramming,
    ClickRun,
    ClickStep,
    ClickWrite,
    ClickClear,
    TickTimer2,
    TickTimer3,
    TickTimer4,
    ClickSwitch8,
    ClickSwitch9,
    ClickSwitch10,
    ClickSwitch11,
    EventKinds
};
const char* const kEventNames[] = {"Panel1Click",   "Timer1 tick",  "Timer1 tick with release due",
                                   "Timer5 tick",   "Panel2Click",  "UpDown1 up",
                                   "UpDown1 down",  "type speed",   "Panel6Click",
                                   "Panel7Click",   "Panel3Click",  "Panel4Click",
                                   "Panel5Click",   "Timer2 tick",  "Timer3 tick",
                                   "Timer4 tick",   "Button8Click", "Button9Click",
                                   "Button10Click", "Button11Click"};
const char* const kSpeedTexts[] = {"1",  "4", "7",   "8",   "9",   "0",
                                   "-3", "",  "abc", " 6 ", "1.5", "99999999999"};

struct Event {
    EventKind kind;
    int argument; // speed text index
};

// Which timers can tick: a disabled timer never does.
bool possible(const Simulator& sim, EventKind kind) {
    const auto& t = sim.elements().timer;
    switch (kind) {
    case TickTimer1:
    case TickTimer1Tie:
        return t[1].enabled;
    case TickTimer5:
        return t[5].enabled;
    case TickTimer2:
        return t[2].enabled;
    case TickTimer3:
        return t[3].enabled;
    case TickTimer4:
        return t[4].enabled;
    default:
        return true;
    }
}

void apply(Simulator& sim, const Event& e) {
    switch (e.kind) {
    case ClickRučně:
        sim.Panel1Click();
        break;
    case TickTimer1:
        sim.Timer1Tick(300);
        break;
    case TickTimer1Tie:
        sim.Timer1Tick(0);
        break;
    case TickTimer5:
        sim.Button1Click();
        break;
    case ClickStartStop:
        sim.Panel2Click();
        break;
    case ArrowUp:
        sim.UpDown1Arrow(true);
        break;
    case ArrowDown:
        sim.UpDown1Arrow(false);
        break;
    case TypeSpeed:
        sim.setSpeedText(kSpeedTexts[e.argument]);
        break;
    case ClickProgramming:
        sim.Panel6Click();
        break;
    case ClickRun:
        sim.Panel7Click();
        break;
    case ClickStep:
        sim.Panel3Click();
        break;
    case ClickWrite:
        sim.Panel4Click();
        break;
    case ClickClear:
        sim.Panel5Click();
        break;
    case TickTimer2:
        sim.Button12Click();
        break;
    case TickTimer3:
        sim.Button13Click();
        break;
    case TickTimer4:
        sim.Button14Click();
        break;
    case ClickSwitch8:
        sim.Button8Click();
        break;
    case ClickSwitch9:
        sim.Button9Click();
        break;
    case ClickSwitch10:
        sim.Button10Click();
        break;
    case ClickSwitch11:
        sim.Button11Click();
        break;
    default:
        break;
    }
}

// The value the data switches compose.
int switchValue(const ElementState& el) {
    int v = 0;
    for (const DataSwitch& s : kDataSwitches)
        if (el.image[s.runWire].visible) v |= 1 << s.bit;
    return v;
}

struct Checker {
    bool pulsedSinceReset = false;

    // Empty when sound; otherwise what went wrong.
    std::string check(const Simulator& before, const Simulator& after, const Event& e) {
        const ProcessorModel& m = after.model();
        const ElementState& el = after.elements();
        for (int v : {m.pc, m.bus, m.ir, m.ramOut, m.regA, m.regB, m.sum})
            if (v < 0 || v > 15) return "a value outside 0..15";
        for (int w : m.ram)
            if (w < 0 || w > 15) return "a RAM word outside 0..15";
        if (!m.phi1 && m.phi2) return "phi2 without phi1";
        if (!m.phi2 && (m.bLoad || m.aLoad || m.pcLoad || m.irLoad || m.pcCount))
            return "a strobe outside phi2";

        if (e.kind == ClickProgramming || e.kind == ClickRun) pulsedSinceReset = false;
        const bool pulseEvent =
            e.kind == ClickRučně || e.kind == TickTimer1 || e.kind == TickTimer1Tie;
        if (pulseEvent && m.phi1 != before.model().phi1) pulsedSinceReset = true;
        if (pulseEvent && m.phi2 != before.model().phi2) pulsedSinceReset = true;

        const bool programming = after.programmingMode();
        const int busLines = busShown(el);
        if (busLines < 0) return "a bus line lit only in part";
        if (programming && busLines != switchValue(el)) return "bus lines differ from the switches";
        if (!programming && pulsedSinceReset && busLines != m.bus)
            return "bus lines differ from the bus";
        if (!programming && !pulsedSinceReset && busLines != 0) return "bus lit before any pulse";
        if (shownValue(el, kAddressLines) != m.pc) return "address lines differ from pc";
        if (shownValue(el, kRegAPaths) != m.regA) return "A paths differ from A";
        if (shownValue(el, kRegBPaths) != m.regB) return "B paths differ from B";
        if (markedRamCells(el) != std::vector<int>{kFirstRamCell + m.pc}) return "RAM highlight";
        if (markedListing(el).size() != 2) return "listing highlight";
        for (int a = 0; a < 16; ++a) {
            const std::string& caption = el.label[kFirstRamCell + a].caption;
            const auto i = static_cast<std::size_t>(a);
            if (caption != m.ramText[i]) return "a RAM caption differs from its text";
            if (caption != kBlankCellText && caption != wordText(m.ram[i]))
                return "a RAM caption shows another word";
        }
        if (m.ram != before.model().ram && e.kind != ClickWrite && e.kind != ClickClear)
            return "RAM changed without a write or a clear";

        const bool changed =
            !(after.model() == before.model()) || !(after.elements() == before.elements());
        const bool wasProgramming = before.programmingMode();
        const bool runControl = e.kind == ClickRučně || e.kind == TickTimer1 ||
                                e.kind == TickTimer1Tie || e.kind == ClickStartStop;
        const bool programmingButton =
            e.kind == ClickStep || e.kind == ClickWrite || e.kind == ClickClear;
        if (wasProgramming && runControl && changed)
            return "a run control responded in programming mode";
        if (!wasProgramming && programmingButton && changed)
            return "a programming button responded in run mode";
        return {};
    }
};

struct Coverage {
    long events = 0; // events delivered
    long pulses = 0; // accepted clock pulses
    long halts = 0;
    long writes = 0; // words written into RAM
};

// Replays a sequence; returns the index of the event after which it failed, or -1.
int failingEvent(const std::vector<Event>& events, std::string* why = nullptr,
                 Coverage* coverage = nullptr) {
    Simulator sim([](const std::string&) {});
    Checker checker;
    Coverage ignored;
    Coverage& c = coverage ? *coverage : ignored;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!possible(sim, events[i].kind)) continue;
        const Simulator before = sim;
        apply(sim, events[i]);
        ++c.events;
        if (sim.model().phi1 != before.model().phi1 || sim.model().phi2 != before.model().phi2)
            c.pulses += events[i].kind != ClickRun && events[i].kind != ClickProgramming;
        c.halts += sim.model().ir == 15 && before.model().ir != 15 && sim.model().phi1;
        c.writes += sim.model().ram != before.model().ram && events[i].kind == ClickWrite;
        std::string problem = checker.check(before, sim, events[i]);
        if (!problem.empty()) {
            if (why) *why = problem;
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Removes events while the sequence still fails.
std::vector<Event> shrink(std::vector<Event> events) {
    events.resize(static_cast<std::size_t>(failingEvent(events)) + 1);
    for (std::size_t chunk = events.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t start = 0; start + chunk <= events.size();) {
            std::vector<Event> shorter = events;
            shorter.erase(shorter.begin() + static_cast<long>(start),
                          shorter.begin() + static_cast<long>(start + chunk));
            if (failingEvent(shorter) >= 0)
                events = shorter;
            else
                start += chunk;
        }
    }
    return events;
}

std::string describe(const std::vector<Event>& events) {
    std::string s;
    for (const Event& e : events) {
        s += "  ";
        s += kEventNames[e.kind];
        if (e.kind == TypeSpeed) s += std::string(" \"") + kSpeedTexts[e.argument] + "\"";
        s += "\n";
    }
    return s;
}

std::vector<Event> randomSequence(unsigned seed, int length) {
    std::mt19937 random(seed);
    // Pulses and ticks are frequent so that programs actually run; mode changes rare.
    const int weights[EventKinds] = {12, 12, 6, 14, 3, 2, 2, 2, 1, 2, 4, 6, 1, 4, 4, 4, 3, 3, 3, 3};
    std::discrete_distribution<int> kind(std::begin(weights), std::end(weights));
    std::vector<Event> events;
    for (int i = 0; i < length; ++i)
        events.push_back(
            {EventKind(kind(random)), static_cast<int>(random() % std::size(kSpeedTexts))});
    return events;
}

} // namespace

TEST_CASE(longRandomSessionsStaySound) {
    constexpr int kSequences = 160;
    constexpr int kLength = 2500; // timer ticks arrive only while their timer runs
    Coverage coverage;
    for (unsigned seed = 1; seed <= kSequences; ++seed) {
        const std::vector<Event> events = randomSequence(seed, kLength);
        std::string why;
        if (failingEvent(events, &why, &coverage) >= 0) {
            const std::vector<Event> small = shrink(events);
            failingEvent(small, &why);
            FAIL("seed " + std::to_string(seed) + ": " + why + " after:\n" + describe(small));
            return;
        }
    }
    // The sessions really ran programs, halted and wrote words.
    std::printf("%ld events, %ld pulses, %ld halts, %ld writes\n", coverage.events, coverage.pulses,
                coverage.halts, coverage.writes);
    CHECK(coverage.events >= 200000);
    CHECK(coverage.pulses >= 20000);
    CHECK(coverage.halts >= 40);
    CHECK(coverage.writes >= 1000);
}

PLAIN_TEST_MAIN()
