// The five timers kept by the screen on a simulated clock: the automatic clock's
// interval at each speed, the 300 ms beat and the tie at speed 7, the lock of the
// pressed "ručně", the halt, timers started over, and late wakes (a busy machine, a
// hidden page) that must end exactly where waking on time would have.

#include <cstdint>
#include <string>
#include <vector>

#include "screen/Screen.h"
#include "tests/support/PlainCheck.h"

using namespace procesor;
using namespace procesor::render;
using namespace procesor::screen;

namespace {

struct Point {
    int x;
    int y;
};
constexpr Point kRun = {859, 132}, kClockButton = {855, 284}, kStartStop = {855, 320},
                kArrowUp = {985, 316};

// Days of ticks, one event each, with no picture to look at.
struct Clocked : Screen {
    Clocked() { drawEachEvent(false); }
};

void click(Screen& s, Point p, Millis at) {
    s.mouseDown(p.x, p.y, at);
    s.mouseUp(p.x, p.y, at);
}

// Run mode at time 0 with a program in RAM and the speed typed in.
void runMode(Screen& s, std::vector<int> program, const char* speed) {
    for (std::size_t a = 0; a < program.size(); ++a) s.simulator().model().ram[a] = program[a];
    click(s, kRun, 0);
    s.speedEdited(speed, 0);
}

// LDA 5; MOV; ADD; JMP 0: A counts up in fives for ever.
const std::vector<int> kLoop = {0b0001, 5, 0b1011, 0b0101, 0b1000, 0};
constexpr int kHlt = 0b1110;

// Woken on time, each time it asks, until `count` pulses came or `until`: the time
// of each pulse.
std::vector<Millis> pulseTimes(Screen& s, std::size_t count, Millis until) {
    std::vector<Millis> times;
    while (times.size() < count) {
        const std::optional<Millis> next = s.nextWake();
        if (!next || *next > until) break;
        const std::uint64_t before = s.pulses();
        s.wake(*next);
        if (s.pulses() != before) times.push_back(s.now());
    }
    return times;
}

void wakeOnTime(Screen& s, Millis until) {
    for (std::optional<Millis> next = s.nextWake(); next && *next <= until; next = s.nextWake())
        s.wake(*next);
    s.wake(until);
}

bool sameState(const Screen& a, const Screen& b) {
    return a.simulator().model() == b.simulator().model() &&
           a.simulator().elements() == b.simulator().elements() && a.pulses() == b.pulses() &&
           a.nextWake() == b.nextWake();
}

void intervalsAtEachSpeed() {
    // 1700 - 200 x speed
    const int interval[] = {1500, 1300, 1100, 900, 700, 500, 300};
    for (int speed = 1; speed <= 7; ++speed) {
        Clocked s;
        runMode(s, kLoop, std::to_string(speed).c_str());
        click(s, kStartStop, 1000);
        const std::vector<Millis> times = pulseTimes(s, 4, 20000);
        CHECK_EQ(times.size(), 4u);
        for (std::size_t i = 0; i < times.size(); ++i)
            CHECK_EQ(times[i], 1000 + Millis(i + 1) * interval[speed - 1]);
    }
    // The arrows retime the running clock at once: 700 ms from the click.
    Clocked s;
    runMode(s, kLoop, "4");
    click(s, kStartStop, 0);
    s.wake(600);
    click(s, kArrowUp, 650);
    CHECK_EQ(s.pulses(), 0u);
    CHECK(s.nextWake() == Millis(1350));
}

// At speed 7 the tick and the release of "ručně" fall due together: every tick is a
// pulse, 300 ms apart, and "ručně" stays pressed in between.
void theBeatAtSpeedSeven() {
    Clocked s;
    runMode(s, kLoop, "7");
    click(s, kStartStop, 0);
    std::vector<Millis> times;
    bool alwaysPressed = true;
    for (Millis t = 1; t <= 9000; ++t) {
        const std::uint64_t before = s.pulses();
        s.wake(t);
        if (s.pulses() != before) times.push_back(t);
        if (!times.empty()) alwaysPressed &= s.simulator().elements().panel[1].colour == clTeal;
    }
    CHECK_EQ(times.size(), 30u);
    for (std::size_t i = 0; i < times.size(); ++i) CHECK_EQ(times[i], Millis(300 * (i + 1)));
    CHECK(alwaysPressed);
    CHECK_EQ(s.simulator().model().regA, 10); // LDA 5, ADD twice
}

// A manual pulse and the automatic clock: the release counts as due with a tick
// when it is at most 50 ms off; a tick further inside the pressed look is dropped.
void theTieAndTheLock() {
    for (auto [pressAt, pulsesAt] :
         {std::pair<Millis, std::vector<Millis>>{30, {30, 300, 600}}, {100, {100, 600, 900}}}) {
        Clocked s;
        runMode(s, kLoop, "7");
        click(s, kStartStop, 0);
        click(s, kClockButton, pressAt);
        const std::vector<Millis> times = pulseTimes(s, 2, 5000);
        CHECK_EQ(s.pulses(), 3u);
        CHECK(times.size() == 2 && times[0] == pulsesAt[1] && times[1] == pulsesAt[2]);
    }

    // No second pulse and no start within 300 ms of a manual pulse; at 300 ms both.
    Clocked s;
    runMode(s, kLoop, "7");
    click(s, kClockButton, 5000);
    click(s, kClockButton, 5299);
    click(s, kStartStop, 5299);
    CHECK_EQ(s.pulses(), 1u);
    CHECK(!s.timer(1).enabled);
    click(s, kStartStop, 5300);
    CHECK(s.timer(1).enabled);
    CHECK(s.nextWake() == Millis(5600));
    click(s, kClockButton, 5300); // released at 5300, so this is a pulse
    CHECK_EQ(s.pulses(), 2u);
}

// HLT halts on its fourth pulse: the timers stop at that tick, late wakes or not.
void theHaltStopsTheTimers() {
    Clocked s;
    runMode(s, {kHlt}, "7");
    click(s, kStartStop, 0);
    s.wake(1199);
    CHECK_EQ(s.pulses(), 3u);
    CHECK(s.timer(1).enabled);
    s.wake(1200);
    CHECK_EQ(s.pulses(), 4u);
    CHECK_EQ(s.simulator().model().ir, 15);
    CHECK(!s.timer(1).enabled && !s.timer(5).enabled && !s.nextWake());
    CHECK(s.simulator().elements().panel[1].colour == clCream);

    Clocked late;
    runMode(late, {kHlt}, "7");
    click(late, kStartStop, 0);
    late.wake(86'400'000);
    CHECK(sameState(late, s));
}

// Stopped and started again, a timer starts over with its full interval.
void aTimerSwitchedOffAndOnStartsOver() {
    Clocked s;
    runMode(s, kLoop, "4");
    click(s, kStartStop, 0);
    CHECK(s.nextWake() == Millis(900));
    click(s, kStartStop, 500);
    CHECK(!s.nextWake());
    click(s, kStartStop, 600);
    CHECK(s.nextWake() == Millis(1500));
    s.wake(1499);
    CHECK_EQ(s.pulses(), 0u);
    s.wake(1500);
    CHECK_EQ(s.pulses(), 1u);
}

// One late wake runs every due tick in order and ends where waking on time ends:
// a second late, a minute (a hidden page is woken about once a minute), a day (the
// machine repeats itself and whole rounds are passed over).
void aLateWakeCatchesUp() {
    struct Case {
        std::vector<int> program;
        const char* speed;
        Millis late;
    };
    const Case cases[] = {
        {kLoop, "7", 1000},
        {kLoop, "7", 60'000},
        {kLoop, "5", 60'000},
        {kLoop, "8", 60'000},
        {kLoop, "7", 86'400'000},
        {kLoop, "3", 86'400'000},
        {{0b0001, 9, 0b1011, 0b0101, 0b0101, 0b1000, 3}, "9", 86'400'000},
        {{0b0001, 1, 0b1011, 0b0101, 0b1000, 3, kHlt}, "7", 86'400'000},
    };
    for (const Case& c : cases) {
        Clocked onTime, late;
        for (Screen* s : {&onTime, &late}) {
            runMode(*s, c.program, c.speed);
            click(*s, kStartStop, 0);
            click(*s, kClockButton, 70); // a manual pulse off the automatic beat
        }
        wakeOnTime(onTime, c.late);
        late.wake(c.late);
        if (!CHECK(sameState(late, onTime)))
            std::printf("  speed %s, %lld ms late: %llu pulses, on time %llu\n", c.speed,
                        static_cast<long long>(c.late),
                        static_cast<unsigned long long>(late.pulses()),
                        static_cast<unsigned long long>(onTime.pulses()));
    }

    // Ten years behind takes no longer than a day: one pulse per 300 ms all the same.
    Clocked s;
    runMode(s, kLoop, "7");
    click(s, kStartStop, 0);
    constexpr Millis kTenYears = 3650LL * 86'400'000;
    s.wake(kTenYears);
    CHECK_EQ(s.pulses(), std::uint64_t(kTenYears / 300));
    CHECK(s.nextWake() == kTenYears + 300);
}

} // namespace

int main() {
    intervalsAtEachSpeed();
    theBeatAtSpeedSeven();
    theTieAndTheLock();
    theHaltStopsTheTimers();
    aTimerSwitchedOffAndOnStartsOver();
    aLateWakeCatchesUp();
    return testing::checkFailures();
}
